#include "dialogs/kv_adiciona.h"

#include "operations/edicao_contatos.h"

#include <QLineEdit>

KV_Adiciona::KV_Adiciona(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos)
    : DialogoContato(principal, modelo, avisos, LayoutDialogos::Adiciona, Deslizantes::Adiciona)
{
}

void KV_Adiciona::lblSim_Click()
{
    const ModeloPrincipal::Lote lote(modelo());
    EdicaoContatos edicao(modelo());
    concluir(edicao.adicionar(txtNome()->text(), txtFone()->text(), txtMail()->text()));
}
