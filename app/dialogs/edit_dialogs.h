#pragma once

#include "sliding_dialog.h"

#include <QString>

class KV_Principal;
class QLineEdit;
struct ResultadoEdicao;

// The add and update dialogs: three fields of at most 40 characters, focus
// on the name, Enter confirms nothing, and a click on "Nome" copies the name.
class DialogoContato : public DialogoDeslizante {
    Q_OBJECT
public:
    DialogoContato(KV_Principal *principal, const LayoutDialogos::Janela &janela,
                   ConstantesDeslizamento constantes);

    QLineEdit *txtNome() const { return m_txtNome; }
    QLineEdit *txtFone() const { return m_txtFone; }
    QLineEdit *txtMail() const { return m_txtMail; }

    virtual void lblSim_Click() = 0;
    // Clears the clipboard, then puts the name field on it as plain text.
    void lblNome_Click();

protected:
    // Shows the notices, then carries out what the operation came to.
    void concluir(const ResultadoEdicao &r);
    KV_Principal *janelaPrincipal() const { return m_janelaPrincipal; }

private:
    KV_Principal *m_janelaPrincipal;
    QLineEdit *m_txtNome;
    QLineEdit *m_txtFone;
    QLineEdit *m_txtMail;
};

class KV_Adiciona : public DialogoContato {
    Q_OBJECT
public:
    explicit KV_Adiciona(KV_Principal *principal);
    void lblSim_Click() override;
};

class KV_Atualiza : public DialogoContato {
    Q_OBJECT
public:
    explicit KV_Atualiza(KV_Principal *principal);
    void lblSim_Click() override;

    // The contact's name as it was when the dialog opened.
    QString lblNomeOriginal;
};

class KV_ContDel : public DialogoDeslizante {
    Q_OBJECT
public:
    explicit KV_ContDel(KV_Principal *principal);
    void lblSim_Click();

private:
    KV_Principal *m_janelaPrincipal;
    // The name of the contact asked about, taken when the dialog opens.
    QString m_nome;
};
