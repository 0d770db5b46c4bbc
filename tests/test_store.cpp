#include "helpers.h"
#include "store/arquivo_contatos.h"
#include "store/codificacoes.h"
#include "store/cp1252.h"
#include "store/formato_contatos.h"
#include "store/historico_versoes.h"

#include <QDir>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(QList<ContactRecord>)
Q_DECLARE_METATYPE(Codificacao)

namespace {
const QChar DEL(0x7F);
}

class TestStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void codec_todosOsBytesIdaEVolta();
    void codec_confereComDecodificadorDoQt();
    void codec_caracteresForaDaPagina();
    void leitura_data();
    void leitura();
    void leitura_linhasLidasDosBytes();
    void codificacoes_data();
    void codificacoes();
    void camposGravaveis();
    void montarArquivo_formato();
    void criarArquivoSeAusente();
    void falhaDeLeituraNaoEhListaVazia();
    void gravarSubstituiOuPreservaTudo();
    void historicoLimites_data();
    void historicoLimites();
    void historicoDasEscritas();
    void historicoDiferenca_data();
    void historicoDiferenca();
};

void TestStore::codec_todosOsBytesIdaEVolta()
{
    QByteArray todos(256, Qt::Uninitialized);
    for (int b = 0; b < 256; ++b)
        todos[b] = char(b);
    const QString texto = Cp1252::decode(todos);
    QCOMPARE(texto.size(), 256);
    QVERIFY(Cp1252::canEncode(texto));
    QCOMPARE(Cp1252::encode(texto), todos);
    // The five unassigned bytes stand for the C1 control of the same number.
    for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        QCOMPARE(texto[b].unicode(), char16_t(b));
    QCOMPARE(texto[0x80], QChar(0x20AC));
    QCOMPARE(texto[0xA7], QChar(0xA7));
    QCOMPARE(texto[0xC1], QChar(u'Á'));
}

void TestStore::codec_confereComDecodificadorDoQt()
{
    QStringDecoder qt("windows-1252");
    if (!qt.isValid())
        QSKIP("this Qt has no windows-1252 decoder (no ICU)");
    for (int b = 0; b < 256; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            continue; // unassigned: decoders disagree on these
        const char c = char(b);
        const QString esperado = qt.decode(QByteArrayView(&c, 1));
        QCOMPARE(QString(Cp1252::decodeByte(uchar(b))), esperado);
    }
}

void TestStore::codec_caracteresForaDaPagina()
{
    QVERIFY(Cp1252::canEncode(u"Ação € “ok” Š ž"));
    QVERIFY(!Cp1252::canEncode(QStringView(u"Ω")));
    QVERIFY(!Cp1252::canEncode(QStringView(u"日本")));
    QCOMPARE(Cp1252::encode(u"€"), QByteArray("\x80"));
    QCOMPARE(Cp1252::encode(u"ç"), QByteArray("\xE7"));
}

