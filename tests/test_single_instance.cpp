#include "chrome/instancia_unica.h"
#include "gui_helpers.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using Teste::Principal;

namespace {

// The real program, copied into a folder of its own, started there.
struct Copia {
    explicit Copia(const QString &pasta) : pasta(pasta)
    {
        // Named as built (MarvessaFonelo.exe on Windows).
        const QString programa =
            pasta + u'/' + QFileInfo(QStringLiteral(MARVESSA_PROGRAMA)).fileName();
        if (!QFile::exists(programa))
            QFile::copy(QStringLiteral(MARVESSA_PROGRAMA), programa);
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"XDG_CONFIG_HOME"_s, pasta);
        processo.setProcessEnvironment(env);
        processo.start(programa, {});
    }
    ~Copia()
    {
        const bool viva = processo.state() != QProcess::NotRunning;
        processo.kill();
        processo.waitForFinished();
        // What a killed copy leaves behind.
        if (viva && limparAoFim)
            QLocalServer::removeServer(InstanciaUnica::chave(arquivo()));
    }
    QString arquivo() const { return ArquivoContatos::caminhoNaPasta(pasta); }
    // Up and answering: it listens before it makes its file.
    bool pronta() const
    {
        return QTest::qWaitFor([&] { return QFile::exists(arquivo()); }, 5000) &&
               processo.state() == QProcess::Running;
    }
    // Ended by itself, successfully, without a window of its own.
    bool encerrouLogo()
    {
        const bool terminou =
            processo.state() == QProcess::NotRunning || processo.waitForFinished(3000);
        return terminou && processo.exitStatus() == QProcess::NormalExit &&
               processo.exitCode() == 0;
    }

    QString pasta;
    QProcess processo;
    bool limparAoFim = true;
};

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void umaCopiaPorArquivo();
    void copiaQueCaiuNaoImpede();
    void copiaMudaNaoPrende();
    void soOPedidoCombinadoTrazAJanela();
};

void TestSingleInstance::umaCopiaPorArquivo()
{
    QTemporaryDir pasta, outra;
    Copia a(pasta.path());
    QVERIFY(a.pronta());
    Copia b(pasta.path());
    QVERIFY(b.encerrouLogo());
    QCOMPARE(a.processo.state(), QProcess::Running);
    // Another folder, another file: both run.
    Copia c(outra.path());
    QVERIFY(c.pronta());
    QCOMPARE(a.processo.state(), QProcess::Running);
}

void TestSingleInstance::copiaQueCaiuNaoImpede()
{
    QTemporaryDir pasta;
    {
        Copia a(pasta.path());
        QVERIFY(a.pronta());
        a.processo.kill();
        QVERIFY(a.processo.waitForFinished());
        a.limparAoFim = false;
#ifdef Q_OS_UNIX
        // Its socket file is left behind.
        QVERIFY(QFile::exists(QDir::tempPath() + u'/' + InstanciaUnica::chave(a.arquivo())));
#endif
    }
    Copia d(pasta.path());
    QVERIFY(d.processo.waitForStarted());
    QVERIFY(!d.processo.waitForFinished(1500));
    // It now answers in its turn.
    Copia e(pasta.path());
    QVERIFY(e.encerrouLogo());
    QCOMPARE(d.processo.state(), QProcess::Running);
}

void TestSingleInstance::copiaMudaNaoPrende()
{
    // Something holds the channel but never answers: after its second of
    // waiting, the program starts as usual.
    QTemporaryDir dir;
    QLocalServer mudo;
    mudo.setSocketOptions(QLocalServer::UserAccessOption);
    QVERIFY(mudo.listen(InstanciaUnica::chave(ArquivoContatos::caminhoNaPasta(dir.path()))));
    Copia b(dir.path());
    QVERIFY(b.pronta());
}

void TestSingleInstance::soOPedidoCombinadoTrazAJanela()
{
    Principal p(nullptr, false);
    p.abrir();
    QVERIFY(!p.janela->isVisible());
    InstanciaUnica instancia(InstanciaUnica::chave(p.caminho));
    QVERIFY(instancia.escutar(true));
    QObject::connect(&instancia, &InstanciaUnica::mostrarPedido, p.janela.get(),
                     &KV_Principal::restaurar);
    QSignalSpy pedidos(&instancia, &InstanciaUnica::mostrarPedido);

    // Anything else is dropped unanswered.
    QLocalSocket estranho;
    estranho.connectToServer(InstanciaUnica::chave(p.caminho));
    QVERIFY(estranho.waitForConnected(1000));
    estranho.write("MarvessaFonelo 1 apagar tudo\n");
    QTRY_COMPARE(estranho.state(), QLocalSocket::UnconnectedState);
    QCOMPARE(estranho.readAll(), QByteArray());
    QCOMPARE(pedidos.size(), 0);

    // A second start in the same folder: the window comes back.
    Copia b(p.dir.path());
    QTRY_COMPARE(pedidos.size(), 1);
    QVERIFY(b.encerrouLogo());
    QVERIFY(p.janela->isVisible());
}

QTEST_MAIN(TestSingleInstance)
#include "test_single_instance.moc"
