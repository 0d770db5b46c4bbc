#pragma once

// The programs and folders a test uses, given at build time relative to the
// test program's own folder: an absolute path compiled in would make every
// clone's objects new to ccache.

#include <QCoreApplication>
#include <QDir>
#include <QString>

namespace Teste {

inline QString aoLado(const char *relativo)
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u'/' +
                           QString::fromUtf8(relativo));
}

} // namespace Teste
