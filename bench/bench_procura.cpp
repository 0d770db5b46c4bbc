// Finding by any part at 100,000 contacts: the index's build and memory,
// and each key typed into the find dialog, from the key to the list of
// results painted again (offscreen).
#include "chrome/lista_selecao_unica.h"
#include "dialogs/avisos.h"
#include "dialogs/kv_procura.h"
#include "gerador.h"
#include "medidas.h"
#include "model/modelo_principal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>

namespace {

QString ms(double v)
{
    return QString::number(v, 'f', 2) + QStringLiteral(" ms");
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QLocale ptBR(QLocale::Portuguese, QLocale::Brazil);
    constexpr int N = 100000;
    QTemporaryDir dir;
    const QString caminho = Gerador::gravar(dir.path(), N);
    ModeloPrincipal m(caminho, ptBR);
    m.iniciar(QDate::currentDate());

    QList<double> construcoes;
    qsizetype memoria = 0;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer t;
        t.start();
        IndiceBusca indice;
        indice.construir(m.lstInicio());
        construcoes.append(t.nsecsElapsed() / 1e6);
        memoria = indice.bytes();
    }

    QWidget principal;
    principal.resize(400, 400);
    Avisos avisos;
    KV_Procura d(&principal, m, avisos);
    d.show();
    // What a user types, a key at a time: a surname, a first name and
    // surname, digits of a telephone, part of an e-mail.
    const QStringList consultas = {QStringLiteral("souza"),   QStringLiteral("ana sil"),
                                   QStringLiteral("98765"),   QStringLiteral("contato12@"),
                                   QStringLiteral("brandao"), QStringLiteral("zzz")};
    QList<double> teclas;
    double pior = 0;
    for (int rodada = 0; rodada < 5; ++rodada) {
        for (const QString &c : consultas) {
            for (qsizetype k = 1; k <= c.size(); ++k) {
                QElapsedTimer t;
                t.start();
                d.txtProcura()->setText(c.left(k));
                d.achados()->repaint();
                const double v = t.nsecsElapsed() / 1e6;
                teclas.append(v);
                pior = std::max(pior, v);
            }
        }
    }
    out << "| contacts | index build | index memory | a key (median) | a key (slowest) |\n"
        << "|---:|---:|---:|---:|---:|\n"
        << "| " << N << " | " << ms(Medidas::mediana(construcoes)) << " | "
        << QString::number(memoria / 1048576.0, 'f', 1) << " MiB | " << ms(Medidas::mediana(teclas))
        << " | " << ms(pior) << " |\n";
    return 0;
}
