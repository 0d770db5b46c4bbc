#include "edit_dialogs.h"

#include "clickable_label.h"
#include "editing.h"
#include "main_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

DialogoContato::DialogoContato(KV_Principal *principal, const LayoutDialogos::Janela &janela,
                               ConstantesDeslizamento constantes)
    : DialogoDeslizante(principal, janela, constantes), m_janelaPrincipal(principal),
      m_txtNome(controle<QLineEdit>(QStringLiteral("txtNome"))),
      m_txtFone(controle<QLineEdit>(QStringLiteral("txtFone"))),
      m_txtMail(controle<QLineEdit>(QStringLiteral("txtMail")))
{
    m_txtNome->setAccessibleName(QStringLiteral("Nome"));
    m_txtFone->setAccessibleName(QStringLiteral("Telefone"));
    m_txtMail->setAccessibleName(QStringLiteral("E-mail"));
    setTabOrder(m_txtNome, m_txtFone);
    setTabOrder(m_txtFone, m_txtMail);
    m_txtNome->setFocus();
    connect(controle<RotuloClicavel>(QStringLiteral("lblSim")), &RotuloClicavel::clicked, this,
            &DialogoContato::lblSim_Click);
    connect(controle<RotuloClicavel>(QStringLiteral("lblNome")), &RotuloClicavel::clicked, this,
            &DialogoContato::lblNome_Click);
}

void DialogoContato::lblNome_Click()
{
    QClipboard *c = QGuiApplication::clipboard();
    c->clear();
    c->setText(m_txtNome->text());
}

void DialogoContato::concluir(const ResultadoEdicao &r)
{
    for (const QString &aviso : r.avisos)
        m_janelaPrincipal->MostrarAviso(aviso);
    if (r.limparNome)
        m_txtNome->clear();
    if (r.desfecho == ResultadoEdicao::Desfecho::Gravado)
        IniciarFechamento(Deslizamento::D_CONCLUIDO);
    if (r.desfecho != ResultadoEdicao::Desfecho::Recusado)
        m_janelaPrincipal->mostrarEstado();
}

KV_Adiciona::KV_Adiciona(KV_Principal *principal)
    : DialogoContato(principal, LayoutDialogos::Adiciona, Deslizantes::Adiciona)
{
}

void KV_Adiciona::lblSim_Click()
{
    EdicaoContatos edicao(janelaPrincipal()->modelo());
    concluir(edicao.adicionar(txtNome()->text(), txtFone()->text(), txtMail()->text()));
}

KV_Atualiza::KV_Atualiza(KV_Principal *principal)
    : DialogoContato(principal, LayoutDialogos::Atualiza, Deslizantes::Atualiza)
{
    // Form_Load: the fields from the selected contact.
    if (const auto r = principal->modelo().contatoSelecionado()) {
        txtNome()->setText(r->Nome);
        txtFone()->setText(r->Telefone);
        txtMail()->setText(r->Email);
        lblNomeOriginal = r->Nome;
    }
}

void KV_Atualiza::lblSim_Click()
{
    if (!janelaPrincipal()->modelo().contatoSelecionado())
        return;
    EdicaoContatos edicao(janelaPrincipal()->modelo());
    concluir(
        edicao.atualizar(lblNomeOriginal, txtNome()->text(), txtFone()->text(), txtMail()->text()));
}

KV_ContDel::KV_ContDel(KV_Principal *principal)
    : DialogoDeslizante(principal, LayoutDialogos::ContDel, Deslizantes::ContDel),
      m_janelaPrincipal(principal)
{
    connect(controle<RotuloClicavel>(QStringLiteral("lblSim")), &RotuloClicavel::clicked, this,
            &KV_ContDel::lblSim_Click);
}

void KV_ContDel::lblSim_Click()
{
    ModeloPrincipal &modelo = m_janelaPrincipal->modelo();
    const auto selecionado = modelo.contatoSelecionado();
    if (!selecionado)
        return;
    const QString nome = selecionado->Nome;
    const ResultadoEdicao r = EdicaoContatos(modelo).deletar(nome);
    if (r.desfecho != ResultadoEdicao::Desfecho::Gravado) {
        for (const QString &aviso : r.avisos)
            m_janelaPrincipal->MostrarAviso(aviso);
        if (r.desfecho == ResultadoEdicao::Desfecho::Relistado)
            m_janelaPrincipal->mostrarEstado();
        return;
    }
    // Relisted, then the dialog goes at once, then the notice, then the
    // details are emptied; the selection stays.
    m_janelaPrincipal->mostrarEstado();
    fecharJa();
    for (const QString &aviso : r.avisos)
        m_janelaPrincipal->MostrarAviso(aviso);
    modelo.limparDetalhes();
    m_janelaPrincipal->mostrarEstado();
}
