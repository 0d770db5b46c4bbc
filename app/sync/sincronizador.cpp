#include "sync/sincronizador.h"

#include "store/codificacoes.h"
#include "store/formato_contatos.h"
#include "sync/listagem_livro.h"
#include "sync/multistatus.h"

#include <QDateTime>
#include <QFile>
#include <QUuid>
#include <utility>

namespace {

constexpr qsizetype LOTE = 100;
constexpr int EM_CURSO = 4;
constexpr int RODADAS = 3;
// A truncated listing is continued this many times at most.
constexpr int CONTINUACOES = 10'000;

QByteArray escaparXml(const QString &t)
{
    return t.toHtmlEscaped().toUtf8();
}

QByteArray propfindCorpo(const QByteArray &props)
{
    return R"(<?xml version="1.0" encoding="utf-8"?>)"
           R"(<d:propfind xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:carddav" )"
           R"(xmlns:cs="http://calendarserver.org/ns/"><d:prop>)" +
           props + "</d:prop></d:propfind>";
}

QString palavras(const QByteArray &corpo)
{
    // The start of the server's answer, as plain text, for the notice.
    QString t = QString::fromUtf8(corpo.left(2000)).simplified();
    return t.left(200);
}

} // namespace

Sincronizador::Sincronizador(QString caminhoContatos, QObject *parent)
    : QObject(parent), m_caminho(std::move(caminhoContatos))
{
}

void Sincronizador::renomear(const QString &de, const QString &para)
{
    if (de == para)
        return;
    // Noted at once, whatever stops the program before the next sync ends;
    // and merged again in this sync if it reads the file again.
    EstadoSincronizacao::renomear(m_caminho, de, para);
    if (ocupado())
        m_estado.acrescentarRenomeacao(de, para);
}

void Sincronizador::juntar(const QString &mantido, const QStringList &outros)
{
    const EstadoSincronizacao::Juncao j{mantido, outros};
    EstadoSincronizacao::juntar(m_caminho, j);
    if (ocupado())
        m_estado.acrescentarJuncao(j);
}

bool Sincronizador::sincronizar(const Conta &conta, const Decisao &decisao)
{
    if (ocupado())
        return false;
    m_fase = Fase::Lendo;
    m_conta = conta;
    // A password in the address goes nowhere but where it is asked for.
    m_conta.endereco = conta.endereco.adjusted(QUrl::RemoveUserInfo);
    m_decisao = decisao;
    m_r = {};
    m_primeira = false;
    m_rodada = 0;
    m_contadosAqui = m_contadosLa = 0;
    m_servidor.clear();
    m_desconhecidos.clear();
    m_cliente = new ClienteDav(m_conta.endereco, conta.usuario, conta.senha, this);
    // Refused before any request, the password with it.
    if (!ClienteDav::seguro(m_conta.endereco)) {
        falhar(Falha::Inseguro);
        return true;
    }
    m_estado =
        EstadoSincronizacao::ler(EstadoSincronizacao::caminhoAoLado(m_caminho), -1, &m_compactar);
    const QString endereco = m_conta.endereco.toString(QUrl::FullyEncoded);
    if (m_estado.endereco != endereco || m_estado.usuario != conta.usuario) {
        // Another book: what was agreed with the other does not hold here.
        m_estado = {};
        m_estado.endereco = endereco;
        m_estado.usuario = conta.usuario;
        m_compactar = true;
    }
    if (m_estado.colecao.isEmpty()) {
        descobrir();
    } else {
        m_colecao = QUrl::fromEncoded(m_estado.colecao.toUtf8());
        listar();
    }
    return true;
}

void Sincronizador::falhar(Falha f, const QString &detalhe)
{
    if (!ocupado())
        return;
    // What it did on the server is in the state already, noted as it was
    // done.
    m_fase = Fase::Parada;
    m_r.falha = f;
    m_r.detalhe = detalhe;
    m_r.pedidos = m_cliente->pedidos();
    m_cliente->cancelar();
    m_cliente->deleteLater();
    m_cliente = nullptr;
    Q_EMIT terminou(m_r);
}

