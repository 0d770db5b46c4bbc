#pragma once

#include <QAccessible>
#include <QLabel>
#include <QPoint>
#include <QPointer>
#include <optional>

class QAction;

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
    // Reached with Tab and pressed with Space or Enter, with a focus mark
    // while it has the focus. A click leaves the focus where it was (in the
    // field being typed in), as a label never took it.
    void usarTeclado(Qt::FocusPolicy politica = Qt::TabFocus);
    // A picture or label that acts: a button (or a page tab) to screen
    // readers, with the press action; others read as text.
    void tornarBotao(QAccessible::Role papel = QAccessible::Button) { m_papel = papel; }
    std::optional<QAccessible::Role> papel() const { return m_papel; }
    // A button that runs the command: a click triggers it, and screen readers
    // are told its keys and, where the picture's name does not say it, what
    // it does.
    void ligar(QAction *acao);
    QAction *acao() const { return m_acao; }
    // The chosen one of a row of page tabs.
    void definirSelecionado(bool selecionado);
    bool selecionado() const { return m_selecionado; }

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    bool event(QEvent *e) override;

private:
    bool teclaQueAperta(const QKeyEvent *e) const;

    std::optional<QPoint> m_pressionada;
    std::optional<QPoint> m_solta;
    std::optional<QAccessible::Role> m_papel;
    QPointer<QAction> m_acao;
    bool m_selecionado = false;
};
