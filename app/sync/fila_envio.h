#pragma once

#include "sync/fusao.h"
#include "sync/pedidos_livro.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QStringList>
#include <QUrl>
#include <functional>

// The plan's writes to the server, a few at a time, each conditional on
// what was read: a card changed or gone since is not overwritten but read
// again. A card merged into another goes once that one is written.
class FilaEnvio {
public:
    // Told of each write done, with the card's new ETag; false stops the
    // queue (what cannot be kept is not done any further).
    using Feita = std::function<bool(const Fusao::OperacaoServidor &, const QByteArray &etag)>;

    explicit FilaEnvio(PedidosLivro &pedidos) : m_pedidos(pedidos) {}

    // Sends ops to the book at colecao; pronta once each is done or left.
    void enviar(const QList<Fusao::OperacaoServidor> &ops, const QUrl &colecao, Feita feita,
                std::function<void()> pronta);
    // No write more, and no answer still to come acted on.
    void parar() { m_ativa = false; }

    // The hrefs whose write succeeded.
    const QSet<QString> &feitas() const { return m_feitas; }
    // Those changed or gone there since they were read: to read again.
    const QStringList &repetir() const { return m_repetir; }

private:
    void proxima();

    PedidosLivro &m_pedidos;
    QList<Fusao::OperacaoServidor> m_ops;
    QUrl m_colecao;
    Feita m_feita;
    std::function<void()> m_pronta;
    bool m_ativa = false;
    qsizetype m_proxima = 0;
    int m_emCurso = 0;
    QSet<QString> m_feitas;
    QStringList m_repetir;
};
