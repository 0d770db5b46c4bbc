#pragma once

#include <QStringList>

class Agenda;
class Avisos;
class DialogoDeslizante;
class QUrl;
class QWidget;
struct OpcoesPrincipal;

// The windows the main window opens over itself, and the notices it shows.
// An editing dialog, while it is open, holds a sync's write of the file.
class DialogosPrincipal {
public:
    DialogosPrincipal(QWidget &janela, Agenda &agenda, Avisos &avisos,
                      const OpcoesPrincipal &opcoes);

    void adicionar();
    // The selected contact's, or the notice to select one.
    void atualizar();
    void deletar();
    void procurar();
    void padronizar();
    void duplicados();
    void versoes();
    void sincronizacao();
    void imprimir();
    void sobre();

    // Each notice in turn.
    void avisar(const QStringList &avisos);
    // A link handed to the system's own program for it; false when none
    // took it.
    bool abrir(const QUrl &link) const;

private:
    void editar(DialogoDeslizante &&dialogo);

    QWidget &m_janela;
    Agenda &m_agenda;
    Avisos &m_avisos;
    const OpcoesPrincipal &m_opcoes;
};
