#include "helpers.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

// A program killed at any moment while it rewrites the contact file leaves
// either the whole old content or the whole new one, never a mixture or
// nothing.
class TestKill : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mortoAQualquerMomento();
};

void TestKill::mortoAQualquerMomento()
{
    QTemporaryDir dir;
    const QString caminho = dir.filePath(u"contatos.txt"_s);
    const QByteArray a = QByteArray(1 << 20, 'a') + "\r\n\r\n";
    const QByteArray b = QByteArray(600 << 10, 'b') + "\r\n\r\n";
    Teste::gravar(caminho, a);
    QRandomGenerator r(42);
    int viuA = 0, viuB = 0;
    for (int i = 0; i < 200; ++i) {
        QProcess escritor;
        escritor.start(QStringLiteral(MARVESSA_ESCRITOR), {dir.path()});
        QVERIFY(escritor.waitForStarted());
        QTest::qSleep(int(r.bounded(2, 100)));
        escritor.kill();
        QVERIFY(escritor.waitForFinished());
        const QByteArray agora = Teste::ler(caminho);
        QVERIFY2(agora == a || agora == b,
                 qPrintable(u"round %1: %2 bytes"_s.arg(i).arg(agora.size())));
        (agora == a ? viuA : viuB)++;
    }
    // Both contents were caught, so the kills did land mid-way through.
    QVERIFY(viuA > 0 && viuB > 0);
}

QTEST_GUILESS_MAIN(TestKill)
#include "test_kill.moc"
