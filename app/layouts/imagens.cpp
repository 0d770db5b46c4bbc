#include "layouts/imagens.h"

#include <QGuiApplication>
#include <QHash>

namespace Imagens {

QPixmap imagem(const QString &nome)
{
    // The drawing at 2x wherever a screen has more pixels per point than
    // one: at 1.25 or 1.5 Qt draws it smaller, sharper than the 1x one
    // enlarged. Pictures without one (the pointer) stay at 1x.
    const bool dupla = qGuiApp && qGuiApp->devicePixelRatio() > 1.0;
    static QHash<QString, QPixmap> cache;
    const QString chave = dupla ? nome + QStringLiteral("@2x") : nome;
    auto it = cache.constFind(chave);
    if (it != cache.constEnd())
        return *it;
    const QString extensao =
        nome == QLatin1String("fundo") ? QStringLiteral(".jpg") : QStringLiteral(".gif");
    const QString pasta = QStringLiteral(":/imagens/");
    QPixmap pm;
    if (dupla && pm.load(pasta + chave + extensao))
        pm.setDevicePixelRatio(2);
    else
        pm.load(pasta + nome + extensao);
    cache.insert(chave, pm);
    return pm;
}

QIcon icone()
{
    return QIcon(QStringLiteral(":/imagens/marvessa.ico"));
}

QCursor mao()
{
    // The tip of the index finger is the hot spot.
    static const QCursor cursor(imagem(QStringLiteral("mao")), 11, 1);
    return cursor;
}

} // namespace Imagens
