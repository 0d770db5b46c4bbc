#pragma once

#include "sync/cliente_dav.h"
#include "sync/multistatus.h"
#include "sync/resultado_sincronizacao.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>

// The requests of one sync to its server, each answer checked: one that
// failed ends the sync with what the user is told of it, so that the steps
// built on these go on only from an answer that makes sense.
class PedidosLivro {
public:
    using Resposta = ClienteDav::Resposta;
    using Falha = ResultadoSincronizacao::Falha;
    using Falhar = std::function<void(Falha, const QString &)>;

    explicit PedidosLivro(Falhar falhar) : m_falhar(std::move(falhar)) {}

    // The client of the sync under way.
    void usar(ClienteDav *cliente) { m_cliente = cliente; }
    ClienteDav &cliente() { return *m_cliente; }

    static QByteArray corpoPropfind(const QByteArray &props);
    static QByteArray corpoMudancas(const QString &token);
    static QByteArray corpoMultiget(const QStringList &hrefs);
    // The start of a server's answer, as plain text, for the notice.
    static QString palavras(const QByteArray &corpo);

    // An XML request; the answer as it came.
    void xml(const QByteArray &metodo, const QUrl &url, int profundidade, const QByteArray &corpo,
             std::function<void(const Resposta &)> pronto);
    // A PROPFIND whose multistatus goes on to pronto, with where it came
    // from; any other answer ends the sync (Endereco).
    void propfind(const QUrl &url, int profundidade, const QByteArray &props,
                  std::function<void(const Multistatus::Leitura &, const QUrl &)> pronto);

    // Ends the sync when the answer failed; false when it did not.
    bool falhou(const Resposta &r);
    // The answer's multistatus; nothing, and the sync ended, when there is
    // none (an error, or not what was asked: senao says how it is told).
    std::optional<Multistatus::Leitura> multistatus(const Resposta &r, Falha senao);
    void falhar(Falha f, const QString &detalhe = {}) { m_falhar(f, detalhe); }

private:
    Falhar m_falhar;
    ClienteDav *m_cliente = nullptr;
};
