#pragma once

#include <QColor>
#include <QWidget>

// A filled rectangle or rounded rectangle without a border. Shapes take no
// mouse input: a press on one reaches the window beneath.
class Forma : public QWidget {
public:
    // An invalid border colour draws no border.
    Forma(const QColor &cor, int raio, QWidget *parent, const QColor &borda = QColor());

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QColor m_cor;
    QColor m_borda;
    int m_raio;
};
