#include "main_window/vista_lista.h"

#include "chrome/lista_selecao_unica.h"
#include "chrome/rotulo_clicavel.h"
#include "layouts/imagens.h"
#include "main_window/abas_letras.h"
#include "model/lista_inicio.h"
#include "model/modelo_principal.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

VistaLista::VistaLista(QWidget &janela, const QHash<QString, QWidget *> &c, ModeloPrincipal &modelo,
                       std::function<QMenu *()> menu)
    : QObject(&janela), m_janela(janela), m_modelo(modelo), m_menu(std::move(menu)),
      m_lista(qobject_cast<ListaSelecaoUnica *>(c.value(QStringLiteral("lstContatos")))),
      m_fone(qobject_cast<QLineEdit *>(c.value(QStringLiteral("txtFone")))),
      m_mail(qobject_cast<QLineEdit *>(c.value(QStringLiteral("txtMail")))),
      m_total(qobject_cast<QLabel *>(c.value(QStringLiteral("lblTotalContatos")))),
      m_data(qobject_cast<QLabel *>(c.value(QStringLiteral("lblDataHoje")))),
      m_avanca(qobject_cast<RotuloClicavel *>(c.value(QStringLiteral("imgAvanca")))),
      m_retorna(qobject_cast<RotuloClicavel *>(c.value(QStringLiteral("imgRetorna")))),
      m_abas(new AbasLetras(janela, [&modelo](int g) { modelo.escolherAba(g); }))
{
    // The visible list: white bold names on the pattern; telephone and e-mail
    // lie beyond its width and are cut off, not elided.
    m_lista->setFrameShape(QFrame::NoFrame);
    m_lista->setTextElideMode(Qt::ElideNone);
    m_lista->setWordWrap(false);
    m_lista->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lista->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lista->setUniformItemSizes(true);
    definirFundo(Imagens::imagem(QStringLiteral("Image1")));
    connect(m_lista, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_renderizando)
            m_modelo.selecionar(m_lista->linhaSelecionada());
    });
    m_lista->setAccessibleName(QStringLiteral("Contatos"));
    m_fone->setAccessibleName(QStringLiteral("Telefone"));
    m_mail->setAccessibleName(QStringLiteral("E-mail"));
    for (QWidget *w : {&janela, static_cast<QWidget *>(m_lista), static_cast<QWidget *>(m_fone),
                       static_cast<QWidget *>(m_mail)})
        w->installEventFilter(this);
    m_relogio.start();
    // The window shows what the model holds, whenever it changes.
    connect(&modelo, &ModeloPrincipal::mudou, this, &VistaLista::mostrarEstado);
    connect(&modelo, &ModeloPrincipal::detalhesMudaram, this, &VistaLista::mostrarDetalhes);
}

QWidget *VistaLista::ondeComeca() const
{
    if (m_lista->isEnabled())
        return m_lista;
    return m_abas->aba(m_modelo.navegacao().grupo);
}

bool VistaLista::teclaDeBusca(const QKeyEvent *e)
{
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    ModeloPrincipal::Busca r = ModeloPrincipal::Busca::Ignorada;
    if (e->key() == Qt::Key_Backspace)
        r = m_modelo.apagarBusca(m_relogio.elapsed());
    else if (e->key() == Qt::Key_Escape)
        r = m_modelo.limparBusca();
    else if (e->text().size() == 1)
        r = m_modelo.digitar(e->text().front(), m_relogio.elapsed());
    if (r == ModeloPrincipal::Busca::SemContato)
        QApplication::beep();
    return r != ModeloPrincipal::Busca::Ignorada;
}

bool VistaLista::eventFilter(QObject *o, QEvent *e)
{
    // Typing finds a contact, before the list's own search among the ten
    // rows it shows.
    if (e->type() == QEvent::KeyPress && teclaDeBusca(static_cast<QKeyEvent *>(e)))
        return true;
    if (o == &m_janela && e->type() == QEvent::ContextMenu) {
        const auto *c = static_cast<QContextMenuEvent *>(e);
        if (!m_lista->geometry().contains(c->pos()))
            return false;
        m_menu()->popup(c->globalPos());
        return true;
    }
    return false;
}

void VistaLista::definirFundo(const QPixmap &padrao)
{
    // White names straight on the tiled picture, from the list's top-left
    // corner; without it the list keeps its plain caption colour.
    QPalette pal = m_lista->palette();
    const QBrush fundo = padrao.isNull() ? QBrush(QColor(0x99, 0xB4, 0xD1)) : QBrush(padrao);
    for (const auto grupo : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setBrush(grupo, QPalette::Base, fundo);
    pal.setColor(QPalette::Text, Qt::white);
    pal.setColor(QPalette::Disabled, QPalette::Text, QColor(0xB0, 0xB0, 0xB0));
    m_lista->setPalette(pal);
}

void VistaLista::mostrarEstado()
{
    const NavegacaoContatos &nav = m_modelo.navegacao();
    m_renderizando = true;
    m_lista->clear();
    for (const QString &entrada : nav.lstContatos) {
        auto *item = new QListWidgetItem(entrada, m_lista);
        item->setSizeHint(QSize(m_lista->width(), 13));
        item->setData(Qt::AccessibleTextRole, entradaFalada(entrada));
    }
    // A control about to go (the list of an empty tab, the arrow of the last
    // page) hands the focus to the list, or else to the tab shown, instead
    // of Qt's next in the chain: the keyboard stays where the user is.
    const QWidget *foco = QApplication::focusWidget();
    const bool perde = (foco == m_lista && !nav.lstContatosHabilitada) ||
                       (foco == m_avanca && !nav.imgAvancaVisivel) ||
                       (foco == m_retorna && !nav.imgRetornaVisivel);
    if (perde && nav.lstContatosHabilitada)
        m_lista->setEnabled(true);
    if (perde)
        (nav.lstContatosHabilitada ? static_cast<QWidget *>(m_lista) : m_abas->aba(nav.grupo))
            ->setFocus(Qt::OtherFocusReason);
    m_lista->setEnabled(nav.lstContatosHabilitada);
    m_lista->setCurrentRow(nav.selecionado >= 0 ? nav.selecionado : -1);
    m_renderizando = false;

    mostrarDetalhes();
    m_avanca->setVisible(nav.imgAvancaVisivel);
    m_avanca->setEnabled(nav.imgAvancaVisivel);
    m_retorna->setVisible(nav.imgRetornaVisivel);
    m_retorna->setEnabled(nav.imgRetornaVisivel);
    m_total->setText(m_modelo.lblTotalContatos());
    m_total->setAccessibleName(m_modelo.totalFalado());
    m_data->setText(m_modelo.lblDataHoje());

    // Which tab and page the list shows, said when either changes, also
    // from the keys; the tab chosen is the selected page tab.
    m_abas->mostrar(nav.grupo);
    m_lista->setAccessibleDescription(QStringLiteral("%1, página %2 de %3")
                                          .arg(m_abas->letras(nav.grupo))
                                          .arg(nav.pagina())
                                          .arg(nav.paginas()));
}

void VistaLista::mostrarDetalhes()
{
    const NavegacaoContatos &nav = m_modelo.navegacao();
    m_fone->setText(nav.txtFone);
    m_mail->setText(nav.txtMail);
    m_fone->setCursorPosition(0);
    m_mail->setCursorPosition(0);
}