void TestStore::leitura_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<ContactRecord>>("esperado");
    using L = QList<ContactRecord>;
    const QByteArray d = "\x7F";

    QTest::newRow("vazio") << QByteArray() << L{};
    QTest::newRow("so linhas em branco") << QByteArray("\r\n   \r\n\r\n \r") << L{};
    QTest::newRow("formato dos gravadores")
        << QByteArray("Ana" + d + "1" + d + "a@x\r\nBia" + d + d + "\r\n\r\n\r\n")
        << L{{"Ana", "1", "a@x"}, {"Bia", "", ""}};
    QTest::newRow("email vazio") << QByteArray("Ana" + d + "123" + d) << L{{"Ana", "123", ""}};
    QTest::newRow("quatro campos")
        << QByteArray("A" + d + "B" + d + "C" + d + "D" + d + "E") << L{{"A", "B", "C"}};
    QTest::newRow("menos de tres campos") << QByteArray("So nome\r\nNome" + d + "fone")
                                          << L{{"So nome", "", ""}, {"Nome", "fone", ""}};
    QTest::newRow("TAB nao eh branco") << QByteArray("\t\r\n") << L{{"\t", "", ""}};
    QTest::newRow("campos sem aparar")
        << QByteArray(" Ana " + d + " 1 " + d + " e ") << L{{" Ana ", " 1 ", " e "}};
    QTest::newRow("ultima sem fim de linha")
        << QByteArray("A" + d + d + "\r\nB" + d + d) << L{{"A", "", ""}, {"B", "", ""}};
    QTest::newRow("CR sozinho termina linha")
        << QByteArray("A" + d + d + "\rB" + d + d + "\r") << L{{"A", "", ""}, {"B", "", ""}};
    QTest::newRow("LF sozinho fica na linha")
        << QByteArray("A\nB" + d + "1" + d + "2\n") << L{{"A\nB", "1", "2\n"}};
    QTest::newRow("CR CR LF") << QByteArray("A\r\r\nB") << L{{"A", "", ""}, {"B", "", ""}};
    QTest::newRow("acentos da pagina") << QByteArray("\xC1lvaro" + d + "\x80" + d + "\xE7@x")
                                       << L{{u"Álvaro"_s, u"€"_s, u"ç@x"_s}};
    QTest::newRow("separadores apenas") << QByteArray(d + d + d + d) << L{{"", "", ""}};
}

void TestStore::leitura()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<ContactRecord>, esperado);
    QCOMPARE(FormatoContatos::lerRegistros(bytes), esperado);

    // The same through the file.
    QTemporaryDir dir;
    const QString caminho = ArquivoContatos::caminhoNaPasta(dir.path());
    Teste::gravar(caminho, bytes);
    const auto lidos = ArquivoContatos(caminho).LerContatos();
    QCOMPARE(lidos.estado, ArquivoContatos::Estado::Lido);
    QCOMPARE(lidos.registros, esperado);
}

void TestStore::leitura_linhasLidasDosBytes()
{
    // A file written by the writers reads back as the same records, whatever
    // the fields hold within the rules.
    const QList<ContactRecord> registros = {
        {u"Ângela"_s, u"(11) 5555-0000"_s, u"angela@ex.com"_s},
        {u"  espaços  "_s, QString(), u"x"_s},
        {u"Zé"_s, u"“aspas”"_s, QString()},
    };
    QStringList linhas;
    for (const auto &r : registros)
        linhas.append(FormatoContatos::linhaDoRegistro(r));
    QCOMPARE(FormatoContatos::lerRegistros(FormatoContatos::montarArquivo(linhas)), registros);
}

void TestStore::codificacoes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Codificacao>("codificacao");
    QTest::addColumn<QString>("nome");
    using C = Codificacao;
    QTest::newRow("marca") << QByteArray("\xEF\xBB\xBF"
                                         "Ana")
                           << C::Utf8ComMarca << u"Ana"_s;
    QTest::newRow("UTF-8 sem marca") << QByteArray("Jo\xC3\xA3o") << C::Utf8 << u"João"_s;
    QTest::newRow("quatro bytes") << QByteArray("\xF0\x9F\x98\x80") << C::Utf8 << u"😀"_s;
    QTest::newRow("so ASCII") << QByteArray("Ana") << C::Windows1252 << u"Ana"_s;
    QTest::newRow("Windows-1252") << QByteArray("Jos\xE9") << C::Windows1252 << u"José"_s;
    QTest::newRow("UTF-8 e 1252 juntos")
        << QByteArray("Jo\xC3\xA3o Jos\xE9") << C::Windows1252 << u"JoÃ£o José"_s;
    QTest::newRow("forma longa") << QByteArray("A\xC0\x80") << C::Windows1252 << u"AÀ€"_s;
    QTest::newRow("metade de par") << QByteArray("\xED\xA0\x80") << C::Windows1252 << u"í\u00A0€"_s;
    QTest::newRow("cortada no fim") << QByteArray("Jo\xC3") << C::Windows1252 << u"JoÃ"_s;
    // A file an older copy appended to: each name as it was typed.
    QTest::newRow("marca e bytes de 1252")
        << QByteArray("\xEF\xBB\xBFZo\xE9\r\nJo\xC3\xA3o") << C::Utf8ComMarca << u"Zoé"_s;
}

