#include "main_window/kv_principal.h"

#include "chrome/construtor_controles.h"
#include "chrome/icone_bandeja.h"
#include "chrome/janela_acessivel.h"
#include "chrome/lista_selecao_unica.h"
#include "chrome/posicao_janela.h"
#include "chrome/regiao_janela.h"
#include "chrome/rotulo_clicavel.h"
#include "dialogs/avisos.h"
#include "dialogs/dialogo_exportacao.h"
#include "dialogs/kv_about.h"
#include "dialogs/kv_adiciona.h"
#include "dialogs/kv_atualiza.h"
#include "dialogs/kv_confirma_sincronizacao.h"
#include "dialogs/kv_contdel.h"
#include "dialogs/kv_duplicados.h"
#include "dialogs/kv_imprime.h"
#include "dialogs/kv_padroniza.h"
#include "dialogs/kv_procura.h"
#include "dialogs/kv_sincroniza.h"
#include "dialogs/kv_versoes.h"
#include "layouts/fontes.h"
#include "layouts/imagens.h"
#include "layouts/layout_principal.h"
#include "main_window/abas_letras.h"
#include "main_window/comandos_principal.h"
#include "operations/conta_sincronizacao.h"
#include "operations/intercambio_contatos.h"
#include "operations/mensagens.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QDropEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWindow>

KV_Principal::KV_Principal(OpcoesPrincipal opcoes)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_opcoes(std::move(opcoes)),
      m_avisosPadrao(m_opcoes.avisos ? nullptr : std::make_unique<Avisos>()),
      m_avisos(m_opcoes.avisos ? m_opcoes.avisos : m_avisosPadrao.get()), m_agenda(m_opcoes)
{
    setObjectName(QStringLiteral("KV_Principal"));
    JanelaAcessivel::usar(this);
    setWindowTitle(QStringLiteral("Marvessa Fonelo"));
    setWindowIcon(Imagens::icone());
    // The rounded outline, set before the window is first shown.
    setMask(QRegion(QPolygon(CriarRegiaoJanela(1.0, 1.0, 0, 0))));
    setFixedSize(Twips::px(LayoutPrincipal::LARGURA), Twips::px(LayoutPrincipal::ALTURA));
    setFont(Fontes::padrao());
    // Contact files dropped anywhere on it are imported.
    setAcceptDrops(true);
    criarControles();
    // The window shows what the model holds, whenever it changes.
    connect(&modelo(), &ModeloPrincipal::mudou, this, &KV_Principal::mostrarEstado);
    connect(&modelo(), &ModeloPrincipal::detalhesMudaram, this, &KV_Principal::mostrarDetalhes);

    // Form_Load
    restaurarPosicao();
    m_bandeja = new IconeBandeja(
        Imagens::icone(), [this] { restaurar(); }, this);
    if (IconeBandeja::disponivel())
        m_bandeja->adicionar();
    m_agenda.iniciar();
    connect(&m_agenda, &Agenda::aviso, this, &KV_Principal::MostrarAviso);
    ControleSincronizacao &controle = sincronizacao().controle();
    connect(&controle, &ControleSincronizacao::dica, m_bandeja, &IconeBandeja::setDica);
    KV_ConfirmaSincronizacao::acompanhar(this, controle);
    criarComandos();
    // Once every picture that acts takes the focus.
    ConstrutorControles::ordenarTab(this, LayoutPrincipal::ORDEM_TECLADO);
    ondeComeca()->setFocus();
}

QWidget *KV_Principal::ondeComeca()
{
    // The list, or the tab shown when it has no contacts to go through.
    if (m_lstContatos->isEnabled())
        return m_lstContatos;
    return m_abas->aba(modelo().navegacao().grupo);
}

KV_Principal::~KV_Principal() = default;

