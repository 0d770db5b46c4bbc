#pragma once

#include "chrome/dialogo_deslizante.h"
#include "operations/controle_sincronizacao.h"

class ControleSincronizacao;

// A sync the user asked for stopped before deleting what it must not delete
// by itself (a side emptied, or more than a few contacts and a third of a
// side): it says how many, and asks. " Manter " (the default) deletes
// nothing and brings back what one side lacks; " Apagar " deletes on both
// sides, no more than it said; " Depois " (or Escape) changes nothing.
class KV_ConfirmaSincronizacao : public DialogoDeslizante {
    Q_OBJECT
public:
    KV_ConfirmaSincronizacao(QWidget *principal, const ResultadoSincronizacao &parada);

    // Asks over the main window whenever a sync the user asked for stops so,
    // once it has ended, and hands the answer back to the controller.
    static void acompanhar(QWidget *principal, ControleSincronizacao &controle);

    void lblSim_Click();
    void lblApagar_Click();
    void reject() override { lblNao_Click(); }

    // What was chosen, once closed; Perguntar until then or for " Depois ".
    const Sincronizador::Decisao &decisao() const { return m_decisao; }

private:
    void escolher(Sincronizador::Decisao::Tipo tipo);

    ResultadoSincronizacao m_parada;
    Sincronizador::Decisao m_decisao;
};
