#include "conversao.h"
#include "frm1.h"
#include "helpers.h"
#include "store/formato_contatos.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString aviso(const frm1 &j)
{
    return j.findChild<QLabel *>(u"lblAviso"_s)->text();
}

} // namespace

class TestConverter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void converter_data();
    void converter();
    void converterDuasVezes();
    void janela();
    void arquivoAusenteNaoECriado();
    void ocultoOuDeSistema_data();
    void ocultoOuDeSistema();
    void falhasNaoSaoSucesso();
    void agendaLeOConvertido();
};

void TestConverter::converter_data()
{
    QTest::addColumn<QByteArray>("antigo");
    QTest::addColumn<QByteArray>("novo");
    QTest::newRow("registros antigos entre aspas")
        << QByteArray("\"Ana\"\xA7\"123\"\xA7\"a@x\"\r\n\"Bia\"\xA7\"\"\xA7\"\"\r\n")
        << QByteArray("Ana\x7F"
                      "123\x7F"
                      "a@x\r\nBia\x7F\x7F\r\n\r\n");
    QTest::newRow("ja convertido") << QByteArray("Ana \"Nana\"\x7F"
                                                 "1\x7F\r\n\r\n\r\n")
                                   << QByteArray("Ana Nana\x7F"
                                                 "1\x7F\r\n\r\n\r\n\r\n");
    QTest::newRow("paragrafo dentro de um valor") << QByteArray("Rua \xA7 5\xA7"
                                                                "1\xA7x")
                                                  << QByteArray("Rua \x7F 5\x7F"
                                                                "1\x7Fx\r\n\r\n");
    QTest::newRow("vazio") << QByteArray() << QByteArray("\r\n");
    QTest::newRow("CR sozinho") << QByteArray("a\rb\r") << QByteArray("a\r\nb\r\n\r\n");
    QTest::newRow("LF sozinho fica")
        << QByteArray("a\nb\r\nc\n") << QByteArray("a\nb\r\nc\n\r\n\r\n");
    QTest::newRow("ultima linha sem fim") << QByteArray("a\r\nb") << QByteArray("a\r\nb\r\n\r\n");
    QTest::newRow("ultima linha so aspas") << QByteArray("a\r\n\"") << QByteArray("a\r\n\r\n\r\n");
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\n") << QByteArray("a\r\n\r\n\r\n");
}

void TestConverter::converter()
{
    QFETCH(QByteArray, antigo);
    QFETCH(QByteArray, novo);
    QCOMPARE(Conversao::converter(antigo), novo);
}

void TestConverter::converterDuasVezes()
{
    const QByteArray uma = Conversao::converter("\"A\"\xA7\"1\"\xA7\"e\"");
    QCOMPARE(Conversao::converter(uma), uma + "\r\n");
}

void TestConverter::janela()
{
    QTemporaryDir dir;
    const QString caminho = dir.filePath(u"contatos.txt"_s);
    Teste::gravar(caminho, "\"Ana\"\xA7\"1\"\xA7\"a@x\"\r\n");
    frm1 j(caminho);
    QCOMPARE(j.windowTitle(), u"Marvessa Fonelo Converter"_s);
    QCOMPARE(j.size(), QSize(258, 138));
    QCOMPARE(j.minimumSize(), j.maximumSize());
    QVERIFY(!j.windowIcon().isNull());
    auto *botao = j.findChild<QPushButton *>(u"cmdConverter"_s);
    QCOMPARE(botao->text(), u"Converter!"_s);
    QCOMPARE(botao->geometry(), QRect(24, 88, 209, 25));
    QCOMPARE(j.findChild<QLabel *>(u"lblDescricao"_s)->geometry(), QRect(24, 8, 209, 49));
    QCOMPARE(j.findChild<QLabel *>(u"lblAviso"_s)->geometry(), QRect(24, 64, 209, 17));
    QVERIFY(j.findChild<QLabel *>(u"lblAviso"_s)->font().bold());
    QCOMPARE(aviso(j), u"Lista de contatos detectada!"_s);

    QTest::mouseClick(botao, Qt::LeftButton);
    QCOMPARE(aviso(j), u"Lista de contatos atualizada!"_s);
    // Screen readers read the status as it is now.
    QCOMPARE(QAccessible::queryAccessibleInterface(j.findChild<QLabel *>(u"lblAviso"_s))
                 ->text(QAccessible::Name),
             aviso(j));
    QCOMPARE(Teste::ler(caminho), QByteArray("Ana\x7F"
                                             "1\x7F"
                                             "a@x\r\n\r\n"));
    QTest::mouseClick(botao, Qt::LeftButton);
    QCOMPARE(Teste::ler(caminho), QByteArray("Ana\x7F"
                                             "1\x7F"
                                             "a@x\r\n\r\n\r\n"));
    // Only the temporary writes' file is there: nothing left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{u"contatos.txt"_s});
}