void KV_Principal::criarComandos()
{
    const auto abrir = [this](const QUrl &link) {
        if (!m_opcoes.abrirEndereco)
            return QDesktopServices::openUrl(link);
        m_opcoes.abrirEndereco(link);
        return true;
    };
    ComandosPrincipal::Janela j;
    j.adicionar = [this] { imgAdiciona_Click(); };
    j.atualizar = [this] { imgAtualiza_Click(); };
    j.deletar = [this] { imgDeleta_Click(); };
    j.fechar = [this] { close(); };
    j.minimizar = [this] { minimize_to_tray(); };
    j.sobre = [this] { KV_About(this, m_opcoes.abrirEndereco).abrir(); };
    j.procurar = [this] { editar(KV_Procura(this, modelo(), *m_avisos)); };
    j.padronizar = [this] { editar(KV_Padroniza(this, modelo(), *m_avisos)); };
    j.duplicados = [this] { editar(KV_Duplicados(this, m_agenda, *m_avisos)); };
    j.importar = [this] { importar(); };
    j.sincronizacao = [this] { KV_Sincroniza(this, sincronizacao()).abrir(); };
    j.exportar = [this] { exportar(); };
    j.imprimir = [this, abrir] {
        KV_Imprime(this, modelo(), *m_avisos,
                   {m_opcoes.escolherPdf, abrir, [this] { return m_agenda.configuracoes(); }})
            .abrir();
    };
    j.versoes = [this] { abrirVersoes(); };
    j.irParaLista = [this] { ondeComeca()->setFocus(Qt::ShortcutFocusReason); };
    j.avisar = [this](const QStringList &avisos) { avisar(avisos); };
    j.abrir = abrir;
    m_comandos = new ComandosPrincipal(*this, m_agenda, std::move(j));
    m_comandos->ligarImagens([this](const char *nome) { return imagem(nome); });
}

void KV_Principal::editar(DialogoDeslizante &&dialogo)
{
    m_agenda.editar([&dialogo] { dialogo.abrir(); });
}

void KV_Principal::avisar(const QStringList &avisos)
{
    for (const QString &aviso : avisos)
        MostrarAviso(aviso);
}

RotuloClicavel *KV_Principal::imagem(const char *nome)
{
    return findChild<RotuloClicavel *>(QLatin1String(nome), Qt::FindDirectChildrenOnly);
}

void KV_Principal::criarControles()
{
    const auto controles = ConstrutorControles::construir(LayoutPrincipal::CONTROLES, this);
    m_lstContatos =
        qobject_cast<ListaSelecaoUnica *>(controles.value(QStringLiteral("lstContatos")));
    m_txtFone = qobject_cast<QLineEdit *>(controles.value(QStringLiteral("txtFone")));
    m_txtMail = qobject_cast<QLineEdit *>(controles.value(QStringLiteral("txtMail")));
    m_lblTotalContatos =
        qobject_cast<QLabel *>(controles.value(QStringLiteral("lblTotalContatos")));
    m_lblDataHoje = qobject_cast<QLabel *>(controles.value(QStringLiteral("lblDataHoje")));
    m_imgAvanca = imagem("imgAvanca");
    m_imgRetorna = imagem("imgRetorna");

    // The visible list: white bold names on the pattern; telephone and e-mail
    // lie beyond its width and are cut off, not elided.
    m_lstContatos->setFrameShape(QFrame::NoFrame);
    m_lstContatos->setTextElideMode(Qt::ElideNone);
    m_lstContatos->setWordWrap(false);
    m_lstContatos->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lstContatos->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lstContatos->setUniformItemSizes(true);
    definirFundoLista(Imagens::imagem(QStringLiteral("Image1")));
    connect(m_lstContatos, &QListWidget::itemSelectionChanged, this,
            &KV_Principal::lstContatos_Click);
    m_lstContatos->setAccessibleName(QStringLiteral("Contatos"));
    m_txtFone->setAccessibleName(QStringLiteral("Telefone"));
    m_txtMail->setAccessibleName(QStringLiteral("E-mail"));

    for (QWidget *w : {static_cast<QWidget *>(m_lstContatos), static_cast<QWidget *>(m_txtFone),
                       static_cast<QWidget *>(m_txtMail)})
        w->installEventFilter(this);
    m_relogio.start();
    m_abas = new AbasLetras(*this, [this](int g) { clicarAba(g); });
    for (const auto &e : LayoutPrincipal::EFEITOS) {
        imagem(e.nome)->definirEfeito(QPoint(e.pressionadoLeft, e.pressionadoTop),
                                      QPoint(e.soltoLeft, e.soltoTop));
    }
}

bool KV_Principal::teclaDeBusca(const QKeyEvent *e)
{
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    ModeloPrincipal::Busca r = ModeloPrincipal::Busca::Ignorada;
    if (e->key() == Qt::Key_Backspace)
        r = modelo().apagarBusca(m_relogio.elapsed());
    else if (e->key() == Qt::Key_Escape)
        r = modelo().limparBusca();
    else if (e->text().size() == 1)
        r = modelo().digitar(e->text().front(), m_relogio.elapsed());
    if (r == ModeloPrincipal::Busca::SemContato)
        QApplication::beep();
    return r != ModeloPrincipal::Busca::Ignorada;
}

void KV_Principal::keyPressEvent(QKeyEvent *e)
{
    if (!teclaDeBusca(e))
        QWidget::keyPressEvent(e);
}

bool KV_Principal::eventFilter(QObject *o, QEvent *e)
{
    // Before the list's own search among the ten rows it shows.
    if (e->type() == QEvent::KeyPress && teclaDeBusca(static_cast<QKeyEvent *>(e)))
        return true;
    return QWidget::eventFilter(o, e);
}

