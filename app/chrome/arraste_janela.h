#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

// A frameless window moved by a press anywhere on its own surface: the
// window manager's move with the left button where there is one, else the
// window follows the mouse until the button is let go.
class ArrasteJanela : public QObject {
    Q_OBJECT
public:
    explicit ArrasteJanela(QWidget &janela);

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    QWidget &m_janela;
    bool m_arrastando = false;
    QPoint m_pegada;
};
