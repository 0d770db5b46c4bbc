#include "chrome/regiao_janela.h"
#include "chrome/rotulo_clicavel.h"
#include "dialogs/kv_adiciona.h"
#include "dialogs/kv_atualiza.h"
#include "dialogs/kv_contdel.h"
#include "gui_helpers.h"
#include "layouts/imagens.h"
#include "layouts/layout_principal.h"
#include "layouts/twips.h"

#include <QListWidget>
#include <QTest>

using Teste::Principal;

class TestChrome : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void contorno();
    void janelaSemMolduraERecortada();
    void efeitoPressionado_data();
    void efeitoPressionado();
    void soltarForaDaImagem();
    void arrastarPeloFundo();
    void fundoDaLista();
    void imagensDoPrograma();
    void nomesAcessiveis();
};

void TestChrome::contorno()
{
    const QList<QPoint> a15 = CriarRegiaoJanela(1.0, 1.0, 0, 0, 15, 15);
    QCOMPARE(a15.size(), 22);
    for (int i = 0; i < 22; ++i)
        QCOMPARE(a15[i], PontosContorno[i]);
    // 120 dpi: everything times 1.25, halves to even.
    const QList<QPoint> a12 = CriarRegiaoJanela(1.0, 1.0, 0, 0, 12, 12);
    QCOMPARE(a12[1], QPoint(236, 0));
    QCOMPARE(a12[7], QPoint(245, 365));
    QCOMPARE(a12[20], QPoint(1, 4));
    QCOMPARE(a12[4], QPoint(242, 2));  // 2.5 rounds to 2
    QCOMPARE(a12[13], QPoint(9, 375)); // 8.75
    QCOMPARE(CriarRegiaoJanela(2.0, 1.0, 10, -5)[1], QPoint(388, -5));
}

void TestChrome::janelaSemMolduraERecortada()
{
    Principal p;
    QVERIFY(p.janela->windowFlags() & Qt::FramelessWindowHint);
    const QRegion m = p.janela->mask();
    QVERIFY(!m.isEmpty());
    // The cut corners are outside; the panel inside.
    for (const QPoint fora : {QPoint(0, 0), QPoint(194, 0), QPoint(0, 299), QPoint(194, 299)})
        QVERIFY2(!m.contains(fora), qPrintable(u"%1,%2"_s.arg(fora.x()).arg(fora.y())));
    for (const QPoint dentro : {QPoint(8, 1), QPoint(100, 150), QPoint(3, 100), QPoint(100, 298)})
        QVERIFY(m.contains(dentro));
}

void TestChrome::efeitoPressionado_data()
{
    QTest::addColumn<Qt::MouseButton>("botao");
    QTest::newRow("esquerdo") << Qt::LeftButton;
    QTest::newRow("direito") << Qt::RightButton;
    QTest::newRow("meio") << Qt::MiddleButton;
}

void TestChrome::efeitoPressionado()
{
    QFETCH(Qt::MouseButton, botao);
    Principal p;
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    int longeDoInicio = 0;
    for (const auto &e : LayoutPrincipal::EFEITOS) {
        auto *w = p.filho<RotuloClicavel>(QLatin1String(e.nome));
        QVERIFY2(w && w->isVisible() == w->isVisibleTo(p.janela.get()), e.nome);
        if (!w->isVisible()) {
            w->show(); // the arrows are hidden while there is no other page
            w->setEnabled(true);
        }
        QTest::mousePress(w, botao, {}, QPoint(2, 2));
        QCOMPARE(w->pos(), Twips::ponto(e.pressionadoLeft, e.pressionadoTop));
        // Released off the picture, so that no command runs.
        QTest::mouseRelease(w, botao, {}, QPoint(-40, -40));
        QCOMPARE(w->pos(), Twips::ponto(e.soltoLeft, e.soltoTop));
        const auto *c = LayoutPrincipal::controle(QLatin1String(e.nome));
        longeDoInicio += c->left != e.soltoLeft || c->top != e.soltoTop;
    }
    QCOMPARE(longeDoInicio, 7);
    // The window buttons do not move.
    for (const char *nome : {"imgFecha", "imgMinimiza"}) {
        QWidget *w = p.filho(QLatin1String(nome));
        const QPoint antes = w->pos();
        QTest::mousePress(w, botao, {}, QPoint(2, 2));
        QCOMPARE(w->pos(), antes);
        QTest::mouseRelease(w, Qt::RightButton, {}, QPoint(2, 2));
    }
}

