#include "chrome/rotulo_clicavel.h"

#include "layouts/twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

RotuloClicavel::RotuloClicavel(const QString &nome, QWidget *parent) : QLabel(parent)
{
    setObjectName(nome);
    setScaledContents(false);
}

void RotuloClicavel::definirEfeito(QPoint pressionadaTwips, QPoint soltaTwips)
{
    m_pressionada = pressionadaTwips;
    m_solta = soltaTwips;
}

void RotuloClicavel::mousePressEvent(QMouseEvent *e)
{
    e->accept();
    if (m_pressionada)
        move(Twips::ponto(m_pressionada->x(), m_pressionada->y()));
}

void RotuloClicavel::mouseReleaseEvent(QMouseEvent *e)
{
    e->accept();
    // Where the press landed decides, not where the picture now stands: it
    // may have moved away from under the pointer.
    const QPoint global = e->globalPosition().toPoint();
    const bool dentro = QRect(mapToGlobal(QPoint(0, 0)), size()).contains(global);
    if (m_solta)
        move(Twips::ponto(m_solta->x(), m_solta->y()));
    if (e->button() == Qt::LeftButton && dentro && isEnabled())
        Q_EMIT clicked();
}

void RotuloClicavel::usarTeclado()
{
    setFocusPolicy(Qt::StrongFocus);
}

void RotuloClicavel::keyPressEvent(QKeyEvent *e)
{
    const int k = e->key();
    if (focusPolicy() != Qt::NoFocus && e->modifiers() == Qt::NoModifier &&
        (k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter) && isEnabled()) {
        e->accept();
        Q_EMIT clicked();
        return;
    }
    QLabel::keyPressEvent(e);
}

void RotuloClicavel::paintEvent(QPaintEvent *e)
{
    QLabel::paintEvent(e);
    if (!hasFocus())
        return;
    QPainter p(this);
    QPen caneta(palette().color(foregroundRole()), 1, Qt::DotLine);
    p.setPen(caneta);
    p.drawRect(rect().adjusted(1, 1, -2, -2));
}
