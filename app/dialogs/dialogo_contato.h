#pragma once

#include "chrome/dialogo_deslizante.h"

#include <QString>

class Avisos;
class ModeloPrincipal;
class QLineEdit;
struct ResultadoEdicao;

// The add and update dialogs: three fields of at most 40 characters, focus
// on the name, Enter confirms nothing, and a click on "Nome" copies the name.
// They work on the main window's model, show their messages through the
// notices, and say by signal when they wrote the file.
class DialogoContato : public DialogoDeslizante {
    Q_OBJECT
public:
    DialogoContato(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos,
                   const LayoutDialogos::Janela &janela, ConstantesDeslizamento constantes);

    QLineEdit *txtNome() const { return m_txtNome; }
    QLineEdit *txtFone() const { return m_txtFone; }
    QLineEdit *txtMail() const { return m_txtMail; }

    virtual void lblSim_Click() = 0;
    // Clears the clipboard, then puts the name field on it as plain text.
    void lblNome_Click();

Q_SIGNALS:
    // The contact file was written.
    void gravado();

protected:
    // Shows the notices, then carries out what the operation came to.
    void concluir(const ResultadoEdicao &r);
    ModeloPrincipal &modelo() const { return m_modelo; }

    // Fields filled from the file show their whole text.
    static void preencher(QLineEdit *campo, const QString &texto);

private:
    ModeloPrincipal &m_modelo;
    Avisos &m_avisos;
    QLineEdit *m_txtNome;
    QLineEdit *m_txtFone;
    QLineEdit *m_txtMail;
};
