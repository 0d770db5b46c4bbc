#pragma once

#include <QListWidget>

// A list box of one selected row at most, as the platform's own: a click or
// a key selects a row, and nothing (Ctrl+click, Ctrl+Space, a click below
// the rows) takes the selection away, so the row shown selected is always
// the one the program acts on.
class ListaSelecaoUnica : public QListWidget {
    Q_OBJECT
public:
    explicit ListaSelecaoUnica(QWidget *parent = nullptr);

    // The selected row, or -1.
    int linhaSelecionada() const;

protected:
    void focusInEvent(QFocusEvent *e) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
};
