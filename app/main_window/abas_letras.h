#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QWidget;
class RotuloClicavel;

// The fourteen letter tabs of the main window: pictures that act as page
// tabs, reached with Tab, named by their letters, the one shown selected.
class AbasLetras : public QObject {
public:
    // The tabs are the window's pictures named after the letter groups;
    // escolher runs with a tab's group when it is pressed.
    AbasLetras(QWidget &janela, std::function<void(int)> escolher);

    RotuloClicavel *aba(int grupo) const;
    // Marks the tab of grupo as the one shown.
    void mostrar(int grupo);
    // What a screen reader calls the tab ("A e B").
    QString letras(int grupo) const;

private:
    QWidget &m_janela;
};
