#include "caminhos.h"
#include "gui_helpers.h"

#include "chrome/icone_bandeja.h"
#include "chrome/instancia_unica.h"
#include "chrome/rotulo_clicavel.h"

#include <QAction>
#include <QLocalServer>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using Teste::Principal;

namespace {

// What an X tool prints. The program goes on handling events meanwhile, as
// it would while a user moves the mouse.
QString saida(const QString &programa, const QStringList &args)
{
#ifdef Q_OS_WIN
    // Under Wine the X tools are Linux programs: Wine starts them, through
    // the shell, as Unix processes it cannot wait for, so their output and
    // their end come back through files in the Linux /tmp (Z: is Linux's /).
    static int vez = 0;
    const QString base =
        u"/tmp/marvessa-x-%1-%2"_s.arg(QCoreApplication::applicationPid()).arg(++vez);
    const auto aspas = [](QString s) { return u'\'' + s.replace(u'\'', u"'\\''"_s) + u'\''; };
    QString comando = programa;
    for (const QString &a : args)
        comando += u' ' + aspas(a);
    comando += u" >"_s + aspas(base) + u" 2>/dev/null; touch "_s + aspas(base + u".fim"_s);
    QProcess::startDetached(u"Z:/bin/sh"_s, {u"-c"_s, comando});
    if (!QTest::qWaitFor([&] { return QFile::exists(u"Z:"_s + base + u".fim"_s); }, 10000))
        return {};
    QFile f(u"Z:"_s + base);
    f.open(QIODevice::ReadOnly);
    const QString texto = QString::fromLocal8Bit(f.readAll());
    f.remove();
    QFile::remove(u"Z:"_s + base + u".fim"_s);
    return texto;
#else
    QProcess p;
    p.start(programa, args);
    if (!QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 10000))
        return {};
    return QString::fromLocal8Bit(p.readAllStandardOutput());
#endif
}

void xdotool(const QStringList &args)
{
    saida(u"xdotool"_s, args);
}

// The places on screen of the icons in trayer's panel; -1 icons without
// trayer. Each icon sits in a window of the panel's own, Qt's and Wine's
// alike.
QList<QRect> lugaresNaBandeja(bool *temBandeja = nullptr)
{
    const QString arvore = saida(u"xwininfo"_s, {u"-root"_s, u"-tree"_s});
    const auto m =
        QRegularExpression(u"(0x[0-9a-f]+) \"panel\": \\(\"panel\" \"trayer\"\\)"_s).match(arvore);
    if (temBandeja)
        *temBandeja = m.hasMatch();
    if (!m.hasMatch())
        return {};
    const QString painel = saida(u"xwininfo"_s, {u"-tree"_s, u"-id"_s, m.captured(1)});
    static const QRegularExpression encaixe(
        u"(\\d+)x(\\d+)[+-]\\d+[+-]\\d+\\s+\\+(-?\\d+)\\+(-?\\d+)\\n\\s+1 child:"_s);
    QList<QRect> lugares;
    for (auto it = encaixe.globalMatch(painel); it.hasNext();) {
        const auto g = it.next();
        lugares.append(QRect(g.captured(3).toInt(), g.captured(4).toInt(), g.captured(1).toInt(),
                             g.captured(2).toInt()));
    }
    return lugares;
}

int iconesNaBandeja()
{
    bool tem = false;
    const auto lugares = lugaresNaBandeja(&tem);
    return tem ? int(lugares.size()) : -1;
}

// Whether there is a notification area to show icons in; on a busy machine
// the panel may still be on its way.
bool haBandeja()
{
    return IconeBandeja::disponivel() &&
           QTest::qWaitFor([] { return iconesNaBandeja() >= 0; }, 10000);
}

void clicarEm(const QPoint &global, int botao)
{
    xdotool({u"mousemove"_s, QString::number(global.x()), QString::number(global.y())});
    QTest::qWait(100);
    xdotool({u"click"_s, QString::number(botao)});
}

