#pragma once

#include "store/contatos_lidos.h"

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

// What the readers give back, by the names the callers know.
using Lidos = ContatosLidos;
using Limites = ContatosLidos::Limites;
using Falha = ContatosLidos::Falha;

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

} // namespace ContatosExternos
