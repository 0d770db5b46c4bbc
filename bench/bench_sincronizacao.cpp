// A sync of 5,000 cards against Radicale on loopback: the first one into an
// empty phone book, one with nothing changed, one with one change here; the
// requests each costs and the longest the event loop waits meanwhile; and
// vdirsyncer, if installed, doing the same work against the same server.
#include "radicale.h"
#include "store/arquivo_contatos.h"
#include "sync/sincronizador.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

constexpr int CARTOES = 5000;

struct Medida {
    double ms = 0;
    double cpu = 0;      // this process's own processor time, ms
    double bloqueio = 0; // the longest the event loop was held, ms
    ResultadoSincronizacao r;
};

Medida sincronizar(const QString &contatos, const QUrl &url)
{
    Sincronizador s(contatos);
    QEventLoop loop;
    Medida m;
    QObject::connect(&s, &Sincronizador::terminou, &loop, [&](const ResultadoSincronizacao &r) {
        m.r = r;
        loop.quit();
    });
    // A timer that fires every millisecond: the longest gap between two of
    // its ticks is the longest the loop was held.
    QTimer relogio;
    relogio.setInterval(1);
    relogio.setTimerType(Qt::PreciseTimer);
    QElapsedTimer tique;
    QObject::connect(&relogio, &QTimer::timeout, [&] {
        m.bloqueio = std::max(m.bloqueio, tique.nsecsElapsed() / 1e6);
        tique.restart();
    });
    QElapsedTimer t;
    t.start();
    const std::clock_t c0 = std::clock();
    tique.start();
    relogio.start();
    s.sincronizar({url, QString::fromUtf8(Radicale::USUARIO), QString::fromUtf8(Radicale::SENHA)});
    loop.exec();
    m.ms = t.nsecsElapsed() / 1e6;
    m.cpu = double(std::clock() - c0) * 1000.0 / CLOCKS_PER_SEC;
    return m;
}

double vdirsyncer(const QString &pasta, const QStringList &args)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("vdirsyncer"), QStringList{u"-c"_s, pasta + u"/config"_s} + args);
    p.waitForStarted();
    if (args.first() == u"discover")
        p.write("y\ny\ny\n");
    p.closeWriteChannel();
    p.waitForFinished(600'000);
    return t.nsecsElapsed() / 1e6;
}

void linha(const char *o_que, const Medida &m)
{
    std::printf("| %s | %.0f ms | %.0f ms | %d | %.1f ms | %d received, %d sent |\n", o_que, m.ms,
                m.cpu, m.r.pedidos, m.bloqueio, m.r.recebidos, m.r.enviados);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Radicale servidor;
    if (!servidor.criarLivro()) {
        std::fprintf(stderr, "Radicale did not start\n");
        return 1;
    }
    QByteArray todos;
    for (int i = 0; i < CARTOES; ++i)
        todos += QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:u%1\r\nFN:Pessoa %1\r\n"
                                "N:%1;Pessoa;;;\r\nTEL;TYPE=CELL:+55 11 9%2\r\n"
                                "EMAIL:p%1@exemplo.com.br\r\nEND:VCARD\r\n")
                     .arg(i)
                     .arg(i, 8, 10, QChar(u'0'))
                     .toUtf8();
    // The whole book in one request, as Radicale takes it.
    servidor.pedir("PUT", servidor.livro(), todos, {{"Content-Type", "text/vcard"}});
    // Radicale builds its caches on the first listing after an upload: done
    // here, so that neither client below pays for it.
    servidor.cartoes();
    QTemporaryDir pasta;
    const QString contatos = ArquivoContatos::caminhoNaPasta(pasta.path());
    QFile(contatos).open(QIODevice::WriteOnly);

    std::printf("| %d cards | time | engine's own CPU | requests | event loop held at most | |\n"
                "|---|---:|---:|---:|---:|---|\n",
                CARTOES);
    linha("first sync, into an empty book", sincronizar(contatos, servidor.livro()));
    QList<Medida> nada;
    for (int i = 0; i < 5; ++i)
        nada.append(sincronizar(contatos, servidor.livro()));
    std::sort(nada.begin(), nada.end(),
              [](const Medida &a, const Medida &b) { return a.ms < b.ms; });
    linha("nothing changed (median of 5)", nada[2]);
    QFile f(contatos);
    f.open(QIODevice::Append);
    f.write("Nova Pessoa\x7F"
            "1234\x7F\r\n");
    f.close();
    linha("one contact added here", sincronizar(contatos, servidor.livro()));

    if (QStandardPaths::findExecutable(QStringLiteral("vdirsyncer")).isEmpty())
        return 0;
    QTemporaryDir vd;
    QFile conf(vd.path() + u"/config"_s);
    conf.open(QIODevice::WriteOnly);
    conf.write("[general]\nstatus_path = \"" + vd.path().toUtf8() +
               "/status/\"\n[pair livro]\na = \"local\"\nb = \"remoto\"\ncollections = null\n"
               "[storage local]\ntype = \"filesystem\"\npath = \"" +
               vd.path().toUtf8() +
               "/cartoes/\"\nfileext = \".vcf\"\n[storage remoto]\n"
               "type = \"carddav\"\nurl = \"" +
               servidor.livro().toEncoded() + "\"\nusername = \"" + Radicale::USUARIO +
               "\"\npassword = \"" + Radicale::SENHA + "\"\n");
    conf.close();
    QDir(vd.path()).mkpath(u"cartoes"_s);
    vdirsyncer(vd.path(), {u"discover"_s});
    const double primeira = vdirsyncer(vd.path(), {u"sync"_s});
    QList<double> nadaVd;
    for (int i = 0; i < 5; ++i)
        nadaVd.append(vdirsyncer(vd.path(), {u"sync"_s}));
    std::sort(nadaVd.begin(), nadaVd.end());
    std::printf("\nvdirsyncer, the same server: first sync %.0f ms (%lld files), nothing changed "
                "%.0f ms (median of 5)\n",
                primeira, qlonglong(QDir(vd.path() + u"/cartoes"_s).count() - 2), nadaVd[2]);
    return 0;
}
