#include "chrome/lista_selecao_unica.h"

ListaSelecaoUnica::ListaSelecaoUnica(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

int ListaSelecaoUnica::linhaSelecionada() const
{
    const QModelIndexList linhas = selectionModel()->selectedRows();
    return linhas.isEmpty() ? -1 : linhas.first().row();
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
