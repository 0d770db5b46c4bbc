#include "chrome/posicao_janela.h"

#include "layouts/twips.h"

#include <QLocale>
#include <QSettings>
#include <cmath>
#include <optional>

PosicaoJanela::Twips PosicaoJanela::padrao(const QRect &tela, int larguraTwips, int alturaTwips)
{
    return {double(tela.width() * 15 - (larguraTwips + 15)),
            double(tela.height() * 15 - (alturaTwips + 530))};
}

std::optional<double> PosicaoJanela::lerNumero(const QString &texto)
{
    bool ok = false;
    double v = QLocale().toDouble(texto.trimmed(), &ok);
    if (!ok)
        v = QLocale::c().toDouble(texto.trimmed(), &ok);
    if (!ok || !std::isfinite(v) || std::abs(v) > 1e9)
        return std::nullopt;
    return std::nearbyint(v);
}

PosicaoJanela::Twips PosicaoJanela::ler(QSettings &s, const Twips &p, const QList<QRect> &telas,
                                        QSize tamanho)
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

void PosicaoJanela::gravar(QSettings &s, const Twips &posicao)
{
    s.beginGroup(GRUPO);
    s.setValue(TOPO, QString::number(qint64(std::nearbyint(posicao.topo))));
    s.setValue(ESQUERDA, QString::number(qint64(std::nearbyint(posicao.esquerda))));
    s.endGroup();
    s.sync();
}

PosicaoJanela::PosicaoJanela(int larguraTwips, int alturaTwips)
    : m_largura(larguraTwips), m_altura(alturaTwips)
{
}

QPoint PosicaoJanela::abrir(QSettings &s, const QList<QRect> &telas, QSize tamanho)
{
    const QRect primaria = telas.isEmpty() ? QRect(0, 0, 1024, 768) : telas.first();
    m_lida = ler(s, padrao(primaria, m_largura, m_altura), telas, tamanho);
    m_pixels = QPoint(::Twips::px(m_lida.esquerda), ::Twips::px(m_lida.topo));
    return m_pixels;
}

PosicaoJanela::Twips PosicaoJanela::em(QPoint pixels) const
{
    if (pixels == m_pixels)
        return m_lida;
    return {double(::Twips::twips(pixels.x())), double(::Twips::twips(pixels.y()))};
}
