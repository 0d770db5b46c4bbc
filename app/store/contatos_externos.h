#pragma once

#include "store/contact_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// Contacts as other programs exchange them: vCard files (2.1, 3.0, 4.0) as
// phones and address books export them, and CSV files as spreadsheets and
// desktop and web address books do. Only the name, one telephone and one
// e-mail of each are kept.
namespace ContatosExternos {

enum class Formato { VCard, Csv };

// Far beyond any real export; past them a file is refused whole, before it
// can freeze the program or fill its memory.
struct Limites {
    qint64 bytes = qint64(128) << 20;     // the file
    qsizetype linha = qsizetype(1) << 20; // a vCard line kept, unfolded
    qsizetype campo = qsizetype(1) << 20; // a CSV field, in characters
    qsizetype colunas = 4096;             // a CSV row's fields
    qsizetype contatos = 1'000'000;       // cards or rows
};

enum class Falha {
    Nenhuma,
    NaoLido,        // no regular file that could be read whole
    NaoReconhecido, // no card, and no CSV header naming a known column
    AspasAbertas,   // a CSV quote that never closes; linha says where it opened
    Grande,         // past a limit
};

struct Lidos {
    Falha falha = Falha::NaoReconhecido;
    qsizetype linha = 0; // 1 for the file's first line
    QList<ContactRecord> contatos;
    // Contacts left out: a field holds what no contact file can (the field
    // separator), or a card's character set is unknown here.
    int rejeitados = 0;
    bool ok() const { return falha == Falha::Nenhuma; }
};

// The file at the path: refused at once when it is not a regular file (a
// folder, a FIFO, a device) or is larger than the limit.
Lidos lerArquivo(const QString &caminho, const Limites &limites = {});

// Every contact of a file's bytes: a vCard when it holds a card, else a CSV
// when its header names known columns. Line breaks inside a field become
// spaces, so no field holds CR, LF or the separator. This program's own
// exports give their fields back exactly; other programs' lose the spaces
// around them.
Lidos ler(QByteArrayView bytes, const Limites &limites = {});
Lidos lerVCard(QByteArrayView bytes, const Limites &limites = {});
Lidos lerCsv(QByteArrayView bytes, const Limites &limites = {});

// vCard 3.0 in UTF-8, CR LF, lines folded at 75 octets; or CSV in UTF-8 with
// a byte-order mark, header Nome,Telefone,E-mail, a field that a
// spreadsheet would take for a formula led by an apostrophe.
QByteArray escrever(const QList<ContactRecord> &contatos, Formato formato);

// For the readers: UTF-16 (with or without its mark, as the Mac's address
// book writes it) as UTF-8; anything else as it is, its UTF-8 mark dropped.
QByteArray semUtf16(QByteArrayView bytes);
// A contact read: line breaks inside its fields become spaces, spaces
// around them go unless it is exact; one whose field holds the separator is
// left out, and counted.
void acrescentar(Lidos &l, ContactRecord r, bool exato);

} // namespace ContatosExternos
