#include "dialogs/kv_versoes.h"

#include "chrome/lista_selecao_unica.h"
#include "chrome/rotulo_clicavel.h"
#include "dialogs/avisos.h"
#include "operations/conta_sincronizacao.h"
#include "operations/edicao_contatos.h"
#include "model/modelo_principal.h"
#include "sync/estado_sincronizacao.h"

#include <QLabel>
#include <QTimer>

namespace {

QString contatos(qsizetype n)
{
    return n == 1 ? QStringLiteral("1 contato") : QStringLiteral("%1 contatos").arg(n);
}

} // namespace

QString KV_Versoes::quando(const QDateTime &d)
{
    return d.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

KV_Versoes::KV_Versoes(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos,
                       ContaSincronizacao *conta)
    : DialogoDeslizante(principal, LayoutDialogos::Versoes, Deslizantes::Versoes), m_modelo(modelo),
      m_avisos(avisos), m_conta(conta && conta->conectado() ? conta : nullptr),
      m_lblServidor(controle<QLabel>(QStringLiteral("lblServidor"))),
      m_versoes(HistoricoVersoes(modelo.arquivo().caminho()).versoes()),
      m_lista(controle<ListaSelecaoUnica>(QStringLiteral("lstVersoes"))),
      m_lblSim(controle<RotuloClicavel>(QStringLiteral("lblSim"))), m_espera(new QTimer(this))
{
    m_lista->setAccessibleName(QStringLiteral("Versões anteriores"));
    auto *titulo = controle<QLabel>(QStringLiteral("lblVersoes"));
    titulo->setAccessibleName(titulo->text());
    for (const char *nome : {"Shape1", "shpSim", "shpNao"})
        controle(QLatin1String(nome))->setAccessibleName(QStringLiteral("Moldura"));
    auto *lblNao = controle<RotuloClicavel>(QStringLiteral("lblNao"));
    for (RotuloClicavel *b : {m_lblSim, lblNao})
        b->usarTeclado();
    setTabOrder(m_lista, m_lblSim);
    setTabOrder(m_lblSim, lblNao);
    connect(m_lblSim, &RotuloClicavel::clicked, this, &KV_Versoes::lblSim_Click);
    connect(m_lista, &QListWidget::itemActivated, this, &KV_Versoes::lblSim_Click);
    m_lista->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lista->setTextElideMode(Qt::ElideRight);
    m_lista->setSpacing(1);

    if (m_versoes.isEmpty()) {
        auto *item = new QListWidgetItem(QStringLiteral("Nenhuma versão anterior."), m_lista);
        item->setFlags(Qt::NoItemFlags);
        m_lblSim->setEnabled(false);
        lblNao->setFocus();
        return;
    }
    for (const HistoricoVersoes::Versao &v : std::as_const(m_versoes))
        new QListWidgetItem(quando(v.quando) + QStringLiteral("\n\u2026"), m_lista);
    m_lblServidor->setAccessibleName(QStringLiteral("No servidor"));
    connect(m_lista, &QListWidget::currentRowChanged, this, &KV_Versoes::mostrarServidor);
    m_lista->setCurrentRow(0);
    m_lista->setFocus();

    // Each version read against the file as it is now, newest first; and,
    // connected, against what the last sync agreed with the server.
    m_resumos.resize(m_versoes.size());
    m_efeitos.resize(m_versoes.size());
    const QByteArray atual = modelo.arquivo().lerBytes().bytes;
    QStringList caminhos;
    for (const HistoricoVersoes::Versao &v : std::as_const(m_versoes))
        caminhos.append(v.tamanho <= HistoricoVersoes::TAMANHO_MAXIMO ? v.caminho : QString());
    const QString estado =
        m_conta ? EstadoSincronizacao::caminhoAoLado(modelo.arquivo().caminho()) : QString();
    m_trabalho =
        std::async(std::launch::async, [this, atual, caminhos, estado, locale = modelo.locale()] {
            const EstadoSincronizacao base =
                estado.isEmpty() ? EstadoSincronizacao{} : EstadoSincronizacao::ler(estado);
            for (qsizetype i = 0; i < caminhos.size() && !m_cancelar; ++i) {
                const ArquivoContatos::Leitura l = caminhos[i].isEmpty()
                                                       ? ArquivoContatos::Leitura{}
                                                       : ArquivoContatos(caminhos[i]).lerBytes();
                std::optional<HistoricoVersoes::Resumo> r;
                std::optional<Fusao::Efeito> efeito;
                if (l.estado == ArquivoContatos::Estado::Lido) {
                    r = HistoricoVersoes::resumir(l.bytes, atual);
                    if (!base.cartoes.isEmpty())
                        efeito = Fusao::efeitoNoServidor(base, l.bytes, locale);
                }
                const std::lock_guard trava(m_mutex);
                m_resumos[i] = r.value_or(HistoricoVersoes::Resumo{-1, {}});
                m_efeitos[i] = efeito;
            }
        });
    m_espera->setInterval(15);
    connect(m_espera, &QTimer::timeout, this, &KV_Versoes::mostrarResumos);
    m_espera->start();
}

KV_Versoes::~KV_Versoes()
{
    m_cancelar = true;
    if (m_trabalho.valid())
        m_trabalho.wait();
}

void KV_Versoes::mostrarResumos()
{
    {
        const std::lock_guard trava(m_mutex);
        mostrarNovos();
    }
    mostrarServidor();
}

void KV_Versoes::mostrarNovos()
{
    while (m_mostrados < m_resumos.size() && m_resumos[m_mostrados]) {
        const HistoricoVersoes::Resumo &r = *m_resumos[m_mostrados];
        const QString data = quando(m_versoes[m_mostrados].quando);
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
    if (m_mostrados == m_resumos.size())
        m_espera->stop();
}

void KV_Versoes::mostrarServidor()
{
    const int linha = m_lista->currentRow();
    std::optional<Fusao::Efeito> e;
    if (m_conta && linha >= 0 && linha < m_mostrados) {
        const std::lock_guard trava(m_mutex);
        e = m_efeitos[linha];
    }
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
    if (linha < 0 || linha >= m_versoes.size())
        return;
    const HistoricoVersoes::Versao v = m_versoes[linha];
    std::optional<Fusao::Efeito> efeito;
    if (m_conta) {
        const std::lock_guard trava(m_mutex);
        if (linha < m_mostrados)
            efeito = m_efeitos[linha];
    }
    if (m_conta && !efeito) {
        // Restored before the other thread came to it.
        const ArquivoContatos::Leitura l = ArquivoContatos(v.caminho).lerBytes();
        const EstadoSincronizacao base = EstadoSincronizacao::ler(
            EstadoSincronizacao::caminhoAoLado(m_modelo.arquivo().caminho()));
        if (l.estado == ArquivoContatos::Estado::Lido && !base.cartoes.isEmpty())
            efeito = Fusao::efeitoNoServidor(base, l.bytes, m_modelo.locale());
    }
    const ResultadoEdicao r = EdicaoContatos(m_modelo).restaurar(v.caminho, quando(v.quando));
    // The user saw what it deletes there: the sync does it without asking.
    if (efeito && r.desfecho == ResultadoEdicao::Desfecho::Gravado)
        m_conta->controle().autorizar(efeito->apagar);
    m_avisos.depoisDoDialogo(*this, principal(), r.avisos,
                             r.desfecho == ResultadoEdicao::Desfecho::Recusado);
}
