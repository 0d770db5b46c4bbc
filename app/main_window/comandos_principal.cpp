#include "main_window/comandos_principal.h"

#include "chrome/rotulo_clicavel.h"
#include "operations/desfazer_edicoes.h"
#include "main_window/kv_principal.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

ComandosPrincipal::ComandosPrincipal(KV_Principal &janela, DesfazerEdicoes &desfazer)
    : QObject(&janela), m_janela(janela), m_desfazer(desfazer)
{
    // The picture buttons' commands, by their pictures' names.
    struct Comando {
        const char *imagem;
        const char16_t *texto;
        void (*acao)(KV_Principal &);
        QList<QKeySequence> teclas;
    };
    const Comando comandos[] = {
        {"imgAvanca",
         u"Página seguinte",
         [](KV_Principal &j) { j.imgAvanca_Click(); },
         {Qt::Key_PageDown}},
        {"imgRetorna",
         u"Página anterior",
         [](KV_Principal &j) { j.imgRetorna_Click(); },
         {Qt::Key_PageUp}},
        {"imgRefresh", u"Ler de novo", [](KV_Principal &j) { j.imgRefresh_Click(); }, {Qt::Key_F5}},
        {"imgAdiciona",
         u"Adicionar",
         [](KV_Principal &j) { j.imgAdiciona_Click(); },
         {Qt::Key_Insert, Qt::CTRL | Qt::Key_N}},
        {"imgAtualiza",
         u"Atualizar",
         [](KV_Principal &j) { j.imgAtualiza_Click(); },
         {Qt::Key_F2, Qt::Key_Return, Qt::Key_Enter, Qt::KeypadModifier | Qt::Key_Enter}},
        {"imgDeleta", u"Deletar", [](KV_Principal &j) { j.imgDeleta_Click(); }, {Qt::Key_Delete}},
        {"imgFecha",
         u"Fechar",
         [](KV_Principal &j) { j.imgFecha_Click(); },
         {Qt::ALT | Qt::Key_F4, Qt::CTRL | Qt::Key_Q}},
        {"imgMinimiza",
         u"Minimizar",
         [](KV_Principal &j) { j.minimize_to_tray(); },
         {Qt::CTRL | Qt::Key_M}},
        {"imgAbout", u"Sobre", [](KV_Principal &j) { j.imgAbout_Click(); }, {Qt::Key_F1}},
    };
    for (const Comando &c : comandos) {
        const QByteArray nome = QByteArray("acao_") + c.imagem;
        m_porImagem.insert(QLatin1String(c.imagem),
                           criar(
                               QString::fromUtf16(c.texto), nome.constData(),
                               [this, f = c.acao] { f(m_janela); }, c.teclas));
    }
    criar(QStringLiteral("Aba seguinte"), "acaoAbaSeguinte",
          [this] { m_janela.modelo().abaVizinha(1); }, {Qt::CTRL | Qt::Key_PageDown});
    criar(QStringLiteral("Aba anterior"), "acaoAbaAnterior",
          [this] { m_janela.modelo().abaVizinha(-1); }, {Qt::CTRL | Qt::Key_PageUp});
    criar(QStringLiteral("Desfazer"), "acaoDesfazer", [this] { m_janela.desfazer(); },
          {Qt::CTRL | Qt::Key_Z});
    criar(QStringLiteral("Refazer"), "acaoRefazer", [this] { m_janela.refazer(); },
          {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z});
    criar(QStringLiteral("Procurar..."), "acaoProcurar", [this] { m_janela.abrirProcura(); },
          {Qt::CTRL | Qt::Key_F});
    criar(QStringLiteral("Importar contatos..."), "acaoImportar", [this] { m_janela.importar(); });
    criar(QStringLiteral("Sincronização..."), "acaoSincronizacao",
          [this] { m_janela.abrirSincronizacao(); });
    criar(QStringLiteral("Exportar contatos..."), "acaoExportar", [this] { m_janela.exportar(); });
    criar(QStringLiteral("Versões anteriores..."), "acaoVersoes",
          [this] { m_janela.abrirVersoes(); });
    const auto copiar = [this](QString ContactRecord::*campo) {
        if (const auto c = m_janela.modelo().contatoSelecionado())
            QGuiApplication::clipboard()->setText((*c).*campo);
    };
    criar(QStringLiteral("Copiar telefone"), "acaoCopiarTelefone",
          [=] { copiar(&ContactRecord::Telefone); });
    criar(QStringLiteral("Copiar e-mail"), "acaoCopiarEmail",
          [=] { copiar(&ContactRecord::Email); });
    connect(&m_desfazer, &DesfazerEdicoes::mudou, this, &ComandosPrincipal::atualizarDesfazer);
    atualizarDesfazer();
}

template <typename F>
QAction *ComandosPrincipal::criar(const QString &texto, const char *nome, F &&f,
                                  QList<QKeySequence> teclas)
{
    auto *a = new QAction(texto, &m_janela);
    a->setObjectName(QLatin1String(nome));
    a->setShortcuts(teclas);
    connect(a, &QAction::triggered, this, std::forward<F>(f));
    // The keys work whether or not the menu has ever been shown.
    m_janela.addAction(a);
    m_acoes.insert(a->objectName(), a);
    return a;
}

void ComandosPrincipal::ligarImagens(const std::function<RotuloClicavel *(const char *)> &imagem)
{
    for (auto it = m_porImagem.cbegin(); it != m_porImagem.cend(); ++it)
        connect(imagem(it.key().toLatin1().constData()), &RotuloClicavel::clicked, *it,
                &QAction::trigger);
}

void ComandosPrincipal::atualizarDesfazer()
{
    QAction *d = acao(QStringLiteral("acaoDesfazer")), *r = acao(QStringLiteral("acaoRefazer"));
    d->setText(m_desfazer.textoDesfazer());
    d->setEnabled(m_desfazer.podeDesfazer());
    r->setText(m_desfazer.textoRefazer());
    r->setEnabled(m_desfazer.podeRefazer());
}

QMenu *ComandosPrincipal::criarMenu()
{
    const auto contato = m_janela.modelo().contatoSelecionado();
    acao(QStringLiteral("acaoCopiarTelefone"))->setEnabled(contato && !contato->Telefone.isEmpty());
    acao(QStringLiteral("acaoCopiarEmail"))->setEnabled(contato && !contato->Email.isEmpty());
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
    grupo({"acaoProcurar"});
    grupo({"acaoImportar", "acaoSincronizacao", "acaoExportar", "acaoVersoes"});
    grupo({"acaoCopiarTelefone", "acaoCopiarEmail"});
    return menu;
}
