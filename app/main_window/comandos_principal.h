#pragma once

#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <functional>
#include <optional>

class Agenda;
class QAction;
class QMenu;
class QUrl;
class QWidget;
class RotuloClicavel;

// The main window's commands, each one QAction made once: its keys act on
// the window (with no dialog open), its picture triggers it, and the list's
// context menu shows the same action, enabled and named as it is now. What
// acts on the contacts acts on the Agenda; what opens a window is the
// window's own, handed in.
class ComandosPrincipal : public QObject {
    Q_OBJECT
public:
    struct Janela {
        std::function<void()> adicionar, atualizar, deletar, fechar, minimizar, sobre, procurar,
            padronizar, duplicados, importar, sincronizacao, exportar, imprimir, versoes;
        // The focus to the contacts of the tab just chosen, so that a
        // screen reader says them.
        std::function<void()> irParaLista;
        // The notices an operation gave, shown in order.
        std::function<void(const QStringList &)> avisar;
        // A link handed to the system's own program for it; false when
        // none took it.
        std::function<bool(const QUrl &)> abrir;
    };

    ComandosPrincipal(QWidget &janela, Agenda &agenda, Janela acoes);

    // By objectName: "acaoDesfazer", "acaoImportar", ...
    QAction *acao(const QString &nome) const { return m_acoes.value(nome); }
    // The list's context menu for the contact selected now, to be shown.
    QMenu *criarMenu();
    // Each picture button, found by its name, triggers its command.
    void ligarImagens(const std::function<RotuloClicavel *(const char *)> &imagem);

private:
    QAction *criar(const QString &texto, const char *nome, std::function<void()> f,
                   QList<QKeySequence> teclas = {});
    void atualizarDesfazer();
    void atualizarContato();
    // The selected contact's link, opened, or the notice why not.
    void abrirLink(const std::optional<QUrl> &link, const QString &recusa);

    QWidget &m_janela;
    Agenda &m_agenda;
    Janela m_acoesJanela;
    QHash<QString, QAction *> m_acoes;
    QHash<QString, QAction *> m_porImagem;
};