void TestChrome::soltarForaDaImagem()
{
    Principal p;
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    auto *add = p.filho<RotuloClicavel>(u"imgAdiciona"_s);
    bool clicado = false;
    connect(add, &RotuloClicavel::clicked, this, [&] { clicado = true; });
    QTest::mousePress(add, Qt::LeftButton, {}, QPoint(2, 2));
    // Released far away: the picture that took the press returns; no click.
    QTest::mouseRelease(add, Qt::LeftButton, {}, QPoint(80, 60));
    QCOMPARE(add->pos(), Twips::ponto(260, 2600));
    QVERIFY(!clicado);
    // The second press of lbl09 goes to its pressed place, from 2380.
    auto *n = p.filho<RotuloClicavel>(u"lbl09"_s);
    QTest::mouseClick(n, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(n->pos(), Twips::ponto(2380, 3790));
    QTest::mousePress(n, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(n->pos(), Twips::ponto(2390, 3805));
    QTest::mouseRelease(n, Qt::LeftButton, {}, QPoint(2, 2));
}

void TestChrome::arrastarPeloFundo()
{
    const QByteArray conteudo = Teste::arquivo({Teste::linha(u"Ana"_s)});
    Principal p(&conteudo);
    p.janela->move(200, 100);
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    // Offscreen has no window manager: the window follows the mouse itself.
    // The pointer goes where the events say, as a real one would.
    const QPoint fundo(100, 12);
    QCursor::setPos(p.janela->mapToGlobal(fundo));
    QTest::mousePress(p.janela.get(), Qt::RightButton, {}, fundo);
    QCursor::setPos(p.janela->mapToGlobal(fundo + QPoint(30, 20)));
    QTest::mouseMove(p.janela.get(), fundo + QPoint(30, 20));
    QTest::mouseRelease(p.janela.get(), Qt::RightButton, {}, fundo + QPoint(30, 20));
    QTRY_COMPARE(p.janela->pos(), QPoint(230, 120));
    // Presses on labels, pictures and lists move nothing.
    auto *lista = p.filho<QListWidget>(u"lstContatos"_s);
    for (QWidget *w : {p.filho(u"lblTotalContatos"_s), p.filho(u"lblDataHoje"_s),
                       p.filho(u"imgAdiciona"_s), lista->viewport(), p.filho(u"txtFone"_s)}) {
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseMove(w, QPoint(40, 30));
        QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(40, 30));
        QCOMPARE(p.janela->pos(), QPoint(230, 120));
    }
}

void TestChrome::fundoDaLista()
{
    Principal p;
    auto *lst = p.filho<QListWidget>(u"lstContatos"_s);
    const QBrush comPadrao = lst->palette().brush(QPalette::Base);
    QCOMPARE(comPadrao.style(), Qt::TexturePattern);
    QCOMPARE(comPadrao.texture().size(), QSize(180, 259));
    QCOMPARE(lst->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::white));
    p.janela->vista().definirFundo(QPixmap());
    QCOMPARE(lst->palette().brush(QPalette::Base).style(), Qt::SolidPattern);
    // Still listing and selecting without it.
    Teste::gravar(p.caminho, Teste::arquivo({Teste::linha(u"Ana"_s, u"1"_s)}));
    p.janela->comandos().acao(QStringLiteral("acao_imgRefresh"))->trigger();
    QCOMPARE(lst->count(), 1);
    QCOMPARE(lst->currentRow(), 0);
}

void TestChrome::imagensDoPrograma()
{
    Principal p;
    // Each picture at its size, compiled in.
    const QList<QPair<QString, QSize>> tamanhos = {
        {u"fundo"_s, {196, 300}},        {u"imgPainel"_s, {168, 136}},
        {u"imMarca"_s, {93, 24}},        {u"Image1"_s, {180, 259}},
        {u"fundoDialogo"_s, {180, 259}}, {u"imgFecha"_s, {20, 27}},
        {u"imgAvanca"_s, {25, 14}},      {u"imgRetornaDisable"_s, {25, 14}},
        {u"imgAbout"_s, {16, 16}},       {u"lblAB"_s, {22, 13}},
        {u"lbl09"_s, {22, 13}},          {u"mao"_s, {32, 32}},
        {u"sobre"_s, {48, 48}},
    };
    for (const auto &[nome, tamanho] : tamanhos)
        QCOMPARE(Imagens::imagem(nome).size(), tamanho);
    const QList<QSize> icones = Imagens::icone().availableSizes();
    for (int lado : {16, 24, 32, 48, 64})
        QVERIFY(icones.contains(QSize(lado, lado)));
    QCOMPARE(p.filho(u"imgFecha"_s)->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(p.filho(u"imgFecha"_s)->toolTip(), u" Fechar "_s);
}

void TestChrome::nomesAcessiveis()
{
    Principal p;
    // Every picture that does something, and every tab, can be announced.
    for (const char *nome : {"imgAdiciona", "imgAtualiza", "imgDeleta", "imgRefresh", "imgAbout",
                             "imgFecha", "imgMinimiza", "imgAvanca", "imgRetorna"})
        QVERIFY2(!p.filho(QLatin1String(nome))->accessibleName().isEmpty(), nome);
    QCOMPARE(p.filho(u"imgAdiciona"_s)->accessibleName(), u"Adicionar contato"_s);
    QCOMPARE(p.filho(u"lblAB"_s)->accessibleName(), u"A e B"_s);
    QCOMPARE(p.filho(u"lbl09"_s)->accessibleName(), u"0 a 9"_s);
    KV_ContDel d(p.janela.get(), p.janela->modelo(), p.avisos);
    QCOMPARE(d.controle(u"lblSim"_s)->accessibleName(), u"SIM"_s);
    QCOMPARE(d.controle(u"lblNao"_s)->accessibleName(), u"NÃO"_s);
}

QTEST_MAIN(TestChrome)
#include "test_chrome.moc"
