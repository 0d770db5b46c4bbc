#include "chrome/rotulo_clicavel.h"

#include "layouts/twips.h"

#include <QMouseEvent>

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
