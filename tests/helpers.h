#pragma once

#include "cp1252.h"

#include <QByteArray>
#include <QFile>
#include <QLocale>
#include <QString>
#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace Teste {

inline QLocale ptBR()
{
    return QLocale(QLocale::Portuguese, QLocale::Brazil);
}

inline QByteArray ler(const QString &caminho)
{
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline void gravar(const QString &caminho, const QByteArray &bytes)
{
    QFile f(caminho);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

// A record line as the writers leave it.
inline QString linha(const QString &nome, const QString &fone = {}, const QString &mail = {})
{
    return nome + QChar(0x7F) + fone + QChar(0x7F) + mail;
}

// A contact file of the given lines in Windows-1252, shaped as the writers
// leave it: each line, CR LF, then two empty lines.
inline QByteArray arquivo(const QStringList &linhas)
{
    QString texto;
    for (const QString &l : linhas)
        texto += l + QStringLiteral("\r\n");
    return Cp1252::encode(texto + QStringLiteral("\r\n\r\n"));
}

// Makes the contact file one that reads well but whose writes fail, for
// root too: the name points into /proc, where no temporary file can be made.
// False where there is no /proc.
inline bool tornarIngravavel(const QString &caminho)
{
    if (!QFile::exists(QStringLiteral("/proc/version")))
        return false;
    QFile::remove(caminho);
    return QFile::link(QStringLiteral("/proc/version"), caminho);
}

} // namespace Teste
