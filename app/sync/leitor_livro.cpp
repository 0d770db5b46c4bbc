#include "sync/leitor_livro.h"

namespace {

constexpr qsizetype LOTE = 100;
// A truncated listing is continued this many times at most.
constexpr int CONTINUACOES = 10'000;

} // namespace

void LeitorLivro::ler(const QUrl &colecao, EstadoSincronizacao &estado,
                      std::function<void()> pronto)
{
    m_colecao = colecao;
    m_estado = &estado;
    m_pronto = std::move(pronto);
    m_livro = {};
    listar();
}

void LeitorLivro::listar()
{
    if (m_estado->semSyncCollection) {
        listarPorEtag();
        return;
    }
    m_listagem = {};
    m_listagem.completa = m_estado->syncToken.isEmpty();
    pedirMudancas(m_estado->syncToken);
}

void LeitorLivro::pedirMudancas(const QString &token)
{
    m_pedidos.xml(
        "REPORT", m_colecao, 0, PedidosLivro::corpoMudancas(token),
        [this, token](const PedidosLivro::Resposta &r) {
            const bool inicio = m_listagem.continuacoes == 0;
            if (r.erro == ClienteDav::Erro::Nenhum && inicio && !token.isEmpty() &&
                (r.status == 403 || r.status == 409)) {
                // The token is no longer valid (the book made anew, say):
                // everything again, as a first sync, which deletes nothing.
                m_estado->syncToken.clear();
                m_livro.primeira = true;
                listar();
                return;
            }
            // A server without the report says so in one way or another
            // (501 Not Implemented, 400, 403, 415...).
            if (r.erro == ClienteDav::Erro::Nenhum && inicio && r.status != 401 &&
                (r.status < 500 || r.status == 501) && r.status != 207 && r.status != 404) {
                m_estado->semSyncCollection = true;
                listarPorEtag();
                return;
            }
            const auto m = m_pedidos.multistatus(r, PedidosLivro::Falha::Servidor);
            if (!m)
                return;
            m_listagem.mudancas.acrescentar(ListagemLivro(m_colecao).mudancas(*m, r.url));
            if (ListagemLivro::truncada(*m)) {
                // Only part of it (RFC 6578, 3.6): the rest from where it ended.
                if (m->syncToken.isEmpty() || m->syncToken == token ||
                    ++m_listagem.continuacoes > CONTINUACOES) {
                    m_pedidos.falhar(PedidosLivro::Falha::Servidor,
                                     QStringLiteral("507 listagem incompleta"));
                    return;
                }
                pedirMudancas(m->syncToken);
                return;
            }
            m_livro.tokenNovo = m->syncToken;
            listado(m_listagem.mudancas.etags, m_listagem.completa, m_listagem.mudancas.removidos);
        });
}

void LeitorLivro::listarPorEtag()
{
    m_pedidos.propfind(m_colecao, 0, "<cs:getctag/><d:getetag/><d:sync-token/>",
                       [this](const auto &m, const QUrl &) {
                           const QString ctag = ListagemLivro::etiqueta(m);
                           m_livro.ctagNova = ctag;
                           if (!ctag.isEmpty() && ctag == m_estado->ctag) {
                               listado({}, false, {});
                               return;
                           }
                           m_pedidos.propfind(
                               m_colecao, 1, "<d:getetag/><d:resourcetype/>",
                               [this](const auto &m2, const QUrl &onde) {
                                   if (ListagemLivro::truncada(m2)) {
                                       m_pedidos.falhar(PedidosLivro::Falha::Servidor,
                                                        QStringLiteral("507 listagem incompleta"));
                                       return;
                                   }
                                   listado(ListagemLivro(m_colecao).etags(m2, onde), true, {});
                               });
                       });
}

// The server's cards now: those unchanged with the bytes the last sync saw,
// the others fetched.
void LeitorLivro::listado(const QHash<QString, QByteArray> &etags, bool completo,
                          const QSet<QString> &removidos)
{
    m_livro.cartoes.clear();
    m_livro.desconhecidos.clear();
    const EstadoSincronizacao &estado = *m_estado;
    QHash<QString, QByteArray> atuais;
    if (!completo) {
        for (auto it = estado.cartoes.begin(); it != estado.cartoes.end(); ++it)
            atuais.insert(it.key(), it->etag);
        for (auto it = estado.deixados.begin(); it != estado.deixados.end(); ++it)
            atuais.insert(it.key(), it->etag);
        for (const QString &h : removidos)
            atuais.remove(h);
    }
    for (auto it = etags.begin(); it != etags.end(); ++it)
        atuais.insert(it.key(), it.value());
    QStringList buscar;
    for (auto it = atuais.begin(); it != atuais.end(); ++it) {
        const auto b = estado.cartoes.constFind(it.key());
        const auto d = estado.deixados.constFind(it.key());
        if (b != estado.cartoes.cend() && !b->etag.isEmpty() && b->etag == it.value()) {
            m_livro.cartoes.insert(it.key(), {b->etag, b->bytes, false, std::nullopt});
        } else if (b == estado.cartoes.cend() && d != estado.deixados.cend() &&
                   !d->etag.isEmpty() && d->etag == it.value() && !d->bytes.isEmpty()) {
            // Left out last time and unchanged: merged again from its bytes.
            m_livro.cartoes.insert(it.key(), {d->etag, d->bytes, false, std::nullopt});
        } else {
            buscar.append(it.key());
        }
    }
    this->buscar(buscar, m_pronto);
}

void LeitorLivro::buscar(QStringList hrefs, std::function<void()> depois)
{
    if (hrefs.isEmpty()) {
        depois();
        return;
    }
    const QStringList lote = hrefs.mid(0, LOTE);
    hrefs.remove(0, lote.size());
    m_pedidos.xml(
        "REPORT", m_colecao, 1, PedidosLivro::corpoMultiget(lote),
        [this, lote, hrefs, depois = std::move(depois)](const PedidosLivro::Resposta &r) mutable {
            const auto m = m_pedidos.multistatus(r, PedidosLivro::Falha::Servidor);
            if (!m)
                return;
            for (const QString &h : lote)
                m_livro.cartoes.remove(h);
            // Read as they come, a batch at a time, so that the merge holds
            // the event loop for less.
            m_livro.cartoes.insert(ListagemLivro(m_colecao).cartoes(*m, r.url, lote));
            // A card listed but not delivered (an error of its own, or gone
            // meanwhile) is unknown this time: neither deleted nor changed,
            // and the token waits for it.
            for (const QString &h : lote) {
                if (m_livro.cartoes.contains(h))
                    m_livro.desconhecidos.remove(h);
                else
                    m_livro.desconhecidos.insert(h);
            }
            buscar(std::move(hrefs), std::move(depois));
        });
}
