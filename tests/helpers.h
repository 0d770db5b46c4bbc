#pragma once

#include "store/cp1252.h"

#include <QByteArray>
#include <QFile>
#include <QLocale>
#include <QString>
#include <QStringList>

#ifdef Q_OS_WIN
// Without the dialog headers, whose macros would take names such as frm1.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

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

// Holds a file so that another program cannot replace it, as long as it
// lives. Readable: reads work, rewrites fail, as when a spreadsheet holds the
// file open; otherwise reads fail from the first byte too. On Windows the file
// is held open without sharing what must fail; elsewhere its name is pointed
// into /proc, where no temporary file can be made beside it, not even by root
// (the content is then /proc's).
class Travado {
public:
    Travado(const QString &caminho, bool legivel)
    {
#ifdef Q_OS_WIN
        m_handle = CreateFileW(reinterpret_cast<const wchar_t *>(caminho.utf16()), GENERIC_READ,
                               legivel ? FILE_SHARE_READ : 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        m_ok = m_handle != INVALID_HANDLE_VALUE;
#else
        const QString alvo =
            legivel ? QStringLiteral("/proc/version") : QStringLiteral("/proc/self/mem");
        QFile::remove(caminho);
        m_ok = QFile::exists(alvo) && QFile::link(alvo, caminho);
#endif
    }
    ~Travado()
    {
#ifdef Q_OS_WIN
        if (m_ok)
            CloseHandle(m_handle);
#endif
    }
    Travado(const Travado &) = delete;
    Travado &operator=(const Travado &) = delete;
    bool ok() const
    {
        return m_ok;
    }

private:
    bool m_ok = false;
#ifdef Q_OS_WIN
    HANDLE m_handle = INVALID_HANDLE_VALUE;
#endif
};

} // namespace Teste
