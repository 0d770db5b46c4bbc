#pragma once

#include "chrome/dialogo_deslizante.h"

class ContaSincronizacao;
class QLabel;
class QLineEdit;
class RotuloClicavel;

// "Sincronização...": the address book's address, user and password, and
// "Conectar"; once connected, the book's name and the last sync, with
// "Sincronizar agora" and "Desconectar". Works from the keyboard: Tab moves,
// Enter in a field connects, Space or Enter presses a button, Escape closes.
class KV_Sincroniza : public DialogoDeslizante {
    Q_OBJECT
public:
    KV_Sincroniza(QWidget *principal, ContaSincronizacao &conta);

    // "Conectar" or "Desconectar".
    void lblSim_Click();
    void lblAgora_Click();
    void reject() override { lblNao_Click(); }

    QLineEdit *txtEndereco() const { return m_txtEndereco; }
    QLineEdit *txtUsuario() const { return m_txtUsuario; }
    QLineEdit *txtSenha() const { return m_txtSenha; }

private:
    // Shows the account as it is now.
    void mostrar();

    ContaSincronizacao &m_conta;
    QLineEdit *m_txtEndereco;
    QLineEdit *m_txtUsuario;
    QLineEdit *m_txtSenha;
    QLineEdit *m_txtLivro;
    QLabel *m_lblEstado;
    QLabel *m_lblDicaSenha;
    QLabel *m_lblMemoria;
    RotuloClicavel *m_lblSim;
    RotuloClicavel *m_lblAgora;
    RotuloClicavel *m_lblNao;
    bool m_eraConectado = false;
};
