#pragma once

#include "store/codificacao.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Reading and writing text in the encodings a contact file is found in.
namespace Codificacoes {

// UTF-8 when the file starts with the byte-order mark, or when it is valid
// UTF-8 holding at least one multi-byte sequence; Windows-1252 otherwise (so
// a file of plain ASCII, or of any byte soup, reads as it always did).
Codificacao detectar(QByteArrayView arquivo);

// The byte-order mark the file starts with, if any.
QByteArrayView marca(Codificacao c);

// Text from a piece of the file (without the mark). In UTF-8, a byte that
// starts no valid sequence is read as Windows-1252: a file that an older
// copy of this program appended to still shows every name as typed.
QString decodificar(QByteArrayView bytes, Codificacao c);
void anexarDecodificado(QByteArrayView bytes, Codificacao c, QString &destino);

// Text from another program's file, whose lines may mix encodings (a UTF-8
// export with one line a Windows-1252 editor touched): each line that holds
// at least as many well-formed UTF-8 sequences as stray high bytes is UTF-8
// (its stray bytes Windows-1252), any other line Windows-1252.
QString decodificarMisto(QByteArrayView bytes);

// Bytes of a text; callers check podeCodificar first.
QByteArray codificar(QStringView texto, Codificacao c);
bool podeCodificar(QStringView texto, Codificacao c);

// False when a file written in that encoding would be read back in another,
// and so show other text: Windows-1252 whose bytes happen to form UTF-8, or
// UTF-8 that happens to start with the bytes of a mark.
bool lidoDeVoltaIgual(QByteArrayView escrito, Codificacao c);

} // namespace Codificacoes
