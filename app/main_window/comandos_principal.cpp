#include "main_window/comandos_principal.h"

#include "chrome/rotulo_clicavel.h"
#include "operations/agenda.h"
#include "operations/desfazer_edicoes.h"
#include "operations/email_contato.h"
#include "operations/mensagens.h"
#include "operations/telefone_brasileiro.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

ComandosPrincipal::ComandosPrincipal(QWidget &janela, Agenda &agenda, Janela j)
    : QObject(&janela), m_janela(janela), m_agenda(agenda), m_acoesJanela(j)
{
    ModeloPrincipal &modelo = agenda.modelo();
    // The picture buttons' commands, by their pictures' names.
    struct Comando {
        const char *imagem;
        const char16_t *texto;
        std::function<void()> acao;
        QList<QKeySequence> teclas;
    };
    const Comando comandos[] = {
        {"imgAvanca",
         u"Página seguinte",
         [&modelo] { modelo.avancarPagina(); },
         {Qt::Key_PageDown}},
        {"imgRetorna",
         u"Página anterior",
         [&modelo] { modelo.retornarPagina(); },
         {Qt::Key_PageUp}},
        {"imgRefresh", u"Ler de novo", [this, j] { j.avisar(m_agenda.reler()); }, {Qt::Key_F5}},
        {"imgAdiciona", u"Adicionar", j.adicionar, {Qt::Key_Insert, Qt::CTRL | Qt::Key_N}},
        {"imgAtualiza",
         u"Atualizar",
         j.atualizar,
         {Qt::Key_F2, Qt::Key_Return, Qt::Key_Enter, Qt::KeypadModifier | Qt::Key_Enter}},
        {"imgDeleta", u"Deletar", j.deletar, {Qt::Key_Delete}},
        {"imgFecha", u"Fechar", j.fechar, {Qt::ALT | Qt::Key_F4, Qt::CTRL | Qt::Key_Q}},
        {"imgMinimiza", u"Minimizar", j.minimizar, {Qt::CTRL | Qt::Key_M}},
        {"imgAbout", u"Sobre", j.sobre, {Qt::Key_F1}},
    };
    for (const Comando &c : comandos) {
        const QByteArray nome = QByteArray("acao_") + c.imagem;
        m_porImagem.insert(QLatin1String(c.imagem),
                           criar(QString::fromUtf16(c.texto), nome.constData(), c.acao, c.teclas));
    }
    for (const int passo : {1, -1}) {
        criar(passo > 0 ? QStringLiteral("Aba seguinte") : QStringLiteral("Aba anterior"),
              passo > 0 ? "acaoAbaSeguinte" : "acaoAbaAnterior",
              [&modelo, j, passo] {
                  modelo.abaVizinha(passo);
                  j.irParaLista();
              },
              {passo > 0 ? Qt::CTRL | Qt::Key_PageDown : Qt::CTRL | Qt::Key_PageUp});
    }
    criar(QStringLiteral("Desfazer"), "acaoDesfazer", [this, j] { j.avisar(m_agenda.desfazer()); },
          {Qt::CTRL | Qt::Key_Z});
    criar(QStringLiteral("Refazer"), "acaoRefazer", [this, j] { j.avisar(m_agenda.refazer()); },
          {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z});
    criar(QStringLiteral("Procurar..."), "acaoProcurar", j.procurar, {Qt::CTRL | Qt::Key_F});
    criar(QStringLiteral("Padronizar telefones..."), "acaoPadronizar", j.padronizar);
    criar(QStringLiteral("Duplicados..."), "acaoDuplicados", j.duplicados,
          {Qt::CTRL | Qt::SHIFT | Qt::Key_D});
    criar(QStringLiteral("Importar contatos..."), "acaoImportar", j.importar);
    criar(QStringLiteral("Sincronização..."), "acaoSincronizacao", j.sincronizacao);
    criar(QStringLiteral("Exportar contatos..."), "acaoExportar", j.exportar);
    criar(QStringLiteral("Lista para imprimir..."), "acaoImprimir", j.imprimir,
          {Qt::CTRL | Qt::Key_P});
    criar(QStringLiteral("Versões anteriores..."), "acaoVersoes", j.versoes);
    const auto copiar = [&modelo](QString ContactRecord::*campo) {
        if (const auto c = modelo.contatoSelecionado())
            QGuiApplication::clipboard()->setText((*c).*campo);
    };
    const auto selecionado = [&modelo](QString ContactRecord::*campo) {
        const auto c = modelo.contatoSelecionado();
        return c ? (*c).*campo : QString();
    };
    criar(QStringLiteral("Ligar"), "acaoLigar",
          [this, selecionado] {
              abrirLink(TelefoneBrasileiro::ligar(selecionado(&ContactRecord::Telefone)),
                        Mensagens::NAO_DISCAVEL);
          },
          {Qt::CTRL | Qt::SHIFT | Qt::Key_L});
    criar(QStringLiteral("WhatsApp"), "acaoWhatsApp",
          [this, selecionado] {
              // A number written in no Brazilian way lacks its country's code.
              const QString t = selecionado(&ContactRecord::Telefone);
              abrirLink(TelefoneBrasileiro::whatsapp(t),
                        TelefoneBrasileiro::ler(t).tipo == TelefoneBrasileiro::Tipo::Outro
                            ? Mensagens::SEM_PAIS_WHATSAPP
                            : Mensagens::SEM_WHATSAPP);
          },
          {Qt::CTRL | Qt::SHIFT | Qt::Key_W});
    criar(QStringLiteral("Enviar e-mail"), "acaoEnviarEmail",
          [this, selecionado] {
              abrirLink(EmailContato::escrever(selecionado(&ContactRecord::Email)),
                        Mensagens::EMAIL_INVALIDO);
          },
          {Qt::CTRL | Qt::SHIFT | Qt::Key_E});
    criar(QStringLiteral("Copiar telefone"), "acaoCopiarTelefone",
          [=] { copiar(&ContactRecord::Telefone); });
    criar(QStringLiteral("Copiar e-mail"), "acaoCopiarEmail",
          [=] { copiar(&ContactRecord::Email); });
    connect(&m_agenda.edicoes(), &DesfazerEdicoes::mudou, this,
            &ComandosPrincipal::atualizarDesfazer);
    atualizarDesfazer();
    // Keys act only where the selected contact has the field.
    connect(&modelo, &ModeloPrincipal::mudou, this, &ComandosPrincipal::atualizarContato);
    connect(&modelo, &ModeloPrincipal::detalhesMudaram, this, &ComandosPrincipal::atualizarContato);
    atualizarContato();
}

