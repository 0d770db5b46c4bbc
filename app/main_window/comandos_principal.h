#pragma once

#include <QHash>
#include <QObject>

class DesfazerEdicoes;
class KV_Principal;
class QAction;
class QMenu;

// The main window's commands without a picture, each one QAction made once:
// its keys act on the window (with no dialog open, as the others), and the
// list's context menu shows the same action, enabled and named as it is now.
class ComandosPrincipal : public QObject {
    Q_OBJECT
public:
    ComandosPrincipal(KV_Principal &janela, DesfazerEdicoes &desfazer);

    // By objectName: "acaoDesfazer", "acaoImportar", ...
    QAction *acao(const QString &nome) const { return m_acoes.value(nome); }
    // The list's context menu for the contact selected now, to be shown.
    QMenu *criarMenu();

private:
    template <typename F> QAction *criar(const QString &texto, const char *nome, F &&f);
    void atualizarDesfazer();

    KV_Principal &m_janela;
    DesfazerEdicoes &m_desfazer;
    QHash<QString, QAction *> m_acoes;
};
