#include "operations/gravacao_guardada.h"

#include "operations/mensagens.h"
#include "store/codificacoes.h"
#include "store/formato_contatos.h"

#include <algorithm>

bool GravacaoGuardada::daLista(ResultadoEdicao &r, const QStringList &nomes)
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
        if (!nomes.isEmpty())
            m_modelo.mostrarContato(nomes.first());
        r.desfecho = ResultadoEdicao::Desfecho::Relistado;
        return false;
    }
    // Nothing to replace or remove: writing would claim a change not made.
    const ListaInicio &lista = m_modelo.lstInicio();
    for (const QString &nome : nomes) {
        bool ha = false;
        for (qsizetype i = 0; i < lista.count() && !ha; ++i)
            ha = lista.nome(i) == nome;
        if (!ha) {
            r.avisos.append(Mensagens::NAO_EXISTE);
            return false;
        }
    }
    return true;
}

GravacaoGuardada::Reescrita
GravacaoGuardada::reescrever(const std::function<Troca(qsizetype)> &troca) const
{
    // Every other record as it stands in the file's bytes, in the encoding
    // the file was read in.
    const ListaInicio &lista = m_modelo.lstInicio();
    const Codificacao cod = lista.codificacao();
    Reescrita r;
    r.bytes = Codificacoes::marca(cod).toByteArray();
    r.bytes.reserve(lista.count() * 64 + 64);
    for (qsizetype i = 0; i < lista.count(); ++i) {
        const Troca t = troca(i);
        if (t.tipo == Troca::Tipo::Manter) {
            lista.anexarRegistro(i, r.bytes);
            continue;
        }
        QByteArray linha;
        lista.anexarRegistro(i, linha);
        linha.chop(2);
        r.antes.append(linha);
        if (t.tipo == Troca::Tipo::Trocar) {
            FormatoContatos::anexarRegistro(r.bytes, t.novo, cod);
            r.depois.append(MudancaContatos::linha(t.novo, cod));
        }
    }
    FormatoContatos::fecharArquivo(r.bytes);
    return r;
}

QByteArray GravacaoGuardada::anexar(const ArquivoContatos::Leitura &atual, Codificacao cod,
                                    const QList<ContactRecord> &novos)
{
    QByteArray bytes = Codificacoes::marca(cod).toByteArray() +
                       FormatoContatos::semLinhasVazias(FormatoContatos::corpo(atual.bytes, cod));
    for (const ContactRecord &n : novos)
        FormatoContatos::anexarRegistro(bytes, n, cod);
    FormatoContatos::fecharArquivo(bytes);
    return bytes;
}

namespace {

// The first field the encoding cannot hold, or Nenhum.
ResultadoEdicao::Campo naoGravavel(const ContactRecord &c, Codificacao cod,
                                   const QList<ContactRecord> &guardados)
{
    using Campo = ResultadoEdicao::Campo;
    const std::pair<QString ContactRecord::*, Campo> campos[] = {
        {&ContactRecord::Nome, Campo::Nome},
        {&ContactRecord::Telefone, Campo::Telefone},
        {&ContactRecord::Email, Campo::Email}};
    for (const auto &par : campos) {
        // Not a structured binding: clang 14 cannot capture one in a lambda.
        const auto campo = par.first;
        if (FormatoContatos::campoGravavel(c.*campo, cod))
            continue;
        // A field left as the file holds it goes back as it came.
        if (std::none_of(guardados.begin(), guardados.end(),
                         [&](const ContactRecord &g) { return g.*campo == c.*campo; }))
            return par.second;
    }
    return Campo::Nenhum;
}

} // namespace

bool GravacaoGuardada::gravaveis(const ContactRecord &c, Codificacao cod,
                                 const QList<ContactRecord> &guardados)
{
    return naoGravavel(c, cod, guardados) == ResultadoEdicao::Campo::Nenhum;
}

bool GravacaoGuardada::gravaveis(ResultadoEdicao &r, const ContactRecord &c, Codificacao cod,
                                 const QList<ContactRecord> &guardados)
{
    r.campo = naoGravavel(c, cod, guardados);
    if (r.campo == ResultadoEdicao::Campo::Nenhum)
        return true;
    r.avisos.append(Mensagens::INVALIDOS);
    return false;
}

ResultadoEdicao GravacaoGuardada::gravar(ResultadoEdicao r, const Pedido &p)
{
    if (!p.comoEsta && !Codificacoes::lidoDeVoltaIgual(p.bytes, p.codificacao)) {
        r.avisos.append(Mensagens::INVALIDOS);
        return r;
    }
    ArquivoContatos &arquivo = m_modelo.arquivo();
    switch (arquivo.gravarSeInalterado(p.base, p.bytes)) {
    case ArquivoContatos::Gravacao::Gravado:
        // The edit goes on; that no version is kept is told once.
        if (arquivo.avisarSemVersao())
            r.avisos.append(Mensagens::SEM_VERSOES);
        break;
    case ArquivoContatos::Gravacao::Alterado:
        r.avisos.append(Mensagens::ALTERADA);
        return r;
    case ArquivoContatos::Gravacao::Falhou:
        r.avisos.append(Mensagens::FALHA_GRAVACAO);
        return r;
    }
    r.desfecho = ResultadoEdicao::Desfecho::Gravado;
    r.avisos.prepend(p.aviso);
    m_modelo.recarregarAposGravar(p.bytes, p.baseIntacta, p.naLista);
    switch (p.depois) {
    case Pedido::Depois::AbaAB:
        m_modelo.relistarGrupo(GRUPO_AB);
        break;
    case Pedido::Depois::AbaEscolhida:
        m_modelo.AtualizarAba();
        break;
    case Pedido::Depois::Contato:
        // After a write of another shape than the dialogs': the contact
        // shown, or at least its tab.
        if (!m_modelo.mostrarContato(p.mostrar)) {
            if (const int grupo = m_modelo.grupos().grupoDe(p.mostrar); grupo >= 0)
                m_modelo.relistarGrupo(grupo);
        }
        break;
    }
    if (p.mudanca)
        m_modelo.registrarMudanca(*p.mudanca);
    if (p.renomeacao)
        m_modelo.registrarRenomeacao(p.renomeacao->first, p.renomeacao->second);
    if (p.juncao)
        m_modelo.registrarJuncao(p.juncao->first, p.juncao->second);
    return r;
}