QAction *ComandosPrincipal::criar(const QString &texto, const char *nome, std::function<void()> f,
                                  QList<QKeySequence> teclas)
{
    auto *a = new QAction(texto, &m_janela);
    a->setObjectName(QLatin1String(nome));
    a->setShortcuts(teclas);
    connect(a, &QAction::triggered, this, [f = std::move(f)] { f(); });
    // The keys work whether or not the menu has ever been shown.
    m_janela.addAction(a);
    m_acoes.insert(a->objectName(), a);
    return a;
}

void ComandosPrincipal::ligarImagens(const std::function<RotuloClicavel *(const char *)> &imagem)
{
    for (auto it = m_porImagem.cbegin(); it != m_porImagem.cend(); ++it) {
        RotuloClicavel *r = imagem(it.key().toLatin1().constData());
        r->ligar(*it);
        // Reached with Tab; a click leaves the focus in the list.
        r->usarTeclado(Qt::TabFocus);
    }
}

void ComandosPrincipal::abrirLink(const std::optional<QUrl> &link, const QString &recusa)
{
    if (!m_agenda.modelo().contatoSelecionado())
        return;
    if (!link)
        m_acoesJanela.avisar({recusa});
    else if (!m_acoesJanela.abrir(*link))
        m_acoesJanela.avisar({Mensagens::NADA_ABRE});
}

void ComandosPrincipal::atualizarDesfazer()
{
    QAction *d = acao(QStringLiteral("acaoDesfazer")), *r = acao(QStringLiteral("acaoRefazer"));
    d->setText(m_agenda.edicoes().textoDesfazer());
    d->setEnabled(m_agenda.edicoes().podeDesfazer());
    r->setText(m_agenda.edicoes().textoRefazer());
    r->setEnabled(m_agenda.edicoes().podeRefazer());
}

void ComandosPrincipal::atualizarContato()
{
    const auto contato = m_agenda.modelo().contatoSelecionado();
    const bool fone = contato && !contato->Telefone.isEmpty();
    const bool mail = contato && !contato->Email.isEmpty();
    for (const char *n : {"acaoLigar", "acaoWhatsApp", "acaoCopiarTelefone"})
        acao(QLatin1String(n))->setEnabled(fone);
    for (const char *n : {"acaoEnviarEmail", "acaoCopiarEmail"})
        acao(QLatin1String(n))->setEnabled(mail);
}

QMenu *ComandosPrincipal::criarMenu()
{
    atualizarContato();
    auto *menu = new QMenu(&m_janela);
    menu->setObjectName(QStringLiteral("menuContatos"));
    menu->setAccessibleName(QStringLiteral("Contatos"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto grupo = [&](std::initializer_list<const char *> nomes) {
        if (!menu->isEmpty())
            menu->addSeparator();
        for (const char *n : nomes)
            menu->addAction(acao(QLatin1String(n)));
    };
    grupo({"acaoDesfazer", "acaoRefazer"});
    grupo({"acaoProcurar", "acaoPadronizar", "acaoDuplicados"});
    grupo({"acaoImportar", "acaoSincronizacao", "acaoExportar", "acaoImprimir", "acaoVersoes"});
    grupo({"acaoLigar", "acaoWhatsApp", "acaoEnviarEmail"});
    grupo({"acaoCopiarTelefone", "acaoCopiarEmail"});
    return menu;
}
