#pragma once

#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <functional>

class DesfazerEdicoes;
class KV_Principal;
class QAction;
class QMenu;
class RotuloClicavel;

// The main window's commands, each one QAction made once: its keys act on
// the window (with no dialog open), its picture triggers it, and the list's
// context menu shows the same action, enabled and named as it is now.
class ComandosPrincipal : public QObject {
    Q_OBJECT
public:
    ComandosPrincipal(KV_Principal &janela, DesfazerEdicoes &desfazer);

    // By objectName: "acaoDesfazer", "acaoImportar", ...
    QAction *acao(const QString &nome) const { return m_acoes.value(nome); }
    // The list's context menu for the contact selected now, to be shown.
    QMenu *criarMenu();
    // Each picture button, found by its name, triggers its command.
    void ligarImagens(const std::function<RotuloClicavel *(const char *)> &imagem);

private:
    template <typename F>
    QAction *criar(const QString &texto, const char *nome, F &&f, QList<QKeySequence> teclas = {});
    void atualizarDesfazer();

    KV_Principal &m_janela;
    DesfazerEdicoes &m_desfazer;
    QHash<QString, QAction *> m_acoes;
    QHash<QString, QAction *> m_porImagem;
};
