#pragma once

#include "chrome/dialogo_deslizante.h"
#include "operations/versoes_anteriores.h"

class Avisos;
class ContaSincronizacao;
class ListaSelecaoUnica;
class QLabel;
class QTimer;
class RotuloClicavel;

// "Versões anteriores...": the file's earlier versions, newest first, each
// with its date and time, how many contacts it holds and what restoring it
// would change ("+2 −1 ~3"); " Restaurar " writes the chosen one back as a
// change of its own. The dates show at once; the rest fills in as it comes.
// Connected to an address book, it says under the list how many cards
// restoring the chosen version would delete and change on the server.
class KV_Versoes : public DialogoDeslizante {
    Q_OBJECT
public:
    KV_Versoes(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos,
               ContaSincronizacao *conta = nullptr);

    // The version chosen, written back.
    void lblSim_Click();
    void reject() override { lblNao_Click(); }

    ListaSelecaoUnica *lista() const { return m_lista; }
    // Every version's summary is shown.
    bool resumido() const { return m_mostrados == m_versoes.versoes().size(); }

private:
    void mostrarResumos();
    void mostrarServidor();

    Avisos &m_avisos;
    VersoesAnteriores m_versoes;
    QLabel *m_lblServidor;
    ListaSelecaoUnica *m_lista;
    RotuloClicavel *m_lblSim;
    QTimer *m_espera;
    qsizetype m_mostrados = 0;
};
