// The phone book's start-up as the program does it, over the contacts of a
// given folder: as soon as the main window has first been painted, prints
// the milliseconds since the launch time it was given (monotonic clock, ns)
// and the process's peak memory (VmHWM, KiB), and ends.
#include "main_window/kv_principal.h"
#include "model/locale_app.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

qint64 agoraNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

long picoKiB();

class AoPintar : public QObject {
public:
    explicit AoPintar(qint64 lancamento) : m_lancamento(lancamento) {}
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && o->objectName() == QLatin1String("KV_Principal")) {
            std::printf("%.1f %ld\n", (agoraNs() - m_lancamento) / 1e6, picoKiB());
            std::fflush(stdout);
            _exit(0); // the start-up is what is measured, not the teardown
        }
        return false;
    }

private:
    qint64 m_lancamento;
};

long picoKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &l : f.readAll().split('\n')) {
        if (l.startsWith("VmHWM:"))
            return l.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    QApplication::setApplicationName(QStringLiteral("Marvessa Fonelo"));
    OpcoesPrincipal opcoes;
    opcoes.locale = LocaleApp::efetivo();
    opcoes.caminhoArquivo = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/contatos.txt");
    opcoes.arquivoConfiguracoes = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/config.ini");
    AoPintar filtro(QByteArray(argv[2]).toLongLong());
    app.installEventFilter(&filtro);
    KV_Principal janela(std::move(opcoes));
    janela.show();
    return app.exec();
}
