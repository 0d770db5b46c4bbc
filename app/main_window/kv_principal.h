#pragma once

#include "operations/agenda.h"

#include <QElapsedTimer>
#include <QPointF>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>

class Avisos;
class AbasLetras;
class ComandosPrincipal;
class DialogoDeslizante;
class IconeBandeja;
class ListaSelecaoUnica;
class QLabel;
class QLineEdit;
class QMenu;
class RotuloClicavel;

// What the main window needs from outside, beside what the program is
// built from; tests give their own.
struct OpcoesPrincipal : OpcoesAgenda {
    Avisos *avisos = nullptr; // null: real notices of 1.5 s
    // Opens the About window's link, and a contact's (tel:, WhatsApp,
    // mailto:); null: the desktop's own programs.
    std::function<void(const QUrl &)> abrirEndereco;
    // The files to import, and the file to export to with its format;
    // null: the platform's file dialogs.
    std::function<QStringList()> escolherImportacao;
    std::function<QString(ContatosExternos::Formato &)> escolherExportacao;
    // The PDF to save the list to print as; null: the platform's dialog.
    std::function<QString()> escolherPdf;
};

// The main window: renders the Agenda's model and forwards the user's clicks
// to it, and opens the dialogs.
class KV_Principal : public QWidget {
    Q_OBJECT
public:
    explicit KV_Principal(OpcoesPrincipal opcoes = {});
    ~KV_Principal() override;

    ModeloPrincipal &modelo() { return m_agenda.modelo(); }
    ContaSincronizacao &sincronizacao() const { return m_agenda.sincronizacao(); }
    IconeBandeja *bandeja() const { return m_bandeja; }
    void MostrarAviso(const QString &texto);

    // Handlers, public so that tests can drive them.
    void imgRefresh_Click();
    void clicarAba(int grupo);
    void imgAdiciona_Click();
    void imgAtualiza_Click();
    void imgDeleta_Click();
    void abrirVersoes();
    // Hides the window into the notification area; where there is none, it
    // is minimised as usual instead, so that it can always come back.
    void minimize_to_tray();
    // Brought back by the notification-area icon.
    void restaurar();
    // The window's place in twips, as it is stored.
    QPointF posicaoTwips() const;

    // Contacts in (the list's context menu, files dropped): every contact of
    // the files, or none when one is no vCard or CSV or cannot be read.
    void importarArquivos(const QStringList &caminhos);
    // The list's context menu for the contact selected now, to be shown.
    QMenu *criarMenuContatos();
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
    void criarComandos();
    // Shows the model's state in the widgets; the details alone.
    void mostrarEstado();
    void mostrarDetalhes();
    bool teclaDeBusca(const QKeyEvent *e);
    RotuloClicavel *imagem(const char *nome);
    // Where the keyboard starts on the window.
    QWidget *ondeComeca();
    void lstContatos_Click();
    void restaurarPosicao();
    void avisar(const QStringList &avisos);
    // An editing dialog, open: a sync meanwhile waits to write the file.
    void editar(DialogoDeslizante &&dialogo);
    // The files asked for, then imported; the file asked for, then exported.
    void importar();
    void exportar();

    OpcoesPrincipal m_opcoes;
    std::unique_ptr<Avisos> m_avisosPadrao;
    Avisos *m_avisos;
    Agenda m_agenda;

    ListaSelecaoUnica *m_lstContatos = nullptr;
    QLineEdit *m_txtFone = nullptr;
    QLineEdit *m_txtMail = nullptr;
    QLabel *m_lblTotalContatos = nullptr;
    QLabel *m_lblDataHoje = nullptr;
    RotuloClicavel *m_imgAvanca = nullptr;
    RotuloClicavel *m_imgRetorna = nullptr;
    IconeBandeja *m_bandeja = nullptr;
    ComandosPrincipal *m_comandos = nullptr;
    AbasLetras *m_abas = nullptr;
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
