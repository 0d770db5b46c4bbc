#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// One running copy per contact file: a second start on the same file asks
// the running copy to come forward and ends. The channel is a local socket
// in a folder only the user can create things in (a named pipe named with
// the user's SID on Windows), keyed by the file's canonical path; the
// running copy answers one fixed request and nothing else, and no answer is
// taken from a channel that another user owns.
class InstanciaUnica : public QObject {
    Q_OBJECT
public:
    enum class Resposta {
        Atendido,    // a running copy came forward
        SemServidor, // nobody accepts (none runs, or one crashed)
        Ocupado,     // a copy accepted but did not answer in time: it is busy
        Alheio,      // another user's socket or pipe: not to be trusted
    };

    // Connecting is at once when a copy runs; a busy one takes long to answer.
    static constexpr int ESPERA_CONEXAO_MS = 1000;
    static constexpr int ESPERA_RESPOSTA_MS = 10000;

    // The channel's name for a contact file, for the user running us; empty
    // where no private place for it could be had.
    static QString chave(const QString &caminhoArquivo);
    // Asks the copy running on that channel to come forward.
    static Resposta pedirParaMostrar(const QString &chave,
                                     int esperaRespostaMs = ESPERA_RESPOSTA_MS);

    explicit InstanciaUnica(QString chave, QObject *parent = nullptr);

    // Starts answering on the channel. A socket left by a copy that crashed,
    // or put there by another user, is taken over. False when another copy
    // of ours holds the channel.
    bool escutar();
    bool escutando() const;

Q_SIGNALS:
    // Another start on the same file asked us to come forward.
    void mostrarPedido();

private:
    void atender(QLocalSocket *s);

    QString m_chave;
    QLocalServer *m_servidor;
};
