#include "dialogs/kv_sincroniza.h"

#include "chrome/rotulo_clicavel.h"
#include "layouts/twips.h"
#include "operations/conta_sincronizacao.h"

#include <QLabel>
#include <QLineEdit>

namespace {

// "Desconectar" is wider than "Conectar"; in twips.
struct Lugar {
    int left, width;
};
constexpr Lugar CONECTAR{360, 860}, DESCONECTAR{120, 1100};
constexpr int TOPO_BOTAO = 1635, ALTURA_BOTAO = 555, TOPO_FACE = 1560, ALTURA_FACE = 795;

void colocar(QWidget *botao, QWidget *face, Lugar l)
{
    botao->setGeometry(Twips::rect(l.left, TOPO_BOTAO, l.width, ALTURA_BOTAO));
    face->setGeometry(Twips::rect(l.left, TOPO_FACE, l.width, ALTURA_FACE));
}

} // namespace

KV_Sincroniza::KV_Sincroniza(QWidget *principal, ContaSincronizacao &conta)
    : DialogoDeslizante(principal, LayoutDialogos::Sincroniza, Deslizantes::Sincroniza),
      m_conta(conta), m_txtEndereco(controle<QLineEdit>(QStringLiteral("txtEndereco"))),
      m_txtUsuario(controle<QLineEdit>(QStringLiteral("txtUsuario"))),
      m_txtSenha(controle<QLineEdit>(QStringLiteral("txtSenha"))),
      m_txtLivro(controle<QLineEdit>(QStringLiteral("txtLivro"))),
      m_lblEstado(controle<QLabel>(QStringLiteral("lblEstado"))),
      m_lblDicaSenha(controle<QLabel>(QStringLiteral("lblDicaSenha"))),
      m_lblMemoria(controle<QLabel>(QStringLiteral("lblMemoria"))),
      m_lblSim(controle<RotuloClicavel>(QStringLiteral("lblSim"))),
      m_lblAgora(controle<RotuloClicavel>(QStringLiteral("lblAgora"))),
      m_lblNao(controle<RotuloClicavel>(QStringLiteral("lblNao")))
{
    m_txtEndereco->setAccessibleName(QStringLiteral("Endereço"));
    m_txtUsuario->setAccessibleName(QStringLiteral("Usuário"));
    m_txtSenha->setAccessibleName(QStringLiteral("Senha"));
    m_txtLivro->setAccessibleName(QStringLiteral("Catálogo"));
    // Addresses and passwords are not held to the contacts' 40 characters.
    m_txtEndereco->setMaxLength(2048);
    m_txtUsuario->setMaxLength(2048);
    m_txtSenha->setMaxLength(1024);
    m_txtSenha->setEchoMode(QLineEdit::Password);
    m_txtEndereco->setPlaceholderText(QStringLiteral("https://"));
    m_txtLivro->setReadOnly(true);
    for (QLineEdit *campo : {m_txtEndereco, m_txtUsuario, m_txtSenha})
        connect(campo, &QLineEdit::returnPressed, this, [this] {
            if (!m_conta.conectado())
                lblSim_Click();
        });
    connect(m_lblSim, &RotuloClicavel::clicked, this, &KV_Sincroniza::lblSim_Click);
    connect(m_lblAgora, &RotuloClicavel::clicked, this, &KV_Sincroniza::lblAgora_Click);
    connect(&m_conta, &ContaSincronizacao::mudou, this, &KV_Sincroniza::mostrar);
    m_txtEndereco->setText(m_conta.endereco());
    m_txtUsuario->setText(m_conta.usuario());
    mostrar();
    (m_conta.conectado()               ? static_cast<QWidget *>(m_lblAgora)
     : m_txtEndereco->text().isEmpty() ? static_cast<QWidget *>(m_txtEndereco)
                                       : static_cast<QWidget *>(m_txtSenha))
        ->setFocus();
}

void KV_Sincroniza::mostrar()
{
    const bool conectado = m_conta.conectado();
    const bool conectando = m_conta.conectando();
    for (const char *nome : {"txtEndereco", "txtUsuario", "txtSenha", "lblEndereco", "lblUsuario",
                             "lblSenha", "lblDicaSenha", "Shape3"})
        controle(QLatin1String(nome))->setVisible(!conectado);
    for (const char *nome :
         {"txtLivro", "lblLivro", "lblUltima", "lblEstado", "lblMemoria", "lblAgora"})
        controle(QLatin1String(nome))->setVisible(conectado);
    for (QLineEdit *campo : {m_txtEndereco, m_txtUsuario, m_txtSenha})
        campo->setReadOnly(conectado || conectando);
    if (conectado)
        m_txtSenha->clear();
    m_txtLivro->setText(m_conta.livro());
    m_txtLivro->setCursorPosition(0);
    m_txtLivro->setToolTip(m_conta.endereco());
    m_lblEstado->setText(m_conta.ultima().isEmpty() ? QStringLiteral("Ainda não sincronizado.")
                                                    : m_conta.ultima());
    m_lblMemoria->setText(m_conta.senhaSoNaMemoria() ? QStringLiteral("Senha só na memória.")
                                                     : QString());
    m_lblDicaSenha->setText(m_conta.faltaSenha() ? QStringLiteral("(digite de novo)") : QString());
    const QString sim = conectado    ? QStringLiteral(" Desconectar ")
                        : conectando ? QStringLiteral(" Conectando... ")
                                     : QStringLiteral(" Conectar ");
    m_lblSim->setText(sim);
    m_lblSim->setToolTip(sim);
    m_lblSim->setAccessibleName(sim.trimmed());
    m_lblSim->setEnabled(!conectando);
    colocar(m_lblSim, controle(QStringLiteral("shpSim")), conectado ? DESCONECTAR : CONECTAR);
    if (!m_lblSim->isEnabled() && m_lblSim->hasFocus())
        m_lblNao->setFocus();
    // Just connected: the next thing one may want.
    if (conectado && !std::exchange(m_eraConectado, true))
        m_lblAgora->setFocus();
    m_eraConectado = conectado;
}

void KV_Sincroniza::lblSim_Click()
{
    if (m_conta.conectando())
        return;
    if (m_conta.conectado()) {
        m_conta.desconectar();
        m_txtSenha->setFocus();
        return;
    }
    m_conta.conectar(m_txtEndereco->text(), m_txtUsuario->text(), m_txtSenha->text());
}

void KV_Sincroniza::lblAgora_Click()
{
    if (m_conta.conectado())
        m_conta.sincronizarAgora();
}
