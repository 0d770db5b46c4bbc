#include "helpers.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

// A program killed at any moment while it rewrites the contact file leaves
// either the whole old content or the whole new one, never a mixture or
// nothing.
namespace {

char primeiroByte(const QString &caminho)
{
    QFile f(caminho);
    char c = 0;
    return f.open(QIODevice::ReadOnly) && f.getChar(&c) ? c : 0;
}

} // namespace

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
#ifdef Q_OS_WIN
    const int rodadas = 60; // a process costs a few hundred ms to start under Wine
#else
    const int rodadas = 200;
#endif
    for (int i = 0; i < rodadas; ++i) {
        const char antes = primeiroByte(caminho);
        QProcess escritor;
        escritor.start(QStringLiteral(MARVESSA_ESCRITOR), {dir.path()});
        QVERIFY(escritor.waitForStarted());
        // Killed once it is writing (it has changed the file), however long
        // it took to start. One byte tells the contents apart, read in a
        // moment: on Windows a file held open cannot be replaced.
        QVERIFY(QTest::qWaitFor([&] { return primeiroByte(caminho) != antes; }, 20000));
        QTest::qSleep(int(r.bounded(2, 100)));
        escritor.kill();
        QVERIFY(escritor.waitForFinished());
        const QByteArray agora = Teste::ler(caminho);
        QVERIFY2(agora == a || agora == b,
                 qPrintable(u"round %1: %2 bytes"_s.arg(i).arg(agora.size())));
        (agora == a ? viuA : viuB)++;
    }
    // Both contents were caught, so the kills did land mid-way through.
    QVERIFY2(viuA > 0 && viuB > 0, qPrintable(u"old %1 times, new %2 times"_s.arg(viuA).arg(viuB)));
}

QTEST_GUILESS_MAIN(TestKill)
#include "test_kill.moc"
