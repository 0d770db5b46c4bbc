// Earlier versions at 100,000 contacts: listing them as the versions dialog
// does (the dates, then each version's contacts and difference from the
// file), and an undo of each kind of change, end to end.
#include "gerador.h"
#include "model/modelo_principal.h"
#include "operations/desfazer_edicoes.h"
#include "operations/edicao_contatos.h"
#include "store/historico_versoes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>

namespace {

constexpr int REPETICOES = 15;

double medir(const std::function<void()> &passo)
{
    QList<double> tempos;
    for (int i = 0; i < REPETICOES; ++i) {
        QElapsedTimer t;
        t.start();
        passo();
        tempos.append(t.nsecsElapsed() / 1e6);
    }
    std::sort(tempos.begin(), tempos.end());
    return tempos[tempos.size() / 2];
}

QString ms(double v)
{
    return QString::number(v, 'f', 1) + QStringLiteral(" ms");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QLocale ptBR(QLocale::Portuguese, QLocale::Brazil);
    constexpr int N = 100000;
    QTemporaryDir dir;
    const QString caminho = Gerador::gravar(dir.path(), N);
    ModeloPrincipal m(caminho, ptBR);
    m.iniciar(QDate::currentDate());
    DesfazerEdicoes desfazer(m);
    EdicaoContatos e(m);
    // As many versions as the limits keep at this size, each a few
    // contacts away from the next.
    for (int i = 0; i < 30; ++i) {
        e.adicionar(QStringLiteral("Versão %1").arg(i), QStringLiteral("1"), {});
        e.deletar(m.lstInicio().registro((i * 7919) % N).Nome);
    }
    const QList<HistoricoVersoes::Versao> versoes = HistoricoVersoes(caminho).versoes();
    qint64 total = 0;
    for (const auto &v : versoes)
        total += v.tamanho;

    const double datas = medir([&] { (void)HistoricoVersoes(caminho).versoes(); });
    const double resumos = medir([&] {
        const QByteArray atual = m.arquivo().lerBytes().bytes;
        for (const auto &v : HistoricoVersoes(caminho).versoes())
            (void)HistoricoVersoes::resumir(ArquivoContatos(v.caminho).lerBytes().bytes, atual);
    });
    out << "versions kept: " << versoes.size() << " (" << QString::number(total / 1048576.0, 'f', 1)
        << " MiB)\n";
    out << "| contacts | list (dates) | list (every version summed up) | undo add | undo update "
           "| undo delete | undo import of 1,000 |\n|---:|---:|---:|---:|---:|---:|---:|\n";

    // Each undo timed with its redo untimed between, so that each run
    // undoes the same change.
    const auto desfazerERefazer = [&](const std::function<void()> &mudar) {
        mudar();
        QList<double> tempos;
        for (int i = 0; i < REPETICOES; ++i) {
            QElapsedTimer t;
            t.start();
            desfazer.desfazer();
            tempos.append(t.nsecsElapsed() / 1e6);
            desfazer.refazer();
        }
        std::sort(tempos.begin(), tempos.end());
        return tempos[tempos.size() / 2];
    };
    const double inclusao =
        desfazerERefazer([&] { e.adicionar(QStringLiteral("Zuleica"), QStringLiteral("2"), {}); });
    const double atualizacao = desfazerERefazer(
        [&] { e.atualizar(QStringLiteral("Zuleica"), QStringLiteral("Zuleika"), {}, {}); });
    const double exclusao = desfazerERefazer([&] { e.deletar(QStringLiteral("Zuleika")); });
    QList<ContactRecord> novos;
    for (int i = 0; i < 1000; ++i)
        novos.append({QStringLiteral("Importado %1").arg(i), QString::number(i), {}});
    const double importacao = desfazerERefazer([&] { e.importar(novos); });
    out << "| " << N << " | " << ms(datas) << " | " << ms(resumos) << " | " << ms(inclusao) << " | "
        << ms(atualizacao) << " | " << ms(exclusao) << " | " << ms(importacao) << " |\n";
    return 0;
}
