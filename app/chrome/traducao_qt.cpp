#include "chrome/traducao_qt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <algorithm>

namespace TraducaoQt {

QStringList catalogos(const QLocale &sistema)
{
    // Qt 6.4's own Portuguese of Portugal is the older whole catalogue "qt";
    // its Brazilian one is "qtbase".
    const bool portugal =
        sistema.language() == QLocale::Portuguese && sistema.territory() != QLocale::Brazil;
    if (portugal)
        return {QStringLiteral("qt_pt_PT"), QStringLiteral("qtbase_pt_BR")};
    return {QStringLiteral("qtbase_pt_BR"), QStringLiteral("qt_pt_PT")};
}

QStringList pastas()
{
    return {QCoreApplication::applicationDirPath() + QLatin1String("/translations"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

QList<QTranslator *> instalar(const QLocale &sistema, const QStringList &onde)
{
    // The translator installed last is asked first.
    QList<QTranslator *> instalados;
    QStringList ordem = catalogos(sistema);
    std::reverse(ordem.begin(), ordem.end());
    for (const QString &catalogo : std::as_const(ordem)) {
        for (const QString &pasta : onde) {
            auto *traducao = new QTranslator(QCoreApplication::instance());
            if (traducao->load(catalogo, pasta) && QCoreApplication::installTranslator(traducao)) {
                instalados.prepend(traducao);
                break;
            }
            delete traducao;
        }
    }
    return instalados;
}

} // namespace TraducaoQt
