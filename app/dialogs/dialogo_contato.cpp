#include "dialogs/dialogo_contato.h"

#include "chrome/rotulo_clicavel.h"
#include "dialogs/avisos.h"
#include "operations/edicao_contatos.h"

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

} // namespace

DialogoContato::DialogoContato(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos,
                               const LayoutDialogos::Janela &janela,
                               ConstantesDeslizamento constantes)
    : DialogoDeslizante(principal, janela, constantes), m_modelo(modelo), m_avisos(avisos),
      m_txtNome(controle<QLineEdit>(QStringLiteral("txtNome"))),
      m_txtFone(controle<QLineEdit>(QStringLiteral("txtFone"))),
      m_txtMail(controle<QLineEdit>(QStringLiteral("txtMail")))
{
    m_txtNome->setAccessibleName(QStringLiteral("Nome"));
    m_txtFone->setAccessibleName(QStringLiteral("Telefone"));
    m_txtMail->setAccessibleName(QStringLiteral("E-mail"));
    for (QLineEdit *campo : {m_txtNome, m_txtFone, m_txtMail})
        limitarDigitacao(campo);
    m_txtNome->setFocus();
    connect(controle<RotuloClicavel>(QStringLiteral("lblSim")), &RotuloClicavel::clicked, this,
            &DialogoContato::lblSim_Click);
    connect(controle<RotuloClicavel>(QStringLiteral("lblNome")), &RotuloClicavel::clicked, this,
            &DialogoContato::lblNome_Click);
}

void DialogoContato::preencher(QLineEdit *campo, const QString &texto)
{
    campo->setMaxLength(std::max<int>(EdicaoContatos::TAMANHO_MAXIMO, int(texto.size())));
    campo->setText(texto);
    campo->setCursorPosition(0);
}

void DialogoContato::lblNome_Click()
{
    QClipboard *c = QGuiApplication::clipboard();
    c->clear();
    c->setText(m_txtNome->text());
}

void DialogoContato::concluir(const ResultadoEdicao &r)
{
    // The caller holds the model's notices until it returns: the main window
    // shows what changed after the notices, once the dialog slides shut.
    for (const QString &aviso : r.avisos)
        m_avisos.MostrarAviso(principal(), aviso);
    if (r.limparNome)
        m_txtNome->clear();
    // Refused: the keyboard back in the field to correct, its text chosen.
    using Campo = ResultadoEdicao::Campo;
    if (QLineEdit *campo = r.campo == Campo::Nome       ? m_txtNome
                           : r.campo == Campo::Telefone ? m_txtFone
                           : r.campo == Campo::Email    ? m_txtMail
                                                        : nullptr) {
        campo->setFocus(Qt::OtherFocusReason);
        campo->selectAll();
    }
    if (r.desfecho == ResultadoEdicao::Desfecho::Gravado) {
        IniciarFechamento(Deslizamento::D_CONCLUIDO);
        Q_EMIT gravado();
    }
}
