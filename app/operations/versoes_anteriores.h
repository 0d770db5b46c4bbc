#pragma once

#include "operations/edicao_contatos.h"
#include "store/historico_versoes.h"
#include "sync/fusao.h"

#include <QDateTime>
#include <atomic>
#include <future>
#include <mutex>
#include <optional>

class ContaSincronizacao;

// The contact file's earlier versions, newest first, and what restoring each
// would change: against the file as it is now, and, connected to an address
// book, on the server by what the last sync agreed. The list is there at
// once; the rest is worked out on another thread and comes in order.
class VersoesAnteriores {
public:
    // conta: the sync account, or null; not connected counts as none.
    VersoesAnteriores(ModeloPrincipal &modelo, ContaSincronizacao *conta);
    ~VersoesAnteriores();
    VersoesAnteriores(const VersoesAnteriores &) = delete;
    VersoesAnteriores &operator=(const VersoesAnteriores &) = delete;

    const QList<HistoricoVersoes::Versao> &versoes() const { return m_versoes; }
    bool conectado() const { return m_conta != nullptr; }
    // What came in since the last call: the versions from 'desde' on whose
    // summaries are known now, in order (contatos -1: the version cannot be
    // read).
    QList<HistoricoVersoes::Resumo> novos(qsizetype desde);
    // What restoring it would do on the server, once worked out; nothing
    // where not connected.
    std::optional<Fusao::Efeito> efeito(qsizetype versao);

    // The version written back as a change of its own; the sync that follows
    // may delete on the server what the user was shown it would.
    ResultadoEdicao restaurar(qsizetype versao);

    // "08/12/2026 14:03:05"
    static QString quando(const QDateTime &d);

private:
    ModeloPrincipal &m_modelo;
    ContaSincronizacao *m_conta;
    QList<HistoricoVersoes::Versao> m_versoes;
    std::mutex m_mutex;
    QList<std::optional<HistoricoVersoes::Resumo>> m_resumos; // under m_mutex
    QList<std::optional<Fusao::Efeito>> m_efeitos;            // under m_mutex
    std::atomic<bool> m_cancelar{false};
    std::future<void> m_trabalho;
};
