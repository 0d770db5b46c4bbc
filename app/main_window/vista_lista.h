#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <functional>

class AbasLetras;
class ListaSelecaoUnica;
class ModeloPrincipal;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPixmap;
class QWidget;
class RotuloClicavel;

// The main window's contacts as the model has them: the page's names, the
// selected one's telephone and e-mail, the total, the date, the page arrows
// and the tab shown. It keeps the keyboard where the user is when a control
// goes away, finds a contact by what is typed on any of them, and opens the
// list's menu on a right click over it, enabled or not.
class VistaLista : public QObject {
    Q_OBJECT
public:
    VistaLista(QWidget &janela, const QHash<QString, QWidget *> &controles, ModeloPrincipal &modelo,
               std::function<QMenu *()> menu);

    // Where the keyboard starts on the window: the list, or the tab shown
    // when it has no contacts to go through.
    QWidget *ondeComeca() const;
    // The list's tiled background; a null picture leaves its plain colours.
    void definirFundo(const QPixmap &padrao);

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void mostrarEstado();
    void mostrarDetalhes();
    bool teclaDeBusca(const QKeyEvent *e);

    QWidget &m_janela;
    ModeloPrincipal &m_modelo;
    std::function<QMenu *()> m_menu;
    ListaSelecaoUnica *m_lista;
    QLineEdit *m_fone, *m_mail;
    QLabel *m_total, *m_data;
    RotuloClicavel *m_avanca, *m_retorna;
    AbasLetras *m_abas;
    bool m_renderizando = false;
    QElapsedTimer m_relogio;
};
