#include "dialogs/kv_procura.h"

#include "chrome/lista_selecao_unica.h"
#include "chrome/rotulo_clicavel.h"
#include "dialogs/avisos.h"
#include "model/modelo_principal.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

KV_Procura::KV_Procura(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos)
    : DialogoDeslizante(principal, LayoutDialogos::Procura, Deslizantes::Procura), m_modelo(modelo),
      m_avisos(avisos), m_txtProcura(controle<QLineEdit>(QStringLiteral("txtProcura"))),
      m_lista(controle<ListaSelecaoUnica>(QStringLiteral("lstAchados"))),
      m_lblMais(controle<QLabel>(QStringLiteral("lblMais")))
{
    m_txtProcura->setAccessibleName(QStringLiteral("Procurar"));
    m_lista->setAccessibleName(QStringLiteral("Contatos encontrados"));
    auto *lblSim = controle<RotuloClicavel>(QStringLiteral("lblSim"));
    m_txtProcura->setMaxLength(200);
    m_lista->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lista->setTextElideMode(Qt::ElideRight);
    m_lista->setFocusPolicy(Qt::NoFocus);
    // The focus stays in the field: the row chosen shows as plainly as in a
    // list that has it (the Windows style paints it faintly otherwise).
    m_lista->setStyleSheet(
        QStringLiteral("QListView::item:selected { background: %1; color: %2; }")
            .arg(m_lista->palette().color(QPalette::Active, QPalette::Highlight).name(),
                 m_lista->palette().color(QPalette::Active, QPalette::HighlightedText).name()));
    // The keys that move in the results work from the field.
    m_txtProcura->installEventFilter(this);
    connect(m_txtProcura, &QLineEdit::textChanged, this, &KV_Procura::procurar);
    connect(m_txtProcura, &QLineEdit::returnPressed, this, &KV_Procura::lblSim_Click);
    connect(m_lista, &QListWidget::itemActivated, this, &KV_Procura::lblSim_Click);
    connect(lblSim, &RotuloClicavel::clicked, this, &KV_Procura::lblSim_Click);
    m_modelo.prepararBusca();
    m_txtProcura->setFocus();
}

bool KV_Procura::eventFilter(QObject *o, QEvent *e)
{
    if (o == m_txtProcura && e->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(e)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QApplication::sendEvent(m_lista, e);
            return true;
        default:
            break;
        }
    }
    return DialogoDeslizante::eventFilter(o, e);
}

void KV_Procura::procurar()
{
    const IndiceBusca::Resultado r = m_modelo.procurar(m_txtProcura->text(), MAXIMO);
    m_achados = r.achados;
    const ListaInicio &lista = m_modelo.lstInicio();
    m_lista->clear();
    for (const IndiceBusca::Achado &a : std::as_const(m_achados)) {
        // The name, and the field that matched; the telephone otherwise.
        const QString campo =
            a.peloEmail && !a.peloTelefone ? lista.email(a.indice) : lista.telefone(a.indice);
        QString texto = lista.nome(a.indice).toString();
        if (!campo.isEmpty())
            texto += QStringLiteral("  ") + campo;
        auto *item = new QListWidgetItem(texto, m_lista);
        item->setToolTip(texto);
    }
    if (!m_achados.isEmpty())
        m_lista->setCurrentRow(0);
    const qsizetype resto = r.total - m_achados.size();
    m_lblMais->setText(resto > 0 ? QStringLiteral("e mais %1").arg(resto)
                       : r.total == 0 && !m_txtProcura->text().trimmed().isEmpty()
                           ? QStringLiteral("Nenhum contato encontrado.")
                           : QString());
}

void KV_Procura::lblSim_Click()
{
    const int linha = m_lista->linhaSelecionada();
    if (linha < 0 || linha >= m_achados.size())
        return;
    const qsizetype i = m_achados[linha].indice;
    fecharJa();
    // A contact no tab lists can only be told.
    if (!m_modelo.mostrarEntrada(i)) {
        const ContactRecord r = m_modelo.lstInicio().registro(i);
        m_avisos.MostrarAviso(
            principal(),
            QStringLiteral("%1\nTelefone: %2\nE-mail: %3").arg(r.Nome, r.Telefone, r.Email));
    }
}
