#pragma once

#include "sync/estado_sincronizacao.h"
#include "sync/fusao.h"
#include "sync/listagem_livro.h"
#include "sync/pedidos_livro.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

// What the server's address book holds now: what changed since the last sync
// (by sync-collection where the server has it, else by every card's ETag
// after a look at the book's own tag), the cards unchanged taken from what
// the last sync saw, the others fetched a batch at a time.
class LeitorLivro {
public:
    struct Livro {
        QHash<QString, Fusao::CartaoServidor> cartoes;
        QSet<QString> desconhecidos; // listed, but not delivered
        QString tokenNovo, ctagNova;
        bool primeira = false; // a first sync again: the server refused the token
    };

    explicit LeitorLivro(PedidosLivro &pedidos) : m_pedidos(pedidos) {}

    // Reads the book at colecao against the last sync's state, noting there
    // what the server says of itself (its token refused, no
    // sync-collection); then pronto.
    void ler(const QUrl &colecao, EstadoSincronizacao &estado, std::function<void()> pronto);
    // Cards by addressbook-multiget, a batch at a time, into livro(); then
    // depois.
    void buscar(QStringList hrefs, std::function<void()> depois);

    Livro &livro() { return m_livro; }

private:
    void listar();
    void pedirMudancas(const QString &token);
    void listarPorEtag();
    void listado(const QHash<QString, QByteArray> &etags, bool completo,
                 const QSet<QString> &removidos);

    PedidosLivro &m_pedidos;
    EstadoSincronizacao *m_estado = nullptr;
    QUrl m_colecao;
    std::function<void()> m_pronto;
    Livro m_livro;
    // The sync-collection answers of one listing, a truncated one continued.
    struct {
        ListagemLivro::Mudancas mudancas;
        bool completa = false;
        int continuacoes = 0;
    } m_listagem;
};
