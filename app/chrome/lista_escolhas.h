#pragma once

#include "chrome/lista_selecao_unica.h"

// A list of choices to check, under headings: each item that can be checked
// is told to screen readers as checkable, checked or not (and the change as
// it happens), with the toggle action; an item that cannot (a heading) is a
// heading, with no action.
class ListaEscolhas : public ListaSelecaoUnica {
    Q_OBJECT
public:
    explicit ListaEscolhas(QWidget *parent = nullptr);

    // A heading: neither checked nor chosen.
    static bool titulo(const QListWidgetItem *item);
};
