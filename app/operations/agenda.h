#pragma once

// How the contact file becomes the page shown:
//   "contatos.txt" is read whole by ArquivoContatos (store), and its lines and
//   fields are found by FormatoContatos, the one owner of the format;
//   ListaInicio (lstInicio) keeps every contact sorted, in the file's bytes;
//   NavegacaoContatos cuts the group of the tab chosen (a LetterGroup) out of
//   it (lstPorLetra) and the page of ten shown (lstContatos, the details);
//   ModeloPrincipal (model) holds all of that with the date and the total,
//   and says when it changed. The operations edit through it; the Agenda
//   holds it with everything else the program keeps, and the main window
//   shows it and hands the user's clicks back.

#include "model/modelo_principal.h"
#include "store/contatos_externos.h"
#include "store/historico_versoes.h"

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class CofreSenhas;
class ContaSincronizacao;
class DesfazerEdicoes;
class QSettings;
class QTimer;

// What the program is built from; tests give their own.
struct OpcoesAgenda {
    QString caminhoArquivo;      // empty: "contatos.txt" beside the program
    QLocale locale;              // the working locale (LocaleApp::efetivo())
    std::function<QDate()> hoje; // null: the system clock
    // An INI file for the settings; empty: the user's settings store.
    QString arquivoConfiguracoes;
    // The clock that names the file's earlier versions, and the limits that
    // prune them; null: the system clock.
    std::function<QDateTime()> agora;
    HistoricoVersoes::Limites limitesVersoes;
    // Where the sync's password is kept; null: the system's keychain.
    std::function<std::unique_ptr<CofreSenhas>()> cofre;
};

// The phone book apart from its windows: the contact file's model with its
// earlier versions, the user's undo, the sync account with its password, the
// settings store, and the date, which renews itself at midnight. Each
// operation gives back the notices to show, in order.
class Agenda : public QObject {
    Q_OBJECT
public:
    // The contacts start being read at once, while the window builds itself.
    explicit Agenda(const OpcoesAgenda &opcoes, QObject *parent = nullptr);
    ~Agenda() override;

    // Once the window is built: the list, the date, the undo, and the sync,
    // which starts when the events of the window's showing are done.
    void iniciar();

    ModeloPrincipal &modelo() { return m_modelo; }
    DesfazerEdicoes &edicoes() const { return *m_desfazer; }
    ContaSincronizacao &sincronizacao() const { return *m_sincronizacao; }
    std::unique_ptr<QSettings> configuracoes() const;
    QDate hoje() const;

    // F5: the file read again, and a sync.
    QStringList reler();
    QStringList importar(const QStringList &caminhos);
    QString exportar(const QString &caminho, ContatosExternos::Formato formato);
    // The last change taken back, or done again.
    QStringList desfazer();
    QStringList refazer();
    // An editing dialog, open while abrir runs: a sync meanwhile waits to
    // write the file.
    void editar(const std::function<void()> &abrir);

Q_SIGNALS:
    // A notice from no request of the user's (the start's, a sync's): it is
    // queued, so it shows once what is under way has ended.
    void aviso(const QString &texto);

private:
    void agendarMeiaNoite();

    OpcoesAgenda m_opcoes;
    ModeloPrincipal m_modelo;
    // Gone before the model they work on.
    std::unique_ptr<ContaSincronizacao> m_sincronizacao;
    std::unique_ptr<DesfazerEdicoes> m_desfazer;
    QTimer *m_meiaNoite = nullptr;
};
