#include "operations/edicao_contatos.h"

#include "operations/mensagens.h"
#include "store/codificacoes.h"
#include "store/formato_contatos.h"

#include <QFileInfo>
#include <QSet>
#include <array>
#include <utility>

namespace {

constexpr int GRUPO_AB = 0;
constexpr qsizetype IMPORTAR_UM_A_UM = 16;

using FormatoContatos::chaveDoNome;

// Whether a list's names equal a name by chaveDoNome. Most names are told
// apart by their first letter alone, so the whole comparison runs only for
// those that share it (or whose first letter carries a combining mark).
class MesmoNome {
public:
    MesmoNome(const QLocale &locale, const QString &nome)
        : m_locale(locale), m_chave(chaveDoNome(locale, nome))
    {
        for (int c = 0; c < 256; ++c) {
            const QString u = locale.toUpper(QString(QChar(c)));
            m_primeira[size_t(c)] = u.isEmpty() ? 0 : u.front().unicode();
        }
    }

    bool operator()(QStringView nome) const
    {
        if (nome.isEmpty() || m_chave.isEmpty())
            return nome.isEmpty() && m_chave.isEmpty();
        const char16_t c = nome.front().unicode();
        const bool marcada = nome.size() > 1 && nome[1].isMark();
        if (c < 256 && !marcada && m_primeira[c] != m_chave.front().unicode())
            return false;
        return chaveDoNome(m_locale, nome) == m_chave;
    }

private:
    const QLocale &m_locale;
    QString m_chave;
    std::array<char16_t, 256> m_primeira;
};

// Whether the fields can be written to a file in that encoding. A field left
// as the file holds it goes back as it came, whatever it holds.
bool camposGravaveis(const ContactRecord &r, Codificacao c, const QList<ContactRecord> &guardados)
{
    const auto gravavel = [&](const QString ContactRecord::*campo) {
        if (FormatoContatos::campoGravavel(r.*campo, c))
            return true;
        for (const ContactRecord &g : guardados) {
            if (g.*campo == r.*campo)
                return true;
        }
        return false;
    };
    return gravavel(&ContactRecord::Nome) && gravavel(&ContactRecord::Telefone) &&
           gravavel(&ContactRecord::Email);
}

} // namespace

bool EdicaoContatos::PrimeiroProibido(QStringView nome)
{
    return FormatoContatos::primeiroProibido(nome);
}

QString EdicaoContatos::aparar(QStringView texto)
{
    return FormatoContatos::aparar(texto);
}

ResultadoEdicao EdicaoContatos::adicionar(const QString &nome, const QString &fone,
                                          const QString &mail)
{
    // The windows see the outcome once, not each step.
    const ModeloPrincipal::Lote lote(m_modelo);
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
    const MesmoNome mesmo(m_modelo.locale(), novo.Nome);
    const ListaInicio &lista = m_modelo.lstInicio();
    for (qsizetype i = 0; i < lista.count(); ++i) {
        if (mesmo(lista.nome(i))) {
            r.avisos.append(Mensagens::ESTE_EXISTE);
            r.limparNome = true;
        }
    }
    if (r.limparNome)
        return relistar();
    // Appended to the file as it is now, in its encoding, its empty lines
    // dropped.
    const ArquivoContatos::Leitura atual = m_modelo.arquivo().lerBytes();
    const Codificacao cod = atual.estado == ArquivoContatos::Estado::Lido
                                ? Codificacoes::detectar(atual.bytes)
                                : m_modelo.lstInicio().codificacao();
    if (!camposGravaveis(novo, cod, {})) {
        r.avisos.append(Mensagens::INVALIDOS);
        return r;
    }
    if (m_modelo.ultimaLeituraFalhou()) {
        r.avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
        return relistar();
    }
    if (atual.estado == ArquivoContatos::Estado::Falhou) {
        r.avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
        return r;
    }
    const auto escrito = anexar(atual, cod, {novo}, r);
    if (!escrito)
        return r;
    // The list was read from this very file, so only the new record is new.
    const bool base = atual.assinatura() == m_modelo.assinaturaLida();
    r = gravado(r, Mensagens::INSERIDO, *escrito, base, [&](ListaInicio &l) { l.inserir(novo); });
    m_modelo.relistarGrupo(GRUPO_AB);
    MudancaContatos m(MudancaContatos::Tipo::Inclusao, novo.Nome, cod);
    m.depois.append(MudancaContatos::linha(novo, cod));
    m_modelo.registrarMudanca(m);
    return r;
}

