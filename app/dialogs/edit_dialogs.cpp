#include "edit_dialogs.h"

#include "clickable_label.h"
#include "editing.h"
#include "main_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <algorithm>

namespace {

// Typing and pasting stop at 40 characters, as in the original text boxes;
// a longer value from the file is shown whole and can only get shorter.
void limitarDigitacao(QLineEdit *campo)
{
    campo->setMaxLength(EdicaoContatos::TAMANHO_MAXIMO);
    QObject::connect(campo, &QLineEdit::textChanged, campo, [campo](const QString &texto) {
        const int limite = std::max<int>(EdicaoContatos::TAMANHO_MAXIMO, int(texto.size()));
        if (limite < campo->maxLength()) {
            // Setting the limit puts the cursor at the end.
            const int cursor = campo->cursorPosition();
            campo->setMaxLength(limite);
            campo->setCursorPosition(cursor);
        }
    });
}

void preencher(QLineEdit *campo, const QString &texto)
{
    campo->setMaxLength(std::max<int>(EdicaoContatos::TAMANHO_MAXIMO, int(texto.size())));
    campo->setText(texto);
    campo->setCursorPosition(0);
}

} // namespace

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
    for (QLineEdit *campo : {m_txtNome, m_txtFone, m_txtMail})
        limitarDigitacao(campo);
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
    EdicaoContatos edicao(janelaPrincipal()->modelo());
    concluir(
        edicao.atualizar(lblNomeOriginal, txtNome()->text(), txtFone()->text(), txtMail()->text()));
}

KV_ContDel::KV_ContDel(KV_Principal *principal)
    : DialogoDeslizante(principal, LayoutDialogos::ContDel, Deslizantes::ContDel),
      m_janelaPrincipal(principal)
{
    // The question is about the contact selected now.
    if (const auto r = principal->modelo().contatoSelecionado())
        m_nome = r->Nome;
    connect(controle<RotuloClicavel>(QStringLiteral("lblSim")), &RotuloClicavel::clicked, this,
            &KV_ContDel::lblSim_Click);
}

void KV_ContDel::lblSim_Click()
{
    if (m_nome.isEmpty())
        return;
    ModeloPrincipal &modelo = m_janelaPrincipal->modelo();
    const ResultadoEdicao r = EdicaoContatos(modelo).deletar(m_nome);
    if (r.desfecho == ResultadoEdicao::Desfecho::Recusado) {
        for (const QString &aviso : r.avisos)
            m_janelaPrincipal->MostrarAviso(aviso);
        return;
    }
    // Relisted, then the dialog goes at once, then the notice. After a
    // delete the details are emptied and the selection stays; after a
    // refusal because the file changed, the list shows it as it is now, with
    // the contact asked about still selected if it is there, and nothing
    // more is asked about a list the user has not seen.
    m_janelaPrincipal->mostrarEstado();
    fecharJa();
    for (const QString &aviso : r.avisos)
        m_janelaPrincipal->MostrarAviso(aviso);
    if (r.desfecho == ResultadoEdicao::Desfecho::Gravado) {
        modelo.limparDetalhes();
        m_janelaPrincipal->mostrarEstado();
    }
}
