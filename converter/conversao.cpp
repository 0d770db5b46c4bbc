#include "conversao.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    return info.isFile() && !info.isHidden();
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
