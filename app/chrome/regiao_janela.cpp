#include "chrome/regiao_janela.h"

#include <cmath>

QList<QPoint> CriarRegiaoJanela(double scaleX, double scaleY, int offsetX, int offsetY, int tppX,
                                int tppY)
{
    QList<QPoint> pontos;
    pontos.reserve(int(PontosContorno.size()));
    for (const QPoint &p : PontosContorno) {
        // nearbyint rounds halves to even in the default rounding mode.
        const double x = p.x() * scaleX * 15 / tppX + offsetX;
        const double y = p.y() * scaleY * 15 / tppY + offsetY;
        pontos.append(QPoint(int(std::nearbyint(x)), int(std::nearbyint(y))));
    }
    return pontos;
}