void KV_Principal::importarArquivos(const QStringList &caminhos)
{
    // The list is shown as it is now, then the notices over it.
    avisar(m_agenda.importar(caminhos));
}

void KV_Principal::importar()
{
    const QStringList arquivos =
        m_opcoes.escolherImportacao
            ? m_opcoes.escolherImportacao()
            : QFileDialog::getOpenFileNames(this, QStringLiteral("Importar contatos"), {},
                                            QStringLiteral("Contatos (*.vcf *.csv)"));
    if (!arquivos.isEmpty())
        importarArquivos(arquivos);
}

void KV_Principal::exportar()
{
    auto formato = ContatosExternos::Formato::VCard;
    const QString caminho = m_opcoes.escolherExportacao
                                ? m_opcoes.escolherExportacao(formato)
                                : DialogoExportacao::escolher(this, formato);
    if (!caminho.isEmpty())
        MostrarAviso(m_agenda.exportar(caminho, formato));
}

QMenu *KV_Principal::criarMenuContatos()
{
    return m_comandos->criarMenu();
}

void KV_Principal::abrirVersoes()
{
    editar(KV_Versoes(this, modelo(), *m_avisos, &sincronizacao()));
}

void KV_Principal::contextMenuEvent(QContextMenuEvent *e)
{
    if (!m_lstContatos->geometry().contains(e->pos())) {
        e->ignore();
        return;
    }
    criarMenuContatos()->popup(e->globalPos());
}

void KV_Principal::dragEnterEvent(QDragEnterEvent *e)
{
    if (e->mimeData()->hasUrls() && IntercambioContatos::importaveis(e->mimeData()->urls()))
        e->acceptProposedAction();
}

void KV_Principal::dropEvent(QDropEvent *e)
{
    if (!e->mimeData()->hasUrls() || !IntercambioContatos::importaveis(e->mimeData()->urls()))
        return;
    e->acceptProposedAction();
    QStringList caminhos;
    for (const QUrl &u : e->mimeData()->urls())
        caminhos.append(u.toLocalFile());
    // After the drop has ended: a notice is a modal window of its own.
    QTimer::singleShot(0, this, [this, caminhos] { importarArquivos(caminhos); });
}

void KV_Principal::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.drawPixmap(0, 0, Imagens::imagem(QStringLiteral("fundo")));
}