bool Sincronizador::falhouResposta(const Resposta &r)
{
    switch (r.erro) {
    case ClienteDav::Erro::Nenhum:
        break;
    case ClienteDav::Erro::SemConexao:
        falhar(Falha::SemConexao, r.detalhe);
        return true;
    case ClienteDav::Erro::Certificado:
        falhar(Falha::Certificado, r.detalhe);
        return true;
    case ClienteDav::Erro::Inseguro:
        falhar(Falha::Inseguro);
        return true;
    case ClienteDav::Erro::Grande:
    case ClienteDav::Erro::Desvio:
        falhar(Falha::Servidor, r.url.toDisplayString());
        return true;
    }
    if (r.status == 401 || r.status == 403) {
        falhar(Falha::Senha, palavras(r.corpo));
        return true;
    }
    if (r.status == 404 || r.status == 410) {
        falhar(Falha::Endereco, r.url.toDisplayString());
        return true;
    }
    if (r.status >= 400) {
        falhar(Falha::Servidor, QString::number(r.status) + u' ' + palavras(r.corpo));
        return true;
    }
    return false;
}

std::optional<Multistatus::Leitura> Sincronizador::multistatus(const Resposta &r, Falha senao)
{
    if (falhouResposta(r))
        return std::nullopt;
    auto m = Multistatus::ler(r.corpo);
    if (r.status != 207 || !m) {
        falhar(senao, senao == Falha::Endereco ? r.url.toDisplayString() : palavras(r.corpo));
        return std::nullopt;
    }
    return m;
}

void Sincronizador::propfind(const QUrl &url, int profundidade, const QByteArray &props,
                             std::function<void(const Multistatus::Leitura &, const QUrl &)> pronto)
{
    m_cliente->pedir("PROPFIND", url, propfindCorpo(props),
                     {{"Depth", QByteArray::number(profundidade)},
                      {"Content-Type", "application/xml; charset=utf-8"}},
                     [this, pronto = std::move(pronto)](const Resposta &r) {
                         if (const auto m = multistatus(r, Falha::Endereco))
                             pronto(*m, r.url);
                     });
}

// The address given: the address book itself, or a server whose principal
// and its address books are found from it.
void Sincronizador::descobrir()
{
    const QByteArray props = DescobertaLivro::PROPRIEDADES;
    m_cliente->pedir(
        "PROPFIND", m_conta.endereco, propfindCorpo(props),
        {{"Depth", "0"}, {"Content-Type", "application/xml; charset=utf-8"}},
        [this, props](const Resposta &r) {
            if (r.erro != ClienteDav::Erro::Nenhum || r.status == 401 || r.status == 403 ||
                r.status >= 500) {
                falhouResposta(r);
                return;
            }
            const auto m = Multistatus::ler(r.corpo);
            if (r.status == 207 && m && seguir(DescobertaLivro::seguir(*m, r.url)))
                return;
            // A server's own address: its well-known place.
            propfind(m_conta.endereco.resolved(QUrl(QStringLiteral("/.well-known/carddav"))), 0,
                     props, [this](const auto &m2, const QUrl &onde) {
                         if (!seguir(DescobertaLivro::seguir(m2, onde)))
                             falhar(Falha::Endereco, m_conta.endereco.toDisplayString());
                     });
        });
}

bool Sincronizador::seguir(const DescobertaLivro::Passo &passo)
{
    using T = DescobertaLivro::Passo::Tipo;
    switch (passo.tipo) {
    case T::Nada:
        return false;
    case T::Livro:
        m_colecao = passo.url;
        m_estado.nome = passo.nome;
        listar();
        return true;
    case T::Casa:
        propfind(passo.url, 1, "<d:resourcetype/><d:displayname/>",
                 [this](const auto &m, const QUrl &onde) {
                     if (!seguir(DescobertaLivro::escolher(m, onde)))
                         falhar(Falha::Endereco, onde.toDisplayString());
                 });
        return true;
    case T::Principal:
        propfind(passo.url, 0, "<c:addressbook-home-set/>",
                 [this](const auto &m, const QUrl &onde) {
                     const auto proximo = DescobertaLivro::seguir(m, onde);
                     if (proximo.tipo != T::Casa || !seguir(proximo))
                         falhar(Falha::Endereco, onde.toDisplayString());
                 });
        return true;
    }
    return false;
}

