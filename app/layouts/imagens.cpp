#include "layouts/imagens.h"

#include <QFile>
#include <QHash>

namespace Imagens {

QPixmap imagem(const QString &nome)
{
    static QHash<QString, QPixmap> cache;
    auto it = cache.constFind(nome);
    if (it != cache.constEnd())
        return *it;
    const QString extensao =
        nome == QLatin1String("fundo") ? QStringLiteral(".jpg") : QStringLiteral(".gif");
    QPixmap pm(QStringLiteral(":/imagens/") + nome + extensao);
    cache.insert(nome, pm);
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
