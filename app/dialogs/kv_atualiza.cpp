#include "dialogs/kv_atualiza.h"

#include "operations/edicao_contatos.h"

#include <QLineEdit>

KV_Atualiza::KV_Atualiza(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos)
    : DialogoContato(principal, modelo, avisos, LayoutDialogos::Atualiza, Deslizantes::Atualiza)
{
    // Form_Load: the fields from the selected contact.
    if (const auto r = modelo.contatoSelecionado()) {
        preencher(txtNome(), r->Nome);
        preencher(txtFone(), r->Telefone);
        preencher(txtMail(), r->Email);
        lblNomeOriginal = r->Nome;
    }
}

void KV_Atualiza::lblSim_Click()
{
    // Opened without a contact: nothing to update.
    if (lblNomeOriginal.isEmpty())
        return;
    const ModeloPrincipal::Lote lote(modelo());
    EdicaoContatos edicao(modelo());
    concluir(
        edicao.atualizar(lblNomeOriginal, txtNome()->text(), txtFone()->text(), txtMail()->text()));
}