QUrl Sincronizador::url(const QString &href) const
{
    return m_colecao.resolved(QUrl::fromEncoded(href.toUtf8()));
}

// What changed on the server since the last sync: by sync-collection where
// the server has it, else by the ETags of every card after a look at the
// book's own tag.
void Sincronizador::listar()
{
    if (!m_colecao.path().endsWith(u'/'))
        m_colecao.setPath(m_colecao.path() + u'/');
    m_estado.colecao = QString::fromUtf8(m_colecao.toEncoded());
    m_r.livro = !m_estado.nome.isEmpty()
                    ? m_estado.nome
                    : QUrl::fromPercentEncoding(
                          m_colecao.path(QUrl::FullyEncoded).section(u'/', -2, -2).toUtf8());
    if (m_estado.semSyncCollection) {
        listarPorEtag();
        return;
    }
    m_listagem = {};
    m_listagem.completa = m_estado.syncToken.isEmpty();
    pedirMudancas(m_estado.syncToken);
}

void Sincronizador::pedirMudancas(const QString &token)
{
    const QByteArray corpo =
        R"(<?xml version="1.0" encoding="utf-8"?><d:sync-collection xmlns:d="DAV:"><d:sync-token>)" +
        escaparXml(token) +
        "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop>"
        "</d:sync-collection>";
    m_cliente->pedir(
        "REPORT", m_colecao, corpo,
        {{"Depth", "0"}, {"Content-Type", "application/xml; charset=utf-8"}},
        [this, token](const Resposta &r) {
            const bool inicio = m_listagem.continuacoes == 0;
            if (r.erro == ClienteDav::Erro::Nenhum && inicio && !token.isEmpty() &&
                (r.status == 403 || r.status == 409)) {
                // The token is no longer valid (the book made anew, say):
                // everything again, as a first sync, which deletes nothing.
                m_estado.syncToken.clear();
                m_primeira = true;
                listar();
                return;
            }
            // A server without the report says so in one way or another
            // (501 Not Implemented, 400, 403, 415...).
            if (r.erro == ClienteDav::Erro::Nenhum && inicio && r.status != 401 &&
                (r.status < 500 || r.status == 501) && r.status != 207 && r.status != 404) {
                m_estado.semSyncCollection = true;
                listarPorEtag();
                return;
            }
            const auto m = multistatus(r, Falha::Servidor);
            if (!m)
                return;
            m_listagem.mudancas.acrescentar(ListagemLivro(m_colecao).mudancas(*m, r.url));
            if (ListagemLivro::truncada(*m)) {
                // Only part of it (RFC 6578, 3.6): the rest from where it ended.
                if (m->syncToken.isEmpty() || m->syncToken == token ||
                    ++m_listagem.continuacoes > CONTINUACOES) {
                    falhar(Falha::Servidor, QStringLiteral("507 listagem incompleta"));
                    return;
                }
                pedirMudancas(m->syncToken);
                return;
            }
            m_tokenNovo = m->syncToken;
            listado(m_listagem.mudancas.etags, m_listagem.completa, m_listagem.mudancas.removidos);
        });
}

void Sincronizador::listarPorEtag()
{
    propfind(m_colecao, 0, "<cs:getctag/><d:getetag/><d:sync-token/>",
             [this](const auto &m, const QUrl &) {
                 const QString ctag = ListagemLivro::etiqueta(m);
                 m_ctagNova = ctag;
                 if (!ctag.isEmpty() && ctag == m_estado.ctag) {
                     listado({}, false, {});
                     return;
                 }
                 propfind(m_colecao, 1, "<d:getetag/><d:resourcetype/>",
                          [this](const auto &m2, const QUrl &onde) {
                              if (ListagemLivro::truncada(m2)) {
                                  falhar(Falha::Servidor,
                                         QStringLiteral("507 listagem incompleta"));
                                  return;
                              }
                              const auto etags = ListagemLivro(m_colecao).etags(m2, onde);
                              listado(etags, true, {});
                          });
             });
}

