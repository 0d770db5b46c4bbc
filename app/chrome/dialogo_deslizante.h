#pragma once

#include "chrome/deslizamento.h"
#include "layouts/layout_dialogos.h"

#include <QDialog>
#include <QHash>

class QTimer;

// A borderless modal window that unrolls over the main window's list and
// rolls down again when closed; created for each opening and discarded
// after it.
class DialogoDeslizante : public QDialog {
    Q_OBJECT
public:
    DialogoDeslizante(QWidget *principal, const LayoutDialogos::Janela &janela,
                      ConstantesDeslizamento constantes);

    // Placed at the main window's left + 245 twips, shown modally, slid
    // open; returns once the dialog has been hidden.
    int abrir();
    // Starts rolling down; at the end the dialog is hidden.
    void IniciarFechamento(int D);
    // Hides the dialog at once, without sliding.
    void fecharJa();

    QWidget *controle(const QString &nome) const { return m_controles.value(nome); }
    template <typename W> W *controle(const QString &nome) const
    {
        return qobject_cast<W *>(controle(nome));
    }
    const Deslizamento &deslizamento() const { return m_deslizamento; }
    // The current top and height in twips, as the slide set them.
    double topoTwips() const { return m_topo; }
    int alturaTwips() const { return m_altura; }

    void lblNao_Click() { IniciarFechamento(Deslizamento::D_FECHAR); }
    // The timers' ticks, public so that tests can step them.
    void Timer1_Timer();
    void Timer2_Timer();

    // No key closes these windows; only their labels do.
    void reject() override {}

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    QWidget *principal() const { return m_principal; }

private:
    double T() const;
    void aplicar(double top, int altura);

    QWidget *m_principal;
    const LayoutDialogos::Janela &m_janela;
    QHash<QString, QWidget *> m_controles;
    Deslizamento m_deslizamento;
    QTimer *m_timer1;
    QTimer *m_timer2;
    double m_topo = 0;
    int m_altura = 0;
    int m_reaplicada = 0; // times the height was set again since the last tick
};