void KV_Principal::definirFundoLista(const QPixmap &padrao)
{
    // White names straight on the tiled picture, from the list's top-left
    // corner; without it the list keeps its plain caption colour.
    QPalette pal = m_lstContatos->palette();
    const QBrush fundo = padrao.isNull() ? QBrush(QColor(0x99, 0xB4, 0xD1)) : QBrush(padrao);
    for (const auto grupo : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setBrush(grupo, QPalette::Base, fundo);
    pal.setColor(QPalette::Text, Qt::white);
    pal.setColor(QPalette::Disabled, QPalette::Text, QColor(0xB0, 0xB0, 0xB0));
    m_lstContatos->setPalette(pal);
}

void KV_Principal::mousePressEvent(QMouseEvent *e)
{
    e->accept();
    // The window manager's own move loop follows the left button only; for
    // the others, and without a window manager, the window follows the mouse.
    if (e->button() == Qt::LeftButton && windowHandle() && windowHandle()->startSystemMove())
        return;
    m_arrastando = true;
    m_pegada = QCursor::pos() - pos();
}

void KV_Principal::mouseMoveEvent(QMouseEvent *)
{
    if (m_arrastando)
        // Where the pointer is now: on Windows an event's global place is
        // worked out from the window's place, which the move itself changes.
        move(QCursor::pos() - m_pegada);
}

void KV_Principal::mouseReleaseEvent(QMouseEvent *e)
{
    e->accept();
    m_arrastando = false;
}

void KV_Principal::mostrarEstado()
{
    const NavegacaoContatos &nav = modelo().navegacao();
    m_renderizando = true;
    m_lstContatos->clear();
    for (const QString &entrada : nav.lstContatos) {
        auto *item = new QListWidgetItem(entrada, m_lstContatos);
        item->setSizeHint(QSize(m_lstContatos->width(), 13));
        item->setData(Qt::AccessibleTextRole, entradaFalada(entrada));
    }
    // A control about to go (the list of an empty tab, the arrow of the last
    // page) hands the focus to the list, or else to the tab shown, instead
    // of Qt's next in the chain: the keyboard stays where the user is.
    const QWidget *foco = QApplication::focusWidget();
    const bool perde = (foco == m_lstContatos && !nav.lstContatosHabilitada) ||
                       (foco == m_imgAvanca && !nav.imgAvancaVisivel) ||
                       (foco == m_imgRetorna && !nav.imgRetornaVisivel);
    if (perde && nav.lstContatosHabilitada)
        m_lstContatos->setEnabled(true);
    if (perde)
        (nav.lstContatosHabilitada ? static_cast<QWidget *>(m_lstContatos) : m_abas->aba(nav.grupo))
            ->setFocus(Qt::OtherFocusReason);
    m_lstContatos->setEnabled(nav.lstContatosHabilitada);
    if (nav.selecionado >= 0)
        m_lstContatos->setCurrentRow(nav.selecionado);
    else
        m_lstContatos->setCurrentRow(-1);
    m_renderizando = false;

    mostrarDetalhes();
    m_imgAvanca->setVisible(nav.imgAvancaVisivel);
    m_imgAvanca->setEnabled(nav.imgAvancaVisivel);
    m_imgRetorna->setVisible(nav.imgRetornaVisivel);
    m_imgRetorna->setEnabled(nav.imgRetornaVisivel);
    m_lblTotalContatos->setText(modelo().lblTotalContatos());
    m_lblTotalContatos->setAccessibleName(modelo().totalFalado());
    m_lblDataHoje->setText(modelo().lblDataHoje());

    // Which tab and page the list shows, said when either changes, also
    // from the keys; the tab chosen is the selected page tab.
    m_abas->mostrar(nav.grupo);
    m_lstContatos->setAccessibleDescription(QStringLiteral("%1, página %2 de %3")
                                                .arg(m_abas->letras(nav.grupo))
                                                .arg(nav.pagina())
                                                .arg(nav.paginas()));
}

void KV_Principal::mostrarDetalhes()
{
    const NavegacaoContatos &nav = modelo().navegacao();
    m_txtFone->setText(nav.txtFone);
    m_txtMail->setText(nav.txtMail);
    m_txtFone->setCursorPosition(0);
    m_txtMail->setCursorPosition(0);
}

void KV_Principal::lstContatos_Click()
{
    if (!m_renderizando)
        modelo().selecionar(m_lstContatos->linhaSelecionada());
}

void KV_Principal::imgRefresh_Click()
{
    avisar(m_agenda.reler());
}

void KV_Principal::clicarAba(int grupo)
{
    modelo().escolherAba(grupo);
}

void KV_Principal::imgAdiciona_Click()
{
    editar(KV_Adiciona(this, modelo(), *m_avisos));
}

void KV_Principal::imgAtualiza_Click()
{
    if (!modelo().contatoSelecionado()) {
        MostrarAviso(Mensagens::SELECIONE);
        return;
    }
    editar(KV_Atualiza(this, modelo(), *m_avisos));
}

void KV_Principal::imgDeleta_Click()
{
    if (!modelo().contatoSelecionado()) {
        MostrarAviso(Mensagens::SELECIONE);
        return;
    }
    editar(KV_ContDel(this, modelo(), *m_avisos));
}

void KV_Principal::minimize_to_tray()
{
    if (!IconeBandeja::disponivel()) {
        showMinimized();
        return;
    }
    hide();
    m_bandeja->adicionar();
}

void KV_Principal::restaurar()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void KV_Principal::restaurarPosicao()
{
    QList<QRect> telas;
    for (const QScreen *t : QGuiApplication::screens())
        telas.append(t->geometry());
    const QScreen *primaria = QGuiApplication::primaryScreen();
    const QRect tela = primaria ? primaria->geometry() : QRect(0, 0, 1024, 768);
    const auto padrao =
        PosicaoJanela::padrao(tela, LayoutPrincipal::LARGURA, LayoutPrincipal::ALTURA);
    const auto p = PosicaoJanela::ler(*m_agenda.configuracoes(), padrao, telas, size());
    m_posicaoTwips = QPointF(p.esquerda, p.topo);
    m_posicaoPixels = QPoint(Twips::px(p.esquerda), Twips::px(p.topo));
    move(m_posicaoPixels);
}

QPointF KV_Principal::posicaoTwips() const
{
    if (pos() == m_posicaoPixels)
        return m_posicaoTwips;
    return QPointF(Twips::twips(x()), Twips::twips(y()));
}

void KV_Principal::closeEvent(QCloseEvent *e)
{
    const QPointF p = posicaoTwips();
    PosicaoJanela::gravar(*m_agenda.configuracoes(), {p.x(), p.y()});
    m_bandeja->remover();
    e->accept();
}

void KV_Principal::MostrarAviso(const QString &texto)
{
    m_avisos->MostrarAviso(this, texto);
}
