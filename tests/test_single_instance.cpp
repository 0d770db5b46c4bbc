#include "caminhos.h"
#include "chrome/instancia_unica.h"
#include "gui_helpers.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#ifndef Q_OS_WIN
#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using Teste::Principal;

namespace {

// The real program, copied into a folder of its own, started there.
struct Copia {
    explicit Copia(const QString &pasta) : pasta(pasta)
    {
        // Named as built (MarvessaFonelo.exe on Windows).
        const QString programa =
            pasta + u'/' + QFileInfo(Teste::aoLado(MARVESSA_PROGRAMA)).fileName();
        if (!QFile::exists(programa))
            QFile::copy(Teste::aoLado(MARVESSA_PROGRAMA), programa);
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
    void copiaOcupadaContinuaSendoAUnica();
    void chaveDoUsuarioEDoArquivo();
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
        QVERIFY(QFile::exists(InstanciaUnica::chave(a.arquivo())));
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

void TestSingleInstance::copiaOcupadaContinuaSendoAUnica()
{
    // A copy accepts but is too busy to answer (a long import): the new one
    // waits for it, then ends with a notice instead of opening the same file.
    QTemporaryDir dir;
    QLocalServer ocupada;
    ocupada.setSocketOptions(QLocalServer::UserAccessOption);
    QVERIFY(ocupada.listen(InstanciaUnica::chave(ArquivoContatos::caminhoNaPasta(dir.path()))));
    Copia b(dir.path());
    QVERIFY(b.processo.waitForFinished(InstanciaUnica::ESPERA_RESPOSTA_MS + 10000));
    QCOMPARE(b.processo.exitCode(), 0);
    QVERIFY(!QFile::exists(b.arquivo()));
}

void TestSingleInstance::chaveDoUsuarioEDoArquivo()
{
    QTemporaryDir dir;
    const QString arquivo = ArquivoContatos::caminhoNaPasta(dir.path());
    Teste::gravar(arquivo, "");
    const QString chave = InstanciaUnica::chave(arquivo);
    QVERIFY(!chave.isEmpty());
    QCOMPARE(InstanciaUnica::chave(dir.filePath(u"sub/../contatos.txt"_s)), chave);
#ifdef Q_OS_WIN
    QVERIFY(chave.contains(u"-S-1-"_s)); // the user's SID
#else
    // A link to the same file is the same file.
    QTemporaryDir outra;
    QVERIFY(QFile::link(arquivo, ArquivoContatos::caminhoNaPasta(outra.path())));
    QCOMPARE(InstanciaUnica::chave(ArquivoContatos::caminhoNaPasta(outra.path())), chave);
    // In a folder of the user's alone.
    QFileInfo pasta(QFileInfo(chave).absolutePath());
    QCOMPARE(pasta.ownerId(), uint(::geteuid()));
    QCOMPARE(pasta.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                    QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
             QFile::Permissions());

    // Another user's socket in its place (only root can put one there) is
    // never believed: the program starts, and takes the place over.
    if (::geteuid() != 0)
        QSKIP("only root can listen there as another user");
    QDir().mkdir(dir.filePath(u"d"_s));
    const QString nossa = InstanciaUnica::chave(dir.filePath(u"d/contatos.txt"_s));
    // The socket's file appears at bind, before it listens: the child says
    // when it listens.
    int pronto[2];
    QVERIFY(::pipe(pronto) == 0);
    const pid_t filho = ::fork();
    if (filho == 0) {
        ::close(pronto[0]);
        ::signal(SIGPIPE, SIG_IGN);
        const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un end{};
        end.sun_family = AF_UNIX;
        const QByteArray caminho = QFile::encodeName(nossa);
        std::memcpy(end.sun_path, caminho.constData(), size_t(caminho.size()));
        if (::bind(s, reinterpret_cast<sockaddr *>(&end), sizeof end) != 0 ||
            ::setuid(65534) != 0 || ::listen(s, 8) != 0 || ::write(pronto[1], "1", 1) != 1)
            ::_exit(1);
        ::close(pronto[1]);
        for (;;) {
            const int c = ::accept(s, nullptr, nullptr);
            const char ok[] = "MarvessaFonelo 1 ok\n";
            if (c >= 0 && ::write(c, ok, sizeof ok - 1) > 0)
                ::close(c);
        }
    }
    QVERIFY(filho > 0);
    ::close(pronto[1]);
    char c = 0;
    const bool escuta = ::read(pronto[0], &c, 1) == 1;
    ::close(pronto[0]);
    QVERIFY(escuta);
    QCOMPARE(InstanciaUnica::pedirParaMostrar(nossa), InstanciaUnica::Resposta::Alheio);
    {
        Copia c(dir.filePath(u"d"_s));
        QVERIFY(c.pronta());
        // It now answers in its turn, the other user's socket gone.
        QCOMPARE(InstanciaUnica::pedirParaMostrar(nossa), InstanciaUnica::Resposta::Atendido);
    }
    ::kill(filho, SIGKILL);
    ::waitpid(filho, nullptr, 0);
#endif
}

void TestSingleInstance::soOPedidoCombinadoTrazAJanela()
{
    Principal p(nullptr, false);
    p.abrir();
    QVERIFY(!p.janela->isVisible());
    InstanciaUnica instancia(InstanciaUnica::chave(p.caminho));
    QVERIFY(instancia.escutar());
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
