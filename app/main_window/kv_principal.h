#pragma once

#include "main_window/opcoes_principal.h"
#include "operations/agenda.h"

#include <QWidget>
#include <memory>

class ArquivosContatos;
class Avisos;
class ComandosPrincipal;
class DialogosPrincipal;
class IconeBandeja;
class PosicaoJanela;
class RotuloClicavel;
class VistaLista;

// The main window: the skinned, frameless, rounded window that holds the
// list's view, the commands, the dialogs it opens and the files that come
// in and go out; it hides into the notification area and opens where it was
// closed.
class KV_Principal : public QWidget {
    Q_OBJECT
public:
    explicit KV_Principal(OpcoesPrincipal opcoes = {});
    ~KV_Principal() override;

    ModeloPrincipal &modelo() { return m_agenda.modelo(); }
    ContaSincronizacao &sincronizacao() const { return m_agenda.sincronizacao(); }
    IconeBandeja *bandeja() const { return m_bandeja; }
    DialogosPrincipal &dialogos() const { return *m_dialogos; }
    ArquivosContatos &arquivos() const { return *m_arquivos; }
    ComandosPrincipal &comandos() const { return *m_comandos; }
    VistaLista &vista() const { return *m_vista; }
    void MostrarAviso(const QString &texto);

    // Hides the window into the notification area; where there is none, it
    // is minimised as usual instead, so that it can always come back.
    void minimize_to_tray();
    // Brought back by the notification-area icon.
    void restaurar();
    // The window's place in twips, as it is stored.
    QPointF posicaoTwips() const;

protected:
    void paintEvent(QPaintEvent *e) override;
    // Form_QueryUnload and Form_Unload: the place saved, the icon removed.
    void closeEvent(QCloseEvent *e) override;

private:
    RotuloClicavel *imagem(const char *nome);

    OpcoesPrincipal m_opcoes;
    std::unique_ptr<Avisos> m_avisosPadrao;
    Avisos *m_avisos;
    Agenda m_agenda;
    std::unique_ptr<PosicaoJanela> m_posicao;
    std::unique_ptr<DialogosPrincipal> m_dialogos;
    IconeBandeja *m_bandeja = nullptr;
    VistaLista *m_vista = nullptr;
    ArquivosContatos *m_arquivos = nullptr;
    ComandosPrincipal *m_comandos = nullptr;
};
