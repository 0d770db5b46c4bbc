#pragma once

#include <QAccessible>
#include <QLabel>
#include <QPoint>
#include <optional>

// A label (a picture or a text) that acts as a button: a left click released
// over it runs its command; while any mouse button is held on it, it may
// rest at a pressed place, and at a released place once let go (fixed
// places, not offsets).
class RotuloClicavel : public QLabel {
    Q_OBJECT
public:
    explicit RotuloClicavel(const QString &nome, QWidget *parent = nullptr);

    // Places in twips within the parent; without them the picture stays put.
    void definirEfeito(QPoint pressionadaTwips, QPoint soltaTwips);
    // Reached with Tab and pressed with Space or Enter, with a dotted outline
    // while it has the focus.
    void usarTeclado();
    // A picture or label that acts: a button (or a page tab) to screen
    // readers, with the press action; others read as text.
    void tornarBotao(QAccessible::Role papel = QAccessible::Button) { m_papel = papel; }
    std::optional<QAccessible::Role> papel() const { return m_papel; }

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    std::optional<QPoint> m_pressionada;
    std::optional<QPoint> m_solta;
    std::optional<QAccessible::Role> m_papel;
};
