// Finding the contacts that may be one person at 100,000 contacts: every
// group of the list, by telephone, e-mail, name and words of the name, as
// the duplicates' dialog finds them when it opens.
#include "gerador.h"
#include "medidas.h"
#include "model/modelo_principal.h"
#include "operations/duplicados.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QLocale ptBR(QLocale::Portuguese, QLocale::Brazil);
    out << "| contacts | find the groups (median) | slowest | groups | contacts in them |\n"
        << "|---:|---:|---:|---:|---:|\n";
    for (const int n : {10'000, 100'000}) {
        QTemporaryDir dir;
        ModeloPrincipal m(Gerador::gravar(dir.path(), n), ptBR);
        m.iniciar(QDate::currentDate());
        QList<double> tempos;
        qsizetype grupos = 0, membros = 0;
        for (int i = 0; i < 15; ++i) {
            QElapsedTimer t;
            t.start();
            const auto g = Duplicados::procurar(m.lstInicio());
            tempos.append(t.nsecsElapsed() / 1e6);
            grupos = g.size();
            membros = 0;
            for (const auto &um : g)
                membros += um.membros.size();
        }
        out << "| " << n << " | " << QString::number(Medidas::mediana(tempos), 'f', 1) << " ms | "
            << QString::number(*std::max_element(tempos.begin(), tempos.end()), 'f', 1) << " ms | "
            << grupos << " | " << membros << " |\n";
    }
    return 0;
}
