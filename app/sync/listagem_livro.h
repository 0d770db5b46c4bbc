#pragma once

#include "sync/fusao.h"
#include "sync/multistatus.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

// What a CardDAV server's listings of one address book say: which cards
// changed or went (sync-collection), every card's ETag (PROPFIND), the
// book's own tag, and the cards asked for (addressbook-multiget). Only hrefs
// of cards right inside the book count; a server's answer is not trusted to
// name only those.
class ListagemLivro {
public:
    // The address book, its path ending in '/'.
    explicit ListagemLivro(QUrl colecao) : m_colecao(std::move(colecao)) {}

    // The card's path inside the book, or nothing for an href outside it
    // (another host, a deeper folder, the book itself).
    std::optional<QString> membro(const QString &href, const QUrl &base) const;

    struct Mudancas {
        QHash<QString, QByteArray> etags; // changed or new
        QSet<QString> removidos;
        // The changes of the next part of a listing, after these.
        void acrescentar(const Mudancas &seguintes);
    };
    // A sync-collection REPORT answered from onde.
    Mudancas mudancas(const Multistatus::Leitura &m, const QUrl &onde) const;
    // A Depth 1 PROPFIND: every card's ETag, folders left out.
    QHash<QString, QByteArray> etags(const Multistatus::Leitura &m, const QUrl &onde) const;
    // An addressbook-multiget: those of the cards asked for that came, read.
    QHash<QString, Fusao::CartaoServidor> cartoes(const Multistatus::Leitura &m, const QUrl &onde,
                                                  const QStringList &pedidos) const;

    // The book's own tag, from a Depth 0 PROPFIND: its CTag, else its
    // sync-token, else its ETag; empty when it has none.
    static QString etiqueta(const Multistatus::Leitura &m);
    // Whether the server cut the listing short (a 507, RFC 6578 section 3.6):
    // what it does not list is not gone.
    static bool truncada(const Multistatus::Leitura &m);

private:
    QUrl m_colecao;
};
