#pragma once

#include <QByteArrayView>

// What must hold for any bytes at all; each aborts with a message when it
// does not, so that the fuzzer keeps the input.
namespace Verificacoes {

// The contact-file reader: no field holds CR or the separator (a lone LF is
// an ordinary character of its line); writing the records and reading them
// back gives the same records; the main window's own fast reading of the
// file gives the same contacts as the reader.
void leitor(QByteArrayView bytes);

// The converter: no 0x22 and no 0xA7 left; every line ends in CR LF;
// converting again only adds one empty line.
void conversor(QByteArrayView bytes);

// The vCard and CSV readers: no field holds CR, LF or the separator; the
// contacts written in that format and read back are the same (a CSV row of
// three empty fields is no contact); a refused file gives no contact; no
// card swallows the cards after it and no open quote the rest of the file;
// imported, every contact can be found on its tab.
void vcard(QByteArrayView bytes);
void csv(QByteArrayView bytes);

// A server's multistatus answer: read or refused, never a crash, never
// deeper or longer than the limits.
void multistatus(QByteArrayView bytes);

// The sync's own state file, with what was noted after it: read or taken
// for none, never a crash, within its limits; written whole and read back,
// the same state.
void estado(QByteArrayView bytes);

// What a sync reads: a multistatus answer and a state file, from the same
// bytes (the "multistatus" target).
void sincronizacao(QByteArrayView bytes);

// The card patcher: a card read and written unchanged is the same bytes;
// patched with new fields it reads back with them, and every line of
// another property is still there, byte for byte.
void cartao(QByteArrayView bytes);

// The check for a kept input, by the name of its target's folder
// ("leitor", "conversor", "vcard", "csv", "multistatus",
// "cartao"); false for an unknown one.
bool porAlvo(const QString &alvo, QByteArrayView bytes);

} // namespace Verificacoes
