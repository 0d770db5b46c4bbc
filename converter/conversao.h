#pragma once

#include <QByteArray>
#include <QString>

// Turns a contact file of the versions before 1.2 into the current format,
// byte by byte, never splitting fields: every line ends in CR LF (a CR LF or
// a lone CR ends a line; a lone LF stays inside it), double quotes (0x22)
// go, section signs (0xA7) become the field separator 0x7F, and one more
// CR LF follows the last line.
namespace Conversao {

QByteArray converter(const QByteArray &antigo);

enum class Resultado {
    Atualizada,    // converted and written
    NaoEncontrada, // no ordinary, visible file of that name
    FalhaLeitura,  // there, but could not be read
    FalhaGravacao, // read, but the new content could not be written
};

// The file counts as present when it is an ordinary file that is not hidden.
bool existe(const QString &caminho);

// Converts the file in place; a failed write leaves it as it was.
Resultado converterArquivo(const QString &caminho);

// What lblAviso says.
QString mensagem(Resultado r);
inline const QString DETECTADA = QStringLiteral("Lista de contatos detectada!");

} // namespace Conversao