// The server's cards now: those unchanged with the bytes the last sync saw,
// the others fetched.
void Sincronizador::listado(const QHash<QString, QByteArray> &etags, bool completo,
                            const QSet<QString> &removidos)
{
    m_servidor.clear();
    m_desconhecidos.clear();
    QHash<QString, QByteArray> atuais;
    if (!completo) {
        for (auto it = m_estado.cartoes.begin(); it != m_estado.cartoes.end(); ++it)
            atuais.insert(it.key(), it->etag);
        for (auto it = m_estado.deixados.begin(); it != m_estado.deixados.end(); ++it)
            atuais.insert(it.key(), it->etag);
        for (const QString &h : removidos)
            atuais.remove(h);
    }
    for (auto it = etags.begin(); it != etags.end(); ++it)
        atuais.insert(it.key(), it.value());
    QStringList buscar;
    for (auto it = atuais.begin(); it != atuais.end(); ++it) {
        const auto b = m_estado.cartoes.constFind(it.key());
        const auto d = m_estado.deixados.constFind(it.key());
        if (b != m_estado.cartoes.cend() && !b->etag.isEmpty() && b->etag == it.value()) {
            m_servidor.insert(it.key(), {b->etag, b->bytes, false, std::nullopt});
        } else if (b == m_estado.cartoes.cend() && d != m_estado.deixados.cend() &&
                   !d->etag.isEmpty() && d->etag == it.value() && !d->bytes.isEmpty()) {
            // Left out last time and unchanged: merged again from its bytes.
            m_servidor.insert(it.key(), {d->etag, d->bytes, false, std::nullopt});
        } else {
            buscar.append(it.key());
        }
    }
    this->buscar(buscar, [this] { ler(); });
}

// Cards by addressbook-multiget, a batch at a time.
void Sincronizador::buscar(QStringList hrefs, std::function<void()> depois)
{
    if (hrefs.isEmpty()) {
        depois();
        return;
    }
    const QStringList lote = hrefs.mid(0, LOTE);
    hrefs.remove(0, lote.size());
    QByteArray corpo = R"(<?xml version="1.0" encoding="utf-8"?>)"
                       R"(<c:addressbook-multiget xmlns:d="DAV:" )"
                       R"(xmlns:c="urn:ietf:params:xml:ns:carddav">)"
                       "<d:prop><d:getetag/><c:address-data/></d:prop>";
    for (const QString &h : lote)
        corpo += "<d:href>" + escaparXml(h) + "</d:href>";
    corpo += "</c:addressbook-multiget>";
    m_cliente->pedir("REPORT", m_colecao, corpo,
                     {{"Depth", "1"}, {"Content-Type", "application/xml; charset=utf-8"}},
                     [this, lote, hrefs, depois = std::move(depois)](const Resposta &r) mutable {
                         const auto m = multistatus(r, Falha::Servidor);
                         if (!m)
                             return;
                         for (const QString &h : lote)
                             m_servidor.remove(h);
                         // Read as they come, a batch at a time, so that the merge holds
                         // the event loop for less.
                         m_servidor.insert(ListagemLivro(m_colecao).cartoes(*m, r.url, lote));
                         // A card listed but not delivered (an error of its own, or
                         // gone meanwhile) is unknown this time: neither deleted
                         // nor changed, and the token waits for it.
                         for (const QString &h : lote) {
                             if (m_servidor.contains(h))
                                 m_desconhecidos.remove(h);
                             else
                                 m_desconhecidos.insert(h);
                         }
                         buscar(std::move(hrefs), std::move(depois));
                     });
}

