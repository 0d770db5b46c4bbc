#include "dialogs/kv_confirma_sincronizacao.h"

#include "chrome/rotulo_clicavel.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QTimer>

KV_ConfirmaSincronizacao::KV_ConfirmaSincronizacao(QWidget *principal,
                                                   const ResultadoSincronizacao &parada)
    : DialogoDeslizante(principal, LayoutDialogos::ConfirmaSincronizacao,
                        Deslizantes::ConfirmaSincronizacao),
      m_parada(parada)
{
    auto *texto = controle<QLabel>(QStringLiteral("Label1"));
    texto->setText(ControleSincronizacao::pergunta(parada) + QStringLiteral("\n") +
                   ControleSincronizacao::manter(parada));
    // A long question in a smaller letter, whole, rather than cut.
    QFont letra = texto->font();
    const auto cabe = [&] {
        return QFontMetrics(letra)
                   .boundingRect(texto->contentsRect(), Qt::TextWordWrap | texto->alignment(),
                                 texto->text())
                   .height() <= texto->contentsRect().height();
    };
    while (!cabe() && letra.pixelSize() > 8)
        letra.setPixelSize(letra.pixelSize() - 1);
    texto->setFont(letra);
    auto *sim = controle<RotuloClicavel>(QStringLiteral("lblSim"));
    auto *apagar = controle<RotuloClicavel>(QStringLiteral("lblApagar"));
    connect(sim, &RotuloClicavel::clicked, this, &KV_ConfirmaSincronizacao::lblSim_Click);
    connect(apagar, &RotuloClicavel::clicked, this, &KV_ConfirmaSincronizacao::lblApagar_Click);
    sim->setFocus();
}

void KV_ConfirmaSincronizacao::escolher(Sincronizador::Decisao::Tipo tipo)
{
    // No more than it said it would delete: a sync that would delete more
    // asks again.
    m_decisao = {tipo, m_parada.pergunta.aqui, m_parada.pergunta.la};
    lblNao_Click();
}

void KV_ConfirmaSincronizacao::lblSim_Click()
{
    escolher(Sincronizador::Decisao::Tipo::Manter);
}

void KV_ConfirmaSincronizacao::lblApagar_Click()
{
    escolher(Sincronizador::Decisao::Tipo::Apagar);
}

void KV_ConfirmaSincronizacao::acompanhar(QWidget *principal, ControleSincronizacao &controle)
{
    QObject::connect(&controle, &ControleSincronizacao::confirmar, principal,
                     [principal, c = QPointer(&controle)](const ResultadoSincronizacao &r) {
                         QTimer::singleShot(0, principal, [principal, c, r] {
                             KV_ConfirmaSincronizacao pergunta(principal, r);
                             pergunta.abrir();
                             if (c)
                                 c->decidir(pergunta.decisao());
                         });
                     });
}