ResultadoEdicao EdicaoContatos::importar(const QList<ContactRecord> &contatos,
                                         qsizetype jaIgnorados)
{
    const ModeloPrincipal::Lote lote(m_modelo);
    ResultadoEdicao r;
    if (m_modelo.ultimaLeituraFalhou()) {
        r.avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
        return r;
    }
    const ArquivoContatos::Leitura atual = m_modelo.arquivo().lerBytes();
    if (atual.estado == ArquivoContatos::Estado::Falhou) {
        r.avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
        return r;
    }
    // Names are taken by what the file holds now, another program's
    // additions included.
    if (atual.assinatura() != m_modelo.assinaturaLida())
        m_modelo.RecarregarLista();
    const ListaInicio &lista = m_modelo.lstInicio();
    const Codificacao cod = atual.estado == ArquivoContatos::Estado::Lido
                                ? Codificacoes::detectar(atual.bytes)
                                : lista.codificacao();
    // The names taken, as the add compares them.
    const QLocale &loc = m_modelo.locale();
    QSet<QString> tomados;
    tomados.reserve(lista.count() + contatos.size());
    for (qsizetype i = 0; i < lista.count(); ++i)
        tomados.insert(chaveDoNome(loc, lista.nome(i)));
    QList<ContactRecord> aceitos;
    qsizetype ignorados = jaIgnorados;
    for (const ContactRecord &novo : contatos) {
        // The fields as the reader gave them: another program's layout
        // already trimmed, this program's own export exact. A name that no
        // tab could show would be imported out of the user's reach.
        const QString aparado = aparar(novo.Nome);
        const QString chave = chaveDoNome(loc, aparado);
        if (aparado.isEmpty() || PrimeiroProibido(novo.Nome) ||
            m_modelo.grupos().grupoDe(novo.Nome) < 0 || !camposGravaveis(novo, cod, {}) ||
            tomados.contains(chave)) {
            ++ignorados;
            continue;
        }
        tomados.insert(chave);
        aceitos.append(novo);
    }
    const QString aviso = Mensagens::importados(aceitos.size(), ignorados);
    if (aceitos.isEmpty()) {
        r.avisos.append(aviso);
        m_modelo.relistarGrupo(GRUPO_AB);
        r.desfecho = ResultadoEdicao::Desfecho::Relistado;
        return r;
    }
    const auto escrito = anexar(atual, cod, aceitos, r);
    if (!escrito)
        return r;
    // A few go into the sorted list one by one; many are sorted in anew.
    const bool base =
        atual.assinatura() == m_modelo.assinaturaLida() && aceitos.size() <= IMPORTAR_UM_A_UM;
    r = gravado(r, aviso, *escrito, base, [&](ListaInicio &l) {
        for (const ContactRecord &a : aceitos)
            l.inserir(a);
    });
    m_modelo.relistarGrupo(GRUPO_AB);
    MudancaContatos m(MudancaContatos::Tipo::Importacao, aceitos.front().Nome, cod);
    for (const ContactRecord &a : aceitos)
        m.depois.append(MudancaContatos::linha(a, cod));
    m_modelo.registrarMudanca(m);
    return r;
}

