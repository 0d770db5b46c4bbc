// Times the phone book's work at 1,000, 32,767 and 100,000 contacts and
// prints a table: start-up work (with its floor, reading and decoding
// alone), the largest tab, each edit end to end, and the whole program's
// start-up and peak memory (bench_inicio, offscreen).
#include "gerador.h"
#include "medidas.h"
#include "model/modelo_principal.h"
#include "operations/edicao_contatos.h"
#include "store/cp1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <ctime>
#include <functional>

namespace {

constexpr int REPETICOES = 15;

// Median milliseconds of a step; preparar runs untimed before each.
double medir(const std::function<void()> &passo, const std::function<void()> &preparar = {})
{
    QList<double> tempos;
    for (int i = 0; i < REPETICOES; ++i) {
        if (preparar)
            preparar();
        QElapsedTimer t;
        t.start();
        passo();
        tempos.append(t.nsecsElapsed() / 1e6);
    }
    return Medidas::mediana(tempos);
}

void gravar(const QString &caminho, const QByteArray &b)
{
    QFile f(caminho);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(b);
}

struct Processo {
    double ms;
    double hwmMiB;
};

// The whole program started offscreen, until its window is first painted.
Processo processo(const QString &inicio, const QString &pasta)
{
    QList<double> tempos, memorias;
    for (int i = 0; i < REPETICOES; ++i) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        timespec agora{};
        clock_gettime(CLOCK_MONOTONIC, &agora);
        const qint64 ns = qint64(agora.tv_sec) * 1'000'000'000 + agora.tv_nsec;
        p.start(inicio, {pasta, QString::number(ns)});
        p.waitForFinished(60000);
        const QStringList saida =
            QString::fromLatin1(p.readAllStandardOutput()).split(u' ', Qt::SkipEmptyParts);
        tempos.append(saida.value(0).toDouble());
        memorias.append(saida.value(1).toDouble() / 1024);
    }
    return {Medidas::mediana(tempos), Medidas::mediana(memorias)};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString inicio = QCoreApplication::applicationDirPath() + QStringLiteral("/bench_inicio");
    const QLocale ptBR(QLocale::Portuguese, QLocale::Brazil);
    QTextStream out(stdout);

    QTemporaryDir vazio;
    gravar(vazio.filePath(QStringLiteral("contatos.txt")), FormatoContatos::arquivoVazio());
    const Processo base = processo(inicio, vazio.path());
    out << "| contacts | read+decode (floor) | start-up work | largest tab | add | update | "
           "delete | find (a key; none) | process start-up | peak memory |\n";
    out << "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n";
    out << "| 0 | | | | | | | | " << QString::number(base.ms, 'f', 1) << " ms | "
        << QString::number(base.hwmMiB, 'f', 1) << " MiB |\n";
    out.flush();

    for (const int n : {1000, 32767, 100000}) {
        QTemporaryDir dir;
        const QString caminho = dir.filePath(QStringLiteral("contatos.txt"));
        const QByteArray bytes = Gerador::arquivo(n);
        gravar(caminho, bytes);

        const double piso = medir([&] {
            const auto l = ArquivoContatos(caminho).lerBytes();
            volatile qsizetype k = Cp1252::decode(l.bytes).size();
            (void)k;
        });
        const double partida = medir([&] {
            ModeloPrincipal m(caminho, ptBR);
            m.iniciar(QDate::currentDate());
        });

        ModeloPrincipal m(caminho, ptBR);
        m.iniciar(QDate::currentDate());
        int maior = 0;
        qsizetype tamanho = -1;
        for (int g = 0; g < NUM_GRUPOS; ++g) {
            m.escolherAba(g);
            if (m.navegacao().lstPorLetra.size() > tamanho) {
                tamanho = m.navegacao().lstPorLetra.size();
                maior = g;
            }
        }
        const double aba = medir([&] { m.escolherAba(maior); });
        // Typing the first five letters of a name, a key at a time; then a
        // prefix that nothing starts with.
        qint64 agora = 0;
        int vez = 0;
        const double busca = medir([&] {
                                 const QString nome =
                                     m.lstInicio().registro((vez++ * 7919) % n).Nome.left(5);
                                 agora += 2 * BuscaContato::PAUSA_MS;
                                 for (const QChar c : nome)
                                     m.digitar(c, agora++);
                             }) /
                             5;
        const double semBusca = medir([&] {
                                    agora += 2 * BuscaContato::PAUSA_MS;
                                    m.digitar(u'q', agora);
                                    m.digitar(u'x', agora + 1);
                                }) /
                                2;

        int k = 0;
        const double adicionar = medir([&] {
            EdicaoContatos(m).adicionar(QStringLiteral("Zózimo Novo %1").arg(k++),
                                        QStringLiteral("(11) 5555-0000"), QString());
        });
        QString nomeAtual = m.lstInicio().registro(m.lstInicio().count() / 2).Nome;
        const double atualizar = medir([&] {
            const QString novo = QStringLiteral("Abílio Trocado %1").arg(k++);
            EdicaoContatos(m).atualizar(nomeAtual, novo, QStringLiteral("1"), QString());
            nomeAtual = novo;
        });
        const double deletar = medir([&] {
            EdicaoContatos(m).deletar(m.lstInicio().registro(m.lstInicio().count() / 3).Nome);
        });

        gravar(caminho, bytes);
        const Processo p = processo(inicio, dir.path());
        const auto ms = [](double v) { return QString::number(v, 'f', 1) + QStringLiteral(" ms"); };
        const auto ms2 = [](double v) {
            return QString::number(v, 'f', 3) + QStringLiteral(" ms");
        };
        out << "| " << n << " | " << ms(piso) << " | " << ms(partida) << " | " << ms(aba) << " ("
            << tamanho << ") | " << ms(adicionar) << " | " << ms(atualizar) << " | " << ms(deletar)
            << " | " << ms2(busca) << "; " << ms2(semBusca) << " | " << ms(p.ms) << " | "
            << QString::number(p.hwmMiB, 'f', 1) << " MiB |\n";
        out.flush();
    }
    return 0;
}
