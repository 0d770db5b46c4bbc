#include "chrome/rotulo_clicavel.h"

#include "chrome/usar_acessivel.h"

#include "layouts/twips.h"

#include <QAccessibleWidget>
#include <QAction>
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
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (rotulo()->papel() == QAccessible::PageTab) {
            s.selectable = true;
            s.selected = rotulo()->selecionado();
        }
        return s;
    }
    QString text(QAccessible::Text t) const override
    {
        const QString s = QAccessibleWidget::text(t);
        // Unless named, a label says what it shows now.
        if (t == QAccessible::Name && s.isEmpty())
            return rotulo()->text();
        // What the command does, where the picture's name leaves it unsaid
        // ("Avançar": the next page).
        if (t == QAccessible::Description && rotulo()->acao()) {
            const QString oQueFaz = rotulo()->acao()->text();
            if (!text(QAccessible::Name).contains(oQueFaz, Qt::CaseInsensitive))
                return s.isEmpty() ? oQueFaz : oQueFaz + QLatin1String(". ") + s;
        }
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
    QStringList keyBindingsForAction(const QString &acao) const override
    {
        QStringList teclas;
        if (acao == pressAction() && rotulo()->acao()) {
            for (const QKeySequence &k : rotulo()->acao()->shortcuts())
                teclas.append(k.toString(QKeySequence::NativeText));
        }
        return teclas;
    }
};

} // namespace

RotuloClicavel::RotuloClicavel(const QString &nome, QWidget *parent) : QLabel(parent)
{
    usarAcessivel<RotuloClicavel, RotuloAcessivel>();
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

void RotuloClicavel::usarTeclado(Qt::FocusPolicy politica)
{
    setFocusPolicy(politica);
    if (!m_papel)
        m_papel = QAccessible::Button;
}

void RotuloClicavel::ligar(QAction *acao)
{
    m_acao = acao;
    tornarBotao();
    connect(this, &RotuloClicavel::clicked, acao, &QAction::trigger);
}

void RotuloClicavel::definirSelecionado(bool selecionado)
{
    if (selecionado == m_selecionado)
        return;
    m_selecionado = selecionado;
    QAccessible::State mudou;
    mudou.selected = true;
    QAccessibleStateChangeEvent ev(this, mudou);
    QAccessible::updateAccessibility(&ev);
}

bool RotuloClicavel::teclaQueAperta(const QKeyEvent *e) const
{
    const int k = e->key();
    return focusPolicy() != Qt::NoFocus && isEnabled() &&
           (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
           (k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter);
}

bool RotuloClicavel::event(QEvent *e)
{
    // Space and Enter press the focused one, before any window shortcut on
    // the same key (Enter updates the contact on the main window).
    if (e->type() == QEvent::ShortcutOverride && teclaQueAperta(static_cast<QKeyEvent *>(e))) {
        e->accept();
        return true;
    }
    return QLabel::event(e);
}

void RotuloClicavel::keyPressEvent(QKeyEvent *e)
{
    if (teclaQueAperta(e)) {
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
    // Dark and light dashes in turn, so that the mark shows on the skin's
    // dark panels and on its light pictures alike.
    QPainter p(this);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(r);
    p.setPen(QPen(Qt::white, 1, Qt::DashLine));
    p.drawRect(r);
}
