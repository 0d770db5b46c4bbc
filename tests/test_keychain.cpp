// The sync's password in a real keychain: GNOME Keyring on a private session
// bus here, the Credential Manager under Windows.

#include "helpers.h"
#include "operations/conta_sincronizacao.h"
#include "radicale.h"

Q_DECLARE_METATYPE(ResultadoSincronizacao)

#include <QDirIterator>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestKeychain : public QObject {
    Q_OBJECT

    QTemporaryDir m_casa;
    QProcess m_barramento, m_chaveiro;

    // What the keychain holds for that key.
    static std::pair<CofreSenhas::Leitura, QString> ler(const QString &chave)
    {
        CofreSenhas cofre;
        std::optional<std::pair<CofreSenhas::Leitura, QString>> lido;
        cofre.ler(chave, [&](CofreSenhas::Leitura l, const QString &s) { lido.emplace(l, s); });
        QElapsedTimer t;
        t.start();
        while (!lido && t.elapsed() < 10'000)
            QTest::qWait(10);
        return lido.value_or(std::pair{CofreSenhas::Leitura::SemCofre, QString()});
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!Radicale::disponivel())
            QFAIL("radicale is not installed (scripts/deps.sh test)");
#ifndef Q_OS_WIN
        const bool ci = qgetenv("CI") == "true";
        for (const char *programa : {"/usr/bin/dbus-daemon", "/usr/bin/gnome-keyring-daemon"}) {
            if (QFile::exists(QLatin1String(programa)))
                continue;
            const QByteArray razao = QByteArray(programa) + " is missing (scripts/deps.sh test)";
            if (ci)
                QFAIL(razao.constData());
            QSKIP(razao.constData());
        }
        // A home of its own: the keyring of whoever runs the tests is never
        // touched.
        for (const char *pasta : {"run", "dados"})
            QVERIFY(QDir(m_casa.path()).mkpath(QLatin1String(pasta)));
        QFile::setPermissions(m_casa.filePath(u"run"_s),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("HOME", m_casa.path().toUtf8());
        qputenv("XDG_RUNTIME_DIR", m_casa.filePath(u"run"_s).toUtf8());
        qputenv("XDG_DATA_HOME", m_casa.filePath(u"dados"_s).toUtf8());
        m_barramento.start(u"/usr/bin/dbus-daemon"_s,
                           {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
        QVERIFY(m_barramento.waitForStarted());
        QTRY_VERIFY(m_barramento.canReadLine());
        const QByteArray endereco = m_barramento.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", endereco);
        m_chaveiro.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        m_chaveiro.start(u"/usr/bin/gnome-keyring-daemon"_s,
                         {u"--foreground"_s, u"--unlock"_s, u"--components=secrets"_s});
        QVERIFY(m_chaveiro.waitForStarted());
        // Unlocked with this password, read until the end of its input.
        m_chaveiro.write("chaveiro de teste");
        m_chaveiro.closeWriteChannel();
        QElapsedTimer t;
        t.start();
        while (ler(u"sonda"_s).first != CofreSenhas::Leitura::Ausente && t.elapsed() < 10'000)
            QTest::qWait(100);
#endif
        QCOMPARE(ler(u"sonda"_s).first, CofreSenhas::Leitura::Ausente);
    }

    void cleanupTestCase()
    {
        for (QProcess *p : {&m_chaveiro, &m_barramento}) {
            p->kill();
            p->waitForFinished();
        }
    }

    // Connected: the password is in the keychain and nowhere else; a new
    // start syncs with it; disconnected, it is gone.
    void senhaNoChaveiro()
    {
        Radicale servidor;
        QVERIFY(servidor.criarLivro());
        QTemporaryDir pasta;
        const QString contatos = ArquivoContatos::caminhoNaPasta(pasta.path());
        Teste::gravar(contatos, Teste::arquivo({Teste::linha(u"Ana"_s)}));
        const QString ini = pasta.filePath(u"config.ini"_s);
        const auto configuracoes = [ini] {
            return std::make_unique<QSettings>(ini, QSettings::IniFormat);
        };
        const QString senha = QString::fromUtf8(Radicale::SENHA);
        const QString chave = u"ana@"_s + servidor.raiz().toString();
        {
            ContaSincronizacao conta(contatos, configuracoes);
            conta.conectar(servidor.raiz().toString(), u"ana"_s, senha);
            QTRY_VERIFY(!conta.conectando());
            QVERIFY(conta.conectado());
            QTRY_COMPARE_WITH_TIMEOUT(ler(chave), std::pair(CofreSenhas::Leitura::Lida, senha),
                                      30000);
            QVERIFY(!conta.senhaSoNaMemoria());
        }
        for (QDirIterator it(pasta.path(), QDir::Files); it.hasNext();)
            QVERIFY2(!Teste::ler(it.next()).contains(Radicale::SENHA), qPrintable(it.filePath()));

        ContaSincronizacao conta(contatos, configuracoes);
        QSignalSpy fim(&conta.controle(), &ControleSincronizacao::terminou);
        conta.iniciar();
        QTRY_COMPARE(fim.size(), 1);
        QVERIFY(fim.first().first().value<ResultadoSincronizacao>().ok());
        QVERIFY(conta.conectado() && !conta.faltaSenha());

        conta.desconectar();
        QTRY_COMPARE(ler(chave).first, CofreSenhas::Leitura::Ausente);
    }
};

QTEST_GUILESS_MAIN(TestKeychain)
#include "test_keychain.moc"
