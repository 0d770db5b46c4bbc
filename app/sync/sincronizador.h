#pragma once

#include "store/arquivo_contatos.h"
#include "sync/cliente_dav.h"
#include "sync/descobridor_livro.h"
#include "sync/estado_sincronizacao.h"
#include "sync/fila_envio.h"
#include "sync/fusao.h"
#include "sync/leitor_livro.h"
#include "sync/pedidos_livro.h"
#include "sync/protecao_apagar.h"
#include "sync/resultado_sincronizacao.h"

#include <QLocale>
#include <QObject>
#include <QSet>
#include <QUrl>

// One sync of "contatos.txt" with a CardDAV address book (RFC 6352): the
// book found from a server's address, the changes since the last sync
// fetched, merged three ways, and written to both sides, each write
// conditional. Asynchronous: the caller's event loop goes on meanwhile.
class Sincronizador : public QObject {
    Q_OBJECT
public:
    struct Conta {
        QUrl endereco;
        QString usuario;
        QString senha;
    };

    using Decisao = DecisaoSincronizacao;

    explicit Sincronizador(QString caminhoContatos, QObject *parent = nullptr);

    void setLocale(const QLocale &locale) { m_locale = locale; }
    // Whether a tab lists a name: the sync brings in only those, as the
    // import does.
    void setListavel(std::function<bool(QStringView)> listavel)
    {
        m_listavel = std::move(listavel);
    }
    bool ocupado() const { return m_fase != Fase::Parada; }
    // Read and merged, its write held until reter(false).
    bool retida() const { return m_fase == Fase::Retida; }

    // Starts a sync; false when one is under way already. terminou() follows.
    bool sincronizar(const Conta &conta, const Decisao &decisao = {});
    // A contact renamed here: its card follows it, whatever else changed.
    // Noted in the sync's state at once, and kept there until a sync has
    // agreed it.
    void renomear(const QString &de, const QString &para);
    // Contacts merged here into one: the kept one's card takes the others'
    // lines before their cards are deleted. Noted in the sync's state at
    // once, and kept there until a sync has done it.
    void juntar(const QString &mantido, const QStringList &outros);

    // While held, a sync waits before it writes the contact file (an editing
    // dialog is open), and goes on once released.
    void reter(bool retido);

Q_SIGNALS:
    // The merge is made and its writes to the server are about to start.
    void enviando();
    // One more of the plan's server writes done (and kept in the state).
    void progresso(int feitas, int total);
    void terminou(const ResultadoSincronizacao &resultado);

private:
    using Falha = ResultadoSincronizacao::Falha;
    // Where a sync is: each step goes on only from the one before it, so
    // that an answer, a release or a failure that comes late does nothing.
    enum class Fase {
        Parada,
        Lendo,    // discovering, listing, fetching, merging
        Enviando, // the plan's server writes under way
        Retida,   // written there; waiting for the editing dialog to close
        Gravando, // the contact file and the state written
    };

    // The address book found: its changes since the last sync read.
    void listar(const QUrl &colecao, const QString &nome);
    void ler();
    void executar();
    // One server write of the plan done: kept in the state at once where
    // the contact here agrees with it. False when that could not be kept.
    bool feita(const Fusao::OperacaoServidor &op, const QByteArray &etag);
    void gravarLocal();
    void concluir(bool escrito);
    void falhar(Falha f, const QString &detalhe = {});

    QString m_caminho;
    QLocale m_locale;
    Conta m_conta;
    ClienteDav *m_cliente = nullptr;
    PedidosLivro m_pedidos;
    DescobridorLivro m_descobridor{m_pedidos};
    LeitorLivro m_leitor{m_pedidos};
    FilaEnvio m_fila{m_pedidos};
    EstadoSincronizacao m_estado;
    QUrl m_colecao;
    Decisao m_decisao;
    std::function<bool(QStringView)> m_listavel;
    Fase m_fase = Fase::Parada;
    bool m_compactar = false; // the state holds notes: written whole before the first write
    ArquivoContatos::Leitura m_local;
    Fusao::Plano m_plano;
    int m_rodada = 0;
    QSet<QString> m_comLocal;                 // hrefs with an operation here too
    int m_contadosAqui = 0, m_contadosLa = 0; // deleted without a question
    QHash<QString, QByteArray> m_etagsNovas;
    bool m_retido = false;
    ResultadoSincronizacao m_r;
};
