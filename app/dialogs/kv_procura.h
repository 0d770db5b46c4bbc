#pragma once

#include "chrome/dialogo_deslizante.h"
#include "model/indice_busca.h"

class Avisos;
class ListaSelecaoUnica;
class ModeloPrincipal;
class QLabel;
class QLineEdit;

// "Procurar...": one field, and under it the contacts whose name, telephone
// or e-mail match what is typed, best first (at most MAXIMO shown, with the
// count of the rest). Up and Down move in them; Enter, a double click or
// " Mostrar " shows the one chosen in the main window as the typing find
// does (one no tab lists: its details in a notice); Escape or " Fechar "
// closes with nothing moved.
class KV_Procura : public DialogoDeslizante {
    Q_OBJECT
public:
    static constexpr qsizetype MAXIMO = 100;

    KV_Procura(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos);

    void lblSim_Click();
    void reject() override { lblNao_Click(); }

    QLineEdit *txtProcura() const { return m_txtProcura; }
    ListaSelecaoUnica *achados() const { return m_lista; }
    QLabel *lblMais() const { return m_lblMais; }

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void procurar();

    ModeloPrincipal &m_modelo;
    Avisos &m_avisos;
    QLineEdit *m_txtProcura;
    ListaSelecaoUnica *m_lista;
    QLabel *m_lblMais;
    QList<IndiceBusca::Achado> m_achados;
};