void Sincronizador::ler()
{
    if (m_fase != Fase::Lendo)
        return;
    m_local = ArquivoContatos(m_caminho).lerBytes();
    // A file missing (a folder moved, a drive not there) is not an empty
    // book: nothing is sent.
    if (m_local.estado != ArquivoContatos::Estado::Lido) {
        falhar(Falha::Leitura, m_local.estado == ArquivoContatos::Estado::Ausente
                                   ? QStringLiteral("ausente")
                                   : QString());
        return;
    }
    const Codificacao cod = Codificacoes::detectar(m_local.bytes);
    const QList<ContactRecord> locais = FormatoContatos::lerRegistros(m_local.bytes);
    Fusao::Entrada e;
    e.base = &m_estado;
    e.servidor = &m_servidor;
    e.locais = &locais;
    e.codificacao = cod;
    e.locale = m_locale;
    e.colecao = m_colecao.path(QUrl::FullyEncoded);
    e.novoUid = [] { return QUuid::createUuid().toString(QUuid::WithoutBraces); };
    e.listavel = m_listavel;
    e.desconhecidos = &m_desconhecidos;
    e.semApagar = m_primeira || m_decisao.tipo == Decisao::Tipo::Manter;
    m_plano = Fusao::fundir(e);
    // Cards not delivered this time are there all the same.
    const auto hoje = m_estado.apagadosNoDia(m_estado.agora(-1));
    if (const auto p = ProtecaoApagar::avaliar(
            m_plano, locais.size(), m_servidor.size() + m_desconhecidos.size(), hoje, m_decisao)) {
        m_r.pergunta = *p;
        falhar(Falha::Confirmar);
        return;
    }
    executar();
}

void Sincronizador::executar()
{
    m_fase = Fase::Enviando;
    m_proxima = 0;
    m_emCurso = 0;
    m_feitas.clear();
    m_etagsNovas.clear();
    m_repetir.clear();
    m_comLocal.clear();
    for (const auto &op : m_plano.locais)
        m_comLocal.insert(op.href);
    if (m_plano.remotas.isEmpty()) {
        gravarLocal();
        return;
    }
    // New cards are named in the state before they are sent, and the state
    // is whole on disk before what is done there is noted after it.
    const QString estado = EstadoSincronizacao::caminhoAoLado(m_caminho);
    if (!m_plano.pendentes.isEmpty() || m_compactar || !QFile::exists(estado)) {
        m_estado.pendentes.insert(m_plano.pendentes);
        if (!m_estado.gravar(estado)) {
            falhar(Falha::Arquivo);
            return;
        }
        m_compactar = false;
    }
    Q_EMIT enviando();
    for (int i = 0; i < EM_CURSO && m_fase == Fase::Enviando; ++i)
        executarProxima();
}

void Sincronizador::executarProxima()
{
    if (m_fase != Fase::Enviando)
        return;
    if (m_proxima >= m_plano.remotas.size()) {
        if (m_emCurso == 0)
            gravarLocal();
        return;
    }
    const Fusao::OperacaoServidor &proxima = m_plano.remotas[m_proxima];
    // A card merged into another goes once that one is written: it waits
    // for the writes under way, and stays when that one failed.
    if (!proxima.depoisDe.isEmpty() && !m_feitas.contains(proxima.depoisDe)) {
        if (m_emCurso > 0)
            return;
        ++m_proxima;
        executarProxima();
        return;
    }
    const Fusao::OperacaoServidor op = m_plano.remotas[m_proxima++];
    ++m_emCurso;
    using Tipo = Fusao::OperacaoServidor::Tipo;
    ClienteDav::Cabecalhos cab;
    if (op.tipo == Tipo::Criar)
        cab.append(qMakePair(QByteArray("If-None-Match"), QByteArray("*")));
    else
        cab.append(qMakePair(QByteArray("If-Match"), op.etag));
    if (op.tipo != Tipo::Apagar)
        cab.append(qMakePair(QByteArray("Content-Type"), QByteArray("text/vcard; charset=utf-8")));
    m_cliente->pedir(op.tipo == Tipo::Apagar ? "DELETE" : "PUT", url(op.href), op.bytes, cab,
                     [this, op](const Resposta &r) {
                         if (m_fase != Fase::Enviando)
                             return;
                         --m_emCurso;
                         if (r.erro == ClienteDav::Erro::Nenhum &&
                             (r.status == 412 || (op.tipo != Tipo::Criar && r.status == 404))) {
                             // Changed or gone since it was read: read again,
                             // merge again.
                             if (!(op.tipo == Tipo::Apagar && r.status == 404)) {
                                 m_repetir.append(op.href);
                                 executarProxima();
                                 return;
                             }
                         } else if (falhouResposta(r)) {
                             return;
                         }
                         feita(op, r.etag);
                         executarProxima();
                     });
}

