#pragma once

#include "model/busca_contato.h"
#include "model/classificador_grupos.h"
#include "model/indice_busca.h"
#include "model/letter_group.h"
#include "model/lista_inicio.h"
#include "model/navegacao_contatos.h"
#include "store/arquivo_contatos.h"
#include "store/mudanca_contatos.h"

#include <QDate>
#include <QLocale>
#include <QObject>
#include <QString>
#include <functional>
#include <future>
#include <optional>

// The main window's working state without any window: the contact file, the
// sorted in-memory list (lstInicio), the browsing state, the total and date
// labels. It tells the windows when what they show has changed.
class ModeloPrincipal : public QObject {
    Q_OBJECT
public:
    static inline const QString AVISO_FALHA_LEITURA =
        QStringLiteral("Não foi possível ler o arquivo contatos.txt!");

    // A folder where the file cannot be made: nothing could be kept.
    static inline const QString AVISO_FALHA_CRIACAO =
        QStringLiteral("Não foi possível criar o arquivo contatos.txt!");

    ModeloPrincipal(const QString &caminhoArquivo, const QLocale &locale);

    // While one lives, the model's notices wait, and go once when the last
    // ends: an operation whose steps a window must show together, or after a
    // notice, holds one.
    class Lote {
    public:
        explicit Lote(ModeloPrincipal &modelo);
        ~Lote();
        Lote(const Lote &) = delete;
        Lote &operator=(const Lote &) = delete;

    private:
        ModeloPrincipal &m_modelo;
    };

    // Start-up: date, file created when missing, list read, AB listed, total.
    // False when the file could not be read (the caller shows the notice).
    bool iniciar(const QDate &hoje);
    // iniciar in two halves, so that a window can build itself while the
    // file is read and sorted on other threads: the model is not to be used
    // between the two.
    void iniciarLeitura();
    bool concluirInicio(const QDate &hoje);
    // What start-up has to tell the user (the file could not be created or
    // read), or nothing.
    const QString &avisoInicial() const { return m_avisoInicial; }
    // The refresh: date, file re-read (never created), AB listed. False when
    // the file could not be read; the list then stays as it was.
    bool reler(const QDate &hoje);
    // A tab chosen: lists its group and remembers its Inicial.
    void escolherAba(int grupo);
    void avancarPagina();
    void retornarPagina();
    // The user selected a row of the page; -1 for none.
    void selecionar(int linha);
    // The tab after (1) or before (-1) the group shown, in tab order, round.
    void abaVizinha(int passo);

    // Typing to find a contact (BuscaContato): a found contact's tab is
    // chosen, its page shown, it is selected.
    enum class Busca {
        Ignorada,   // not a key of the search
        Feita,      // found, or nothing left to find
        SemContato, // nothing moved: no contact starts so
    };
    Busca digitar(QChar c, qint64 agoraMs);
    // The entry of the list shown as the typing find shows it: its tab, its
    // page, it selected. False for an entry no tab lists.
    bool mostrarEntrada(qsizetype i);
    // Contacts by any part of any field (IndiceBusca), the index made from
    // the list when first asked for after the list changed.
    IndiceBusca::Resultado procurar(QStringView consulta, qsizetype maximo = 100);
    // The index made now, if the list changed since it was: before the
    // first key, not on it.
    void prepararBusca();
    Busca apagarBusca(qint64 agoraMs);
    Busca limparBusca();

