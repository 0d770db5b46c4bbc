#include "main_window/comandos_principal.h"

#include "dialogs/desfazer_edicoes.h"
#include "main_window/kv_principal.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

ComandosPrincipal::ComandosPrincipal(KV_Principal &janela, DesfazerEdicoes &desfazer)
    : QObject(&janela), m_janela(janela), m_desfazer(desfazer)
{
    criar(QStringLiteral("Desfazer"), "acaoDesfazer", [this] {
        m_janela.desfazer();
    })->setShortcuts({Qt::CTRL | Qt::Key_Z});
    criar(QStringLiteral("Refazer"), "acaoRefazer", [this] {
        m_janela.refazer();
    })->setShortcuts({Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z});
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
QAction *ComandosPrincipal::criar(const QString &texto, const char *nome, F &&f)
{
    auto *a = new QAction(texto, &m_janela);
    a->setObjectName(QLatin1String(nome));
    connect(a, &QAction::triggered, this, std::forward<F>(f));
    // The keys work whether or not the menu has ever been shown.
    m_janela.addAction(a);
    m_acoes.insert(a->objectName(), a);
    return a;
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
    grupo({"acaoImportar", "acaoSincronizacao", "acaoExportar", "acaoVersoes"});
    grupo({"acaoCopiarTelefone", "acaoCopiarEmail"});
    return menu;
}
