#include "chrome/arraste_janela.h"

#include <QCursor>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

ArrasteJanela::ArrasteJanela(QWidget &janela) : QObject(&janela), m_janela(janela)
{
    janela.installEventFilter(this);
}

bool ArrasteJanela::eventFilter(QObject *o, QEvent *e)
{
    if (o != &m_janela)
        return false;
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        const auto *m = static_cast<QMouseEvent *>(e);
        // The window manager's own move loop follows the left button only;
        // for the others, and without a window manager, the window follows
        // the mouse.
        QWindow *w = m_janela.windowHandle();
        if (!(m->button() == Qt::LeftButton && w && w->startSystemMove())) {
            m_arrastando = true;
            m_pegada = QCursor::pos() - m_janela.pos();
        }
        return true;
    }
    case QEvent::MouseMove:
        if (!m_arrastando)
            return false;
        // Where the pointer is now: on Windows an event's global place is
        // worked out from the window's place, which the move itself changes.
        m_janela.move(QCursor::pos() - m_pegada);
        return true;
    case QEvent::MouseButtonRelease:
        m_arrastando = false;
        return true;
    default:
        return false;
    }
}
