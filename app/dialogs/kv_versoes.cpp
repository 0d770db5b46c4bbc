#include "dialogs/kv_versoes.h"

#include "chrome/lista_selecao_unica.h"
#include "chrome/rotulo_clicavel.h"
#include "dialogs/avisos.h"

#include <QLabel>
#include <QTimer>

namespace {

QString contatos(qsizetype n)
{
    return n == 1 ? QStringLiteral("1 contato") : QStringLiteral("%1 contatos").arg(n);
}

} // namespace

KV_Versoes::KV_Versoes(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos,
                       ContaSincronizacao *conta)
    : DialogoDeslizante(principal, LayoutDialogos::Versoes, Deslizantes::Versoes), m_avisos(avisos),
      m_versoes(modelo, conta), m_lblServidor(controle<QLabel>(QStringLiteral("lblServidor"))),
      m_lista(controle<ListaSelecaoUnica>(QStringLiteral("lstVersoes"))),
      m_lblSim(controle<RotuloClicavel>(QStringLiteral("lblSim"))), m_espera(new QTimer(this))
{
    m_lista->setAccessibleName(QStringLiteral("Versões anteriores"));
    auto *lblNao = controle<RotuloClicavel>(QStringLiteral("lblNao"));
    connect(m_lblSim, &RotuloClicavel::clicked, this, &KV_Versoes::lblSim_Click);
    connect(m_lista, &QListWidget::itemActivated, this, &KV_Versoes::lblSim_Click);
    m_lista->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lista->setTextElideMode(Qt::ElideRight);
    m_lista->setSpacing(1);

    if (m_versoes.versoes().isEmpty()) {
        auto *item = new QListWidgetItem(QStringLiteral("Nenhuma versão anterior."), m_lista);
        item->setFlags(Qt::NoItemFlags);
        m_lblSim->setEnabled(false);
        lblNao->setFocus();
        return;
    }
    for (const HistoricoVersoes::Versao &v : m_versoes.versoes())
        new QListWidgetItem(VersoesAnteriores::quando(v.quando) + QStringLiteral("\n\u2026"),
                            m_lista);
    m_lblServidor->setAccessibleDescription(QStringLiteral("No servidor"));
    connect(m_lista, &QListWidget::currentRowChanged, this, &KV_Versoes::mostrarServidor);
    m_lista->setCurrentRow(0);
    m_lista->setFocus();

    m_espera->setInterval(15);
    connect(m_espera, &QTimer::timeout, this, &KV_Versoes::mostrarResumos);
    m_espera->start();
}

void KV_Versoes::mostrarResumos()
{
    for (const HistoricoVersoes::Resumo &r : m_versoes.novos(m_mostrados)) {
        const QString data = VersoesAnteriores::quando(m_versoes.versoes()[m_mostrados].quando);
        QListWidgetItem *item = m_lista->item(int(m_mostrados));
        if (r.contatos < 0) {
            item->setText(data + QStringLiteral("\nilegível"));
        } else {
            item->setText(data + QLatin1Char('\n') + contatos(r.contatos) + QStringLiteral("  ") +
                          r.diferenca.texto());
            item->setToolTip(QStringLiteral("%1: %2; restaurá-la: %3")
                                 .arg(data, contatos(r.contatos), r.diferenca.texto()));
        }
        ++m_mostrados;
    }
    if (resumido())
        m_espera->stop();
    mostrarServidor();
}

void KV_Versoes::mostrarServidor()
{
    const int linha = m_lista->currentRow();
    const std::optional<Fusao::Efeito> e =
        linha >= 0 && linha < m_mostrados ? m_versoes.efeito(linha) : std::nullopt;
    QString texto;
    if (e && (e->apagar > 0 || e->alterar > 0)) {
        QStringList partes;
        if (e->apagar > 0)
            partes.append(QStringLiteral("apaga %1").arg(contatos(e->apagar)));
        if (e->alterar > 0)
            partes.append(QStringLiteral("altera %1").arg(contatos(e->alterar)));
        texto =
            QStringLiteral("Restaurá-la no servidor: ") + partes.join(QStringLiteral(", ")) + u'.';
    } else if (e) {
        texto = QStringLiteral("Restaurá-la não apaga nem altera nada no servidor.");
    }
    m_lblServidor->setText(texto);
}

void KV_Versoes::lblSim_Click()
{
    const int linha = m_lista->linhaSelecionada();
    if (linha < 0 || linha >= m_versoes.versoes().size())
        return;
    const ResultadoEdicao r = m_versoes.restaurar(linha);
    m_avisos.depoisDoDialogo(*this, principal(), r.avisos,
                             r.desfecho == ResultadoEdicao::Desfecho::Recusado);
}
