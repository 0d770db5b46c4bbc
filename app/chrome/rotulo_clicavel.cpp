#include "chrome/rotulo_clicavel.h"

#include "layouts/twips.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

// What assistive technology is told of a label: one that acts is a button
// (or a page tab) with the press action, which does what a click does; the
// others read as text or a picture. Asked each time, since a label is made
// one that acts after the interface may have been made.
class RotuloAcessivel : public QAccessibleWidget {
public:
    explicit RotuloAcessivel(RotuloClicavel *r) : QAccessibleWidget(r, QAccessible::StaticText) {}

    RotuloClicavel *rotulo() const { return static_cast<RotuloClicavel *>(widget()); }
    QAccessible::Role role() const override
    {
        if (const auto papel = rotulo()->papel())
            return *papel;
        return rotulo()->pixmap().isNull() ? QAccessible::StaticText : QAccessible::Graphic;
    }
    QString text(QAccessible::Text t) const override
    {
        const QString s = QAccessibleWidget::text(t);
        // A plain label says what it shows now.
        if (t == QAccessible::Name && s.isEmpty() && !rotulo()->papel())
            return rotulo()->text();
        return s;
    }
    QStringList actionNames() const override
    {
        return rotulo()->papel() ? QStringList{pressAction()} : QStringList();
    }
    void doAction(const QString &acao) override
    {
        if (acao == pressAction() && rotulo()->papel() && rotulo()->isEnabled())
            Q_EMIT rotulo()->clicked();
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
};

QAccessibleInterface *acessivel(const QString &classe, QObject *objeto)
{
    if (classe != QLatin1String(RotuloClicavel::staticMetaObject.className()))
        return nullptr;
    return new RotuloAcessivel(static_cast<RotuloClicavel *>(objeto));
}

} // namespace

RotuloClicavel::RotuloClicavel(const QString &nome, QWidget *parent) : QLabel(parent)
{
    static const bool fabrica = [] {
        QAccessible::installFactory(acessivel);
        return true;
    }();
    Q_UNUSED(fabrica);
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
    if (!m_papel)
        m_papel = QAccessible::Button;
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
