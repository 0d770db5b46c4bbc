#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// A WebDAV multistatus answer (RFC 4918), as PROPFIND and the CardDAV and
// sync-collection reports return it. It comes from a server, so it is read
// as untrusted input: no DTD (and so no entity of any kind), a bounded depth
// and a bounded number of answers.
namespace Multistatus {

inline constexpr char16_t DAV[] = u"DAV:";
inline constexpr char16_t CARDDAV[] = u"urn:ietf:params:xml:ns:carddav";
inline constexpr char16_t CALSERVER[] = u"http://calendarserver.org/ns/";

// One property that came back with a 2xx status.
struct Propriedade {
    QString texto;      // its own text, as it came (getetag, address-data...)
    QStringList hrefs;  // the DAV:href elements inside it
    QStringList filhos; // its child elements, as "namespace|name"
};

struct Resposta {
    QStringList hrefs;
    int status = 0;                           // the response's own status, 0 when it has none
    QHash<QString, Propriedade> propriedades; // by "namespace|name"

    const Propriedade *propriedade(QStringView ns, QStringView nome) const;
};

struct Leitura {
    QList<Resposta> respostas;
    QString syncToken;
};

inline constexpr int PROFUNDIDADE = 32;
inline constexpr qsizetype RESPOSTAS = 200'000;

QString chave(QStringView ns, QStringView nome);

// Nothing when the XML is malformed, carries a DTD, is deeper or holds more
// answers than the limits, or is no multistatus.
std::optional<Leitura> ler(const QByteArray &xml);

// The status code of "HTTP/1.1 404 Not Found", 0 when it is none.
int codigo(QStringView linhaDeStatus);

} // namespace Multistatus
