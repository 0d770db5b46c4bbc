#include "chrome/icone_bandeja.h"
#include "chrome/posicao_janela.h"
#include "dialogs/kv_about.h"
#include "gui_helpers.h"

#include <QScreen>
#include <QSettings>
#include <QTest>

using Teste::Principal;

namespace {

QString lerTexto(const QString &ini, const QString &chave)
{
    QSettings s(ini, QSettings::IniFormat);
    return s.value(PosicaoJanela::GRUPO + u'/' + chave).toString();
}

void guardar(const QString &ini, const QString &topo, const QString &esquerda)
{
    QSettings s(ini, QSettings::IniFormat);
    s.setValue(PosicaoJanela::GRUPO + u'/' + PosicaoJanela::TOPO, topo);
    s.setValue(PosicaoJanela::GRUPO + u'/' + PosicaoJanela::ESQUERDA, esquerda);
}

// A main window whose settings hold the given texts before it opens.
struct ComPosicao : Principal {
    ComPosicao(const QString &topo, const QString &esquerda) : Principal(nullptr, false)
    {
        guardar(ini(), topo, esquerda);
        abrir();
    }
};

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void posicaoPadrao();
    void gravadaAoFechar();
    void restauraGuardada();
    void guardadaInvalidaOuFora_data();
    void guardadaInvalidaOuFora();
    void meiosParaOPar();
    void semBandejaMinimiza();
    void iconeUmSoERestaura();
    void sobre();
};

void TestShell::posicaoPadrao()
{
    QCOMPARE(PosicaoJanela::padrao(QRect(0, 0, 1024, 768), 2925, 4500),
             (PosicaoJanela::Twips{12420, 6490}));
    // Past 16 bits on a wide screen.
    QCOMPARE(PosicaoJanela::padrao(QRect(0, 0, 3840, 2160), 2925, 4500).esquerda, 54660.0);
    QTemporaryDir dir;
    const QString ini = dir.filePath(u"c.ini"_s);
    QSettings s(ini, QSettings::IniFormat);
    PosicaoJanela::gravar(s, {12420, 6490});
    QCOMPARE(lerTexto(ini, PosicaoJanela::ESQUERDA), u"12420"_s);
    QCOMPARE(lerTexto(ini, PosicaoJanela::TOPO), u"6490"_s);
}

void TestShell::gravadaAoFechar()
{
    Principal p;
    const QRect tela = QGuiApplication::primaryScreen()->geometry();
    const auto padrao = PosicaoJanela::padrao(tela, 2925, 4500);
    QCOMPARE(p.janela->posicaoTwips(), QPointF(padrao.esquerda, padrao.topo));
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    p.janela->close();
    QCOMPARE(lerTexto(p.ini(), PosicaoJanela::TOPO), QString::number(padrao.topo));
    QCOMPARE(lerTexto(p.ini(), PosicaoJanela::ESQUERDA), QString::number(padrao.esquerda));
}

void TestShell::restauraGuardada()
{
    ComPosicao p(u"1500"_s, u"3000"_s);
    QCOMPARE(p.janela->pos(), QPoint(200, 100));
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    p.janela->move(-20, 30); // partly off the screen: kept so
    p.janela->close();
    QCOMPARE(lerTexto(p.ini(), PosicaoJanela::ESQUERDA), u"-300"_s);
    QCOMPARE(lerTexto(p.ini(), PosicaoJanela::TOPO), u"450"_s);
    Principal de_novo(nullptr, false);
    QFile::copy(p.ini(), de_novo.ini());
    de_novo.abrir();
    QCOMPARE(de_novo.janela->pos(), QPoint(-20, 30));
}

void TestShell::guardadaInvalidaOuFora_data()
{
    QTest::addColumn<QString>("topo");
    QTest::addColumn<QString>("esquerda");
    QTest::addColumn<bool>("padrao");
    QTest::newRow("nao eh numero") << u"abc"_s << u"3000"_s << true;
    QTest::newRow("vazio") << u"1500"_s << QString() << true;
    QTest::newRow("longe a esquerda") << u"1500"_s << u"-90000"_s << true;
    QTest::newRow("longe abaixo") << u"900000"_s << u"3000"_s << true;
    QTest::newRow("metade fora") << u"-1500"_s << u"-1500"_s << false;
}

