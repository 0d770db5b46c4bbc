#pragma once

#include "operations/cofre_senhas.h"
#include "operations/controle_sincronizacao.h"

#include <QObject>
#include <QUrl>
#include <functional>
#include <memory>

class ModeloPrincipal;
class QSettings;

// The address book the phone book is connected to: its address and user in
// the settings store, its password in the system's keychain (or, where none
// answers, in memory for this run only), and the syncs that follow. A sync
// for "Conectar" that fails leaves the program as it was, not connected.
class ContaSincronizacao : public QObject {
    Q_OBJECT
public:
    static inline const QString SECAO = QStringLiteral("Sincronização");

    // cofre: the system's keychain when none is given.
    ContaSincronizacao(const QString &caminhoContatos,
                       std::function<std::unique_ptr<QSettings>()> configuracoes,
                       QObject *parent = nullptr, std::unique_ptr<CofreSenhas> cofre = {});

    ControleSincronizacao &controle() { return m_controle; }
    // Syncs a moment after the model writes the file, and has it read the
    // file again when a sync changed contacts.
    void acompanhar(ModeloPrincipal &modelo);

    // After start-up: an address in the settings store connects, with the
    // keychain's password.
    void iniciar();
    // Start-up has decided: the settings read, the keychain answered.
    bool iniciada() const { return m_iniciada; }
    // The address as typed: "https://" is assumed when it names no scheme.
    void conectar(const QString &endereco, const QString &usuario, const QString &senha);
    // Stops syncing and forgets the address, the password and the sync's
    // state; the contacts stay as they are on both sides.
    void desconectar();
    void sincronizarAgora() { m_controle.pedir(ControleSincronizacao::Motivo::Pedido); }

    bool conectado() const { return m_conectado; }
    bool conectando() const { return m_conectando; }
    // Connected by the settings store, but the password must be typed again.
    bool faltaSenha() const { return m_faltaSenha; }
    bool senhaSoNaMemoria() const { return m_soNaMemoria; }
    QString endereco() const { return m_endereco; }
    QString usuario() const { return m_usuario; }
    QString livro() const { return m_livro; }
    // The last sync's time and what it came to; empty before the first.
    QString ultima() const { return m_ultima; }

    static QUrl url(const QString &endereco);
    // The address as typed, without a user or password written into it, and
    // those apart.
    struct Partes {
        QString endereco, usuario, senha;
    };
    static Partes separar(const QString &endereco);

Q_SIGNALS:
    void aviso(const QString &texto);
    // What the dialog shows has changed.
    void mudou();

private:
    QString chave() const { return m_usuario + QLatin1Char('@') + m_endereco; }
    void usar(const QString &senha);
    void terminou(const ResultadoSincronizacao &r);
    void esquecerEstado();

    QString m_caminho;
    std::function<std::unique_ptr<QSettings>()> m_configuracoes;
    std::unique_ptr<CofreSenhas> m_cofre;
    ControleSincronizacao m_controle;
    QString m_endereco, m_usuario, m_senha;
    QString m_livro, m_ultima;
    bool m_conectado = false;
    bool m_conectando = false;
    bool m_faltaSenha = false;
    bool m_iniciada = false;
    bool m_soNaMemoria = false;
    bool m_esquecerAoTerminar = false;
};
