#pragma once

#include "chrome/dialogo_deslizante.h"
#include "operations/duplicados.h"

class Agenda;
class Avisos;
class ListaSelecaoUnica;
class QLabel;
class QListWidgetItem;

// "Duplicados...": one group of contacts that may be one person at a time,
// with why it is a group. The user picks the name, telephone and e-mail to
// keep, each from any of them, and " Juntar " merges them as one change
// Ctrl+Z takes back; or says they are not the same person, which is
// remembered. Nothing is merged by itself.
class KV_Duplicados : public DialogoDeslizante {
    Q_OBJECT
public:
    KV_Duplicados(QWidget *principal, Agenda &agenda, Avisos &avisos);

    void lblSim_Click();
    void lblDistintos_Click();
    // The group before or after the one shown.
    void mostrar(qsizetype grupo);
    void reject() override { lblNao_Click(); }

    ListaSelecaoUnica *lista() const { return m_lista; }
    qsizetype grupos() const { return m_grupos.size(); }
    // The record the choices make now.
    ContactRecord escolhido() const;

private:
    enum Campo { Nome, Telefone, Email };
    void procurar();
    void escolher(QListWidgetItem *item);
    void dizerPerdas();
    static void escrever(QLabel *rotulo, const QString &texto);

    Agenda &m_agenda;
    Avisos &m_avisos;
    ListaSelecaoUnica *m_lista;
    QLabel *m_lblGrupo;
    QLabel *m_lblPerde;
    QLabel *m_lblQuantos;
    QList<GrupoDuplicados> m_grupos;
    qsizetype m_atual = 0;
    bool m_marcando = false;
};
