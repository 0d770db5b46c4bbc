// Every input kept under fuzz/ (the seed corpus and the inputs that once
// broke something) still passes the fuzzers' checks, in the ordinary build.
#include "checks.h"

#include <QDirIterator>
#include <QFile>
#include <QTest>

class TestFuzzRegressao : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void entradas_data();
    void entradas();
};

void TestFuzzRegressao::entradas_data()
{
    QTest::addColumn<QString>("caminho");
    QTest::addColumn<bool>("leitor");
    QDirIterator it(QStringLiteral(MARVESSA_FUZZ_DIR), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString c = it.next();
        QTest::newRow(qPrintable(c.mid(c.indexOf(QLatin1String("/fuzz/")) + 6)))
            << c << c.contains(QLatin1String("/leitor/"));
    }
}

void TestFuzzRegressao::entradas()
{
    QFETCH(QString, caminho);
    QFETCH(bool, leitor);
    QFile f(caminho);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    leitor ? Verificacoes::leitor(bytes) : Verificacoes::conversor(bytes);
}

QTEST_GUILESS_MAIN(TestFuzzRegressao)
#include "regressao.moc"
