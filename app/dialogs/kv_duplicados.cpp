#include "dialogs/kv_duplicados.h"

#include "chrome/lista_selecao_unica.h"
#include "chrome/rotulo_clicavel.h"
#include "dialogs/avisos.h"
#include "operations/agenda.h"
#include "operations/edicao_contatos.h"

#include <QLabel>
#include <QSettings>

namespace {
constexpr int CAMPO = Qt::UserRole;
constexpr int VALOR = Qt::UserRole + 1;
constexpr QString ContactRecord::*CAMPOS[] = {&ContactRecord::Nome, &ContactRecord::Telefone,
                                              &ContactRecord::Email};
} // namespace

KV_Duplicados::KV_Duplicados(QWidget *principal, Agenda &agenda, Avisos &avisos)
    : DialogoDeslizante(principal, LayoutDialogos::Duplicados, Deslizantes::Duplicados),
      m_agenda(agenda), m_avisos(avisos),
      m_lista(controle<ListaSelecaoUnica>(QStringLiteral("lstEscolhas"))),
      m_lblGrupo(controle<QLabel>(QStringLiteral("lblGrupo"))),
      m_lblPerde(controle<QLabel>(QStringLiteral("lblPerde"))),
      m_lblQuantos(controle<QLabel>(QStringLiteral("lblQuantos")))
{
    m_lista->setAccessibleName(QStringLiteral("O que manter"));
    auto *lblSim = controle<RotuloClicavel>(QStringLiteral("lblSim"));
    auto *lblDistintos = controle<RotuloClicavel>(QStringLiteral("lblDistintos"));
    auto *lblAnterior = controle<RotuloClicavel>(QStringLiteral("lblAnterior"));
    auto *lblProximo = controle<RotuloClicavel>(QStringLiteral("lblProximo"));
    // A link-like answer: underlined, as a click that acts.
    QFont sublinhada = lblDistintos->font();
    sublinhada.setUnderline(true);
    lblDistintos->setFont(sublinhada);
    m_lista->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lista->setTextElideMode(Qt::ElideRight);
    connect(lblSim, &RotuloClicavel::clicked, this, &KV_Duplicados::lblSim_Click);
    connect(lblDistintos, &RotuloClicavel::clicked, this, &KV_Duplicados::lblDistintos_Click);
    connect(lblAnterior, &RotuloClicavel::clicked, this, [this] { mostrar(m_atual - 1); });
    connect(lblProximo, &RotuloClicavel::clicked, this, [this] { mostrar(m_atual + 1); });
    connect(m_lista, &QListWidget::itemChanged, this, &KV_Duplicados::escolher);
    procurar();
    m_lista->setFocus();
}

void KV_Duplicados::procurar()
{
    m_grupos = Duplicados::procurar(m_agenda.modelo().lstInicio(),
                                    Duplicados::distintos(*m_agenda.configuracoes()));
    mostrar(m_atual);
}

void KV_Duplicados::mostrar(qsizetype grupo)
{
    m_atual = std::clamp<qsizetype>(grupo, 0, std::max<qsizetype>(m_grupos.size() - 1, 0));
    m_marcando = true;
    m_lista->clear();
    if (m_grupos.isEmpty()) {
        m_lblGrupo->setText(QStringLiteral("Nenhum contato parece repetido."));
        m_lblGrupo->setToolTip({});
        m_lblGrupo->setAccessibleName({});
        m_lblQuantos->clear();
        escrever(m_lblPerde, {});
        m_marcando = false;
        return;
    }
    const GrupoDuplicados &g = m_grupos[m_atual];
    m_lblQuantos->setText(QStringLiteral("%1 de %2").arg(m_atual + 1).arg(m_grupos.size()));
    QString porque = g.porque();
    porque[0] = porque[0].toUpper();
    escrever(m_lblGrupo, porque);
    static const QString titulos[] = {QStringLiteral("Nome"), QStringLiteral("Telefone"),
                                      QStringLiteral("E-mail")};
    for (int campo = Nome; campo <= Email; ++campo) {
        auto *titulo = new QListWidgetItem(titulos[campo], m_lista);
        titulo->setFlags(Qt::ItemIsEnabled);
        QFont f = titulo->font();
        f.setBold(true);
        titulo->setFont(f);
        QStringList valores;
        for (const ContactRecord &m : g.membros) {
            const QString &v = m.*CAMPOS[campo];
            if (!v.isEmpty() && !valores.contains(v))
                valores.append(v);
        }
        if (valores.isEmpty())
            valores.append(QString());
        for (const QString &v : std::as_const(valores)) {
            auto *item = new QListWidgetItem(v.isEmpty() ? QStringLiteral("(nenhum)") : v, m_lista);
            item->setData(CAMPO, campo);
            item->setData(VALOR, v);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(v == valores.front() ? Qt::Checked : Qt::Unchecked);
            item->setToolTip(item->text());
        }
    }
    m_lista->setCurrentRow(1);
    m_marcando = false;
    dizerPerdas();
}

