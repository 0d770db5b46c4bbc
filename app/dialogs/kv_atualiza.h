#pragma once

#include "dialogs/dialogo_contato.h"

#include <QString>

// The update dialog: the contact selected when it opens, changed.
class KV_Atualiza : public DialogoContato {
    Q_OBJECT
public:
    KV_Atualiza(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos);
    void lblSim_Click() override;

    // The contact's name as it was when the dialog opened.
    QString lblNomeOriginal;
};
