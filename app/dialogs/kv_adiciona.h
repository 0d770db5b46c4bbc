#pragma once

#include "dialogs/dialogo_contato.h"

// The add dialog: a new contact, appended to the file.
class KV_Adiciona : public DialogoContato {
    Q_OBJECT
public:
    KV_Adiciona(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos);
    void lblSim_Click() override;
};
