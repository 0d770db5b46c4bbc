#include "main_window/kv_principal.h"

#include "chrome/arraste_janela.h"
#include "chrome/construtor_controles.h"
#include "chrome/icone_bandeja.h"
#include "chrome/janela_acessivel.h"
#include "chrome/posicao_janela.h"
#include "chrome/regiao_janela.h"
#include "chrome/rotulo_clicavel.h"
#include "dialogs/avisos.h"
#include "dialogs/kv_confirma_sincronizacao.h"
#include "layouts/fontes.h"
#include "layouts/imagens.h"
#include "layouts/layout_principal.h"
#include "main_window/arquivos_contatos.h"
#include "main_window/comandos_principal.h"
#include "main_window/dialogos_principal.h"
#include "main_window/vista_lista.h"
#include "operations/conta_sincronizacao.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSettings>

KV_Principal::KV_Principal(OpcoesPrincipal opcoes)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_opcoes(std::move(opcoes)),
      m_avisosPadrao(m_opcoes.avisos ? nullptr : std::make_unique<Avisos>()),
      m_avisos(m_opcoes.avisos ? m_opcoes.avisos : m_avisosPadrao.get()), m_agenda(m_opcoes),
      m_posicao(std::make_unique<PosicaoJanela>(LayoutPrincipal::LARGURA, LayoutPrincipal::ALTURA)),
      m_dialogos(std::make_unique<DialogosPrincipal>(*this, m_agenda, *m_avisos, m_opcoes))
{
    setObjectName(QStringLiteral("KV_Principal"));
    JanelaAcessivel::usar(this);
    setWindowTitle(QStringLiteral("Marvessa Fonelo"));
    setWindowIcon(Imagens::icone());
    // The rounded outline, set before the window is first shown.
    setMask(QRegion(QPolygon(CriarRegiaoJanela(1.0, 1.0, 0, 0))));
    setFixedSize(Twips::px(LayoutPrincipal::LARGURA), Twips::px(LayoutPrincipal::ALTURA));
    setFont(Fontes::padrao());
    const auto controles = ConstrutorControles::construir(LayoutPrincipal::CONTROLES, this);
    for (const auto &e : LayoutPrincipal::EFEITOS) {
        imagem(e.nome)->definirEfeito(QPoint(e.pressionadoLeft, e.pressionadoTop),
                                      QPoint(e.soltoLeft, e.soltoTop));
    }
    m_vista =
        new VistaLista(*this, controles, modelo(), [this] { return m_comandos->criarMenu(); });
    new ArrasteJanela(*this);

    // Form_Load: where it was closed, the screens as they are now.
    QList<QRect> telas;
    for (const QScreen *t : QGuiApplication::screens())
        telas.append(t->geometry());
    move(m_posicao->abrir(*m_agenda.configuracoes(), telas, size()));
    m_bandeja = new IconeBandeja(
        Imagens::icone(), [this] { restaurar(); }, this);
    if (IconeBandeja::disponivel())
        m_bandeja->adicionar();
    m_agenda.iniciar();
    connect(&m_agenda, &Agenda::aviso, this, &KV_Principal::MostrarAviso);
    ControleSincronizacao &controle = sincronizacao().controle();
    connect(&controle, &ControleSincronizacao::dica, m_bandeja, &IconeBandeja::setDica);
    KV_ConfirmaSincronizacao::acompanhar(this, controle);
    m_arquivos = new ArquivosContatos(*this, m_agenda, *m_dialogos, m_opcoes);
    m_comandos =
        new ComandosPrincipal(*this, *m_bandeja, m_agenda, *m_dialogos, *m_arquivos, *m_vista);
    m_comandos->ligarImagens([this](const char *nome) { return imagem(nome); });
    // Once every picture that acts takes the focus.
    ConstrutorControles::ordenarTab(this, LayoutPrincipal::ORDEM_TECLADO);
    m_vista->ondeComeca()->setFocus();
}

KV_Principal::~KV_Principal() = default;

RotuloClicavel *KV_Principal::imagem(const char *nome)
{
    return findChild<RotuloClicavel *>(QLatin1String(nome), Qt::FindDirectChildrenOnly);
}

void KV_Principal::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.drawPixmap(0, 0, Imagens::imagem(QStringLiteral("fundo")));
}

void KV_Principal::minimize_to_tray()
{
    m_bandeja->esconder(*this);
}

void KV_Principal::restaurar()
{
    IconeBandeja::trazer(*this);
}

QPointF KV_Principal::posicaoTwips() const
{
    const auto t = m_posicao->em(pos());
    return {t.esquerda, t.topo};
}

void KV_Principal::closeEvent(QCloseEvent *e)
{
    m_posicao->fechar(*m_agenda.configuracoes(), pos());
    m_bandeja->remover();
    e->accept();
}

void KV_Principal::MostrarAviso(const QString &texto)
{
    m_avisos->MostrarAviso(this, texto);
}
