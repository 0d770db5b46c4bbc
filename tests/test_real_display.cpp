#include "gui_helpers.h"

#include <QProcess>
#include <QScreen>
#include <QTest>

using Teste::Principal;

namespace {

void xdotool(const QStringList &args)
{
    QProcess::execute(u"xdotool"_s, args);
}

QColor pixel(const QPoint &global)
{
    const QImage tela = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    return tela.pixelColor(global);
}

} // namespace

// What only a real display with a window manager shows: the shaped outline
// and moving the window by its surface.
class TestRealDisplay : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cantosRecortados();
    void arrastar_data();
    void arrastar();
};

void TestRealDisplay::initTestCase()
{
    if (QGuiApplication::platformName() != u"xcb"_s)
        QSKIP("needs an X display (run through xvfb_run.sh)");
}

void TestRealDisplay::cantosRecortados()
{
    // A red window behind: where the outline cuts, red shows through.
    QWidget atras;
    atras.setWindowFlags(Qt::FramelessWindowHint);
    atras.setStyleSheet(u"background: #ff0000"_s);
    atras.setGeometry(50, 50, 400, 500);
    atras.show();
    QVERIFY(QTest::qWaitForWindowExposed(&atras));
    Principal p;
    p.janela->move(100, 100);
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    QTRY_COMPARE(p.janela->pos(), QPoint(100, 100));
    QTest::qWait(300);
    const QPoint o = p.janela->mapToGlobal(QPoint(0, 0));
    for (const QPoint canto : {QPoint(0, 0), QPoint(194, 0), QPoint(0, 299), QPoint(193, 299)})
        QCOMPARE(pixel(o + canto), QColor(Qt::red));
    for (const QPoint dentro : {QPoint(6, 100), QPoint(100, 2), QPoint(100, 297)})
        QVERIFY(pixel(o + dentro) != QColor(Qt::red));
}

void TestRealDisplay::arrastar_data()
{
    QTest::addColumn<int>("botao");
    QTest::newRow("esquerdo") << 1;
    QTest::newRow("direito") << 3;
}

void TestRealDisplay::arrastar()
{
    QFETCH(int, botao);
    Principal p;
    p.janela->move(200, 150);
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    QTRY_COMPARE(p.janela->pos(), QPoint(200, 150));
    QTest::qWait(200);
    const QPoint inicio = p.janela->mapToGlobal(QPoint(6, 100)); // the background
    const QString b = QString::number(botao);
    xdotool({u"mousemove"_s, QString::number(inicio.x()), QString::number(inicio.y())});
    QTest::qWait(100);
    xdotool({u"mousedown"_s, b});
    QTest::qWait(150);
    for (int i = 1; i <= 5; ++i) {
        xdotool({u"mousemove"_s, QString::number(inicio.x() + 12 * i),
                 QString::number(inicio.y() + 8 * i)});
        QTest::qWait(60);
    }
    xdotool({u"mouseup"_s, b});
    QTRY_COMPARE(p.janela->pos(), QPoint(260, 190));

    // A press on a picture button does not move the window.
    const QPoint botaoAdd = p.janela->mapToGlobal(QPoint(24, 180));
    xdotool({u"mousemove"_s, QString::number(botaoAdd.x()), QString::number(botaoAdd.y())});
    xdotool({u"mousedown"_s, u"3"_s});
    QTest::qWait(100);
    xdotool({u"mousemove"_s, QString::number(botaoAdd.x() + 40), QString::number(botaoAdd.y())});
    QTest::qWait(100);
    xdotool({u"mouseup"_s, u"3"_s});
    QTest::qWait(200);
    QCOMPARE(p.janela->pos(), QPoint(260, 190));
}

QTEST_MAIN(TestRealDisplay)
#include "test_real_display.moc"
