#include "editing.h"

#include "contact_format.h"
#include "cp1252.h"

namespace {

constexpr int GRUPO_AB = 0;

bool camposGravaveis(const QString &nome, const QString &fone, const QString &mail)
{
    return FormatoContatos::campoGravavel(nome) && FormatoContatos::campoGravavel(fone) &&
           FormatoContatos::campoGravavel(mail);
}

} // namespace

bool EdicaoContatos::PrimeiroProibido(QStringView nome)
{
    static const QString proibidos = QStringLiteral(".,:;<>=()'+\\/@&*|{}-[]!?_ \"");
    return !nome.isEmpty() && proibidos.contains(nome.front());
}

QString EdicaoContatos::aparar(QStringView texto)
{
    qsizetype ini = 0, fim = texto.size();
    while (ini < fim && texto[ini] == u' ')
        ++ini;
    while (fim > ini && texto[fim - 1] == u' ')
        --fim;
    return texto.sliced(ini, fim - ini).toString();
}

ResultadoEdicao EdicaoContatos::adicionar(const QString &nome, const QString &fone,
                                          const QString &mail)
{
    ResultadoEdicao r;
    if (PrimeiroProibido(nome)) {
        r.avisos.append(Mensagens::PROIBIDO);
        return r;
    }
    const ContactRecord novo{aparar(nome), aparar(fone), aparar(mail)};
    const auto relistar = [&] {
        m_modelo.RecarregarLista();
        m_modelo.relistarGrupo(GRUPO_AB);
        if (r.desfecho == ResultadoEdicao::Desfecho::Recusado)
            r.desfecho = ResultadoEdicao::Desfecho::Relistado;
        return r;
    };
    if (novo.Nome.isEmpty()) {
        r.avisos.append(Mensagens::VAZIO);
        return relistar();
    }
    // The stored name is trimmed, so the comparison is too: "Ana " is "Ana".
    const QLocale &loc = m_modelo.locale();
    const QString chave = loc.toUpper(novo.Nome);
    const ListaInicio &lista = m_modelo.lstInicio();
    for (qsizetype i = 0; i < lista.count(); ++i) {
        if (loc.toUpper(lista.registro(i).Nome) == chave) {
            r.avisos.append(Mensagens::ESTE_EXISTE);
            r.limparNome = true;
        }
    }
    if (r.limparNome)
        return relistar();
    if (!camposGravaveis(novo.Nome, novo.Telefone, novo.Email)) {
        r.avisos.append(Mensagens::INVALIDOS);
        return r;
    }
    if (m_modelo.ultimaLeituraFalhou()) {
        r.avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
        return relistar();
    }

    // Appended to the file as it is now, its empty lines dropped.
    const ArquivoContatos::Leitura atual = m_modelo.arquivo().lerBytes();
    if (atual.estado == ArquivoContatos::Estado::Falhou) {
        r.avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
        return r;
    }
    const QString texto = Cp1252::decode(atual.bytes);
    QStringList linhas;
    for (const QStringView l : FormatoContatos::dividirLinhas(texto)) {
        if (!l.isEmpty())
            linhas.append(l.toString());
    }
    linhas.append(FormatoContatos::linhaDoRegistro(novo));
    if (!m_modelo.arquivo().gravar(FormatoContatos::montarArquivo(linhas))) {
        r.avisos.append(Mensagens::FALHA_GRAVACAO);
        return r;
    }
    r = gravado(Mensagens::INSERIDO);
    m_modelo.relistarGrupo(GRUPO_AB);
    return r;
}

ResultadoEdicao EdicaoContatos::atualizar(const QString &nomeOriginal, const QString &nome,
                                          const QString &fone, const QString &mail)
{
    ResultadoEdicao r;
    const QString aparado = aparar(nome);
    if (aparado.isEmpty()) {
        r.avisos.append(Mensagens::VAZIO);
        return r;
    }
    if (PrimeiroProibido(nome)) {
        r.avisos.append(Mensagens::PROIBIDO);
        return r;
    }
    // A name changed only in letter case or by surrounding spaces is never a
    // duplicate; otherwise any other contact of that name is.
    const QLocale &loc = m_modelo.locale();
    const QString chave = loc.toUpper(aparado);
    if (chave != loc.toUpper(nomeOriginal)) {
        const ListaInicio &lista = m_modelo.lstInicio();
        for (qsizetype i = 0; i < lista.count(); ++i) {
            if (loc.toUpper(lista.registro(i).Nome) == chave) {
                r.avisos.append(Mensagens::ESSE_EXISTE);
                return r;
            }
        }
    }
    if (!camposGravaveis(nome, fone, mail)) {
        r.avisos.append(Mensagens::INVALIDOS);
        return r;
    }
    if (!podeReescrever(r))
        return r;
    // Written as typed, untrimmed.
    if (!GravarContatos(nomeOriginal, FormatoContatos::linhaDoRegistro({nome, fone, mail}))) {
        r.avisos.append(Mensagens::FALHA_GRAVACAO);
        return r;
    }
    r = gravado(Mensagens::ATUALIZADO);
    m_modelo.AtualizarAba();
    return r;
}

ResultadoEdicao EdicaoContatos::deletar(const QString &nome)
{
    ResultadoEdicao r;
    if (!podeReescrever(r))
        return r;
    if (!GravarContatos(nome, QString())) {
        r.avisos.append(Mensagens::FALHA_GRAVACAO);
        return r;
    }
    r = gravado(Mensagens::DELETADO);
    m_modelo.AtualizarAba();
    return r;
}

bool EdicaoContatos::podeReescrever(ResultadoEdicao &r)
{
    if (m_modelo.ultimaLeituraFalhou()) {
        r.avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
        return false;
    }
    // The list is rewritten from memory: a change another program made since
    // the last read would be lost. Show the file as it is instead.
    if (m_modelo.arquivo().lerBytes().assinatura() != m_modelo.assinaturaLida()) {
        r.avisos.append(Mensagens::ALTERADA);
        m_modelo.RecarregarLista();
        m_modelo.AtualizarAba();
        r.desfecho = ResultadoEdicao::Desfecho::Relistado;
        return false;
    }
    return true;
}

ResultadoEdicao EdicaoContatos::gravado(const QString &aviso)
{
    ResultadoEdicao r;
    r.desfecho = ResultadoEdicao::Desfecho::Gravado;
    r.avisos.append(aviso);
    m_modelo.RecarregarLista();
    return r;
}

bool EdicaoContatos::GravarContatos(const QString &nome, const QString &linhaNova)
{
    const ListaInicio &lista = m_modelo.lstInicio();
    QStringList linhas;
    linhas.reserve(lista.count());
    for (qsizetype i = 0; i < lista.count(); ++i) {
        const ContactRecord &reg = lista.registro(i);
        if (reg.Nome != nome)
            linhas.append(FormatoContatos::linhaDoRegistro(reg));
        else if (!linhaNova.isEmpty())
            linhas.append(linhaNova);
    }
    return m_modelo.arquivo().gravar(FormatoContatos::montarArquivo(linhas));
}