void TestStore::codificacoes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Codificacao, codificacao);
    QFETCH(QString, nome);
    QCOMPARE(Codificacoes::detectar(bytes), codificacao);
    const auto registros = FormatoContatos::lerRegistros(bytes);
    QCOMPARE(registros.value(0).Nome, nome);
    // Written back in its encoding, it reads the same.
    QStringList linhas;
    for (const auto &r : registros)
        linhas.append(FormatoContatos::linhaDoRegistro(r));
    const QByteArray escrito = FormatoContatos::montarArquivo(linhas, codificacao);
    QVERIFY(Codificacoes::lidoDeVoltaIgual(escrito, codificacao));
    QCOMPARE(FormatoContatos::lerRegistros(escrito), registros);
}

void TestStore::camposGravaveis()
{
    using FormatoContatos::campoGravavel;
    QVERIFY(campoGravavel(u""));
    QVERIFY(campoGravavel(u"José da Silva € “x” ŠŽ"));
    QVERIFY(!campoGravavel(u"a\tb"));
    QVERIFY(!campoGravavel(u"a"_s + DEL));
    QVERIFY(!campoGravavel(u"a\rb"));
    QVERIFY(!campoGravavel(u"a\nb"));
    QVERIFY(!campoGravavel(QString(QChar(0x81))));
    QVERIFY(!campoGravavel(u"Ωmega"));
    QVERIFY(campoGravavel(u"Ωmega 日本 😀", Codificacao::Utf8));
    QVERIFY(!campoGravavel(u"a\tb", Codificacao::Utf8));
    QVERIFY(!campoGravavel(QString(QChar(0xD83D)), Codificacao::Utf8ComMarca));
}

void TestStore::montarArquivo_formato()
{
    QCOMPARE(FormatoContatos::montarArquivo({}), QByteArray("\r\n\r\n"));
    const QString l = FormatoContatos::linhaDoRegistro({u"Ção"_s, u"1"_s, QString()});
    QCOMPARE(FormatoContatos::montarArquivo({l, u"  "_s}), QByteArray("\xC7\xE3o\x7F"
                                                                      "1\x7F\r\n  \r\n\r\n\r\n"));
}

void TestStore::criarArquivoSeAusente()
{
    QTemporaryDir dir;
    const QString caminho = ArquivoContatos::caminhoNaPasta(dir.path());
    ArquivoContatos arq(caminho);
    QVERIFY(arq.CriarArquivoSeAusente());
    QCOMPARE(Teste::ler(caminho), QByteArray("\r\n\r\n"));

    Teste::gravar(caminho, "Ana\x7F\x7F");
    QVERIFY(arq.CriarArquivoSeAusente());
    QCOMPARE(Teste::ler(caminho), QByteArray("Ana\x7F\x7F"));

    // A folder that does not exist cannot hold the file: reported, no crash.
    QVERIFY(!ArquivoContatos(dir.path() + u"/nao/existe/contatos.txt"_s).CriarArquivoSeAusente());
}

void TestStore::falhaDeLeituraNaoEhListaVazia()
{
    QTemporaryDir dir;
    const QString caminho = ArquivoContatos::caminhoNaPasta(dir.path());
    ArquivoContatos arq(caminho);

    auto ausente = arq.LerContatos();
    QCOMPARE(ausente.estado, ArquivoContatos::Estado::Ausente);
    QVERIFY(ausente.ok());
    QVERIFY(ausente.registros.isEmpty());
    QVERIFY(!QFile::exists(caminho)); // reading never creates the file

    QVERIFY(QDir(dir.path()).mkdir(QString::fromLatin1(ArquivoContatos::NOME)));
    auto pasta = arq.LerContatos();
    QCOMPARE(pasta.estado, ArquivoContatos::Estado::Falhou);
    QVERIFY(!pasta.ok());
    QVERIFY(arq.CriarArquivoSeAusente()); // something is there: left alone
    QVERIFY(QFileInfo(caminho).isDir());
}

