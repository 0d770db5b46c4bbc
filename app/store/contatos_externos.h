#pragma once

#include "store/contact_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// Contacts as other programs exchange them: vCard files (2.1, 3.0, 4.0) as
// phones and address books export them, and CSV files as spreadsheets and
// web address books do. Only the name, one telephone and one e-mail of each
// are kept.
namespace ContatosExternos {

enum class Formato { VCard, Csv };

struct Lidos {
    bool reconhecido = false; // a vCard, or a CSV with columns known here
    QList<ContactRecord> contatos;
    // Contacts left out because a field holds what no contact file can
    // (the field separator).
    int rejeitados = 0;
};

// Every contact of a file's bytes: a vCard when it holds a card, else a CSV
// when its header names known columns. Line breaks inside a field become
// spaces, so no field holds CR, LF or the separator.
Lidos ler(QByteArrayView bytes);
Lidos lerVCard(QByteArrayView bytes);
Lidos lerCsv(QByteArrayView bytes);

// vCard 3.0 in UTF-8, CR LF, lines folded at 75 octets; or CSV in UTF-8 with
// a byte-order mark, header Nome,Telefone,E-mail.
QByteArray escrever(const QList<ContactRecord> &contatos, Formato formato);

} // namespace ContatosExternos