ResultadoEdicao EdicaoContatos::atualizar(const QString &nomeOriginal, const QString &nome,
                                          const QString &fone, const QString &mail)
{
    // The windows see the outcome once, not each step.
    const ModeloPrincipal::Lote lote(m_modelo);
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
    if (chaveDoNome(loc, aparado) != chaveDoNome(loc, nomeOriginal)) {
        const MesmoNome mesmo(loc, aparado);
        const ListaInicio &lista = m_modelo.lstInicio();
        for (qsizetype i = 0; i < lista.count(); ++i) {
            if (mesmo(lista.nome(i))) {
                r.avisos.append(Mensagens::ESSE_EXISTE);
                return r;
            }
        }
    }
    // Written as typed, untrimmed.
    const ContactRecord novo{nome, fone, mail};
    if (!camposGravaveis(novo, m_modelo.lstInicio().codificacao(), guardados(nomeOriginal))) {
        r.avisos.append(Mensagens::INVALIDOS);
        return r;
    }
    if (!podeReescrever(r, nomeOriginal))
        return r;
    const Codificacao cod = m_modelo.lstInicio().codificacao();
    MudancaContatos m(MudancaContatos::Tipo::Atualizacao, novo.Nome, cod);
    m.antes = linhas(nomeOriginal);
    for (qsizetype i = 0; i < m.antes.size(); ++i)
        m.depois.append(MudancaContatos::linha(novo, cod));
    const auto escrito = GravarContatos(nomeOriginal, novo, r);
    if (!escrito)
        return r;
    r = gravado(r, Mensagens::ATUALIZADO, *escrito, true,
                [&](ListaInicio &l) { l.substituir(nomeOriginal, novo); });
    m_modelo.AtualizarAba();
    m_modelo.registrarMudanca(m);
    m_modelo.registrarRenomeacao(nomeOriginal, novo.Nome);
    return r;
}

ResultadoEdicao EdicaoContatos::deletar(const QString &nome)
{
    // The windows see the outcome once, not each step.
    const ModeloPrincipal::Lote lote(m_modelo);
    ResultadoEdicao r;
    if (!podeReescrever(r, nome))
        return r;
    MudancaContatos m(MudancaContatos::Tipo::Exclusao, nome, m_modelo.lstInicio().codificacao());
    m.antes = linhas(nome);
    const auto escrito = GravarContatos(nome, std::nullopt, r);
    if (!escrito)
        return r;
    r = gravado(r, Mensagens::DELETADO, *escrito, true, [&](ListaInicio &l) { l.remover(nome); });
    m_modelo.AtualizarAba();
    m_modelo.registrarMudanca(m);
    return r;
}

QList<ContactRecord> EdicaoContatos::guardados(const QString &nome) const
{
    QList<ContactRecord> out;
    const ListaInicio &lista = m_modelo.lstInicio();
    for (qsizetype i = 0; i < lista.count(); ++i) {
        if (lista.nome(i) == nome)
            out.append(lista.registro(i));
    }
    return out;
}