// In CI these checks must run: what would skip them fails there instead.
#define PULAR(motivo)                                                                              \
    do {                                                                                           \
        if (qEnvironmentVariable("CI") == u"true"_s)                                               \
            QFAIL(motivo);                                                                         \
        QSKIP(motivo);                                                                             \
    } while (false)

// The X window of a main window on screen, found by its size (the tray icon
// has the same name), or nothing.
QString janelaPrincipal()
{
    const QStringList ids =
        saida(u"xdotool"_s, {u"search"_s, u"--onlyvisible"_s, u"--name"_s, u"^Marvessa Fonelo$"_s})
            .split(u'\n', Qt::SkipEmptyParts);
    for (const QString &id : ids) {
        if (saida(u"xdotool"_s, {u"getwindowgeometry"_s, id}).contains(u"195x300"_s))
            return id;
    }
    return {};
}

// Shows the window at a place and waits until the window manager has put it
// there.
bool mostrarEm(Principal &p, const QPoint &lugar)
{
    p.janela->move(lugar);
    p.janela->show();
    if (!QTest::qWaitForWindowExposed(p.janela.get()))
        return false;
    if (!QTest::qWaitFor([&] { return p.janela->pos() == lugar; }, 5000))
        return false;
    QTest::qWait(200);
    return p.janela->pos() == lugar;
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
    void bandeja();
    void segundaCopiaTrazDaBandeja();
    void linksPeloSistema();
};

void TestRealDisplay::initTestCase()
{
#ifdef Q_OS_WIN
    // The Windows program on Wine's X11 driver, with the X tools at hand.
    if (!QFile::exists(u"Z:/usr/bin/xdotool"_s))
        PULAR("needs Wine on an X display with xdotool (run through xvfb_run.sh)");
#else
    if (QGuiApplication::platformName() != u"xcb"_s)
        PULAR("needs an X display (run through xvfb_run.sh)");
#endif
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
    QVERIFY(mostrarEm(p, QPoint(100, 100)));
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
    QVERIFY(mostrarEm(p, QPoint(200, 150)));
    const QPoint inicio = p.janela->mapToGlobal(QPoint(6, 100)); // the background
    const QString b = QString::number(botao);
    // One gesture: on Windows the move is a modal loop that holds this
    // thread until the button is let go.
    QStringList gesto = {u"mousemove"_s,
                         QString::number(inicio.x()),
                         QString::number(inicio.y()),
                         u"sleep"_s,
                         u"0.1"_s,
                         u"mousedown"_s,
                         b,
                         u"sleep"_s,
                         u"0.15"_s};
    for (int i = 1; i <= 5; ++i) {
        gesto << u"mousemove"_s << QString::number(inicio.x() + 12 * i)
              << QString::number(inicio.y() + 8 * i) << u"sleep"_s << u"0.06"_s;
    }
    gesto << u"mouseup"_s << b;
    xdotool(gesto);
    QTRY_COMPARE(p.janela->pos(), QPoint(260, 190));

    // A press on a picture button does not move the window.
    const QPoint botaoAdd = p.janela->mapToGlobal(QPoint(24, 180));
    xdotool({u"mousemove"_s, QString::number(botaoAdd.x()), QString::number(botaoAdd.y())});
    // Once the button's release has come, every move before it has too.
    bool solto = false;
    Teste::AoEvento soltar(QEvent::MouseButtonRelease, [&](QObject *) { solto = true; });
    xdotool({u"mousedown"_s, u"3"_s});
    xdotool({u"mousemove"_s, QString::number(botaoAdd.x() + 40), QString::number(botaoAdd.y())});
    xdotool({u"mouseup"_s, u"3"_s});
    QTRY_VERIFY(solto);
    QCOMPARE(p.janela->pos(), QPoint(260, 190));
}

