#include "chrome/lista_selecao_unica.h"

#include <QAccessible>
#include <QTimer>

ListaSelecaoUnica::ListaSelecaoUnica(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

int ListaSelecaoUnica::linhaSelecionada() const
{
    const QModelIndexList linhas = selectionModel()->selectedRows();
    return linhas.isEmpty() ? -1 : linhas.first().row();
}

void ListaSelecaoUnica::focusInEvent(QFocusEvent *e)
{
    QListWidget::focusInEvent(e);
    // Coming to the list, a screen reader says the row it is on, not only
    // the list's name: told after the list's own focus.
    QTimer::singleShot(0, this, [this] {
        if (QAccessible::isActive() && hasFocus() && currentRow() >= 0) {
            QAccessibleEvent ev(this, QAccessible::Focus);
            ev.setChild(currentRow());
            QAccessible::updateAccessibility(&ev);
        }
    });
}

QItemSelectionModel::SelectionFlags ListaSelecaoUnica::selectionCommand(const QModelIndex &index,
                                                                        const QEvent *event) const
{
    const auto comando = QListWidget::selectionCommand(index, event);
    if (!index.isValid() ||
        comando.testAnyFlags(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::NoUpdate;
    return comando;
}
