#include "chrome/forma.h"

#include <QPainter>

Forma::Forma(const QColor &cor, int raio, QWidget *parent, const QColor &borda)
    : QWidget(parent), m_cor(cor), m_borda(borda), m_raio(raio)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Forma::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, m_raio > 0);
    p.setBrush(m_cor);
    if (m_borda.isValid()) {
        p.setPen(QPen(m_borda, 1));
        p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
        return;
    }
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(rect()), m_raio, m_raio);
}