void Sincronizador::feita(const Fusao::OperacaoServidor &op, const QByteArray &etag)
{
    m_feitas.insert(op.href);
    const qint64 agora = m_estado.agora(-1);
    bool notado = true;
    if (op.tipo == Fusao::OperacaoServidor::Tipo::Apagar) {
        m_servidor.remove(op.href);
        ++m_r.apagadosLa;
        // A merge, or a delete the user confirmed, is not counted again.
        const bool contado = !op.juncao && m_decisao.tipo != Decisao::Tipo::Apagar;
        m_contadosLa += contado;
        std::optional<EstadoSincronizacao::Apagado> copia;
        for (const auto &a : std::as_const(m_plano.apagados)) {
            if (a.href == op.href)
                copia = EstadoSincronizacao::Apagado{a.href, a.cartao, agora};
        }
        notado = EstadoSincronizacao::notarApagado(m_caminho, op.href, copia, contado, agora);
    } else {
        m_servidor.insert(op.href, {etag, op.bytes, false, std::nullopt});
        m_etagsNovas.insert(op.href, etag);
        ++m_r.enviados;
        // Agreed once the contact here holds the same: at once where
        // nothing here changes with it.
        const auto alvo = m_plano.alvos.constFind(op.href);
        if (!m_comLocal.contains(op.href) && alvo != m_plano.alvos.cend() && alvo->has_value()) {
            EstadoSincronizacao::Cartao c = **alvo;
            c.etag = etag;
            notado = EstadoSincronizacao::notarCartao(m_caminho, op.href, c,
                                                      m_plano.devolvidos.contains(op.href));
        }
    }
    // What cannot be kept is not done any further.
    if (!notado) {
        falhar(Falha::Arquivo);
        return;
    }
    Q_EMIT progresso(int(m_feitas.size()), int(m_plano.remotas.size()));
}

void Sincronizador::reter(bool retido)
{
    m_retido = retido;
    if (!retido && m_fase == Fase::Retida)
        gravarLocal();
}

