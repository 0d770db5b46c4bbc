#include "dialogs/kv_padroniza.h"

#include "chrome/lista_selecao_unica.h"
#include "chrome/rotulo_clicavel.h"
#include "dialogs/avisos.h"
#include "model/modelo_principal.h"

#include <QLabel>
#include <QRadioButton>

KV_Padroniza::KV_Padroniza(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos)
    : DialogoDeslizante(principal, LayoutDialogos::Padroniza, Deslizantes::Padroniza),
      m_modelo(modelo), m_avisos(avisos),
      m_nacional(controle<QRadioButton>(QStringLiteral("optNacional"))),
      m_internacional(controle<QRadioButton>(QStringLiteral("optInternacional"))),
      m_lista(controle<ListaSelecaoUnica>(QStringLiteral("lstTelefones"))),
      m_lblQuantos(controle<QLabel>(QStringLiteral("lblQuantos")))
{
    m_nacional->setAccessibleName(QStringLiteral("Estilo nacional"));
    m_internacional->setAccessibleName(QStringLiteral("Estilo internacional"));
    m_lista->setAccessibleName(QStringLiteral("Telefones a padronizar"));
    auto *lblSim = controle<RotuloClicavel>(QStringLiteral("lblSim"));
    m_lista->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lista->setTextElideMode(Qt::ElideRight);
    m_lista->setSpacing(1);
    connect(lblSim, &RotuloClicavel::clicked, this, &KV_Padroniza::lblSim_Click);
    m_nacional->setChecked(true);
    for (QRadioButton *o : {m_nacional, m_internacional})
        connect(o, &QRadioButton::toggled, this, [this](bool marcado) {
            if (marcado)
                listar();
        });
    listar();
    m_lista->setFocus();
}

QRadioButton *KV_Padroniza::opcao(TelefoneBrasileiro::Estilo estilo) const
{
    return estilo == TelefoneBrasileiro::Estilo::Nacional ? m_nacional : m_internacional;
}

void KV_Padroniza::listar()
{
    const auto estilo = m_nacional->isChecked() ? TelefoneBrasileiro::Estilo::Nacional
                                                : TelefoneBrasileiro::Estilo::Internacional;
    m_propostas = TelefoneBrasileiro::propostas(m_modelo.lstInicio(), estilo);
    m_lista->clear();
    for (const TrocaTelefone &t : std::as_const(m_propostas)) {
        // The name, and under it the number before and after.
        const QString texto = QStringLiteral("%1\n%2 \u2192 %3").arg(t.nome, t.antes, t.depois);
        auto *item = new QListWidgetItem(texto, m_lista);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        item->setToolTip(texto);
    }
    if (!m_propostas.isEmpty())
        m_lista->setCurrentRow(0);
    const qsizetype n = m_propostas.size();
    m_lblQuantos->setText(n == 0   ? QStringLiteral("Nenhum telefone a padronizar.")
                          : n == 1 ? QStringLiteral("1 telefone a padronizar")
                                   : QStringLiteral("%1 telefones a padronizar").arg(n));
}

void KV_Padroniza::lblSim_Click()
{
    QList<TrocaTelefone> marcadas;
    for (int i = 0; i < m_lista->count() && i < m_propostas.size(); ++i) {
        if (m_lista->item(i)->checkState() == Qt::Checked)
            marcadas.append(m_propostas[i]);
    }
    if (marcadas.isEmpty()) {
        lblNao_Click();
        return;
    }
    const ResultadoEdicao r = EdicaoContatos(m_modelo).trocarTelefones(marcadas);
    m_avisos.depoisDoDialogo(*this, principal(), r.avisos,
                             r.desfecho == ResultadoEdicao::Desfecho::Recusado);
}