void TestRealDisplay::bandeja()
{
    if (!haBandeja())
        PULAR("no notification area (trayer)");
    QTRY_COMPARE(iconesNaBandeja(), 0); // the icons of the windows before are gone
    Principal p;
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    // Visible with exactly one icon.
    QTRY_COMPARE(iconesNaBandeja(), 1);
    QCOMPARE(p.janela->bandeja()->icone()->toolTip(), u"Marvessa Fonelo"_s);
    for (int botao : {1, 3}) {
        QTest::mouseClick(p.filho(u"imgMinimiza"_s), Qt::LeftButton, {}, QPoint(3, 3));
        QTRY_VERIFY(!p.janela->isVisible());
        QCOMPARE(iconesNaBandeja(), 1);
        clicarEm(lugaresNaBandeja().value(0).center(), botao);
        QTRY_VERIFY(p.janela->isVisible());
    }
    QCOMPARE(iconesNaBandeja(), 1);
    // Closing removes the icon at once.
    QTest::mouseClick(p.filho(u"imgFecha"_s), Qt::LeftButton, {}, QPoint(3, 3));
    QVERIFY(!p.janela->isVisible());
    QTRY_COMPARE(iconesNaBandeja(), 0);
}

void TestRealDisplay::segundaCopiaTrazDaBandeja()
{
    if (!haBandeja())
        PULAR("no notification area (trayer)");
    // The real program, hidden in the notification area by its own button.
    QTemporaryDir pasta;
    const QString programa = pasta.filePath(QFileInfo(Teste::aoLado(MARVESSA_PROGRAMA)).fileName());
    QVERIFY(QFile::copy(Teste::aoLado(MARVESSA_PROGRAMA), programa));
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_CONFIG_HOME"_s, pasta.path());
    QProcess a;
    a.setProcessEnvironment(env);
    a.start(programa, {});
    QTRY_VERIFY_WITH_TIMEOUT(!janelaPrincipal().isEmpty(), 5000);
    xdotool({u"mousemove"_s, u"--window"_s, janelaPrincipal(), u"149"_s, u"22"_s}); // imgMinimiza
    QTest::qWait(100);
    xdotool({u"click"_s, u"1"_s});
    QTRY_VERIFY_WITH_TIMEOUT(janelaPrincipal().isEmpty(), 5000);

    // A second start from the same folder brings it back and ends.
    QProcess b;
    b.setProcessEnvironment(env);
    b.start(programa, {});
    QVERIFY(b.waitForFinished(5000));
    QCOMPARE(b.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!janelaPrincipal().isEmpty(), 5000);
    QCOMPARE(a.state(), QProcess::Running);
    a.kill();
    a.waitForFinished();
    QLocalServer::removeServer(
        InstanciaUnica::chave(ArquivoContatos::caminhoNaPasta(pasta.path())));
}

void TestRealDisplay::linksPeloSistema()
{
#ifdef Q_OS_WIN
    QSKIP("the links' exact text is checked offscreen; here the opener is the shell's own");
#else
    // The desktop's opener, first in PATH, writes down what it was given.
    QTemporaryDir bin;
    const QString registro = bin.filePath(u"links"_s);
    const QString abridor = bin.filePath(u"xdg-open"_s);
    Teste::gravar(abridor, "#!/bin/sh\necho \"$1\" >> '" + registro.toUtf8() + "'\n");
    QFile::setPermissions(abridor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8() + ':' + path);
    const auto volta = qScopeGuard([path] { qputenv("PATH", path); });
    const QByteArray um =
        Teste::arquivo({Teste::linha(u"Ana"_s, u"(11) 8765-4321"_s, u"ana@x.com"_s)});
    Principal p(&um, false);
    p.abridorReal = true;
    p.abrir();
    p.janela->modelo().selecionar(0);
    for (const char *acao : {"acaoLigar", "acaoWhatsApp", "acaoEnviarEmail"})
        p.janela->findChild<QAction *>(QLatin1String(acao))->trigger();
    const auto links = [&] {
        QStringList l = QString::fromUtf8(Teste::ler(registro)).split(u'\n', Qt::SkipEmptyParts);
        l.sort();
        return l;
    };
    QTRY_COMPARE_WITH_TIMEOUT(links(),
                              (QStringList{u"https://wa.me/5511987654321"_s, u"mailto:ana@x.com"_s,
                                           u"tel:+5511987654321"_s}),
                              5000);
    QCOMPARE(p.avisos.textos, QStringList());
#endif
}

QTEST_MAIN(TestRealDisplay)
#include "test_real_display.moc"
