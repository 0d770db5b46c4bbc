#include "gerador.h"
#include "helpers.h"
#include "model/modelo_principal.h"
#include "operations/edicao_contatos.h"
#include "operations/mensagens.h"
#include "store/formato_contatos.h"

#include <QCollator>
#include <QTemporaryDir>
#include <QTest>

// A hundred thousand contacts: the order, the pages and the edits stay
// exactly what the plain rules give (no timing here; see bench/).
class TestScale : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cemMil();
};

void TestScale::cemMil()
{
    QTemporaryDir dir;
    const QString caminho = ArquivoContatos::caminhoNaPasta(dir.path());
    const QByteArray bytes = Gerador::arquivo(100000);
    Teste::gravar(caminho, bytes);
    ModeloPrincipal m(caminho, Teste::ptBR());
    QVERIFY(m.iniciar(QDate(2026, 12, 7)));
    QCOMPARE(m.lblTotalContatos(), u"100000"_s);

    // The order: whole entries by the collator, equal ones in file order.
    const auto conferirOrdem = [&](const QList<ContactRecord> &arquivo) {
        QCollator c(Teste::ptBR());
        c.setCaseSensitivity(Qt::CaseInsensitive);
        QStringList esperado;
        for (const auto &r : arquivo)
            esperado.append(MontarEntrada(r));
        std::stable_sort(esperado.begin(), esperado.end(),
                         [&](const QString &a, const QString &b) { return c.compare(a, b) < 0; });
        QCOMPARE(m.lstInicio().entradas(), esperado);
    };
    conferirOrdem(FormatoContatos::lerRegistros(bytes));

    // Every group pages through exactly its contacts, ten at a time.
    qsizetype listados = 0;
    for (int g = 0; g < NUM_GRUPOS; ++g) {
        m.escolherAba(g);
        const auto &nav = m.navegacao();
        const qsizetype n = nav.lstPorLetra.size();
        QStringList vistos = n ? nav.lstContatos : QStringList();
        while (nav.imgAvancaVisivel) {
            m.avancarPagina();
            QVERIFY(nav.lstContatos.size() <= 10);
            vistos += nav.lstContatos;
        }
        QCOMPARE(vistos.size(), n);
        for (qsizetype i = 0; i < n; ++i)
            QCOMPARE(vistos[i], m.lstInicio().entrada(nav.lstPorLetra[i]));
        listados += n;
    }
    QVERIFY(listados > 90000 && listados < 100000); // Ø, Ý, Å begin no tab

    // Edits made in place equal reading the rewritten file afresh.
    EdicaoContatos e(m);
    QCOMPARE(e.adicionar(u"Ábaco Novo"_s, u"1"_s, {}).avisos, QStringList{Mensagens::INSERIDO});
    const QString alvo = m.lstInicio().registro(50000).Nome;
    QCOMPARE(e.atualizar(alvo, u"andré"_s, u"2"_s, u"x"_s).avisos,
             QStringList{Mensagens::ATUALIZADO});
    const QString outro = m.lstInicio().registro(777).Nome;
    QCOMPARE(e.deletar(outro).avisos, QStringList{Mensagens::DELETADO});
    const QStringList depois = m.lstInicio().entradas();
    ModeloPrincipal relido(caminho, Teste::ptBR());
    QVERIFY(relido.iniciar(QDate(2026, 12, 7)));
    QCOMPARE(relido.lstInicio().entradas(), depois);
    conferirOrdem(FormatoContatos::lerRegistros(Teste::ler(caminho)));
}

QTEST_GUILESS_MAIN(TestScale)
#include "test_scale.moc"
