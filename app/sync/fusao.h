#pragma once

#include "store/codificacao.h"
#include "store/contact_record.h"
#include "sync/cartao_vcard.h"
#include "sync/estado_sincronizacao.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>

// The three-way merge of one sync, with no network and no file: what the
// contact file holds now, what the server holds now and what the last sync
// agreed give what each side must be told. Nothing anyone typed is lost: a
// field changed on both sides keeps the desktop's value on both, and the
// server's as one more line of the card.
namespace Fusao {

struct CartaoServidor {
    QByteArray etag;
    QByteArray bytes;
    // The card read already (nothing: it is none the patcher takes), so
    // that the merge itself reads none.
    bool lido = false;
    std::optional<CartaoVCard> cartao;

    std::optional<CartaoVCard> ler() const { return lido ? cartao : CartaoVCard::ler(bytes); }
};

struct OperacaoLocal {
    enum class Tipo { Trocar, Remover, Acrescentar };
    Tipo tipo;
    QString nome; // the contact changed or removed, exactly as the file holds it
    ContactRecord registro;
    QString href; // the card it agrees with
};

struct OperacaoServidor {
    enum class Tipo { Criar, Alterar, Apagar };
    Tipo tipo;
    QString href;
    QByteArray etag; // If-Match of a change or a delete
    QByteArray bytes;
    // Done only once this card's own write succeeded: a card merged into
    // it is deleted after that card carries its lines.
    QString depoisDe;
    // A delete of a card whose contact was merged here into another.
    bool juncao = false;
};

struct Plano {
    QList<OperacaoLocal> locais;
    QList<OperacaoServidor> remotas;
    // What the state holds for each card touched once all of its operations
    // are done (nothing: the card is forgotten). A card whose operations
    // did not all succeed keeps what it had, so the next sync does them again.
    QHash<QString, std::optional<EstadoSincronizacao::Cartao>> alvos;
    // Cards left on the server as they are, with their ETag and bytes.
    QHash<QString, EstadoSincronizacao::Cartao> deixados;
    QHash<QString, QString> pendentes; // the new cards, as the state keeps them
    // Cards deleted there because deleted here, to keep once deleted; and
    // those of the state sent back, to forget once sent.
    QList<EstadoSincronizacao::Apagado> apagados;
    QSet<QString> devolvidos;
    // The merges of the state this plan saw, and for each the cards whose
    // delete it waits on: one stays in the state while any of them is left.
    qsizetype juncoesVistas = 0;
    QHash<qsizetype, QStringList> juncoesEsperando;
    int recebidos = 0, enviados = 0, apagadosAqui = 0, apagadosLa = 0, conflitos = 0;
    // The contacts the last sync agreed on, and how many of them each side
    // still holds.
    int acordados = 0, acordadosAqui = 0, acordadosLa = 0;
};

struct Entrada {
    const EstadoSincronizacao *base = nullptr;
    // Every card of the address book now, by href; those not changed since
    // the last sync with the bytes it saw.
    const QHash<QString, CartaoServidor> *servidor = nullptr;
    const QList<ContactRecord> *locais = nullptr;
    Codificacao codificacao = Codificacao::Windows1252;
    QLocale locale;
    QString colecao; // the address book's path, ending in '/', for new cards
    std::function<QString()> novoUid;
    // Whether a tab lists a name: a card whose name none does is left on the
    // server, as the import leaves it out. None: every name is listed.
    std::function<bool(QStringView)> listavel;
    // Cards listed but not delivered this time: left as the last sync
    // agreed, their contacts untouched.
    const QSet<QString> *desconhecidos = nullptr;
    // Nothing deleted on either side: what one side lacks of what the last
    // sync agreed comes back from the other.
    bool semApagar = false;
};

Plano fundir(const Entrada &e);

// What a contact file (its bytes) would do to a server still as the last
// sync left it: how many cards a sync would delete there and change.
struct Efeito {
    int apagar = 0;
    int alterar = 0;
};
Efeito efeitoNoServidor(const EstadoSincronizacao &base, QByteArrayView arquivo,
                        const QLocale &locale);

// The contact file's bytes with the operations done: other lines kept as
// they stand, blank lines dropped, new contacts at the end, then two empty
// lines, as the add leaves it.
QByteArray reescrever(QByteArrayView arquivo, Codificacao c, const QList<OperacaoLocal> &ops);

} // namespace Fusao
