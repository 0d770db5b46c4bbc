#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>
#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

// The WebDAV requests of a sync, on one server. Its answers are untrusted:
// a body past the limit, a redirect to another host or 30 s without
// progress end the request. The password goes only as basic authentication
// to the scheme, host and port it was given for, and only over HTTPS (or to
// this machine).
class ClienteDav : public QObject {
    Q_OBJECT
public:
    enum class Erro {
        Nenhum,
        SemConexao,  // refused, unreachable, cut, or no answer in time
        Certificado, // the server's certificate was refused
        Grande,      // an answer past the limit
        Desvio,      // a redirect to another host, or too many
        Inseguro,    // plain HTTP to another machine
    };

    struct Resposta {
        Erro erro = Erro::Nenhum;
        int status = 0;
        QByteArray corpo;
        QByteArray etag;
        QUrl url; // where the answer came from, after redirects
        QString detalhe;
        bool ok() const { return erro == Erro::Nenhum && status >= 200 && status < 300; }
    };
    using Cabecalhos = QList<QPair<QByteArray, QByteArray>>;

    static constexpr qint64 CORPO_MAXIMO = qint64(128) << 20;
    static constexpr int SEM_PROGRESSO_MS = 30'000;

    ClienteDav(QUrl origem, QString usuario, QString senha, QObject *parent = nullptr);

    // Whether a request may go to the URL: HTTPS, or HTTP to a loopback address.
    static bool seguro(const QUrl &url);

    void pedir(const QByteArray &metodo, const QUrl &url, const QByteArray &corpo,
               const Cabecalhos &cabecalhos, std::function<void(Resposta)> pronto);

    // Requests sent since the start, redirects included.
    int pedidos() const { return m_pedidos; }
    // Ends every request under way; their callbacks are not called.
    void cancelar();

private:
    void enviar(const QByteArray &metodo, const QUrl &url, const QByteArray &corpo,
                const Cabecalhos &cabecalhos, int desvios, std::function<void(Resposta)> pronto);
    bool mesmoHost(const QUrl &url) const;
    // The same scheme, host and port as the address given.
    bool mesmaOrigem(const QUrl &url) const;

    QNetworkAccessManager *m_rede;
    QUrl m_origem;
    QByteArray m_autorizacao;
    int m_pedidos = 0;
    quint64 m_geracao = 0;
};