    // Rebuilds lstInicio from the file. False when the file could not be
    // read; lstInicio then stays as it was.
    bool RecarregarLista();
    // Lists again the tab chosen last, with the editing dialogs' placeholder.
    void AtualizarAba();
    // Lists a group with the editing dialogs' placeholder.
    void relistarGrupo(int grupo);
    // Lists the group of the contact of that name with its page shown and
    // the contact selected; where there is none, the tab chosen last. False
    // when there is none.
    bool mostrarContato(QStringView nome);
    // The file read again after another writer (a sync) changed it: the tab
    // shown listed again, with the contact selected still selected on its
    // page where it is still there. False when the file could not be read.
    bool relerMantendoSelecao();
    // The contact selected in the visible list, or null (nothing selected,
    // a page just moved, or the placeholder shown).
    std::optional<ContactRecord> contatoSelecionado() const;
    // Empties the detail fields; the selection stays.
    void limparDetalhes();
    // After the editing operations wrote the file: reads it back and, when
    // it holds exactly what was written over the content the list was built
    // from, brings the list up to date by the one change instead of sorting
    // every contact again; otherwise reloads it whole. False when the file
    // could not be read.
    bool recarregarAposGravar(const QByteArray &escrito, bool baseIntacta,
                              const std::function<void(ListaInicio &)> &mudanca);
    void atualizarData(const QDate &hoje);
    // A change the user made is written: told to whoever keeps them to undo.
    void registrarMudanca(const MudancaContatos &mudanca) { Q_EMIT mudancaFeita(mudanca); }
    // A contact written under another name (an update, or its undo): told
    // to the sync, whose card follows it.
    void registrarRenomeacao(const QString &de, const QString &para)
    {
        if (de != para)
            Q_EMIT renomeado(de, para);
    }

    // Contacts merged into one (a merge, or its redo): told to the sync,
    // whose card of the one kept takes the others' lines before they go.
    void registrarJuncao(const QString &mantido, const QStringList &outros)
    {
        if (!outros.isEmpty())
            Q_EMIT juntados(mantido, outros);
    }

    const ArquivoContatos &arquivo() const { return m_arquivo; }
    ArquivoContatos &arquivo() { return m_arquivo; }
    const QLocale &locale() const { return m_locale; }
    const ClassificadorGrupos &grupos() const { return m_grupos; }
    const ListaInicio &lstInicio() const { return m_lstInicio; }
    const NavegacaoContatos &navegacao() const { return m_navegacao; }
    const QString &lblTotalContatos() const { return m_lblTotalContatos; }
    // The total as a screen reader says it: "3 contatos", "1 contato".
    QString totalFalado() const
    {
        return m_lblTotalContatos == u"1" ? QStringLiteral("1 contato")
                                          : m_lblTotalContatos + QLatin1String(" contatos");
    }
    const QString &lblDataHoje() const { return m_lblDataHoje; }

    // What the last read of the file saw. Editing refuses to rewrite a file
    // whose last read failed, or that changed since.
    bool ultimaLeituraFalhou() const { return m_ultimaLeituraFalhou; }
    const ArquivoContatos::Assinatura &assinaturaLida() const { return m_assinatura; }

Q_SIGNALS:
    // What the main window shows has changed.
    void mudou();
    // Only the detail fields have (the selection is the list's own).
    void detalhesMudaram();
    // This program wrote the contact file.
    void gravou();
    void mudancaFeita(const MudancaContatos &mudanca);
    void renomeado(const QString &de, const QString &para);
    void juntados(const QString &mantido, const QStringList &outros);

private:
    bool lerParaLista();
    void atualizarTotal();
    void listaMudou();
    void notificar(bool tudo);
    Busca buscar(BuscaContato::Efeito efeito);

    ArquivoContatos m_arquivo;
    QLocale m_locale;
    ClassificadorGrupos m_grupos;
    ListaInicio m_lstInicio;
    NavegacaoContatos m_navegacao;
    BuscaContato m_busca;
    IndiceBusca m_indice;
    bool m_indiceAtual = false;
    QString m_lblTotalContatos = QStringLiteral("0");
    QString m_lblDataHoje;
    bool m_ultimaLeituraFalhou = false;
    QString m_avisoInicial;
    std::future<QString> m_leitura;
    ArquivoContatos::Assinatura m_assinatura;
    int m_lotes = 0;
    bool m_mudouTudo = false;
    bool m_mudouDetalhes = false;
};
