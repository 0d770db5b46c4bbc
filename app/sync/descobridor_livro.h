#pragma once

#include "sync/descoberta_livro.h"
#include "sync/pedidos_livro.h"

#include <QString>
#include <QUrl>
#include <functional>

// Finds the address book from the address the user gave: that address
// itself, else the server's well-known place, then the user's principal and
// the home of their books. A step that leads nowhere ends the sync.
class DescobridorLivro {
public:
    using Achado = std::function<void(const QUrl &colecao, const QString &nome)>;

    explicit DescobridorLivro(PedidosLivro &pedidos) : m_pedidos(pedidos) {}

    void descobrir(const QUrl &endereco, Achado achado);

private:
    // Goes where an answer points; false when it points nowhere.
    bool seguir(const DescobertaLivro::Passo &passo);

    PedidosLivro &m_pedidos;
    QUrl m_endereco;
    Achado m_achado;
};