ResultadoEdicao EdicaoContatos::trocarTelefones(const QList<TrocaTelefone> &trocas)
{
    const ModeloPrincipal::Lote lote(m_modelo);
    ResultadoEdicao r;
    if (trocas.isEmpty() || !podeReescrever(r, trocas.constFirst().nome))
        return r;
    QHash<QString, QHash<QString, QString>> novos; // name -> telephone now -> new one
    for (const TrocaTelefone &t : trocas)
        novos[t.nome].insert(t.antes, t.depois);
    const ListaInicio &lista = m_modelo.lstInicio();
    const Codificacao cod = lista.codificacao();
    MudancaContatos m(MudancaContatos::Tipo::Padronizacao, trocas.constFirst().nome, cod);
    QByteArray bytes = Codificacoes::marca(cod).toByteArray();
    bytes.reserve(lista.count() * 64 + 64);
    for (qsizetype i = 0; i < lista.count(); ++i) {
        const auto porNome = novos.constFind(lista.nome(i).toString());
        // Null where the contact is not one to change.
        const QString novo =
            porNome == novos.cend() ? QString() : porNome->value(lista.telefone(i));
        if (novo.isNull()) {
            lista.anexarRegistro(i, bytes);
            continue;
        }
        const ContactRecord antes = lista.registro(i);
        const ContactRecord depois{antes.Nome, novo, antes.Email};
        if (!camposGravaveis(depois, cod, {antes})) {
            r.avisos.append(Mensagens::INVALIDOS);
            return r;
        }
        QByteArray linha;
        lista.anexarRegistro(i, linha);
        linha.chop(2);
        m.antes.append(linha);
        m.depois.append(MudancaContatos::linha(depois, cod));
        FormatoContatos::anexarRegistro(bytes, depois, cod);
    }
    if (m.depois.isEmpty()) {
        r.avisos.append(Mensagens::NAO_EXISTE);
        return r;
    }
    FormatoContatos::fecharArquivo(bytes);
    const auto escrito = gravar(std::move(bytes), cod, m_modelo.assinaturaLida(), r);
    if (!escrito)
        return r;
    r = gravado(r, Mensagens::padronizados(m.depois.size()), *escrito, false, [](ListaInicio &) {});
    m_modelo.AtualizarAba();
    m_modelo.registrarMudanca(m);
    return r;
}

ResultadoEdicao EdicaoContatos::juntar(const QStringList &nomes, const ContactRecord &mantido)
{
    const ModeloPrincipal::Lote lote(m_modelo);
    ResultadoEdicao r;
    if (!nomes.contains(mantido.Nome))
        return r;
    for (const QString &n : nomes) {
        if (!podeReescrever(r, n))
            return r;
    }
    const ListaInicio &lista = m_modelo.lstInicio();
    const Codificacao cod = lista.codificacao();
    QList<ContactRecord> juntados;
    for (const QString &n : nomes)
        juntados += guardados(n);
    if (juntados.size() < 2)
        return r;
    if (!camposGravaveis(mantido, cod, juntados)) {
        r.avisos.append(Mensagens::INVALIDOS);
        return r;
    }
    const QSet<QString> deles(nomes.begin(), nomes.end());
    MudancaContatos m(MudancaContatos::Tipo::Juncao, mantido.Nome, cod);
    m.depois.append(MudancaContatos::linha(mantido, cod));
    QByteArray bytes = Codificacoes::marca(cod).toByteArray();
    bytes.reserve(lista.count() * 64 + 64);
    for (qsizetype i = 0; i < lista.count(); ++i) {
        if (!deles.contains(lista.nome(i).toString())) {
            lista.anexarRegistro(i, bytes);
            continue;
        }
        QByteArray linha;
        lista.anexarRegistro(i, linha);
        linha.chop(2);
        // The one kept takes the place of the first of them.
        if (m.antes.isEmpty())
            FormatoContatos::anexarRegistro(bytes, mantido, cod);
        m.antes.append(linha);
    }
    FormatoContatos::fecharArquivo(bytes);
    const auto escrito = gravar(std::move(bytes), cod, m_modelo.assinaturaLida(), r);
    if (!escrito)
        return r;
    r = gravado(r, Mensagens::juntados(m.antes.size(), mantido.Nome), *escrito, false,
                [](ListaInicio &) {});
    mostrarDepois(mantido.Nome);
    m_modelo.registrarMudanca(m);
    if (const auto j = m.juncao(false))
        m_modelo.registrarJuncao(j->first, j->second);
    return r;
}

QList<QByteArray> EdicaoContatos::linhas(const QString &nome) const
{
    QList<QByteArray> out;
    const ListaInicio &lista = m_modelo.lstInicio();
    for (qsizetype i = 0; i < lista.count(); ++i) {
        if (lista.nome(i) == nome) {
            QByteArray l;
            lista.anexarRegistro(i, l);
            l.chop(2);
            out.append(l);
        }
    }
    return out;
}