void TestConverter::arquivoAusenteNaoECriado()
{
    QTemporaryDir dir;
    const QString caminho = dir.filePath(u"contatos.txt"_s);
    frm1 j(caminho);
    QCOMPARE(aviso(j), u"Lista de contatos não encontrada!"_s);
    j.cmdConverter_Click();
    QCOMPARE(aviso(j), u"Lista de contatos não encontrada!"_s);
    QVERIFY(!QFile::exists(caminho));
    // A folder of that name is no list either.
    QVERIFY(QDir(dir.path()).mkdir(u"contatos.txt"_s));
    QCOMPARE(Conversao::converterArquivo(caminho), Conversao::Resultado::NaoEncontrada);
    QVERIFY(QFileInfo(caminho).isDir());
}

void TestConverter::ocultoOuDeSistema_data()
{
    QTest::addColumn<int>("atributo");
#ifdef Q_OS_WIN
    QTest::newRow("oculto") << int(FILE_ATTRIBUTE_HIDDEN);
    QTest::newRow("de sistema") << int(FILE_ATTRIBUTE_SYSTEM);
#else
    QTest::newRow("nenhum") << 0;
#endif
}

void TestConverter::ocultoOuDeSistema()
{
#ifdef Q_OS_WIN
    // Only Windows files carry these attributes: such a file counts as
    // missing, and is neither read nor written.
    QFETCH(int, atributo);
    QTemporaryDir dir;
    const QString caminho = dir.filePath(u"contatos.txt"_s);
    const QByteArray antigo = "\"Ana\"\xA7\"1\"\xA7\"a@x\"\r\n";
    Teste::gravar(caminho, antigo);
    const QString nome = QDir::toNativeSeparators(caminho);
    const auto nativo = reinterpret_cast<const wchar_t *>(nome.utf16());
    QVERIFY(SetFileAttributesW(nativo, DWORD(atributo)));
    frm1 j(caminho);
    QCOMPARE(aviso(j), u"Lista de contatos não encontrada!"_s);
    j.cmdConverter_Click();
    QCOMPARE(aviso(j), u"Lista de contatos não encontrada!"_s);
    QCOMPARE(Teste::ler(caminho), antigo);
    // An ordinary file again, it is converted in place.
    QVERIFY(SetFileAttributesW(nativo, FILE_ATTRIBUTE_NORMAL));
    j.cmdConverter_Click();
    QCOMPARE(aviso(j), u"Lista de contatos atualizada!"_s);
    QCOMPARE(Teste::ler(caminho), QByteArray("Ana\x7F"
                                             "1\x7F"
                                             "a@x\r\n\r\n"));
#else
    QSKIP("hidden and system attributes are Windows' own");
#endif
}

void TestConverter::falhasNaoSaoSucesso()
{
    QTemporaryDir dir;
    const QString caminho = dir.filePath(u"contatos.txt"_s);
    Teste::gravar(caminho, "\"Ana\"\xA7\"1\"\xA7\"a@x\"\r\n");
    frm1 j(caminho);
    {
        // Readable, but held by another program: it cannot be replaced.
        const Teste::Travado travado(caminho, true);
        QVERIFY(travado.ok());
        const QByteArray antes = Teste::ler(caminho);
        j.cmdConverter_Click();
        QCOMPARE(aviso(j), u"Não foi possível gravar a lista de contatos!"_s);
        QCOMPARE(Teste::ler(caminho), antes);
    }
    // There, but unreadable from its first byte.
    const Teste::Travado travado(caminho, false);
    QVERIFY(travado.ok());
    j.cmdConverter_Click();
    QCOMPARE(aviso(j), u"Não foi possível ler a lista de contatos!"_s);
}

void TestConverter::agendaLeOConvertido()
{
    // What the converter writes, the phone book reads: every contact whole.
    const QByteArray antigo = "\"\xC1lvaro\"\xA7\"(11) 5555\"\xA7\"al@x\"\r\n"
                              "\"Z\xE9\"\xA7\"\"\xA7\"z@x\"\r\n";
    const QList<ContactRecord> registros =
        FormatoContatos::lerRegistros(Conversao::converter(antigo));
    QCOMPARE(registros, (QList<ContactRecord>{{u"Álvaro"_s, u"(11) 5555"_s, u"al@x"_s},
                                              {u"Zé"_s, QString(), u"z@x"_s}}));
}

QTEST_MAIN(TestConverter)
#include "test_converter.moc"
