#pragma once

#include "sync/multistatus.h"

#include <QUrl>

// Where the address book is (RFC 6764, RFC 6352), decided from the server's
// answers; the requests themselves are the sync's.
namespace DescobertaLivro {

// What an answer points to next.
struct Passo {
    enum class Tipo {
        Nada,      // nothing of use: no address book this way
        Livro,     // the address book itself
        Casa,      // the home of the user's address books
        Principal, // the user's principal, which names the home
    };
    Tipo tipo = Tipo::Nada;
    QUrl url;
    QString nome; // the book's name, for Livro
};

// Asked of the address the user gave, and of its well-known place.
inline constexpr const char *PROPRIEDADES =
    "<d:resourcetype/><d:displayname/><d:current-user-principal/><c:addressbook-home-set/>";

// From a Depth 0 PROPFIND of onde.
Passo seguir(const Multistatus::Leitura &m, const QUrl &onde);
// From a Depth 1 PROPFIND of the home at onde: its address book named
// "contacts" or "default", else its first; none on another host.
Passo escolher(const Multistatus::Leitura &m, const QUrl &onde);
// The name a server gives its address book, bounded: it is shown as it came.
QString nomeExibido(const Multistatus::Resposta &r);

} // namespace DescobertaLivro
