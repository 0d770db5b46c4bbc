#include "dialogs/kv_contdel.h"

#include "chrome/rotulo_clicavel.h"
#include "dialogs/avisos.h"
#include "operations/edicao_contatos.h"

KV_ContDel::KV_ContDel(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos)
    : DialogoDeslizante(principal, LayoutDialogos::ContDel, Deslizantes::ContDel), m_modelo(modelo),
      m_avisos(avisos)
{
    if (const auto r = modelo.contatoSelecionado())
        m_nome = r->Nome;
    connect(controle<RotuloClicavel>(QStringLiteral("lblSim")), &RotuloClicavel::clicked, this,
            &KV_ContDel::lblSim_Click);
}

void KV_ContDel::lblSim_Click()
{
    if (m_nome.isEmpty())
        return;
    // The main window shows the relisted tab as soon as the operation ends.
    const ResultadoEdicao r = EdicaoContatos(m_modelo).deletar(m_nome);
    // Relisted, then the dialog goes at once, then the notice. After a
    // delete the details are emptied and the selection stays; after a
    // refusal because the file changed, the list shows it as it is now, with
    // the contact asked about still selected if it is there, and nothing
    // more is asked about a list the user has not seen.
    if (!m_avisos.depoisDoDialogo(*this, principal(), r.avisos,
                                  r.desfecho == ResultadoEdicao::Desfecho::Recusado))
        return;
    if (r.desfecho == ResultadoEdicao::Desfecho::Gravado) {
        m_modelo.limparDetalhes();
        Q_EMIT gravado();
    }
}
