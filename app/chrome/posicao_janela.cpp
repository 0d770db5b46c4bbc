#include "chrome/posicao_janela.h"

#include <QLocale>
#include <QSettings>
#include <cmath>
#include <optional>

namespace PosicaoJanela {

Twips padrao(const QRect &tela, int larguraTwips, int alturaTwips)
{
    return {double(tela.width() * 15 - (larguraTwips + 15)),
            double(tela.height() * 15 - (alturaTwips + 530))};
}

std::optional<double> lerNumero(const QString &texto)
{
    bool ok = false;
    double v = QLocale().toDouble(texto.trimmed(), &ok);
    if (!ok)
        v = QLocale::c().toDouble(texto.trimmed(), &ok);
    if (!ok || !std::isfinite(v) || std::abs(v) > 1e9)
        return std::nullopt;
    return std::nearbyint(v);
}

Twips ler(QSettings &s, const Twips &p, const QList<QRect> &telas, QSize tamanho)
{
    s.beginGroup(GRUPO);
    const auto topo = lerNumero(s.value(TOPO).toString());
    const auto esquerda = lerNumero(s.value(ESQUERDA).toString());
    s.endGroup();
    if (!topo || !esquerda)
        return p;
    const QRect janela(QPoint(int(std::floor(*esquerda / 15)), int(std::floor(*topo / 15))),
                       tamanho);
    for (const QRect &tela : telas) {
        if (tela.intersects(janela))
            return {*esquerda, *topo};
    }
    return p;
}

void gravar(QSettings &s, const Twips &posicao)
{
    s.beginGroup(GRUPO);
    s.setValue(TOPO, QString::number(qint64(std::nearbyint(posicao.topo))));
    s.setValue(ESQUERDA, QString::number(qint64(std::nearbyint(posicao.esquerda))));
    s.endGroup();
    s.sync();
}

} // namespace PosicaoJanela
