// Times importing a vCard file of 100,000 cards, as a phone exports them,
// into an empty phone book: reading the file, reading its cards, and the
// import by the add's rules with its one write and the reload of the list.
#include "gerador.h"
#include "operations/edicao_contatos.h"
#include "store/contatos_externos.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QLocale ptBR(QLocale::Portuguese, QLocale::Brazil);
    const int n = 100000;
    const QByteArray vcf = ContatosExternos::escrever(
        FormatoContatos::lerRegistros(Gerador::arquivo(n)), ContatosExternos::Formato::VCard);
    QTemporaryDir origem;
    const QString caminhoVcf = origem.filePath(QStringLiteral("contatos.vcf"));
    {
        QFile f(caminhoVcf);
        f.open(QIODevice::WriteOnly);
        f.write(vcf);
    }

    QList<double> leitura, tudo;
    qsizetype importados = 0;
    for (int vez = 0; vez < 5; ++vez) {
        QTemporaryDir pasta;
        ModeloPrincipal m(ArquivoContatos::caminhoNaPasta(pasta.path()), ptBR);
        m.iniciar(QDate::currentDate());
        QElapsedTimer t;
        t.start();
        const auto lida = ArquivoContatos(caminhoVcf).lerBytes();
        const ContatosExternos::Lidos lidos = ContatosExternos::ler(lida.bytes);
        leitura.append(t.nsecsElapsed() / 1e6);
        EdicaoContatos(m).importar(lidos.contatos, lidos.rejeitados);
        tudo.append(t.nsecsElapsed() / 1e6);
        importados = m.lstInicio().count();
    }
    std::sort(leitura.begin(), leitura.end());
    std::sort(tudo.begin(), tudo.end());
    QTextStream(stdout)
        << "| cards | file | reading the cards | whole import | contacts imported |\n"
        << "|---:|---:|---:|---:|---:|\n"
        << "| " << n << " | " << QString::number(vcf.size() / 1048576.0, 'f', 1) << " MiB | "
        << QString::number(leitura[2], 'f', 0) << " ms | " << QString::number(tudo[2], 'f', 0)
        << " ms | " << importados << " |\n";
    return 0;
}
