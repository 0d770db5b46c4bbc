#pragma once

#include "operations/intercambio_contatos.h"

#include <QString>

class QWidget;

// The export's save dialog: vCard or CSV by the filter chosen, the type
// added to a name typed without one before the dialog asks whether to
// replace a file of that name, so the user is always asked.
namespace DialogoExportacao {

// The path chosen, or empty; the format the path's type says, else the
// filter's.
QString escolher(QWidget *pai, ContatosExternos::Formato &formato);

} // namespace DialogoExportacao