void TestStore::gravarSubstituiOuPreservaTudo()
{
    QTemporaryDir dir;
    const QString caminho = ArquivoContatos::caminhoNaPasta(dir.path());
    Teste::gravar(caminho, "velho");
    ArquivoContatos arq(caminho);
    QVERIFY(arq.gravar("novo\r\n"));
    QCOMPARE(Teste::ler(caminho), QByteArray("novo\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{u"contatos.txt"_s});

    // A folder in the file's place makes every write fail, even for root.
    QTemporaryDir dir2;
    const QString emPasta = ArquivoContatos::caminhoNaPasta(dir2.path());
    QVERIFY(QDir(dir2.path()).mkdir(QString::fromLatin1(ArquivoContatos::NOME)));
    QVERIFY(!ArquivoContatos(emPasta).gravar("x"));
    QVERIFY(QFileInfo(emPasta).isDir());
    QCOMPARE(QDir(dir2.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{u"contatos.txt"_s});
}

// Versions one a given number of minutes apart, newest first, of a size.
void TestStore::historicoLimites_data()
{
    QTest::addColumn<int>("quantas");
    QTest::addColumn<int>("minutosEntre");
    QTest::addColumn<qint64>("tamanho");
    QTest::addColumn<QList<qsizetype>>("apagar");
    const auto de = [](qsizetype a, qsizetype b) {
        QList<qsizetype> l;
        for (qsizetype i = a; i < b; ++i)
            l.append(i);
        return l;
    };
    QTest::newRow("the last 20 of today") << 25 << 1 << qint64(1000) << de(20, 25);
    QTest::newRow("one a day for 30 days") << 40 << 24 * 60 << qint64(1000) << de(30, 40);
    QList<qsizetype> meioDia; // the later one of each day past the last 20, and past 30 days
    for (qsizetype i = 20; i < 80; ++i) {
        if (i % 2 == 1 || i >= 60)
            meioDia.append(i);
    }
    QTest::newRow("two a day: 20, then one a day") << 80 << 12 * 60 << qint64(1000) << meioDia;
    QTest::newRow("50 MB, but never fewer than 3")
        << 10 << 1 << qint64(20) * 1024 * 1024 << de(3, 10);
    QTest::newRow("50 MB, what fits") << 10 << 1 << qint64(12) * 1024 * 1024 << de(4, 10);
}

void TestStore::historicoLimites()
{
    QFETCH(int, quantas);
    QFETCH(int, minutosEntre);
    QFETCH(qint64, tamanho);
    QFETCH(QList<qsizetype>, apagar);
    const QDateTime agora(QDate(2026, 12, 8), QTime(23, 30));
    QList<HistoricoVersoes::Versao> versoes;
    for (int i = 0; i < quantas; ++i)
        versoes.append({QString::number(i), agora.addSecs(-60LL * minutosEntre * i), tamanho});
    QCOMPARE(HistoricoVersoes::aApagar(versoes, agora, {}), apagar);
}

// Each write keeps what it replaces, whoever wrote it, byte for byte; a
// history that cannot be kept never stops the write, and is told once.
void TestStore::historicoDasEscritas()
{
    QTemporaryDir dir;
    const QString caminho = ArquivoContatos::caminhoNaPasta(dir.path());
    const ArquivoContatos arquivo(caminho);
    const QList<QByteArray> conteudos{"\xEF\xBB\xBF"
                                      "Ana\x7F\x7F\r\n",
                                      "Bia\x7F\x7F\r\n", "Caio\x7F\x7F\r\n"};
    Teste::gravar(caminho, conteudos[0]);
    QCOMPARE(arquivo.gravarSeInalterado(arquivo.lerBytes().assinatura(), conteudos[1]),
             ArquivoContatos::Gravacao::Gravado);
    Teste::gravar(caminho, "Outro programa\r\n");
    QCOMPARE(arquivo.gravarSeInalterado(arquivo.lerBytes().assinatura(), conteudos[2]),
             ArquivoContatos::Gravacao::Gravado);
    const auto versoes = HistoricoVersoes(caminho).versoes();
    QCOMPARE(versoes.size(), 2);
    QCOMPARE(Teste::ler(versoes[1].caminho), conteudos[0]);
    QCOMPARE(Teste::ler(versoes[0].caminho), QByteArray("Outro programa\r\n"));
    QCOMPARE(Teste::ler(caminho), conteudos[2]);
    QVERIFY(!arquivo.semVersao());

    // A file where the folder should be.
    QTemporaryDir outro;
    const QString caminho2 = ArquivoContatos::caminhoNaPasta(outro.path());
    Teste::gravar(caminho2, conteudos[0]);
    Teste::gravar(HistoricoVersoes::pastaAoLado(caminho2), "no folder");
    const ArquivoContatos arquivo2(caminho2);
    for (int i = 1; i < 3; ++i) {
        QCOMPARE(arquivo2.gravarSeInalterado(arquivo2.lerBytes().assinatura(), conteudos[i]),
                 ArquivoContatos::Gravacao::Gravado);
        QCOMPARE(Teste::ler(caminho2), conteudos[i]);
        QVERIFY(arquivo2.semVersao());
        QCOMPARE(arquivo2.avisarSemVersao(), i == 1);
    }
}

// What restoring a version would change, as "+mais −menos ~alterados".
void TestStore::historicoDiferenca_data()
{
    QTest::addColumn<QStringList>("versao");
    QTest::addColumn<QStringList>("atual");
    QTest::addColumn<QString>("texto");
    QTest::newRow("the same") << QStringList{u"Ana|1"_s, u"Bia|2"_s}
                              << QStringList{u"Bia|2"_s, u"Ana|1"_s} << u"+0 \u22120 ~0"_s;
    QTest::newRow("deleted since") << QStringList{u"Ana|1"_s, u"Bia|2"_s, u"Caio|3"_s}
                                   << QStringList{u"Bia|2"_s} << u"+2 \u22120 ~0"_s;
    QTest::newRow("added since") << QStringList{} << QStringList{u"Ana|1"_s} << u"+0 \u22121 ~0"_s;
    QTest::newRow("changed and renamed")
        << QStringList{u"Ana|1"_s, u"Bia|2|b@x"_s, u"Caio|3"_s}
        << QStringList{u"Ana|9"_s, u"Bia|2"_s, u"Caio Souza|3"_s} << u"+1 \u22121 ~2"_s;
    QTest::newRow("same name twice, paired in order")
        << QStringList{u"Ana|1"_s, u"Ana|2"_s} << QStringList{u"Ana|1"_s, u"Ana|3"_s, u"Ana|4"_s}
        << u"+0 \u22121 ~1"_s;
}

void TestStore::historicoDiferenca()
{
    QFETCH(QStringList, versao);
    QFETCH(QStringList, atual);
    QFETCH(QString, texto);
    const auto registros = [](const QStringList &linhas) {
        QList<ContactRecord> out;
        for (const QString &l : linhas)
            out.append({l.section(u'|', 0, 0), l.section(u'|', 1, 1), l.section(u'|', 2, 2)});
        return out;
    };
    QCOMPARE(HistoricoVersoes::diferenca(registros(versao), registros(atual)).texto(), texto);
}

QTEST_GUILESS_MAIN(TestStore)
#include "test_store.moc"
