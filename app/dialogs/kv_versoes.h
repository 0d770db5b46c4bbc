#pragma once

#include "chrome/dialogo_deslizante.h"
#include "store/historico_versoes.h"
#include "sync/fusao.h"

#include <atomic>
#include <future>
#include <mutex>
#include <optional>

class Avisos;
class ContaSincronizacao;
class ListaSelecaoUnica;
class ModeloPrincipal;
class QLabel;
class QTimer;
class RotuloClicavel;

// "Versões anteriores...": the file's earlier versions, newest first, each
// with its date and time, how many contacts it holds and what restoring it
// would change ("+2 −1 ~3"); " Restaurar " writes the chosen one back as a
// change of its own. The dates show at once; the rest is worked out on
// another thread and fills in as it comes. Connected to an address book, it
// says under the list how many cards restoring the chosen version would
// delete and change on the server, and the sync that follows the restore may
// delete those without asking again.
class KV_Versoes : public DialogoDeslizante {
    Q_OBJECT
public:
    KV_Versoes(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos,
               ContaSincronizacao *conta = nullptr);
    ~KV_Versoes() override;

    // The version chosen, written back.
    void lblSim_Click();
    void reject() override { lblNao_Click(); }

    ListaSelecaoUnica *lista() const { return m_lista; }
    // Every version's summary is shown.
    bool resumido() const { return m_mostrados == m_versoes.size(); }
    // "08/12/2026 14:03:05"
    static QString quando(const QDateTime &d);

private:
    void mostrarResumos();
    // Under m_mutex: the summaries that came since.
    void mostrarNovos();
    void mostrarServidor();

    ModeloPrincipal &m_modelo;
    Avisos &m_avisos;
    ContaSincronizacao *m_conta;
    QLabel *m_lblServidor;
    QList<HistoricoVersoes::Versao> m_versoes;
    ListaSelecaoUnica *m_lista;
    RotuloClicavel *m_lblSim;
    QTimer *m_espera;
    std::mutex m_mutex;
    QList<std::optional<HistoricoVersoes::Resumo>> m_resumos; // under m_mutex
    // What each would do on the server, while connected; under m_mutex.
    QList<std::optional<Fusao::Efeito>> m_efeitos;
    qsizetype m_mostrados = 0;
    std::atomic<bool> m_cancelar{false};
    std::future<void> m_trabalho;
};