bool EdicaoContatos::podeReescrever(ResultadoEdicao &r, const QString &nome)
{
    if (m_modelo.ultimaLeituraFalhou()) {
        r.avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
        return false;
    }
    // The list is rewritten from memory: a change another program made since
    // the last read would be lost. Show the file as it is instead, with the
    // contact the user chose still chosen where it still exists.
    if (m_modelo.arquivo().lerBytes().assinatura() != m_modelo.assinaturaLida()) {
        r.avisos.append(Mensagens::ALTERADA);
        m_modelo.RecarregarLista();
        m_modelo.mostrarContato(nome);
        r.desfecho = ResultadoEdicao::Desfecho::Relistado;
        return false;
    }
    // Nothing to replace or remove: writing would claim a change not made.
    if (guardados(nome).isEmpty()) {
        r.avisos.append(Mensagens::NAO_EXISTE);
        return false;
    }
    return true;
}

ResultadoEdicao EdicaoContatos::gravado(ResultadoEdicao r, const QString &aviso,
                                        const QByteArray &escrito, bool baseIntacta,
                                        const std::function<void(ListaInicio &)> &mudanca)
{
    r.desfecho = ResultadoEdicao::Desfecho::Gravado;
    r.avisos.prepend(aviso);
    m_modelo.recarregarAposGravar(escrito, baseIntacta, mudanca);
    return r;
}

std::optional<QByteArray> EdicaoContatos::anexar(const ArquivoContatos::Leitura &atual,
                                                 Codificacao cod, const QList<ContactRecord> &novos,
                                                 ResultadoEdicao &r)
{
    QByteArray escrito = Codificacoes::marca(cod).toByteArray() +
                         FormatoContatos::semLinhasVazias(FormatoContatos::corpo(atual.bytes, cod));
    for (const ContactRecord &n : novos)
        FormatoContatos::anexarRegistro(escrito, n, cod);
    FormatoContatos::fecharArquivo(escrito);
    return gravar(std::move(escrito), cod, atual.assinatura(), r);
}

std::optional<QByteArray> EdicaoContatos::GravarContatos(const QString &nome,
                                                         const std::optional<ContactRecord> &novo,
                                                         ResultadoEdicao &r)
{
    // Every other record as it stands in the file's bytes, in the encoding
    // the file was read in.
    const ListaInicio &lista = m_modelo.lstInicio();
    const Codificacao cod = lista.codificacao();
    QByteArray bytes = Codificacoes::marca(cod).toByteArray();
    bytes.reserve(lista.count() * 64 + 64);
    for (qsizetype i = 0; i < lista.count(); ++i) {
        if (lista.nome(i) != nome)
            lista.anexarRegistro(i, bytes);
        else if (novo)
            FormatoContatos::anexarRegistro(bytes, *novo, cod);
    }
    FormatoContatos::fecharArquivo(bytes);
    return gravar(std::move(bytes), cod, m_modelo.assinaturaLida(), r);
}

std::optional<QByteArray> EdicaoContatos::gravar(QByteArray bytes, Codificacao cod,
                                                 const ArquivoContatos::Assinatura &base,
                                                 ResultadoEdicao &r)
{
    if (!Codificacoes::lidoDeVoltaIgual(bytes, cod)) {
        r.avisos.append(Mensagens::INVALIDOS);
        return std::nullopt;
    }
    return escrever(std::move(bytes), base, r);
}

