#include "main_window/comandos_principal.h"

#include "chrome/icone_bandeja.h"
#include "chrome/rotulo_clicavel.h"
#include "main_window/arquivos_contatos.h"
#include "main_window/dialogos_principal.h"
#include "main_window/vista_lista.h"
#include "operations/agenda.h"
#include "operations/desfazer_edicoes.h"
#include "operations/email_contato.h"
#include "operations/mensagens.h"
#include "operations/telefone_brasileiro.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QWidget>

std::vector<ComandosPrincipal::Comando> ComandosPrincipal::tabela()
{
    ModeloPrincipal &m = m_agenda.modelo();
    DialogosPrincipal &d = m_dialogos;
    const auto campo = [&m](QString ContactRecord::*c) {
        const auto contato = m.contatoSelecionado();
        return contato ? (*contato).*c : QString();
    };
    const auto aba = [this, &m](int passo) {
        m.abaVizinha(passo);
        // The focus to the contacts of the tab just chosen, so that a
        // screen reader says them.
        m_vista.ondeComeca()->setFocus(Qt::ShortcutFocusReason);
    };
    using Q = Quando;
    using K = QKeySequence;
    return {
        {"acao_imgAvanca",
         u"Página seguinte",
         {K(Qt::Key_PageDown)},
         0,
         Q::Sempre,
         [&m] { m.avancarPagina(); }},
        {"acao_imgRetorna",
         u"Página anterior",
         {K(Qt::Key_PageUp)},
         0,
         Q::Sempre,
         [&m] { m.retornarPagina(); }},
        {"acaoAbaSeguinte",
         u"Aba seguinte",
         {K(Qt::CTRL | Qt::Key_PageDown)},
         0,
         Q::Sempre,
         [aba] { aba(1); }},
        {"acaoAbaAnterior",
         u"Aba anterior",
         {K(Qt::CTRL | Qt::Key_PageUp)},
         0,
         Q::Sempre,
         [aba] { aba(-1); }},
        {"acao_imgRefresh",
         u"Ler de novo",
         {K(Qt::Key_F5)},
         0,
         Q::Sempre,
         [this] { m_dialogos.avisar(m_agenda.reler()); }},
        {"acao_imgAdiciona",
         u"Adicionar",
         {K(Qt::Key_Insert), K(Qt::CTRL | Qt::Key_N)},
         0,
         Q::Sempre,
         [&d] { d.adicionar(); }},
        {"acao_imgAtualiza",
         u"Atualizar",
         {K(Qt::Key_F2), K(Qt::Key_Return), K(Qt::Key_Enter),
          K(Qt::KeypadModifier | Qt::Key_Enter)},
         0,
         Q::Sempre,
         [&d] { d.atualizar(); }},
        {"acao_imgDeleta", u"Deletar", {K(Qt::Key_Delete)}, 0, Q::Sempre, [&d] { d.deletar(); }},
        {"acao_imgFecha",
         u"Fechar",
         {K(Qt::ALT | Qt::Key_F4), K(Qt::CTRL | Qt::Key_Q)},
         0,
         Q::Sempre,
         [this] { m_janela.close(); }},
        {"acao_imgMinimiza",
         u"Minimizar",
         {K(Qt::CTRL | Qt::Key_M)},
         0,
         Q::Sempre,
         [this] { m_bandeja.esconder(m_janela); }},
        {"acao_imgAbout", u"Sobre", {K(Qt::Key_F1)}, 0, Q::Sempre, [&d] { d.sobre(); }},
        {"acaoDesfazer",
         u"Desfazer",
         {K(Qt::CTRL | Qt::Key_Z)},
         1,
         Q::Desfazer,
         [this] { m_dialogos.avisar(m_agenda.desfazer()); }},
        {"acaoRefazer",
         u"Refazer",
         {K(Qt::CTRL | Qt::Key_Y), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
         1,
         Q::Refazer,
         [this] { m_dialogos.avisar(m_agenda.refazer()); }},
        {"acaoProcurar",
         u"Procurar...",
         {K(Qt::CTRL | Qt::Key_F)},
         2,
         Q::Sempre,
         [&d] { d.procurar(); }},
        {"acaoPadronizar", u"Padronizar telefones...", {}, 2, Q::Sempre, [&d] { d.padronizar(); }},
        {"acaoDuplicados",
         u"Duplicados...",
         {K(Qt::CTRL | Qt::SHIFT | Qt::Key_D)},
         2,
         Q::Sempre,
         [&d] { d.duplicados(); }},
        {"acaoImportar",
         u"Importar contatos...",
         {},
         3,
         Q::Sempre,
         [this] { m_arquivos.importar(); }},
        {"acaoSincronizacao", u"Sincronização...", {}, 3, Q::Sempre, [&d] { d.sincronizacao(); }},
        {"acaoExportar",
         u"Exportar contatos...",
         {},
         3,
         Q::Sempre,
         [this] { m_arquivos.exportar(); }},
        {"acaoImprimir",
         u"Lista para imprimir...",
         {K(Qt::CTRL | Qt::Key_P)},
         3,
         Q::Sempre,
         [&d] { d.imprimir(); }},
        {"acaoVersoes", u"Versões anteriores...", {}, 3, Q::Sempre, [&d] { d.versoes(); }},
        {"acaoLigar",
         u"Ligar",
         {K(Qt::CTRL | Qt::SHIFT | Qt::Key_L)},
         4,
         Q::Telefone,
         [this, campo] {
             abrirLink(TelefoneBrasileiro::ligar(campo(&ContactRecord::Telefone)),
                       Mensagens::NAO_DISCAVEL);
         }},
        {"acaoWhatsApp",
         u"WhatsApp",
         {K(Qt::CTRL | Qt::SHIFT | Qt::Key_W)},
         4,
         Q::Telefone,
         [this, campo] {
             // A number written in no Brazilian way lacks its country's code.
             const QString t = campo(&ContactRecord::Telefone);
             abrirLink(TelefoneBrasileiro::whatsapp(t),
                       TelefoneBrasileiro::ler(t).tipo == TelefoneBrasileiro::Tipo::Outro
                           ? Mensagens::SEM_PAIS_WHATSAPP
                           : Mensagens::SEM_WHATSAPP);
         }},
        {"acaoEnviarEmail",
         u"Enviar e-mail",
         {K(Qt::CTRL | Qt::SHIFT | Qt::Key_E)},
         4,
         Q::Email,
         [this, campo] {
             abrirLink(EmailContato::escrever(campo(&ContactRecord::Email)),
                       Mensagens::EMAIL_INVALIDO);
         }},
        {"acaoCopiarTelefone",
         u"Copiar telefone",
         {},
         5,
         Q::Telefone,
         [campo] { QGuiApplication::clipboard()->setText(campo(&ContactRecord::Telefone)); }},
        {"acaoCopiarEmail",
         u"Copiar e-mail",
         {},
         5,
         Q::Email,
         [campo] { QGuiApplication::clipboard()->setText(campo(&ContactRecord::Email)); }},
    };
}

ComandosPrincipal::ComandosPrincipal(QWidget &janela, IconeBandeja &bandeja, Agenda &agenda,
                                     DialogosPrincipal &dialogos, ArquivosContatos &arquivos,
                                     VistaLista &vista)
    : QObject(&janela), m_janela(janela), m_bandeja(bandeja), m_agenda(agenda),
      m_dialogos(dialogos), m_arquivos(arquivos), m_vista(vista)
{
    for (Comando &c : tabela()) {
        auto *a = new QAction(QString::fromUtf16(c.texto), &janela);
        a->setObjectName(QLatin1String(c.nome));
        a->setShortcuts(c.teclas);
        connect(a, &QAction::triggered, this, [f = std::move(c.acao)] { f(); });
        // The keys work whether or not the menu has ever been shown.
        janela.addAction(a);
        m_acoes.insert(a->objectName(), a);
        m_feitos.push_back({a, c.grupo, c.quando});
    }
    connect(&m_agenda.edicoes(), &DesfazerEdicoes::mudou, this, &ComandosPrincipal::atualizar);
    // Keys act only where the selected contact has the field.
    connect(&agenda.modelo(), &ModeloPrincipal::mudou, this, &ComandosPrincipal::atualizar);
    connect(&agenda.modelo(), &ModeloPrincipal::detalhesMudaram, this,
            &ComandosPrincipal::atualizar);
    atualizar();
}

void ComandosPrincipal::ligarImagens(const std::function<RotuloClicavel *(const char *)> &imagem)
{
    const QString prefixo = QStringLiteral("acao_");
    for (const Feito &f : m_feitos) {
        if (!f.acao->objectName().startsWith(prefixo))
            continue;
        RotuloClicavel *r = imagem(f.acao->objectName().mid(prefixo.size()).toLatin1().constData());
        r->ligar(f.acao);
        // Reached with Tab; a click leaves the focus in the list.
        r->usarTeclado(Qt::TabFocus);
    }
}

void ComandosPrincipal::abrirLink(const std::optional<QUrl> &link, const QString &recusa)
{
    if (!m_agenda.modelo().contatoSelecionado())
        return;
    if (!link)
        m_dialogos.avisar({recusa});
    else if (!m_dialogos.abrir(*link))
        m_dialogos.avisar({Mensagens::NADA_ABRE});
}

void ComandosPrincipal::atualizar()
{
    const DesfazerEdicoes &e = m_agenda.edicoes();
    const auto contato = m_agenda.modelo().contatoSelecionado();
    for (const Feito &f : m_feitos) {
        switch (f.quando) {
        case Quando::Sempre:
            break;
        case Quando::Telefone:
            f.acao->setEnabled(contato && !contato->Telefone.isEmpty());
            break;
        case Quando::Email:
            f.acao->setEnabled(contato && !contato->Email.isEmpty());
            break;
        case Quando::Desfazer:
            f.acao->setText(e.textoDesfazer());
            f.acao->setEnabled(e.podeDesfazer());
            break;
        case Quando::Refazer:
            f.acao->setText(e.textoRefazer());
            f.acao->setEnabled(e.podeRefazer());
            break;
        }
    }
}

QMenu *ComandosPrincipal::criarMenu()
{
    atualizar();
    auto *menu = new QMenu(&m_janela);
    menu->setObjectName(QStringLiteral("menuContatos"));
    menu->setAccessibleName(QStringLiteral("Contatos"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    int grupo = 0;
    for (const Feito &f : m_feitos) {
        if (f.grupo == 0)
            continue;
        if (grupo != 0 && f.grupo != grupo)
            menu->addSeparator();
        grupo = f.grupo;
        menu->addAction(f.acao);
    }
    return menu;
}
