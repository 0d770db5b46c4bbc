#pragma once

#include <QColor>
#include <QWidget>

// A filled rectangle or rounded rectangle without a border. Shapes take no
// mouse input: a press on one reaches the window beneath.
class Forma : public QWidget {
public:
    Forma(const QColor &cor, int raio, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QColor m_cor;
    int m_raio;
};
