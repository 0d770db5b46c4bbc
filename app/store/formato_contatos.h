#pragma once

#include "store/codificacao.h"
#include "store/contact_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QLocale>
#include <QStringList>
#include <QStringView>
#include <cstring>

// The line format of "contatos.txt", the one place that reads and writes it:
// one record a line, fields separated by DEL (0x7F), lines ended by CR LF
// when written. Lines and fields are found in the file's bytes (CR, LF, DEL
// and the space are single bytes in every encoding the file is found in), so
// the main window's list keeps the bytes and decodes only what it shows.
namespace FormatoContatos {

inline constexpr char SEPARADOR_BYTE = '\x7F';
inline constexpr QChar SEPARADOR = QChar(0x7F);

// The file's bytes after the byte-order mark, if its encoding has one.
QByteArrayView corpo(QByteArrayView arquivo, Codificacao c);

// Calls f for every line of the bytes, in order: a line ends at CR LF or at a
// lone CR, a lone LF stays in its line, a last line without an end counts,
// and an empty text has no lines.
template <typename F> void paraCadaLinha(QByteArrayView bytes, F &&f)
{
    const char *d = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype inicio = 0;
    while (inicio < n) {
        const auto *cr =
            static_cast<const char *>(std::memchr(d + inicio, '\r', size_t(n - inicio)));
        const qsizetype fim = cr ? cr - d : n;
        f(QByteArrayView(d + inicio, fim - inicio));
        inicio = fim + 1;
        if (fim + 1 < n && d[fim + 1] == '\n')
            ++inicio;
    }
}

// At most how many lines the bytes hold, found at once, to size a list.
qsizetype maximoDeLinhas(QByteArrayView bytes);

// Without its leading and trailing spaces (0x20), and nothing else: the
// trimming of the add, and of other programs' fields.
QString aparar(QStringView texto);

// The 27 characters a name may not begin with (the first character as it
// stands, untrimmed).
bool primeiroProibido(QStringView nome);

// A name as the duplicate rule compares it: in one normal form (a typed "é"
// and an imported "e" with a combining accent are one letter), upper-cased
// by the locale.
QString chaveDoNome(const QLocale &locale, QStringView nome);

// Empty or spaces only (a TAB is not blank): such a line holds no contact.
bool linhaEmBranco(QByteArrayView linha);

// The first three fields of a record line, as they stand; missing ones
// empty, further ones dropped.
struct Campos {
    QByteArrayView nome, telefone, email;
};
Campos campos(QByteArrayView linha);
// Those fields read, in the file's encoding.
ContactRecord registro(const Campos &f, Codificacao c);
inline ContactRecord registroDaLinha(QByteArrayView linha, Codificacao c)
{
    return registro(campos(linha), c);
}

// Calls f with the fields of every record of the bytes, in order.
template <typename F> void paraCadaRegistro(QByteArrayView bytes, F &&f)
{
    paraCadaLinha(bytes, [&](QByteArrayView linha) {
        if (!linhaEmBranco(linha))
            f(campos(linha));
    });
}

// Every record of a file's bytes, in the encoding the file is found in.
QList<ContactRecord> lerRegistros(QByteArrayView arquivo);

// True when the text can be stored in a field of a file in that encoding:
// every character can be encoded and none is a control character (TAB, CR,
// LF, DEL, ...), which would split or corrupt the record.
bool campoGravavel(QStringView texto, Codificacao c = Codificacao::Windows1252);

// Writing. A record of fields already in the file's bytes, and its line end.
void anexarRegistro(QByteArray &destino, QByteArrayView nome, QByteArrayView telefone,
                    QByteArrayView email);
// A record in the file's encoding, and its line end.
void anexarRegistro(QByteArray &destino, const ContactRecord &registro, Codificacao c);
// A line kept as it stands, and its line end.
void anexarLinha(QByteArray &destino, QByteArrayView linha);
// The end every writer leaves after the last record: two empty lines.
void fecharArquivo(QByteArray &destino);

// A file made because none existed: the two empty lines alone.
QByteArray arquivoVazio();

// The record as a line of text, without the line end.
QString linhaDoRegistro(const ContactRecord &registro);

// The lines of the bytes that are not empty, each with its line end, as the
// add operation keeps them (a line of spaces is not empty).
QByteArray semLinhasVazias(QByteArrayView bytes);

// The shape every writer leaves: the encoding's mark, each line and its line
// end, then two empty lines.
QByteArray montarArquivo(const QStringList &linhas, Codificacao c = Codificacao::Windows1252);

} // namespace FormatoContatos
