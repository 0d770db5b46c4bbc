#pragma once

#include "layouts/controle.h"

#include <QHash>
#include <QString>
#include <span>

class QWidget;

// Makes a window's controls from its layout table.
namespace ConstrutorControles {

// One control on pai, named and placed as its row says.
QWidget *criar(const Controle &c, QWidget *pai);

// Every control of the table on pai, back to front, so that each is drawn
// over those behind it; text boxes stand over every label and shape. By name.
QHash<QString, QWidget *> construir(std::span<const Controle> controles, QWidget *pai);

// Tab goes through these controls of pai in this order, round; those that
// take the focus, once they take it.
void ordenarTab(QWidget *pai, std::span<const char *const> ordem);

} // namespace ConstrutorControles