void Sincronizador::gravarLocal()
{
    if (m_fase != Fase::Enviando && m_fase != Fase::Retida)
        return;
    if (m_retido && !m_plano.locais.isEmpty()) {
        m_fase = Fase::Retida;
        return;
    }
    m_fase = Fase::Gravando;
    const qint64 agora = m_estado.agora(-1);
    bool escrito = m_plano.locais.isEmpty();
    if (!escrito) {
        const Codificacao cod = Codificacoes::detectar(m_local.bytes);
        const QByteArray novo = Fusao::reescrever(m_local.bytes, cod, m_plano.locais);
        if (!Codificacoes::lidoDeVoltaIgual(novo, cod)) {
            falhar(Falha::Arquivo);
            return;
        }
        switch (ArquivoContatos(m_caminho).gravarSeInalterado(m_local.assinatura(), novo)) {
        case ArquivoContatos::Gravacao::Gravado: {
            escrito = true;
            int removidos = 0;
            for (const auto &op : m_plano.locais) {
                if (op.tipo == Fusao::OperacaoLocal::Tipo::Remover)
                    ++removidos;
                else
                    ++m_r.recebidos;
            }
            m_r.apagadosAqui += removidos;
            m_r.conflitos += m_plano.conflitos;
            if (m_decisao.tipo != Decisao::Tipo::Apagar && removidos > 0) {
                m_contadosAqui += removidos;
                EstadoSincronizacao::notarApagamentos(m_caminho, removidos, agora);
            }
            break;
        }
        case ArquivoContatos::Gravacao::Alterado:
            break; // another program wrote it meanwhile: read it again, merge again
        case ArquivoContatos::Gravacao::Falhou:
            falhar(Falha::Arquivo);
            return;
        }
    } else {
        m_r.conflitos += m_plano.conflitos;
    }
    // A card's agreement holds once each of its operations is done.
    QSet<QString> comRemota;
    for (const auto &op : m_plano.remotas)
        comRemota.insert(op.href);
    for (auto it = m_plano.alvos.begin(); it != m_plano.alvos.end(); ++it) {
        if ((m_comLocal.contains(it.key()) && !escrito) ||
            (comRemota.contains(it.key()) && !m_feitas.contains(it.key())))
            continue;
        if (!it.value()) {
            m_estado.cartoes.remove(it.key());
            continue;
        }
        EstadoSincronizacao::Cartao c = *it.value();
        if (m_etagsNovas.contains(it.key()))
            c.etag = m_etagsNovas.value(it.key());
        m_estado.cartoes.insert(it.key(), c);
    }
    // A card deleted there is kept once deleted; one sent back, forgotten.
    QList<EstadoSincronizacao::Apagado> apagados;
    for (const auto &a : std::as_const(m_plano.apagados)) {
        if (m_feitas.contains(a.href))
            apagados.append(a);
    }
    m_estado.apagados.removeIf([this](const EstadoSincronizacao::Apagado &a) {
        return m_plano.devolvidos.contains(a.href) && m_feitas.contains(a.href);
    });
    m_estado.guardarApagados(apagados, agora);
    if ((!escrito || !m_repetir.isEmpty()) && ++m_rodada < RODADAS) {
        m_fase = Fase::Lendo;
        buscar(m_repetir, [this] { ler(); });
        return;
    }
    concluir(escrito);
}

void Sincronizador::concluir(bool escrito)
{
    m_estado.deixar(m_plano.deixados, m_desconhecidos);
    m_estado.esquecerRenomeacoesFeitas();
    // A merge is done once every card it waited on is deleted; those told
    // while this sync ran wait for the next.
    QList<EstadoSincronizacao::Juncao> juntados;
    for (qsizetype j = 0; j < m_estado.juntados.size(); ++j) {
        const QStringList hrefs = m_plano.juncoesEsperando.value(j);
        if (j >= m_plano.juncoesVistas ||
            std::any_of(hrefs.begin(), hrefs.end(),
                        [this](const QString &h) { return !m_feitas.contains(h); }))
            juntados.append(m_estado.juntados[j]);
    }
    m_estado.juntados = std::move(juntados);
    // The server's token holds only once every change it listed is merged
    // and written here.
    if (escrito && m_repetir.isEmpty() && m_desconhecidos.isEmpty()) {
        if (!m_tokenNovo.isEmpty())
            m_estado.syncToken = m_tokenNovo;
        if (!m_ctagNova.isEmpty())
            m_estado.ctag = m_ctagNova;
    }
    m_r.deixados = int(m_estado.deixados.size());
    m_r.naoLidos = int(m_desconhecidos.size());
    m_estado.pendentes = m_plano.pendentes;
    for (auto it = m_estado.pendentes.begin(); it != m_estado.pendentes.end();) {
        if (m_estado.cartoes.contains(it.value()))
            it = m_estado.pendentes.erase(it);
        else
            ++it;
    }
    m_estado.contarApagamentos(m_contadosAqui, m_contadosLa, m_estado.agora(-1));
    if (!m_estado.gravar(EstadoSincronizacao::caminhoAoLado(m_caminho))) {
        falhar(Falha::Arquivo);
        return;
    }
    m_compactar = false;
    // Another program kept changing the file: what the server sent waits
    // for the next sync, and this one says so.
    if (!escrito) {
        falhar(Falha::Arquivo, QStringLiteral("O arquivo contatos.txt foi alterado durante a "
                                              "sincronização."));
        return;
    }
    m_fase = Fase::Parada;
    m_r.pedidos = m_cliente->pedidos();
    m_cliente->deleteLater();
    m_cliente = nullptr;
    Q_EMIT terminou(m_r);
}
