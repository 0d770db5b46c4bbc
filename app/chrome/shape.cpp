#include "shape.h"

#include <QPainter>

Forma::Forma(const QColor &cor, int raio, QWidget *parent)
    : QWidget(parent), m_cor(cor), m_raio(raio)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Forma::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, m_raio > 0);
    p.setPen(Qt::NoPen);
    p.setBrush(m_cor);
    p.drawRoundedRect(QRectF(rect()), m_raio, m_raio);
}
