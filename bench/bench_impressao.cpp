// The list to print at 100,000 contacts: the PDF of every contact, with
// and without e-mails, in one to three columns, laid out and drawn to the
// bytes that are saved; its pages and size. Run as
// "bench_impressao [contacts [file.pdf]]" to look at the last one.
#include "gerador.h"
#include "medidas.h"
#include "model/modelo_principal.h"
#include "printing/impressao_contatos.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    const QLocale ptBR(QLocale::Portuguese, QLocale::Brazil);
    const int n = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    ModeloPrincipal m(Gerador::gravar(dir.path(), n), ptBR);
    m.iniciar(QDate(2026, 12, 10));
    const QString pdf = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.filePath(u"lista.pdf"_s);
    out << "| contacts | columns | e-mails | whole PDF (median of 5) | pages | size |\n"
        << "|---:|---:|---|---:|---:|---:|\n";
    for (const bool emails : {false, true}) {
        for (int colunas = 3; colunas >= 1; --colunas) {
            QList<double> tempos;
            for (int i = 0; i < 5; ++i) {
                QElapsedTimer t;
                t.start();
                ImpressaoContatos(m, ptBR).salvar(pdf, {false, colunas, emails});
                tempos.append(t.nsecsElapsed() / 1e6);
            }
            QFile f(pdf);
            f.open(QIODevice::ReadOnly);
            const QByteArray bytes = f.readAll();
            const qsizetype paginas = bytes.count("/Type /Page\n") + bytes.count("/Type /Page ");
            out << "| " << n << " | " << colunas << " | " << (emails ? "with" : "without") << " | "
                << QString::number(Medidas::mediana(tempos), 'f', 0) << " ms | " << paginas << " | "
                << QString::number(bytes.size() / 1048576.0, 'f', 1) << " MiB |\n";
            out.flush();
        }
    }
}
