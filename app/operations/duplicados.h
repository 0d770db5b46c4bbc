#pragma once

#include "store/contact_record.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class ListaInicio;
class QSettings;

// Contacts that may be one person, and why.
struct GrupoDuplicados {
    enum Motivo {
        Telefone = 1, // the same number, however it is written
        Email = 2,    // the same address, case aside
        Nome = 4,     // the same name once case, accents and punctuation are set aside
        Palavras = 8, // the same words in another order ("Souza Ana")
    };
    QList<ContactRecord> membros; // in the list's order
    int motivos = 0;

    // "mesmo telefone, mesmo e-mail"
    QString porque() const;
    // Its members' names, sorted, one a line: what "não são a mesma pessoa"
    // remembers, so that a group that gains a member is offered again.
    QString chave() const;
};

namespace Duplicados {

// The number as it is compared: a Brazilian one by area code and number
// (a mobile's ninth digit given), others by their digits; empty for one too
// short to tell people apart.
QString chaveTelefone(const QString &campo);
// "anasouza" for "Ana Souza", "ANA  SOUZA" and "Ána Souza."
QString chaveNome(const QString &nome);
// The name's words sorted: "ana souza" for "Souza, Ana".
QString chavePalavras(const QString &nome);

// Every group of the list, in the order of its first member, but those
// the user said are not one person (by their chave()).
QList<GrupoDuplicados> procurar(const ListaInicio &lista, const QSet<QString> &distintos = {});

// How many of the contacts named so share a group with one not named so:
// those of an import that look like ones already here.
qsizetype parecidos(const QList<GrupoDuplicados> &grupos, const QSet<QString> &nomes);

// The groups the user said are not one person, kept in the program's
// settings (never in the contact file, which other programs read).
QSet<QString> distintos(const QSettings &configuracoes);
void lembrarDistintos(QSettings &configuracoes, const QString &chave);
inline constexpr qsizetype DISTINTOS_MAXIMO = 10'000;

} // namespace Duplicados
