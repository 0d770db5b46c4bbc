#pragma once

#include "contact_record.h"
#include "encoding.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QStringView>

// The line format of "contatos.txt": one record a line, fields separated by
// DEL (0x7F), lines ended by CR LF when written.
namespace FormatoContatos {

inline constexpr QChar SEPARADOR = QChar(0x7F);
inline constexpr char FIM_DE_LINHA[] = "\r\n";

// Splits at CR LF or a lone CR; a lone LF stays in its line; a last line
// without an end counts; an empty text gives no lines.
QList<QStringView> dividirLinhas(QStringView texto);

// Empty or spaces only (a TAB is not blank).
bool linhaEmBranco(QStringView linha);

// The first three fields of a non-blank line, missing ones empty.
ContactRecord registroDaLinha(QStringView linha);

// Every record of a file's bytes, in the encoding the file is found in,
// blank lines skipped.
QList<ContactRecord> lerRegistros(QByteArrayView bytes);

// The record as a line, without its line end.
QString linhaDoRegistro(const ContactRecord &registro);

// True when the text can be stored in a field of a file in that encoding:
// every character can be encoded and none is a control character (TAB, CR,
// LF, DEL, ...), which would split or corrupt the record.
bool campoGravavel(QStringView texto, Codificacao c = Codificacao::Windows1252);

// The lines of a file's bytes that are not empty, each with CR LF, as the
// add operation keeps them (a line of spaces is not empty).
QByteArray semLinhasVazias(QByteArrayView bytes);

// The shape every writer leaves: the encoding's mark, each line and its CR LF,
// then two empty lines.
QByteArray montarArquivo(const QStringList &linhas, Codificacao c = Codificacao::Windows1252);

} // namespace FormatoContatos
