#pragma once

// How the contact file becomes the page shown:
//   "contatos.txt" is read whole by ArquivoContatos (store), and its lines and
//   fields are found by FormatoContatos, the one owner of the format;
//   ListaInicio (lstInicio) keeps every contact sorted, in the file's bytes;
//   NavegacaoContatos cuts the group of the tab chosen (a LetterGroup) out of
//   it (lstPorLetra) and the page of ten shown (lstContatos, the details);
//   ModeloPrincipal holds all of that with the date and the total, and says
//   when it changed; KV_Principal, this window, shows it in its widgets (built
//   from LayoutPrincipal) and hands the user's clicks back to the model, or to
//   the dialogs, which edit through the model and the notices.

#include "model/modelo_principal.h"
#include "store/contatos_externos.h"
#include "store/historico_versoes.h"

#include <QDate>
#include <QElapsedTimer>
#include <QHash>
#include <QPointF>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>

class Avisos;
class CofreSenhas;
class ComandosPrincipal;
class DesfazerEdicoes;
class ContaSincronizacao;
class DialogoDeslizante;
class IconeBandeja;
class QSettings;
class RotuloClicavel;
class QLabel;
class QMenu;
class QLineEdit;
class ListaSelecaoUnica;
class QTimer;

// What the main window needs from outside; tests give their own.
struct OpcoesPrincipal {
    QString caminhoArquivo;      // empty: "contatos.txt" beside the program
    QLocale locale;              // the working locale (LocaleApp::efetivo())
    Avisos *avisos = nullptr;    // null: real notices of 1.5 s
    std::function<QDate()> hoje; // null: the system clock
    // An INI file for the window's place; empty: the user's settings store.
    QString arquivoConfiguracoes;
    // Opens the About window's link; null: the desktop's browser.
    std::function<void(const QUrl &)> abrirEndereco;
    // The files to import, and the file to export to with its format;
    // null: the platform's file dialogs.
    std::function<QStringList()> escolherImportacao;
    std::function<QString(ContatosExternos::Formato &)> escolherExportacao;
    // The clock that names the file's earlier versions, and the limits that
    // prune them; null: the system clock.
    std::function<QDateTime()> agora;
    HistoricoVersoes::Limites limitesVersoes;
    // Where the sync's password is kept; null: the system's keychain.
    std::function<std::unique_ptr<CofreSenhas>()> cofre;
};

// The main window: renders the model and forwards the user's clicks to it.
class KV_Principal : public QWidget {
    Q_OBJECT
public:
    explicit KV_Principal(OpcoesPrincipal opcoes = {});
    ~KV_Principal() override;

    ModeloPrincipal &modelo() { return m_modelo; }
    void MostrarAviso(const QString &texto);

    // Handlers, public so that dialogs and tests can drive them.
    void imgRefresh_Click();
    void imgAvanca_Click();
    void imgRetorna_Click();
    void clicarAba(int grupo);
    void imgAdiciona_Click();
    void imgAtualiza_Click();
    void imgDeleta_Click();
    void imgAbout_Click();
    void imgFecha_Click();
    // Hides the window into the notification area; where there is none, it
    // is minimised as usual instead, so that it can always come back.
    void minimize_to_tray();
    // Brought back by the notification-area icon.
    void restaurar();
    IconeBandeja *bandeja() const { return m_bandeja; }
    ContaSincronizacao &sincronizacao() const { return *m_sincronizacao; }
    void abrirSincronizacao();
    void abrirVersoes();
    // "Procurar...": contacts by any part of any field.
    void abrirProcura();
    // The last change taken back, or done again; with its notices.
    void desfazer();
    void refazer();
    DesfazerEdicoes &edicoes() const { return *m_desfazer; }
    ComandosPrincipal &comandos() const { return *m_comandos; }
    // The window's place in twips, as it is stored.
    QPointF posicaoTwips() const;

    // Contacts in and out (the list's context menu, files dropped): every
    // contact of the files, or none when one is no vCard or CSV or cannot be
    // read; every contact of the list, in its order.
    void importarArquivos(const QStringList &caminhos);
    // The files asked for, then imported; the file asked for, then exported.
    void importar();
    void exportar();
    void exportarPara(const QString &caminho, ContatosExternos::Formato formato);
    // The list's context menu for the contact selected now, to be shown.
    QMenu *criarMenuContatos();

    // Shows the model's state in the widgets; the details alone.
    void mostrarEstado();
    void mostrarDetalhes();
    // The list's tiled background; a null picture leaves its plain colours.
    void definirFundoLista(const QPixmap &padrao);

protected:
    void paintEvent(QPaintEvent *e) override;
    // Form_MouseDown: any button on the window's own surface moves it.
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    // Form_QueryUnload and Form_Unload: the place saved, the icon removed.
    void closeEvent(QCloseEvent *e) override;
    // Typing finds a contact, whichever of the window's controls has focus.
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;
    // A right click on the list, enabled or not, opens its menu.
    void contextMenuEvent(QContextMenuEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    void criarControles();
    void criarSincronizacao();
    bool teclaDeBusca(const QKeyEvent *e);
    RotuloClicavel *imagem(const char *nome);
    void lstContatos_Click();
    void agendarMeiaNoite();
    std::unique_ptr<QSettings> configuracoes() const;
    void restaurarPosicao();
    QDate hoje() const;
    // An editing dialog, open: a sync meanwhile waits to write the file.
    void editar(DialogoDeslizante &&dialogo);

    OpcoesPrincipal m_opcoes;
    std::unique_ptr<Avisos> m_avisosPadrao;
    Avisos *m_avisos;
    ModeloPrincipal m_modelo;

    ListaSelecaoUnica *m_lstContatos = nullptr;
    QLineEdit *m_txtFone = nullptr;
    QLineEdit *m_txtMail = nullptr;
    QLabel *m_lblTotalContatos = nullptr;
    QLabel *m_lblDataHoje = nullptr;
    RotuloClicavel *m_imgAvanca = nullptr;
    RotuloClicavel *m_imgRetorna = nullptr;
    QTimer *m_meiaNoite = nullptr;
    IconeBandeja *m_bandeja = nullptr;
    ContaSincronizacao *m_sincronizacao = nullptr;
    DesfazerEdicoes *m_desfazer = nullptr;
    ComandosPrincipal *m_comandos = nullptr;
    // The place set from the settings, in twips and in pixels: saved back
    // exactly unless the window has moved since.
    QPointF m_posicaoTwips;
    QPoint m_posicaoPixels;
    bool m_renderizando = false;
    QElapsedTimer m_relogio;
    // Moving by hand where no window manager takes the move.
    bool m_arrastando = false;
    QPoint m_pegada;
};