// One choice for each field: checking one unchecks the others, and the one
// checked cannot be unchecked but by checking another.
void KV_Duplicados::escolher(QListWidgetItem *item)
{
    if (m_marcando || !item)
        return;
    m_marcando = true;
    const int campo = item->data(CAMPO).toInt();
    if (item->checkState() == Qt::Checked) {
        for (int i = 0; i < m_lista->count(); ++i) {
            QListWidgetItem *outro = m_lista->item(i);
            if (outro != item && outro->data(CAMPO) == campo && outro->data(VALOR).isValid())
                outro->setCheckState(Qt::Unchecked);
        }
    } else {
        item->setCheckState(Qt::Checked);
    }
    m_marcando = false;
    dizerPerdas();
}

ContactRecord KV_Duplicados::escolhido() const
{
    ContactRecord r;
    for (int i = 0; i < m_lista->count(); ++i) {
        const QListWidgetItem *item = m_lista->item(i);
        if (item->data(VALOR).isValid() && item->checkState() == Qt::Checked)
            r.*CAMPOS[item->data(CAMPO).toInt()] = item->data(VALOR).toString();
    }
    return r;
}

// What the file will no longer hold once merged: said before merging.
void KV_Duplicados::dizerPerdas()
{
    if (m_grupos.isEmpty())
        return;
    const ContactRecord r = escolhido();
    QStringList fora;
    for (const ContactRecord &m : m_grupos[m_atual].membros) {
        for (auto campo : CAMPOS) {
            const QString &v = m.*campo;
            if (!v.isEmpty() && v != r.*campo && !fora.contains(v))
                fora.append(v);
        }
    }
    const QString texto =
        fora.isEmpty()
            ? QStringLiteral("Tudo fica no contatos.txt.")
            : QStringLiteral("Não fica no contatos.txt: %1.").arg(fora.join(QStringLiteral("; ")));
    escrever(m_lblPerde, texto);
}

// A line cut to its label's width, whole in its tooltip and for screen
// readers.
void KV_Duplicados::escrever(QLabel *rotulo, const QString &texto)
{
    rotulo->setText(rotulo->fontMetrics().elidedText(texto, Qt::ElideRight, rotulo->width()));
    rotulo->setToolTip(texto);
    rotulo->setAccessibleName(texto);
}

void KV_Duplicados::lblSim_Click()
{
    if (m_grupos.isEmpty()) {
        lblNao_Click();
        return;
    }
    QStringList nomes;
    for (const ContactRecord &m : std::as_const(m_grupos[m_atual].membros)) {
        if (!nomes.contains(m.Nome))
            nomes.append(m.Nome);
    }
    const ResultadoEdicao r = EdicaoContatos(m_agenda.modelo()).juntar(nomes, escolhido());
    for (const QString &aviso : std::as_const(r.avisos))
        m_avisos.MostrarAviso(principal(), aviso);
    procurar();
    if (m_grupos.isEmpty())
        lblNao_Click();
}

void KV_Duplicados::lblDistintos_Click()
{
    if (m_grupos.isEmpty()) {
        lblNao_Click();
        return;
    }
    Duplicados::lembrarDistintos(*m_agenda.configuracoes(), m_grupos[m_atual].chave());
    m_grupos.removeAt(m_atual);
    if (m_grupos.isEmpty())
        lblNao_Click();
    else
        mostrar(m_atual);
}