void TestShell::guardadaInvalidaOuFora()
{
    QFETCH(QString, topo);
    QFETCH(QString, esquerda);
    QFETCH(bool, padrao);
    ComPosicao p(topo, esquerda);
    const auto def =
        PosicaoJanela::padrao(QGuiApplication::primaryScreen()->geometry(), 2925, 4500);
    const QPointF esperado =
        padrao ? QPointF(def.esquerda, def.topo) : QPointF(esquerda.toDouble(), topo.toDouble());
    QCOMPARE(p.janela->posicaoTwips(), esperado);
}

void TestShell::meiosParaOPar()
{
    const auto lerNumero = &PosicaoJanela::lerNumero;
    QCOMPARE(lerNumero(u"1234.5"_s), 1234.0);
    QCOMPARE(lerNumero(u"1235.5"_s), 1236.0);
    QCOMPARE(lerNumero(u"-7.5"_s), -8.0);
    QCOMPARE(lerNumero(u" 6490 "_s), 6490.0);
    QVERIFY(!lerNumero(u"12a"_s));
    QVERIFY(!lerNumero(u"inf"_s));
    // The regional decimal separator.
    const QLocale antes;
    QLocale::setDefault(Teste::ptBR());
    QCOMPARE(lerNumero(u"1234,5"_s), 1234.0);
    QCOMPARE(lerNumero(u"1235,5"_s), 1236.0);
    QLocale::setDefault(antes);
}

void TestShell::semBandejaMinimiza()
{
    if (IconeBandeja::disponivel())
        QSKIP("this display has a notification area");
    Principal p;
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    QTest::mouseClick(p.filho(u"imgMinimiza"_s), Qt::LeftButton, {}, QPoint(3, 3));
    // Hidden with nothing to bring it back would lose the window.
    QVERIFY(p.janela->isMinimized());
    QVERIFY(p.janela->isVisible());
    QVERIFY(!p.janela->bandeja()->presente());
    QVERIFY(p.janela->findChildren<QSystemTrayIcon *>().isEmpty());
}

void TestShell::iconeUmSoERestaura()
{
    int restauracoes = 0;
    QObject dono;
    IconeBandeja b(
        QIcon(), [&] { ++restauracoes; }, &dono);
    b.adicionar();
    b.adicionar();
    QCOMPARE(dono.findChildren<QSystemTrayIcon *>().size(), 1);
    QCOMPARE(b.icone()->toolTip(), u"Marvessa Fonelo"_s);
    QVERIFY(!b.icone()->contextMenu());
    for (auto motivo :
         {QSystemTrayIcon::Trigger, QSystemTrayIcon::Context, QSystemTrayIcon::DoubleClick,
          QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Unknown})
        Q_EMIT b.icone()->activated(motivo);
    QCOMPARE(restauracoes, 3);
    b.remover();
    QVERIFY(dono.findChildren<QSystemTrayIcon *>().isEmpty());
}

void TestShell::sobre()
{
    Principal p;
    p.janela->move(100, 400); // T = 6000
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    KV_About a(p.janela.get(), [&](const QUrl &u) { p.enderecos.append(u); });
    QCOMPARE(a.geometry(), QRect(116, 333, 162, 3)); // T - 1000, 50 twips high
    const auto texto = [&](const char *nome) {
        return a.controle<QLabel>(QLatin1String(nome))->text();
    };
    QCOMPARE(texto("Label4"), u"Marvessa FONELO"_s);
    QCOMPARE(texto("Label5"), u"Fonelo Agenda Versão 1.3"_s);
    QCOMPARE(texto("Label2"), u"Autor:"_s);
    QCOMPARE(texto("Label3"), u"Equipe Marvessa"_s);
    QCOMPARE(texto("lblNao"), u" Fechar "_s);
    auto *link = a.controle(u"lblVelquist"_s);
    QCOMPARE(link->toolTip(), u" https://www.example.org/marvessa-fonelo "_s);
    QCOMPARE(texto("lblVelquist"), u"example.org/marvessa-fonelo"_s);
    a.show();
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(p.enderecos, QList<QUrl>(2, QUrl(u"https://www.example.org/marvessa-fonelo"_s)));
    QVERIFY(a.isVisible());
    QVERIFY(!a.deslizamento().fechando());
    QTest::mouseClick(a.controle(u"lblNao"_s), Qt::LeftButton, {}, QPoint(3, 3));
    QVERIFY(a.deslizamento().fechando());
}

QTEST_MAIN(TestShell)
#include "test_shell.moc"
