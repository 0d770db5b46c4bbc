#pragma once

#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <functional>
#include <optional>

class Agenda;
class ArquivosContatos;
class DialogosPrincipal;
class IconeBandeja;
class QAction;
class QMenu;
class QUrl;
class QWidget;
class RotuloClicavel;
class VistaLista;

// The main window's commands, one table, each row one QAction made once: its
// keys act on the window (with no dialog open), its picture triggers it, and
// the list's context menu shows the same action, enabled and named as it is
// now.
class ComandosPrincipal : public QObject {
    Q_OBJECT
public:
    // When a command can act.
    enum class Quando { Sempre, Telefone, Email, Desfazer, Refazer };
    struct Comando {
        // Its objectName; a picture button's command is "acao_" and the
        // picture's name.
        const char *nome;
        const char16_t *texto;
        QList<QKeySequence> teclas;
        // Its group in the list's context menu, in order; 0: not in it.
        int grupo;
        Quando quando;
        std::function<void()> acao;
    };

    ComandosPrincipal(QWidget &janela, IconeBandeja &bandeja, Agenda &agenda,
                      DialogosPrincipal &dialogos, ArquivosContatos &arquivos, VistaLista &vista);

    // By objectName: "acaoDesfazer", "acaoImportar", ...
    QAction *acao(const QString &nome) const { return m_acoes.value(nome); }
    // The list's context menu for the contact selected now, to be shown.
    QMenu *criarMenu();
    // Each picture button, found by its name, triggers its command.
    void ligarImagens(const std::function<RotuloClicavel *(const char *)> &imagem);

private:
    std::vector<Comando> tabela();
    void atualizar();
    // The selected contact's link, opened, or the notice why not.
    void abrirLink(const std::optional<QUrl> &link, const QString &recusa);

    QWidget &m_janela;
    IconeBandeja &m_bandeja;
    Agenda &m_agenda;
    DialogosPrincipal &m_dialogos;
    ArquivosContatos &m_arquivos;
    VistaLista &m_vista;
    struct Feito {
        QAction *acao;
        int grupo;
        Quando quando;
    };
    std::vector<Feito> m_feitos;
    QHash<QString, QAction *> m_acoes;
};
