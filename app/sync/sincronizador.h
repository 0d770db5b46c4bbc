#pragma once

#include "store/arquivo_contatos.h"
#include "sync/cliente_dav.h"
#include "sync/descoberta_livro.h"
#include "sync/estado_sincronizacao.h"
#include "sync/fusao.h"
#include "sync/listagem_livro.h"
#include "sync/multistatus.h"
#include "sync/protecao_apagar.h"

#include <QLocale>
#include <QObject>
#include <QSet>
#include <QUrl>

// What one sync came to, for the window to show.
struct ResultadoSincronizacao {
    enum class Falha {
        Nenhuma,
        Inseguro,    // plain HTTP to another machine: nothing was sent
        SemConexao,  // no connection, or it was cut, or no answer in time
        Certificado, // the server's certificate was refused
        Endereco,    // nothing there, or no address book
        Senha,       // wrong user or password, or no permission
        Servidor,    // an error of the server, or an answer that makes no sense
        Leitura,     // contatos.txt is missing or could not be read: nothing was sent
        Arquivo,     // contatos.txt could not be written
        Confirmar,   // it would delete what the user must confirm: nothing was written
    };
    Falha falha = Falha::Nenhuma;
    QString detalhe;      // the server's own words, where it gave any
    int recebidos = 0;    // contacts added or changed here
    int enviados = 0;     // cards added or changed there
    int apagadosAqui = 0; // contacts deleted here
    int apagadosLa = 0;   // cards deleted there
    int conflitos = 0;    // fields changed on both sides, merged
    int deixados = 0;     // cards the contact file cannot hold, left as they are
    int naoLidos = 0;     // cards listed but not delivered: they wait for the next sync
    int pedidos = 0;      // requests sent
    // Confirmar: what it would have deleted on each side, of how many.
    using Vazio = ProtecaoApagar::Vazio;
    ProtecaoApagar::Pergunta pergunta;
    QString livro; // the address book's name, once found
    bool ok() const { return falha == Falha::Nenhuma; }
};

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
    using Resposta = ClienteDav::Resposta;
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

    void propfind(const QUrl &url, int profundidade, const QByteArray &props,
                  std::function<void(const Multistatus::Leitura &, const QUrl &)> pronto);
    void descobrir();
    // Goes where discovery points; false when it points nowhere.
    bool seguir(const DescobertaLivro::Passo &passo);
    void listar();
    void pedirMudancas(const QString &token);
    void listarPorEtag();
    void listado(const QHash<QString, QByteArray> &etags, bool completo,
                 const QSet<QString> &removidos);
    void buscar(QStringList hrefs, std::function<void()> depois);
    void ler();
    void executar();
    void executarProxima();
    // One server write of the plan done: kept in the state at once where
    // the contact here agrees with it.
    void feita(const Fusao::OperacaoServidor &op, const QByteArray &etag);
    void gravarLocal();
    void concluir(bool escrito);
    void falhar(Falha f, const QString &detalhe = {});
    bool falhouResposta(const Resposta &r);
    // The answer's multistatus; nothing, and the sync ended, when there is
    // none (an error, or not what was asked: senao says how it is told).
    std::optional<Multistatus::Leitura> multistatus(const Resposta &r, Falha senao);

    QUrl url(const QString &href) const;

    QString m_caminho;
    QLocale m_locale;
    Conta m_conta;
    ClienteDav *m_cliente = nullptr;
    EstadoSincronizacao m_estado;
    QUrl m_colecao;
    QString m_tokenNovo, m_ctagNova;
    QHash<QString, Fusao::CartaoServidor> m_servidor;
    QSet<QString> m_desconhecidos; // listed, but not delivered
    // The sync-collection answers of one listing, a truncated one continued.
    struct {
        ListagemLivro::Mudancas mudancas;
        bool completa = false;
        int continuacoes = 0;
    } m_listagem;
    bool m_primeira = false; // a first sync again: the server refused the token
    Decisao m_decisao;
    std::function<bool(QStringView)> m_listavel;
    Fase m_fase = Fase::Parada;
    bool m_compactar = false; // the state holds notes: written whole before the first write
    ArquivoContatos::Leitura m_local;
    Fusao::Plano m_plano;
    qsizetype m_proxima = 0;
    int m_emCurso = 0;
    int m_rodada = 0;
    QSet<QString> m_feitas;                   // hrefs whose server operation succeeded
    QSet<QString> m_comLocal;                 // hrefs with an operation here too
    int m_contadosAqui = 0, m_contadosLa = 0; // deleted without a question
    QHash<QString, QByteArray> m_etagsNovas;
    QStringList m_repetir; // hrefs to read again after a 412
    bool m_retido = false;
    ResultadoSincronizacao m_r;
};
