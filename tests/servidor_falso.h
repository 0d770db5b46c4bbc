#pragma once

// A CardDAV server that answers what a test tells it to, for the answers a
// real server never gives: hostile XML, huge bodies, a cut connection, a
// redirect elsewhere. Runs in the test's own event loop.

#include <QTcpServer>
#include <QTcpSocket>
#include <functional>

class ServidorFalso : public QTcpServer {
public:
    struct Pedido {
        QByteArray metodo, caminho, corpo, cabecalhos;
    };
    // The whole answer, status line to body; an answer whose Content-Length
    // is more than it holds is cut there.
    using Resposta = std::function<QByteArray(const Pedido &)>;

    explicit ServidorFalso(Resposta resposta) : m_resposta(std::move(resposta))
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = nextPendingConnection())
                atender(s);
        });
    }

    QList<Pedido> pedidos;

    static QByteArray resposta(int status, const QByteArray &corpo,
                               const QByteArray &cabecalhos = {})
    {
        return "HTTP/1.1 " + QByteArray::number(status) +
               " X\r\nContent-Length: " + QByteArray::number(corpo.size()) + "\r\n" + cabecalhos +
               "\r\n" + corpo;
    }

private:
    void atender(QTcpSocket *s)
    {
        auto *buffer = new QByteArray;
        connect(s, &QTcpSocket::disconnected, s, [s, buffer] {
            delete buffer;
            s->deleteLater();
        });
        connect(s, &QTcpSocket::readyRead, s, [this, s, buffer] {
            *buffer += s->readAll();
            const qsizetype fim = buffer->indexOf("\r\n\r\n");
            if (fim < 0)
                return;
            const QByteArray cab = buffer->left(fim);
            qsizetype tamanho = 0;
            for (const QByteArray &l : cab.split('\n')) {
                if (l.toLower().startsWith("content-length:"))
                    tamanho = l.mid(15).trimmed().toLongLong();
            }
            if (buffer->size() < fim + 4 + tamanho)
                return;
            const QList<QByteArray> inicio = cab.left(cab.indexOf('\r')).split(' ');
            Pedido p{inicio.value(0), inicio.value(1), buffer->mid(fim + 4, tamanho), cab};
            buffer->remove(0, fim + 4 + tamanho);
            pedidos.append(p);
            const QByteArray r = m_resposta(p);
            s->write(r);
            const qsizetype c = r.indexOf("Content-Length: ");
            const qsizetype corpo = r.indexOf("\r\n\r\n");
            if (c >= 0 &&
                r.size() - corpo - 4 < r.mid(c + 16, r.indexOf('\r', c) - c - 16).toLongLong())
                s->disconnectFromHost();
        });
    }

    Resposta m_resposta;
};
