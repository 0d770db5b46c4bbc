#include "gui_helpers.h"

#include <QTest>

using Teste::Principal;

// The main window on a screen of two pixels per point: the pictures drawn
// at 2x are the ones shown, pixel for pixel, the list's pattern included.
class TestHighDpi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void imagensDuplas_data();
    void imagensDuplas();
    void padraoDaLista();

private:
    QImage tela(Principal &p);
};

void TestHighDpi::initTestCase()
{
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
}

QImage TestHighDpi::tela(Principal &p)
{
    p.janela->show();
    if (!QTest::qWaitForWindowExposed(p.janela.get()))
        return {};
    // The pictures alone, without the keyboard's focus mark over one.
    if (QWidget *foco = p.janela->focusWidget())
        foco->clearFocus();
    return p.janela->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void TestHighDpi::imagensDuplas_data()
{
    QTest::addColumn<QString>("nome");
    for (const char *nome : {"lblAB", "lbl09", "imgAdiciona", "imgAbout", "imgFecha", "imMarca"})
        QTest::newRow(nome) << QString::fromLatin1(nome);
}

void TestHighDpi::imagensDuplas()
{
    QFETCH(QString, nome);
    Principal p;
    const QImage t = tela(p);
    QCOMPARE(t.size(), QSize(390, 600));
    const QImage dupla =
        QImage(u":/imagens/"_s + nome + u"@2x.gif"_s).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!dupla.isNull());
    const QPoint origem = p.filho(nome)->mapTo(p.janela.get(), QPoint(0, 0)) * 2;
    int iguais = 0, opacos = 0;
    for (int y = 0; y < dupla.height(); ++y) {
        for (int x = 0; x < dupla.width(); ++x) {
            if (qAlpha(dupla.pixel(x, y)) < 255)
                continue;
            ++opacos;
            iguais += t.pixel(origem + QPoint(x, y)) == (dupla.pixel(x, y) | 0xFF000000);
        }
    }
    QVERIFY(opacos > 0);
    QCOMPARE(iguais, opacos);
}

void TestHighDpi::padraoDaLista()
{
    // No contact: below the placeholder the list shows its pattern alone,
    // tiled from its corner at two pixels a point.
    Principal p;
    const QImage t = tela(p);
    const QImage padrao =
        QImage(u":/imagens/Image1@2x.gif"_s).convertToFormat(QImage::Format_RGB32);
    QWidget *lista = p.filho(u"lstContatos"_s);
    const QPoint origem = lista->mapTo(p.janela.get(), QPoint(0, 0)) * 2;
    int diferentes = 0;
    for (int y = 40; y < lista->height() * 2; ++y) {
        for (int x = 0; x < lista->width() * 2; ++x)
            diferentes += t.pixel(origem + QPoint(x, y)) !=
                          padrao.pixel(x % padrao.width(), y % padrao.height());
    }
    QCOMPARE(diferentes, 0);
}

int main(int argc, char *argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHighDpi t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_high_dpi.moc"
