#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// One running copy per contact file: a second start on the same file asks
// the running copy to come forward and ends. The channel is a local socket
// (a named pipe on Windows) open to the same user only, keyed by the file's
// path; the running copy answers one fixed request and nothing else.
class InstanciaUnica : public QObject {
    Q_OBJECT
public:
    enum class Resposta {
        Atendido,    // a running copy came forward
        SemServidor, // nobody listens (none runs, or one crashed)
        SemResposta, // someone listens but did not answer in time
    };

    static constexpr int ESPERA_MS = 1000;

    // The channel's name for a contact file, for the user running us.
    static QString chave(const QString &caminhoArquivo);
    // Asks the copy running on that channel to come forward.
    static Resposta pedirParaMostrar(const QString &chave, int esperaMs = ESPERA_MS);

    explicit InstanciaUnica(QString chave, QObject *parent = nullptr);

    // Starts answering on the channel. With removerAbandonado, a socket left
    // by a copy that crashed is taken over. False when another copy holds
    // the channel.
    bool escutar(bool removerAbandonado);
    bool escutando() const;

Q_SIGNALS:
    // Another start on the same file asked us to come forward.
    void mostrarPedido();

private:
    void atender(QLocalSocket *s);

    QString m_chave;
    QLocalServer *m_servidor;
};
