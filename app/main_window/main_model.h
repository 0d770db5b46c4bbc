#pragma once

#include "browse_state.h"
#include "contact_file.h"
#include "contact_list.h"
#include "letter_groups.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <functional>
#include <future>
#include <optional>

// The main window's working state without any window: the contact file, the
// sorted in-memory list, the browsing state, the total and date labels.
class ModeloPrincipal {
public:
    static inline const QString AVISO_FALHA_LEITURA =
        QStringLiteral("Não foi possível ler o arquivo contatos.txt!");

    // A folder where the file cannot be made: nothing could be kept.
    static inline const QString AVISO_FALHA_CRIACAO =
        QStringLiteral("Não foi possível criar o arquivo contatos.txt!");

    ModeloPrincipal(const QString &caminhoArquivo, const QLocale &locale);

    // Start-up: date, file created when missing, list read, AB listed, total.
    // False when the file could not be read (the caller shows the notice).
    bool Form_Load(const QDate &hoje);
    // Form_Load in two halves, so that a window can build itself while the
    // file is read and sorted on other threads: the model is not to be used
    // between the two.
    void iniciarLeitura();
    bool concluirForm_Load(const QDate &hoje);
    // What start-up has to tell the user (the file could not be created or
    // read), or nothing.
    const QString &avisoInicial() const { return m_avisoInicial; }
    // Refresh: date, file re-read (never created), AB listed. False when the
    // file could not be read; the list then stays as it was.
    bool imgRefresh_Click(const QDate &hoje);
    // A tab click: lists its group and remembers its Inicial.
    void clicarAba(int grupo);

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
    // The total label follows the list.
    void atualizarTotal();
    void atualizarData(const QDate &hoje);

    const ArquivoContatos &arquivo() const { return m_arquivo; }
    const QLocale &locale() const { return m_locale; }
    const ListaInicio &lstInicio() const { return m_lstInicio; }
    NavegacaoContatos &navegacao() { return m_navegacao; }
    const NavegacaoContatos &navegacao() const { return m_navegacao; }

    // What the last read of the file saw. Editing refuses to rewrite a file
    // whose last read failed, or that changed since.
    bool ultimaLeituraFalhou() const { return m_ultimaLeituraFalhou; }
    const ArquivoContatos::Assinatura &assinaturaLida() const { return m_assinatura; }

    QString lblTotalContatos;
    QString lblDataHoje;

private:
    bool lerParaLista();

    ArquivoContatos m_arquivo;
    QLocale m_locale;
    ClassificadorGrupos m_grupos;
    ListaInicio m_lstInicio;
    NavegacaoContatos m_navegacao;
    bool m_ultimaLeituraFalhou = false;
    QString m_avisoInicial;
    std::future<QString> m_leitura;
    ArquivoContatos::Assinatura m_assinatura;
};
