#include "chrome/construtor_controles.h"

#include "chrome/forma.h"
#include "chrome/janela_acessivel.h"
#include "chrome/lista_escolhas.h"
#include "chrome/lista_selecao_unica.h"
#include "chrome/rotulo_clicavel.h"
#include "layouts/fontes.h"
#include "layouts/imagens.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>
#include <limits>

namespace ConstrutorControles {

namespace {

constexpr QRgb FUNDO_DETALHE = 0x404040;

QFont fonte(const Controle &c)
{
    return c.fonte == FonteControle::Tahoma ? Fontes::tahoma(c.negrito) : Fontes::padrao(c.negrito);
}

void pintarTexto(QWidget *w, const QColor &cor)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, cor);
    pal.setColor(QPalette::Text, cor);
    w->setPalette(pal);
}

} // namespace

QWidget *criar(const Controle &c, QWidget *pai)
{
    const QString nome = QLatin1String(c.nome);
    const QString texto = QString::fromUtf16(c.texto);
    QWidget *w = nullptr;
    switch (c.tipo) {
    case TipoControle::Campo: {
        auto *t = new QLineEdit(pai);
        t->setFrame(false);
        t->setMaxLength(40);
        w = t;
        break;
    }
    case TipoControle::Detalhe: {
        auto *t = new QLineEdit(pai);
        // The whole stored value, however long.
        t->setMaxLength(std::numeric_limits<int>::max());
        t->setReadOnly(true);
        t->setFrame(false);
        t->setAlignment(Qt::AlignCenter);
        t->setFont(fonte(c));
        QPalette pal = t->palette();
        pal.setColor(QPalette::Base, QColor(FUNDO_DETALHE));
        pal.setColor(QPalette::Text, QColor(c.cor));
        t->setPalette(pal);
        w = t;
        break;
    }
    case TipoControle::Rotulo:
    case TipoControle::Botao: {
        auto *l = new RotuloClicavel(nome, pai);
        l->setText(texto);
        l->setFont(fonte(c));
        l->setWordWrap(c.tipo == TipoControle::Rotulo);
        l->setAlignment((c.centro ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, QColor(c.cor));
        l->setPalette(pal);
        if (c.tipo == TipoControle::Botao) {
            l->setCursor(Imagens::mao());
            l->usarTeclado();
        }
        w = l;
        break;
    }
    case TipoControle::Legenda: {
        auto *l = new RotuloClicavel(nome, pai);
        l->setText(texto);
        l->setFont(fonte(c));
        if (c.centro)
            l->setAlignment(Qt::AlignCenter);
        pintarTexto(l, c.papel == QPalette::NoRole ? QColor(c.cor) : pai->palette().color(c.papel));
        // A line of text that acts, as a link does.
        if (c.mao)
            l->usarTeclado();
        w = l;
        break;
    }
    case TipoControle::Figura: {
        auto *l = new RotuloClicavel(nome, pai);
        l->setPixmap(Imagens::imagem(nome));
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w = l;
        break;
    }
    case TipoControle::Imagem: {
        auto *l = new RotuloClicavel(nome, pai);
        l->setPixmap(Imagens::imagem(texto));
        l->setScaledContents(true);
        w = l;
        break;
    }
    case TipoControle::Titulo: {
        auto *l = new RotuloClicavel(nome, pai);
        l->setText(texto);
        l->setFont(fonte(c));
        l->setAutoFillBackground(true);
        QPalette pal = l->palette();
        pal.setColor(QPalette::Window, QColor(c.cor));
        pal.setColor(QPalette::WindowText, pai->palette().color(QPalette::Base));
        l->setPalette(pal);
        w = l;
        break;
    }
    case TipoControle::Forma:
        w = new Forma(QColor(c.cor), Twips::px(c.raio), pai);
        break;
    case TipoControle::Quadro:
        w = new Forma(pai->palette().color(QPalette::Base), 0, pai, QColor(c.cor));
        break;
    case TipoControle::Opcao:
    case TipoControle::Marca: {
        QAbstractButton *b = c.tipo == TipoControle::Opcao
                                 ? static_cast<QAbstractButton *>(new QRadioButton(texto, pai))
                                 : new QCheckBox(texto, pai);
        b->setFont(fonte(c));
        pintarTexto(b, QColor(c.cor));
        w = b;
        break;
    }
    case TipoControle::Lista:
    case TipoControle::Escolhas: {
        auto *l =
            c.tipo == TipoControle::Lista ? new ListaSelecaoUnica(pai) : new ListaEscolhas(pai);
        l->setFont(fonte(c));
        w = l;
        break;
    }
    }
    w->setObjectName(nome);
    w->setGeometry(c.pixels());
    if (c.dica)
        w->setToolTip(QString::fromUtf16(c.dica));
    if (c.mao)
        w->setCursor(Imagens::mao());
    // Label buttons are announced by what they say (by their tooltips where
    // they show a sign, "‹"), picture buttons by their tooltips or their
    // letters, all without the padding; plain labels announce their text as
    // it is at the moment, since some (the notice's, the total) say
    // something else over time. Shapes and unnamed pictures only decorate.
    const QString dica = c.dica ? QString::fromUtf16(c.dica).trimmed() : QString();
    const bool sinal =
        std::none_of(texto.cbegin(), texto.cend(), [](QChar ch) { return ch.isLetterOrNumber(); });
    if (c.tipo == TipoControle::Botao)
        w->setAccessibleName(sinal && !dica.isEmpty() ? dica : texto.trimmed());
    else if (c.tipo == TipoControle::Figura && (c.dica || !texto.isEmpty()))
        w->setAccessibleName(c.dica ? dica : texto);
    else if (c.tipo == TipoControle::Figura || c.tipo == TipoControle::Imagem ||
             c.tipo == TipoControle::Forma || c.tipo == TipoControle::Quadro)
        JanelaAcessivel::enfeite(w);
    return w;
}

QHash<QString, QWidget *> construir(std::span<const Controle> controles, QWidget *pai)
{
    QHash<QString, QWidget *> out;
    for (auto it = controles.rbegin(); it != controles.rend(); ++it)
        out.insert(QLatin1String(it->nome), criar(*it, pai));
    for (const Controle &c : controles) {
        if (c.tipo == TipoControle::Campo)
            out.value(QLatin1String(c.nome))->raise();
    }
    return out;
}

void ordenarTab(QWidget *pai, std::span<const char *const> ordem)
{
    QWidget *antes = nullptr;
    for (const char *nome : ordem) {
        QWidget *w = pai->findChild<QWidget *>(QLatin1String(nome), Qt::FindDirectChildrenOnly);
        if (antes && w)
            QWidget::setTabOrder(antes, w);
        antes = w;
    }
}

} // namespace ConstrutorControles
