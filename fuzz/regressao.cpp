// Every input kept under fuzz/ (the seed corpus and the inputs that once
// broke something) still passes the fuzzers' checks, in the ordinary build.
#include "caminhos.h"
#include "checks.h"

#include <QDir>
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
    // fuzz/corpus/<target>/... and fuzz/regressao/<target>/...
    QTest::addColumn<QString>("caminho");
    QTest::addColumn<QString>("alvo");
    for (const char *pasta : {"corpus", "regressao"}) {
        const QDir raiz(Teste::aoLado(MARVESSA_FUZZ_DIR) + u'/' + QLatin1String(pasta));
        QDirIterator it(raiz.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString c = it.next();
            const QString relativo = raiz.relativeFilePath(c);
            QTest::newRow(qPrintable(QLatin1String(pasta) + u'/' + relativo))
                << c << relativo.section(u'/', 0, 0);
        }
    }
}

void TestFuzzRegressao::entradas()
{
    QFETCH(QString, caminho);
    QFETCH(QString, alvo);
    QFile f(caminho);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY2(Verificacoes::porAlvo(alvo, f.readAll()), qPrintable(alvo));
}

QTEST_GUILESS_MAIN(TestFuzzRegressao)
#include "regressao.moc"
