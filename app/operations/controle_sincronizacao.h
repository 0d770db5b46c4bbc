#pragma once

#include "sync/sincronizador.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <functional>

// When the phone book syncs, and what the user is told of it: after
// start-up, a moment after each write, on a refresh, when asked, and every
// few minutes; never two at once. A sync the user asked for ends in one
// notice; one that ran by itself says nothing when it worked, and a failure
// the user must act on is told once, until it changes.
class ControleSincronizacao : public QObject {
    Q_OBJECT
public:
    enum class Motivo {
        Inicio,    // the window has shown
        Escrita,   // the program wrote contatos.txt
        Releitura, // F5 or the refresh picture
        Pedido,    // "Sincronizar agora" or "Conectar"
        Periodo,   // the periodic turn
    };

    explicit ControleSincronizacao(const QString &caminhoContatos, QObject *parent = nullptr);

    // Connected from now on (an empty address: not connected, nothing is ever sent).
    void setConta(const Sincronizador::Conta &conta);
    bool conectado() const { return !m_conta.endereco.isEmpty(); }
    bool ocupado() const { return m_sinc.ocupado(); }
    // A sync runs, or one is due: after a write, or asked for while one ran.
    bool pendente() const { return ocupado() || m_outra || m_aposEscrita.isActive(); }
    // A sync's write waiting for an editing dialog to close.
    bool retida() const { return m_sinc.retida(); }
    void setLocale(const QLocale &locale);
    // For the tests: the waits after a write and between periodic turns.
    void setEsperas(int aposEscritaMs, int periodoMs);
    // The clock the tooltip reads.
    void setRelogio(std::function<QDateTime()> relogio) { m_relogio = std::move(relogio); }

    void pedir(Motivo motivo);
    // An editing dialog is open: the sync under way does not write the file
    // until it closes.
    void setEdicaoAberta(bool aberta);
    // A contact renamed here: its card follows it (kept in the sync's state,
    // where there is one).
    void renomear(const QString &de, const QString &para);
    void juntar(const QString &mantido, const QStringList &outros)
    {
        m_sinc.juntar(mantido, outros);
    }
    // The user's answer to confirmar(): the sync runs again with it, as one
    // asked for; Perguntar leaves it for now.
    void decidir(const Sincronizador::Decisao &decisao);
    // The next sync may delete up to so many cards there without asking
    // (the user saw it in the versions dialog before restoring).
    void autorizar(int apagarLa);

    static QString texto(const ResultadoSincronizacao &r);
    // The question of a sync that stopped before deleting, and what its
    // " Manter " does.
    static QString pergunta(const ResultadoSincronizacao &r);
    static QString manter(const ResultadoSincronizacao &r);

Q_SIGNALS:
    void aviso(const QString &texto);
    // A sync the user asked for stopped before deleting what the user must
    // confirm: the window asks, and answers with decidir().
    void confirmar(const ResultadoSincronizacao &r);
    // The tray icon's tooltip after each sync.
    void dica(const QString &texto);
    // The sync changed contacts here: the window relists.
    void contatosMudaram();
    void terminou(const ResultadoSincronizacao &r);

private:
    void iniciar();
    void concluido(const ResultadoSincronizacao &r);

    Sincronizador m_sinc;
    Sincronizador::Decisao m_decisao; // for the next sync
    Sincronizador::Conta m_conta;
    QTimer m_aposEscrita, m_periodo;
    std::function<QDateTime()> m_relogio = [] { return QDateTime::currentDateTime(); };
    bool m_pedidoEmCurso = false; // the running sync was asked for by the user
    bool m_outra = false;         // another was asked for while one ran
    bool m_outraPedida = false;
    bool m_edicaoAberta = false;
    ResultadoSincronizacao::Falha m_ultimaAvisada = ResultadoSincronizacao::Falha::Nenhuma;
};
