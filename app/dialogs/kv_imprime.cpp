#include "dialogs/kv_imprime.h"

#include "chrome/rotulo_clicavel.h"
#include "dialogs/avisos.h"
#include "model/modelo_principal.h"
#include "operations/mensagens.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFocusEvent>
#include <QLabel>
#include <QProgressDialog>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

namespace {

// Tab comes into a group of choices on the one chosen, as Windows does,
// and a screen reader says what is chosen.
class EntrarNaEscolhida : public QObject {
public:
    explicit EntrarNaEscolhida(QButtonGroup *grupo) : QObject(grupo), m_grupo(grupo)
    {
        for (QAbstractButton *b : grupo->buttons())
            b->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::FocusIn) {
            const auto razao = static_cast<QFocusEvent *>(e)->reason();
            QAbstractButton *escolhida = m_grupo->checkedButton();
            if ((razao == Qt::TabFocusReason || razao == Qt::BacktabFocusReason) && escolhida &&
                escolhida != o)
                escolhida->setFocus(razao);
        }
        return false;
    }

private:
    QButtonGroup *m_grupo;
};

} // namespace

KV_Imprime::KV_Imprime(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos,
                       Ligacoes ligacoes)
    : DialogoDeslizante(principal, LayoutDialogos::Imprime, Deslizantes::Imprime), m_modelo(modelo),
      m_avisos(avisos), m_ligacoes(std::move(ligacoes)), m_quais(new QButtonGroup(this)),
      m_colunas(new QButtonGroup(this)), m_emails(controle<QCheckBox>(QStringLiteral("chkEmails")))
{
    auto *aba = controle<QRadioButton>(QStringLiteral("optAba"));
    aba->setText(u"Só a aba "_s + ImpressaoContatos::titulo(modelo.navegacao().grupo));
    m_quais->addButton(controle<QRadioButton>(QStringLiteral("optTodos")), 0);
    m_quais->addButton(aba, 1);
    for (int n = 1; n <= 3; ++n) {
        auto *o = controle<QRadioButton>(QStringLiteral("optColunas%1").arg(n));
        o->setAccessibleName(n == 1 ? QStringLiteral("1 coluna")
                                    : QStringLiteral("%1 colunas").arg(n));
        m_colunas->addButton(o, n);
    }
    const auto config = m_ligacoes.configuracoes ? m_ligacoes.configuracoes() : nullptr;
    const ImpressaoContatos::Escolha lembrada =
        config ? ImpressaoContatos::lembrada(*config) : ImpressaoContatos::Escolha{};
    new EntrarNaEscolhida(m_quais);
    new EntrarNaEscolhida(m_colunas);
    m_quais->button(0)->setChecked(true);
    m_colunas->button(lembrada.colunas)->setChecked(true);
    m_emails->setChecked(lembrada.comEmail);
    const QString papel = ImpressaoContatos::papel(QLocale::system()) == QPageSize::Letter
                              ? QStringLiteral("Papel carta")
                              : QStringLiteral("Papel A4");
    controle<QLabel>(QStringLiteral("lblPapel"))->setText(papel);
    connect(controle<RotuloClicavel>(QStringLiteral("lblSim")), &RotuloClicavel::clicked, this,
            &KV_Imprime::lblSim_Click);
    connect(controle<RotuloClicavel>(QStringLiteral("lblAbrir")), &RotuloClicavel::clicked, this,
            &KV_Imprime::lblAbrir_Click);
    m_quais->button(0)->setFocus();
}

ImpressaoContatos::Escolha KV_Imprime::escolha() const
{
    return {m_quais->checkedId() == 1, m_colunas->checkedId(), m_emails->isChecked()};
}

template <typename F> auto KV_Imprime::comProgresso(F fazer)
{
    if (const auto config = m_ligacoes.configuracoes ? m_ligacoes.configuracoes() : nullptr)
        ImpressaoContatos::lembrar(*config, escolha());
    QProgressDialog progresso(QStringLiteral("Montando a lista para imprimir..."),
                              QStringLiteral("Cancelar"), 0, 1, this);
    progresso.setObjectName(QStringLiteral("progressoImpressao"));
    progresso.setWindowTitle(QStringLiteral("Lista para imprimir"));
    progresso.setAccessibleName(QStringLiteral("Lista para imprimir"));
    progresso.setWindowModality(Qt::WindowModal);
    progresso.setMinimumDuration(m_ligacoes.progressoMs);
    progresso.setAutoReset(false);
    return fazer([&progresso](qsizetype feito, qsizetype total) {
        progresso.setMaximum(int(std::min<qsizetype>(total, INT_MAX)));
        progresso.setValue(int(std::min<qsizetype>(feito, INT_MAX)));
        return !progresso.wasCanceled();
    });
}

void KV_Imprime::concluir(const QString &aviso)
{
    // Stopped by the user: the dialog stays, for other choices.
    if (aviso.isEmpty())
        return;
    const bool recusado = aviso != Mensagens::LISTA_SALVA;
    m_avisos.depoisDoDialogo(*this, principal(), {aviso}, recusado);
}

void KV_Imprime::lblSim_Click()
{
    QString caminho;
    if (m_ligacoes.escolherArquivo) {
        caminho = m_ligacoes.escolherArquivo();
    } else {
        // In the user's documents, not beside the contact file.
        QFileDialog d(this, QStringLiteral("Salvar lista para imprimir"),
                      QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                      QStringLiteral("PDF (*.pdf)"));
        d.setObjectName(QStringLiteral("dialogoSalvarPdf"));
        d.setAccessibleName(QStringLiteral("Salvar lista para imprimir"));
        d.setAcceptMode(QFileDialog::AcceptSave);
        d.setDefaultSuffix(QStringLiteral("pdf"));
        d.selectFile(QStringLiteral("Lista de contatos.pdf"));
        if (d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty())
            caminho = d.selectedFiles().constFirst();
    }
    if (caminho.isEmpty())
        return;
    const auto e = escolha();
    concluir(comProgresso([&](const FolhasContatos::Progresso &p) {
        return ImpressaoContatos(m_modelo).salvar(caminho, e, p);
    }));
}

void KV_Imprime::lblAbrir_Click()
{
    const auto e = escolha();
    const QString pasta =
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + u"/impressao"_s;
    const auto t = comProgresso([&](const FolhasContatos::Progresso &p) {
        return ImpressaoContatos(m_modelo).temporario(pasta, e, p);
    });
    if (t.caminho.isEmpty()) {
        concluir(t.aviso);
        return;
    }
    const QUrl url = QUrl::fromLocalFile(t.caminho);
    const bool aberto = m_ligacoes.abrir ? m_ligacoes.abrir(url) : false;
    if (aberto)
        IniciarFechamento(Deslizamento::D_FECHAR);
    else
        concluir(Mensagens::SEM_VISUALIZADOR);
}
