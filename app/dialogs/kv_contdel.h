#pragma once

#include "chrome/dialogo_deslizante.h"

#include <QString>

class Avisos;
class ModeloPrincipal;

// The delete dialog: asks about the contact selected when it opens, and
// deletes that one only.
class KV_ContDel : public DialogoDeslizante {
    Q_OBJECT
public:
    KV_ContDel(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos);
    void lblSim_Click();

Q_SIGNALS:
    // The contact file was written.
    void gravado();

private:
    ModeloPrincipal &m_modelo;
    Avisos &m_avisos;
    // The name of the contact asked about.
    QString m_nome;
};
