#include "caminhos.h"
#include "helpers.h"
#include "partes.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

// A program killed at any moment while it rewrites the contact file leaves
// either the whole old content or the whole new one, never a mixture or
// nothing; and every version it kept is whole.
namespace {

char primeiroByte(const QString &caminho)
{
    QFile f(caminho);
    char c = 0;
    return f.open(QIODevice::ReadOnly) && f.getChar(&c) ? c : 0;
}

} // namespace

// Each kind of history its own function, so that ctest runs them at once.
class TestKill : public QObject {
    Q_OBJECT
    void matar(const QString &versoes);
private Q_SLOTS:
    void semVersoes() { matar({}); }
    void versoesLigadas() { matar(u"contatos.historico"_s); }
#ifndef Q_OS_WIN
    // On another file system no link can be made: each version is a copy.
    void versoesCopiadas()
    {
        matar(u"/dev/shm"_s);
    }
#endif
};

// versoes: the history's folder, or none.
void TestKill::matar(const QString &versoes)
{
    QTemporaryDir dir;
    const QString caminho = dir.filePath(u"contatos.txt"_s);
    const QString historico = dir.filePath(u"contatos.historico"_s);
    std::unique_ptr<QTemporaryDir> fora;
    if (versoes.startsWith(u'/')) {
        if (!QFileInfo(versoes).isDir())
            QSKIP("no /dev/shm here");
        fora = std::make_unique<QTemporaryDir>(versoes + u"/marvessa-XXXXXX"_s);
        QVERIFY(QFile::link(fora->path(), historico));
    }
    QStringList argumentos{dir.path()};
    if (!versoes.isEmpty())
        argumentos.append(u"versoes"_s);
    const QByteArray a = QByteArray(1 << 20, 'a') + "\r\n\r\n";
    const QByteArray b = QByteArray(600 << 10, 'b') + "\r\n\r\n";
    Teste::gravar(caminho, a);
    QRandomGenerator r(42);
    int viuA = 0, viuB = 0;
#ifdef Q_OS_WIN
    const int rodadas = 60; // a process costs a few hundred ms to start under Wine
#else
    const int rodadas = 120;
#endif
    for (int i = 0; i < rodadas; ++i) {
        const char antes = primeiroByte(caminho);
        QProcess escritor;
        escritor.start(Teste::aoLado(MARVESSA_ESCRITOR), argumentos);
        // Wine now and then fails to start a process at once: once more.
        if (!escritor.waitForStarted())
            escritor.start(Teste::aoLado(MARVESSA_ESCRITOR), argumentos);
        QVERIFY2(escritor.waitForStarted(), qPrintable(escritor.errorString()));
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
        // Never a half version among the whole ones.
        const QDir pasta(historico);
        for (const QString &v : pasta.entryList({u"*.txt"_s}, QDir::Files)) {
            const QByteArray versao = Teste::ler(pasta.filePath(v));
            QVERIFY2(
                versao == a || versao == b,
                qPrintable(u"round %1: version %2 of %3 bytes"_s.arg(i).arg(v).arg(versao.size())));
        }
        QVERIFY(versoes.isEmpty() || !pasta.isEmpty(QDir::Files));
    }
    // Both contents were caught, so the kills did land mid-way through.
    QVERIFY2(viuA > 0 && viuB > 0, qPrintable(u"old %1 times, new %2 times"_s.arg(viuA).arg(viuB)));
}

MARVESSA_TEST_MAIN(TestKill, QCoreApplication)
#include "test_kill.moc"
