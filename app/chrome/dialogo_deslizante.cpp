#include "chrome/dialogo_deslizante.h"

#include "chrome/construtor_controles.h"
#include "chrome/janela_acessivel.h"
#include "chrome/rotulo_clicavel.h"
#include "layouts/imagens.h"
#include "layouts/twips.h"

#include <QPainter>
#include <QResizeEvent>
#include <QTimer>

DialogoDeslizante::DialogoDeslizante(QWidget *principal, const LayoutDialogos::Janela &janela,
                                     ConstantesDeslizamento constantes)
    : QDialog(principal, Qt::Dialog | Qt::FramelessWindowHint), m_principal(principal),
      m_janela(janela), m_deslizamento(constantes)
{
    JanelaAcessivel::usar(this);
    LayoutDialogos::prepararJanela(janela, this);
    setModal(true);
    m_controles = ConstrutorControles::construir(janela.controles, this);
    ConstrutorControles::ordenarTab(this, janela.ordemTab);

    m_timer1 = new QTimer(this);
    m_timer2 = new QTimer(this);
    for (QTimer *t : {m_timer1, m_timer2}) {
        t->setInterval(Deslizamento::INTERVALO_MS);
        t->setTimerType(Qt::PreciseTimer);
    }
    connect(m_timer1, &QTimer::timeout, this, &DialogoDeslizante::Timer1_Timer);
    connect(m_timer2, &QTimer::timeout, this, &DialogoDeslizante::Timer2_Timer);
    if (auto *nao = controle<RotuloClicavel>(QStringLiteral("lblNao")))
        connect(nao, &RotuloClicavel::clicked, this, &DialogoDeslizante::lblNao_Click);

    // Form_Load: the running top starts at the main window's top.
    m_deslizamento.carregar(T());
    const auto g = m_deslizamento.antesDoPrimeiroTick(T());
    aplicar(g.top, g.height);
}

double DialogoDeslizante::T() const
{
    return m_principal ? Twips::twips(m_principal->y()) : 0;
}

void DialogoDeslizante::aplicar(double top, int altura)
{
    m_topo = top;
    m_altura = altura;
    const int esquerda = m_principal ? Twips::twips(m_principal->x()) + 245 : 245;
    // A window cannot be 0 pixels high; one pixel is as good as gone.
    setGeometry(Twips::px(esquerda), Twips::px(top), width(), qMax(1, Twips::px(altura)));
}

int DialogoDeslizante::abrir()
{
    m_timer1->start();
    return exec();
}

void DialogoDeslizante::Timer1_Timer()
{
    m_reaplicada = 0;
    const auto g = m_deslizamento.tickAbertura(T());
    if (!m_deslizamento.abrindo())
        m_timer1->stop();
    aplicar(g.top, g.height);
}

void DialogoDeslizante::IniciarFechamento(int D)
{
    if (m_deslizamento.fechando())
        return;
    m_timer1->stop();
    m_deslizamento.IniciarFechamento(T(), m_altura, D);
    m_timer2->start();
    aplicar(m_topo, 0);
}

void DialogoDeslizante::Timer2_Timer()
{
    m_reaplicada = 0;
    const auto g = m_deslizamento.tickFechamento();
    if (!g) {
        fecharJa();
        return;
    }
    aplicar(g->top, g->height);
}

void DialogoDeslizante::fecharJa()
{
    m_timer1->stop();
    m_timer2->stop();
    aplicar(m_topo, 0);
    done(QDialog::Accepted);
}

void DialogoDeslizante::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    // Between the slide's steps the window keeps the height they gave it: a
    // window manager answering a resize late set an earlier height back
    // (seen under Wine on a busy machine), and the dialog stayed cut short.
    // Up to 50 times, against one that insists (under Wine it took up to 6).
    if (!m_timer1->isActive() && !m_timer2->isActive() &&
        e->size().height() != qMax(1, Twips::px(m_altura)) && m_reaplicada < 50) {
        ++m_reaplicada;
        QMetaObject::invokeMethod(
            this, [this] { aplicar(m_topo, m_altura); }, Qt::QueuedConnection);
    }
}

void DialogoDeslizante::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), LayoutDialogos::corDeFundo(m_janela, this));
    p.drawPixmap(0, 0, Imagens::imagem(QStringLiteral("fundoDialogo")));
}
