#include "dialog_layouts.h"

#include "clickable_label.h"
#include "fonts.h"
#include "pictures.h"
#include "shape.h"
#include "twips.h"

#include <QLineEdit>

namespace LayoutDialogos {

namespace {

using T = Tipo;
constexpr QRgb BRANCO = 0xFFFFFF;

constexpr Controle kAdiciona[] = {
    {"txtMail", T::Campo, 60, 1215, 2300, 245},
    {"txtFone", T::Campo, 60, 730, 2300, 245},
    {"txtNome", T::Campo, 60, 240, 2300, 245},
    {"Label2", T::Rotulo, 680, 1015, 735, 255, u"(max: 40)", COR_DICA},
    {"Label1", T::Rotulo, 915, 545, 735, 255, u"(max: 40)", COR_DICA},
    {"Label3", T::Rotulo, 645, 60, 735, 255, u"(max: 40)", COR_DICA},
    {"lblSim", T::Botao, 360, 1635, 860, 555, u"Adicionar", COR_BOTAO, true, true, u" Adicionar "},
    {"lblNao", T::Botao, 1315, 1635, 860, 555, u"Fechar", COR_BOTAO, true, true, u" Fechar "},
    {"Shape2", T::Linha, 60, 715, 2325, 30, u"", COR_LINHA},
    {"Shape3", T::Linha, 60, 1200, 2325, 30, u"", COR_LINHA},
    {"Shape1", T::Linha, 60, 245, 2330, 30, u"", COR_LINHA},
    {"lblEmail", T::Rotulo, 100, 1015, 615, 195, u"E-mail", BRANCO, true},
    {"lblTelefone", T::Rotulo, 100, 545, 855, 195, u"Telefone", BRANCO, true},
    {"lblNome", T::Rotulo, 100, 60, 615, 195, u"Nome", BRANCO, true},
    {"shpSim", T::Face, 360, 1560, 860, 795, u"", COR_FACE},
    {"shpNao", T::Face, 1315, 1560, 860, 795, u"", COR_FACE},
};

constexpr Controle kAtualiza[] = {
    {"txtNome", T::Campo, 60, 255, 2300, 245},
    {"txtFone", T::Campo, 60, 730, 2300, 245},
    {"txtMail", T::Campo, 60, 1230, 2300, 245},
    {"Label2", T::Rotulo, 680, 1015, 735, 255, u"(max: 40)", COR_DICA},
    {"Label1", T::Rotulo, 915, 545, 735, 255, u"(max: 40)", COR_DICA},
    {"Label3", T::Rotulo, 645, 60, 735, 255, u"(max: 40)", COR_DICA},
    {"lblNao", T::Botao, 1315, 1635, 855, 555, u" Fechar ", COR_BOTAO, true, true, u" Fechar "},
    {"lblSim", T::Botao, 330, 1635, 855, 555, u" Atualizar ", COR_BOTAO, true, true,
     u" Atualizar "},
    {"Shape1", T::Linha, 60, 240, 2325, 30, u"", COR_LINHA},
    {"Shape3", T::Linha, 60, 1215, 2325, 30, u"", COR_LINHA},
    {"Shape2", T::Linha, 60, 715, 2325, 30, u"", COR_LINHA},
    {"lblEmail", T::Rotulo, 100, 1015, 615, 195, u"E-mail", BRANCO, true},
    {"lblTelefone", T::Rotulo, 100, 545, 855, 195, u"Telefone", BRANCO, true},
    {"lblNome", T::Rotulo, 100, 60, 615, 195, u"Nome", BRANCO, true},
    {"shpNao", T::Face, 1315, 1560, 855, 795, u"", COR_FACE},
    {"shpSim", T::Face, 360, 1560, 855, 795, u"", COR_FACE},
};

constexpr Controle kContDel[] = {
    {"lblNao", T::Botao, 1290, 1475, 570, 560, u" NÃO ", COR_BOTAO, true, true, u" NÃO "},
    {"lblSim", T::Botao, 675, 1475, 570, 560, u" SIM ", COR_BOTAO, true, true, u" SIM "},
    {"shpNao", T::Face, 1290, 1400, 570, 795, u"", COR_FACE},
    {"shpSim", T::Face, 675, 1400, 570, 795, u"", COR_FACE},
    {"Label1", T::Rotulo, 90, 360, 2295, 855, u"Deseja realmente deletar esse contato?", BRANCO,
     true, true},
};

constexpr Controle kAbout[] = {
    {"Label5", T::Rotulo, 765, 290, 1635, 495, u"Fonelo Agenda Versão 1.3", BRANCO, false, true},
    {"Image1", T::Imagem, 10, 10, 720, 720, u"sobre"},
    {"lblVelquist", T::Botao, 105, 960, 2055, 285, u"", BRANCO, true},
    {"Label2", T::Rotulo, 105, 775, 735, 285, u"Autor:", BRANCO, true},
    {"Label4", T::Titulo, 750, 0, 2025, 195, u"Marvessa FONELO", COR_SOBRE, true},
    {"Label3", T::Rotulo, 700, 775, 1455, 255, u"", BRANCO},
    {"lblFree", T::Rotulo, 105, 1445, 1500, 435, u"Este programa é gratuito!", COR_SOBRE},
    {"lblNao", T::Botao, 1620, 1445, 690, 555, u" Fechar ", COR_BOTAO, true, true, u" Fechar "},
    {"shpNao", T::Face, 1650, 1395, 690, 795, u"", COR_FACE},
    {"Shape3", T::Quadro, 0, 0, 750, 750, u"", COR_SOBRE},
};

constexpr Controle kContAd[] = {
    {"Label1", T::Rotulo, 60, 600, 2385, 1215, u"Contato Inserido!", BRANCO, true, true},
};

QWidget *criar(const Controle &c, QWidget *pai)
{
    const QString texto = QString::fromUtf16(c.texto);
    QWidget *w = nullptr;
    switch (c.tipo) {
    case Tipo::Campo: {
        auto *t = new QLineEdit(pai);
        t->setFrame(false);
        t->setMaxLength(40);
        w = t;
        break;
    }
    case Tipo::Rotulo:
    case Tipo::Botao: {
        auto *l = new RotuloClicavel(QLatin1String(c.nome), pai);
        l->setText(texto);
        l->setFont(Fontes::padrao(c.negrito));
        l->setWordWrap(c.tipo == Tipo::Rotulo);
        l->setAlignment((c.centro ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, QColor(c.cor));
        l->setPalette(pal);
        if (c.tipo == Tipo::Botao)
            l->setCursor(Imagens::mao());
        w = l;
        break;
    }
    case Tipo::Face:
        w = new Forma(QColor(c.cor), Twips::px(135), pai);
        break;
    case Tipo::Linha:
        w = new Forma(QColor(c.cor), 0, pai);
        break;
    case Tipo::Quadro:
        w = new Forma(pai->palette().color(QPalette::Base), 0, pai, QColor(c.cor));
        break;
    case Tipo::Imagem: {
        auto *l = new RotuloClicavel(QLatin1String(c.nome), pai);
        l->setPixmap(Imagens::imagem(texto));
        l->setScaledContents(true);
        w = l;
        break;
    }
    case Tipo::Titulo: {
        auto *l = new RotuloClicavel(QLatin1String(c.nome), pai);
        l->setText(texto);
        l->setFont(Fontes::padrao(c.negrito));
        l->setAutoFillBackground(true);
        QPalette pal = l->palette();
        pal.setColor(QPalette::Window, QColor(c.cor));
        pal.setColor(QPalette::WindowText, pai->palette().color(QPalette::Base));
        l->setPalette(pal);
        w = l;
        break;
    }
    }
    w->setObjectName(QLatin1String(c.nome));
    w->setGeometry(Twips::rect(c.left, c.top, c.width, c.height));
    if (c.dica)
        w->setToolTip(QString::fromUtf16(c.dica));
    // Label buttons are announced by what they say, without the padding;
    // plain labels announce their text as it is at the moment, since some
    // (the notice's) say something else at each use.
    if (c.tipo == Tipo::Botao)
        w->setAccessibleName(texto.trimmed());
    return w;
}

} // namespace

const Janela Adiciona{"KV_Adiciona", 2430, 1905, QPalette::HighlightedText, 0, kAdiciona};
const Janela Atualiza{"KV_Atualiza", 2430, 1905, QPalette::HighlightedText, 0, kAtualiza};
const Janela ContDel{"KV_ContDel", 2430, 1905, QPalette::NoRole, 0xF9F8F0, kContDel};
const Janela About{"KV_About", 2430, 1905, QPalette::NoRole, 0xF9F8F0, kAbout};
const Janela ContAd{"KV_ContAd", 2430, 1935, QPalette::NoRole, 0xF9F8F0, kContAd};

QHash<QString, QWidget *> construir(const Janela &janela, QWidget *pai)
{
    QHash<QString, QWidget *> out;
    for (auto it = janela.controles.rbegin(); it != janela.controles.rend(); ++it)
        out.insert(QLatin1String(it->nome), criar(*it, pai));
    // Text boxes stand over every label and shape.
    for (const Controle &c : janela.controles) {
        if (c.tipo == Tipo::Campo)
            out.value(QLatin1String(c.nome))->raise();
    }
    return out;
}

void prepararJanela(const Janela &janela, QWidget *w)
{
    w->setObjectName(QLatin1String(janela.nome));
    w->setFont(Fontes::padrao());
    w->resize(Twips::px(janela.largura), Twips::px(janela.altura));
}

QColor corDeFundo(const Janela &janela, const QWidget *w)
{
    return janela.papelFundo == QPalette::NoRole ? QColor(janela.corFundo)
                                                 : w->palette().color(janela.papelFundo);
}

} // namespace LayoutDialogos
