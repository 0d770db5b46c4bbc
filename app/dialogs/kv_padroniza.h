#pragma once

#include "chrome/dialogo_deslizante.h"
#include "operations/telefone_brasileiro.h"

class Avisos;
class ListaSelecaoUnica;
class ModeloPrincipal;
class QLabel;
class QRadioButton;

// "Padronizar telefones...": the style to write Brazilian numbers in, and
// under it every telephone it would change, before and after, each checked;
// " Padronizar " writes the checked ones as one change, which Ctrl+Z takes
// back. Landlines keep their 8 digits; service, foreign and unread numbers
// are not listed.
class KV_Padroniza : public DialogoDeslizante {
    Q_OBJECT
public:
    KV_Padroniza(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos);

    void lblSim_Click();
    void reject() override { lblNao_Click(); }

    ListaSelecaoUnica *lista() const { return m_lista; }
    QRadioButton *opcao(TelefoneBrasileiro::Estilo estilo) const;

private:
    void listar();

    ModeloPrincipal &m_modelo;
    Avisos &m_avisos;
    QRadioButton *m_nacional;
    QRadioButton *m_internacional;
    ListaSelecaoUnica *m_lista;
    QLabel *m_lblQuantos;
    QList<TrocaTelefone> m_propostas;
};
