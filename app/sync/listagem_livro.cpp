#include "sync/listagem_livro.h"

#include <algorithm>

namespace {

// A card as the server's XML gave it: line ends the XML turned into LF alone
// go back to CR LF, as vCard has them.
QByteArray bytesDoCartao(const QString &texto)
{
    QByteArray b = texto.toUtf8();
    if (!b.contains('\r'))
        b.replace('\n', "\r\n");
    return b;
}

QByteArray etag(const Multistatus::Propriedade &p)
{
    return p.texto.trimmed().toUtf8();
}

} // namespace

std::optional<QString> ListagemLivro::membro(const QString &href, const QUrl &base) const
{
    const QUrl u = base.resolved(QUrl(href));
    if (u.host().compare(m_colecao.host(), Qt::CaseInsensitive) != 0 ||
        u.port() != m_colecao.port())
        return std::nullopt;
    QString pasta = m_colecao.path(QUrl::FullyEncoded);
    if (!pasta.endsWith(u'/'))
        pasta += u'/';
    const QString caminho = u.path(QUrl::FullyEncoded);
    if (!caminho.startsWith(pasta) || caminho.size() == pasta.size() ||
        caminho.indexOf(u'/', pasta.size()) >= 0)
        return std::nullopt;
    return caminho;
}

void ListagemLivro::Mudancas::acrescentar(const Mudancas &seguintes)
{
    for (const QString &h : seguintes.removidos) {
        etags.remove(h);
        removidos.insert(h);
    }
    for (auto it = seguintes.etags.begin(); it != seguintes.etags.end(); ++it) {
        removidos.remove(it.key());
        etags.insert(it.key(), it.value());
    }
}

ListagemLivro::Mudancas ListagemLivro::mudancas(const Multistatus::Leitura &m,
                                                const QUrl &onde) const
{
    Mudancas r;
    for (const auto &resp : m.respostas) {
        for (const QString &h : resp.hrefs) {
            const auto href = membro(h, onde);
            if (!href)
                continue;
            if (resp.status == 404)
                r.removidos.insert(*href);
            else if (const auto *e = resp.propriedade(Multistatus::DAV, u"getetag"))
                r.etags.insert(*href, etag(*e));
        }
    }
    // A card the answer says both changed and gone is asked for: if it is
    // gone, that answer says so, and nothing is deleted on a contradiction.
    for (auto it = r.etags.cbegin(); it != r.etags.cend(); ++it)
        r.removidos.remove(it.key());
    return r;
}

QHash<QString, QByteArray> ListagemLivro::etags(const Multistatus::Leitura &m,
                                                const QUrl &onde) const
{
    QHash<QString, QByteArray> r;
    for (const auto &resp : m.respostas) {
        const auto *e = resp.propriedade(Multistatus::DAV, u"getetag");
        const auto *t = resp.propriedade(Multistatus::DAV, u"resourcetype");
        if (!e || resp.hrefs.isEmpty() || (t && !t->filhos.isEmpty()))
            continue;
        if (const auto href = membro(resp.hrefs.first(), onde))
            r.insert(*href, etag(*e));
    }
    return r;
}

QHash<QString, Fusao::CartaoServidor> ListagemLivro::cartoes(const Multistatus::Leitura &m,
                                                             const QUrl &onde,
                                                             const QStringList &pedidos) const
{
    QHash<QString, Fusao::CartaoServidor> r;
    for (const auto &resp : m.respostas) {
        const auto *dados = resp.propriedade(Multistatus::CARDDAV, u"address-data");
        const auto *e = resp.propriedade(Multistatus::DAV, u"getetag");
        if (!dados || resp.hrefs.isEmpty())
            continue;
        const auto href = membro(resp.hrefs.first(), onde);
        if (!href || !pedidos.contains(*href))
            continue;
        Fusao::CartaoServidor c{e ? etag(*e) : QByteArray(), bytesDoCartao(dados->texto), true,
                                std::nullopt};
        c.cartao = CartaoVCard::ler(c.bytes);
        r.insert(*href, std::move(c));
    }
    return r;
}

QString ListagemLivro::etiqueta(const Multistatus::Leitura &m)
{
    QString tag;
    for (const auto &r : m.respostas) {
        for (const auto *p : {r.propriedade(Multistatus::CALSERVER, u"getctag"),
                              r.propriedade(Multistatus::DAV, u"sync-token"),
                              r.propriedade(Multistatus::DAV, u"getetag")}) {
            if (p && tag.isEmpty())
                tag = p->texto.trimmed();
        }
    }
    return tag;
}

bool ListagemLivro::truncada(const Multistatus::Leitura &m)
{
    return std::any_of(m.respostas.begin(), m.respostas.end(),
                       [](const Multistatus::Resposta &r) { return r.status == 507; });
}
