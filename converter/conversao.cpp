#include "conversao.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace Conversao {

QByteArray converter(const QByteArray &antigo)
{
    QByteArray novo;
    novo.reserve(antigo.size() + antigo.size() / 16 + 4);
    const qsizetype n = antigo.size();
    bool linhaAberta = false; // a last line without its end is a line too
    for (qsizetype i = 0; i < n; ++i) {
        const char c = antigo[i];
        if (c == '\r') {
            novo += "\r\n";
            if (i + 1 < n && antigo[i + 1] == '\n')
                ++i;
            linhaAberta = false;
            continue;
        }
        linhaAberta = true;
        if (c == '\xA7')
            novo += '\x7F';
        else if (c != '"')
            novo += c;
    }
    if (linhaAberta)
        novo += "\r\n";
    novo += "\r\n";
    return novo;
}

bool existe(const QString &caminho)
{
    const QFileInfo info(caminho);
    if (!info.isFile() || info.isHidden())
        return false;
#ifdef Q_OS_WIN
    // As a directory look-up for ordinary files sees it: a system file is
    // left out too.
    const DWORD atributos = GetFileAttributesW(
        reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(caminho).utf16()));
    if (atributos != INVALID_FILE_ATTRIBUTES && (atributos & FILE_ATTRIBUTE_SYSTEM))
        return false;
#endif
    return true;
}

Resultado converterArquivo(const QString &caminho)
{
    if (!existe(caminho))
        return Resultado::NaoEncontrada;
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        return Resultado::FalhaLeitura;
    const QByteArray antigo = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return Resultado::FalhaLeitura;
    f.close();

    const QByteArray novo = converter(antigo);
    QSaveFile s(caminho);
    if (!s.open(QIODevice::WriteOnly) || s.write(novo) != novo.size()) {
        s.cancelWriting();
        return Resultado::FalhaGravacao;
    }
    return s.commit() ? Resultado::Atualizada : Resultado::FalhaGravacao;
}

QString mensagem(Resultado r)
{
    switch (r) {
    case Resultado::Atualizada:
        return QStringLiteral("Lista de contatos atualizada!");
    case Resultado::NaoEncontrada:
        return QStringLiteral("Lista de contatos não encontrada!");
    case Resultado::FalhaLeitura:
        return QStringLiteral("Não foi possível ler a lista de contatos!");
    case Resultado::FalhaGravacao:
        return QStringLiteral("Não foi possível gravar a lista de contatos!");
    }
    return {};
}

} // namespace Conversao