std::optional<QByteArray> EdicaoContatos::escrever(QByteArray bytes,
                                                   const ArquivoContatos::Assinatura &base,
                                                   ResultadoEdicao &r)
{
    switch (m_modelo.arquivo().gravarSeInalterado(base, bytes)) {
    case ArquivoContatos::Gravacao::Gravado:
        // The edit goes on; that no version is kept is told once.
        if (m_modelo.arquivo().avisarSemVersao())
            r.avisos.append(Mensagens::SEM_VERSOES);
        break;
    case ArquivoContatos::Gravacao::Alterado:
        r.avisos.append(Mensagens::ALTERADA);
        return std::nullopt;
    case ArquivoContatos::Gravacao::Falhou:
        r.avisos.append(Mensagens::FALHA_GRAVACAO);
        return std::nullopt;
    }
    return bytes;
}

void EdicaoContatos::mostrarDepois(const QString &nome)
{
    if (m_modelo.mostrarContato(nome))
        return;
    const int grupo = m_modelo.grupos().grupoDe(nome);
    if (grupo >= 0)
        m_modelo.relistarGrupo(grupo);
}

ResultadoEdicao EdicaoContatos::restaurar(const QString &caminhoVersao, const QString &quando)
{
    const ModeloPrincipal::Lote lote(m_modelo);
    ResultadoEdicao r;
    const ArquivoContatos::Leitura versao =
        QFileInfo(caminhoVersao).size() > HistoricoVersoes::TAMANHO_MAXIMO
            ? ArquivoContatos::Leitura{}
            : ArquivoContatos(caminhoVersao).lerBytes();
    if (versao.estado != ArquivoContatos::Estado::Lido) {
        r.avisos.append(Mensagens::versaoNaoLida(quando));
        return r;
    }
    const ArquivoContatos::Leitura atual = m_modelo.arquivo().lerBytes();
    if (atual.estado == ArquivoContatos::Estado::Falhou) {
        r.avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
        return r;
    }
    if (atual.estado == ArquivoContatos::Estado::Lido && atual.bytes == versao.bytes) {
        r.avisos.append(Mensagens::VERSAO_IGUAL);
        return r;
    }
    const auto escrito = escrever(versao.bytes, atual.assinatura(), r);
    if (!escrito)
        return r;
    r = gravado(r, Mensagens::restaurada(quando), *escrito, false, [](ListaInicio &) {});
    const MudancaContatos m = MudancaContatos::restauracao(atual.bytes, versao.bytes, quando);
    mostrarDepois(m.nome);
    m_modelo.registrarMudanca(m);
    return r;
}

ResultadoEdicao EdicaoContatos::aplicar(const MudancaContatos &mudanca, bool desfazer)
{
    const ModeloPrincipal::Lote lote(m_modelo);
    ResultadoEdicao r;
    const ArquivoContatos::Leitura atual = m_modelo.arquivo().lerBytes();
    if (atual.estado == ArquivoContatos::Estado::Falhou) {
        r.avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
        return r;
    }
    using Estado = MudancaContatos::Troca::Estado;
    const MudancaContatos::Troca t = mudanca.trocar(atual.bytes, m_modelo.locale(), desfazer);
    switch (t.estado) {
    case Estado::Pronta:
        break;
    case Estado::Mudou:
        r.avisos.append(Mensagens::naoDesfeita(t.contato, desfazer));
        return r;
    case Estado::Existe:
        r.avisos.append(Mensagens::jaExiste(t.contato, desfazer));
        return r;
    case Estado::Invalida:
        r.avisos.append(Mensagens::INVALIDOS);
        return r;
    }
    const Codificacao cod = Codificacoes::detectar(t.inteiro ? t.bytes : atual.bytes);
    const auto escrito = gravar(t.bytes, cod, atual.assinatura(), r);
    if (!escrito)
        return r;
    r = gravado(r, Mensagens::desfeita(mudanca.descricao(), desfazer), *escrito, false,
                [](ListaInicio &) {});
    mostrarDepois(t.contato);
    if (const auto nomes = mudanca.renomeacao(desfazer))
        m_modelo.registrarRenomeacao(nomes->first, nomes->second);
    if (const auto j = mudanca.juncao(desfazer))
        m_modelo.registrarJuncao(j->first, j->second);
    return r;
}
