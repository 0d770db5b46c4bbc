#include "helpers.h"
#include "model/modelo_principal.h"
#include "operations/duplicados.h"
#include "operations/edicao_contatos.h"
#include "operations/mensagens.h"
#include "operations/telefone_brasileiro.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using Teste::linha;
using D = ResultadoEdicao::Desfecho;

namespace {

constexpr int AB = 0, CD = 1, GH = 3, D09 = 13;

// A model over a contact file in a temporary folder, loaded as at start-up.
struct Agenda {
    explicit Agenda(const QByteArray &conteudo)
    {
        caminho = ArquivoContatos::caminhoNaPasta(dir.path());
        Teste::gravar(caminho, conteudo);
        modelo.emplace(caminho, Teste::ptBR());
        modelo->iniciar(QDate(2026, 12, 6));
    }
    explicit Agenda(const QStringList &linhas) : Agenda(Teste::arquivo(linhas)) {}

    QByteArray bytes() const { return Teste::ler(caminho); }
    EdicaoContatos edicao() { return EdicaoContatos(*modelo); }
    QStringList nomesListados() const
    {
        QStringList out;
        for (const QString &e : modelo->navegacao().lstContatos)
            out.append(e.section(u'\t', 0, 0));
        return out;
    }
    // Selects the listed contact of that name, as a click would.
    void selecionar(const QString &nome) { modelo->selecionar(int(nomesListados().indexOf(nome))); }

    QTemporaryDir dir;
    QString caminho;
    std::optional<ModeloPrincipal> modelo;
};

} // namespace

class TestEditing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void adicionar_formaDoArquivo_data();
    void adicionar_formaDoArquivo();
    void adicionar_primeirosProibidos();
    void adicionar_regrasDoNome();
    void adicionar_repetidos();
    void adicionar_relistaABMantendoAba();
    void atualizar_reescreveOrdenado();
    void atualizar_regras();
    void atualizar_doisComOMesmoNome();
    void deletar();
    void deletar_unicoContato();
    void caracteresQueNaoPodemSerGravados();
    void falhaDeGravacaoPreservaArquivo();
    void arquivoAlteradoPorOutroPrograma();
    void ultimaLeituraFalhou();
    void campoComTabSobrevive();
    void gravacaoMantemCodificacao_data();
    void gravacaoMantemCodificacao();
    void telefonesBrasileiros_data();
    void telefonesBrasileiros();
    void duplicados_data();
    void duplicados();
};

void TestEditing::adicionar_formaDoArquivo_data()
{
    QTest::addColumn<QByteArray>("antes");
    QTest::addColumn<QByteArray>("depois");
    const QByteArray novo = "Novo\x7F"
                            "9\x7Fn@x\r\n\r\n\r\n";
    QTest::newRow("forma dos gravadores") << QByteArray("Zeca\x7F\x7F\r\nAna\x7F\x7F\r\n\r\n\r\n")
                                          << QByteArray("Zeca\x7F\x7F\r\nAna\x7F\x7F\r\n" + novo);
    QTest::newRow("linha vazia entre registros")
        << QByteArray("Zeca\x7F\x7F\r\n\r\nAna\x7F\x7F\r\n")
        << QByteArray("Zeca\x7F\x7F\r\nAna\x7F\x7F\r\n" + novo);
    QTest::newRow("uma linha vazia no fim")
        << QByteArray("Ana\x7F\x7F\r\n\r\n") << QByteArray("Ana\x7F\x7F\r\n" + novo);
    QTest::newRow("sem fim de linha")
        << QByteArray("Ana\x7F\x7F") << QByteArray("Ana\x7F\x7F\r\n" + novo);
    QTest::newRow("linha de espacos fica") << QByteArray("  \r\nAna\x7F\x7F\rBia")
                                           << QByteArray("  \r\nAna\x7F\x7F\r\nBia\r\n" + novo);
    QTest::newRow("arquivo vazio") << QByteArray() << novo;
}

void TestEditing::adicionar_formaDoArquivo()
{
    QFETCH(QByteArray, antes);
    QFETCH(QByteArray, depois);
    Agenda a(antes);
    const auto r = a.edicao().adicionar(u"Novo  "_s, u" 9"_s, u"n@x  "_s);
    QCOMPARE(r.avisos, QStringList{Mensagens::INSERIDO});
    QCOMPARE(r.desfecho, D::Gravado);
    QCOMPARE(a.bytes(), depois);
}

void TestEditing::adicionar_primeirosProibidos()
{
    const QString proibidos = u".,:;<>=()'+\\/@&*|{}-[]!?_ \""_s;
    QCOMPARE(proibidos.size(), 27);
    for (const QChar c : proibidos) {
        Agenda a(QStringList{linha(u"Ana"_s)});
        const QByteArray antes = a.bytes();
        const auto r = a.edicao().adicionar(c + u"Nome"_s, u"1"_s, {});
        QVERIFY2(r.avisos == QStringList{Mensagens::PROIBIDO}, qPrintable(QString(c)));
        QCOMPARE(r.desfecho, D::Recusado);
        QCOMPARE(a.bytes(), antes);
    }
    // Anything else may begin a name.
    for (const QString &nome : {u"#1"_s, u"0800"_s, u"$ifrão"_s, u"Ítalo"_s, u"%x"_s, u"~til"_s}) {
        Agenda a(QStringList{});
        QCOMPARE(a.edicao().adicionar(nome, {}, {}).avisos, QStringList{Mensagens::INSERIDO});
        QCOMPARE(a.bytes(), Cp1252::encode(nome + u"\x7F\x7F\r\n\r\n\r\n"_s));
    }
    QVERIFY(!EdicaoContatos::PrimeiroProibido(u""));
}

void TestEditing::adicionar_regrasDoNome()
{
    Agenda a(QStringList{linha(u"Carla"_s)});
    const QByteArray antes = a.bytes();
    a.modelo->escolherAba(CD);
    // Spaces only: refused by its first character, before the empty rule.
    auto r = a.edicao().adicionar(u"   "_s, u"1"_s, {});
    QCOMPARE(r.avisos, QStringList{Mensagens::PROIBIDO});
    QCOMPARE(a.nomesListados(), QStringList{u"Carla"_s});

    r = a.edicao().adicionar(QString(), u"1"_s, u"x"_s);
    QCOMPARE(r.avisos, QStringList{Mensagens::VAZIO});
    QCOMPARE(r.desfecho, D::Relistado);
    QCOMPARE(a.bytes(), antes);
    // Relisted on AB, with the editing placeholder; the chosen tab stays.
    QCOMPARE(a.modelo->navegacao().lstContatos,
             QStringList{u"Nenhum cadastro com esta letra\t\t\t\t\t"_s});
    QCOMPARE(a.modelo->navegacao().lblLetraInicial, u"c"_s);
}

void TestEditing::adicionar_repetidos()
{
    Agenda a(QStringList{linha(u"álvaro"_s), linha(u"Bia"_s), linha(u"Bia"_s), linha(u"Ana"_s)});
    const QByteArray antes = a.bytes();
    auto r = a.edicao().adicionar(u"ÁLVARO"_s, u"1"_s, u"x"_s);
    QCOMPARE(r.avisos, QStringList{Mensagens::ESTE_EXISTE});
    QVERIFY(r.limparNome);
    QCOMPARE(r.desfecho, D::Relistado);
    // One notice per matching contact.
    r = a.edicao().adicionar(u"bia"_s, {}, {});
    QCOMPARE(r.avisos, QStringList(2, Mensagens::ESTE_EXISTE));
    // The stored name is trimmed, so the comparison is too.
    r = a.edicao().adicionar(u"Ana   "_s, {}, {});
    QCOMPARE(r.avisos, QStringList{Mensagens::ESTE_EXISTE});
    // One normal form: an accent typed as a combining mark is the same name.
    r = a.edicao().adicionar(u"A\u0301LVARO"_s, {}, {});
    QCOMPARE(r.avisos, QStringList{Mensagens::ESTE_EXISTE});
    // Accents are not folded away: "Alvaro" is another name.
    r = a.edicao().adicionar(u"Alvaro"_s, {}, {});
    QCOMPARE(r.avisos, QStringList{Mensagens::INSERIDO});
    QVERIFY(a.bytes() != antes);
}

void TestEditing::adicionar_relistaABMantendoAba()
{
    Agenda a(QStringList{linha(u"Carla"_s, u"1"_s), linha(u"Bia"_s, u"2"_s)});
    a.modelo->escolherAba(CD);
    const auto r = a.edicao().adicionar(u"Ana"_s, u"3"_s, {});
    QCOMPARE(r.desfecho, D::Gravado);
    QCOMPARE(a.nomesListados(), (QStringList{u"Ana"_s, u"Bia"_s}));
    QCOMPARE(a.modelo->navegacao().txtFone, u"3"_s);
    QCOMPARE(a.modelo->navegacao().lblLetraInicial, u"c"_s);
    QCOMPARE(a.modelo->lblTotalContatos(), u"3"_s);
    // The next relisting of the chosen tab is CD again.
    a.modelo->AtualizarAba();
    QCOMPARE(a.nomesListados(), QStringList{u"Carla"_s});
}

void TestEditing::atualizar_reescreveOrdenado()
{
    Agenda a(QByteArray("Zeca\x7F"
                        "1\x7F\r\n\r\nbia\x7F"
                        "2\x7F"
                        "b@x\x7F"
                        "extra\r\n   \r\nAna\x7F"
                        "3\x7F\r\n"));
    a.modelo->escolherAba(AB);
    a.selecionar(u"bia"_s);
    const auto r = a.edicao().atualizar(u"bia"_s, u"Yara "_s, u" 22 "_s, u" y@x"_s);
    QCOMPARE(r.avisos, QStringList{Mensagens::ATUALIZADO});
    QCOMPARE(r.desfecho, D::Gravado);
    // In the list's order, the edited contact where its old name stood,
    // written as typed; the fourth field and the blank lines are gone.
    QCOMPARE(a.bytes(), QByteArray("Ana\x7F"
                                   "3\x7F\r\n"
                                   "Yara \x7F 22 \x7F y@x\r\n"
                                   "Zeca\x7F"
                                   "1\x7F\r\n\r\n\r\n"));
    // The tab chosen last is listed again; Yara is elsewhere now.
    QCOMPARE(a.nomesListados(), QStringList{u"Ana"_s});
    QCOMPARE(a.modelo->lblTotalContatos(), u"3"_s);

    // Only the letter case changes: no duplicate scan, new case stored.
    a.modelo->escolherAba(12);
    a.selecionar(u"Yara "_s);
    QCOMPARE(a.edicao().atualizar(u"Yara "_s, u"YARA"_s, u"1"_s, {}).avisos,
             QStringList{Mensagens::ATUALIZADO});
    QVERIFY(a.bytes().contains("\r\nYARA\x7F"
                               "1\x7F\r\n"));
}

void TestEditing::atualizar_regras()
{
    Agenda a(QStringList{linha(u"Ana"_s), linha(u"Álvaro"_s), linha(u"álvaro"_s)});
    const QByteArray antes = a.bytes();
    auto e = a.edicao();
    // Empty comes before the first character here.
    QCOMPARE(e.atualizar(u"Ana"_s, u"   "_s, {}, {}).avisos, QStringList{Mensagens::VAZIO});
    QCOMPARE(e.atualizar(u"Ana"_s, u" Ana"_s, {}, {}).avisos, QStringList{Mensagens::PROIBIDO});
    QCOMPARE(e.atualizar(u"Ana"_s, u"-Ana"_s, {}, {}).avisos, QStringList{Mensagens::PROIBIDO});
    // Another contact's name in another case: once, however many match.
    const auto r = e.atualizar(u"Ana"_s, u"ÁLVARO"_s, {}, {});
    QCOMPARE(r.avisos, QStringList{Mensagens::ESSE_EXISTE});
    QCOMPARE(r.desfecho, D::Recusado);
    QCOMPARE(e.atualizar(u"Ana"_s, u"a\u0301lvaro"_s, {}, {}).avisos,
             QStringList{Mensagens::ESSE_EXISTE});
    QCOMPARE(a.bytes(), antes);
    // Surrounding spaces around one's own name are no duplicate.
    QCOMPARE(e.atualizar(u"Ana"_s, u"Ana  "_s, {}, {}).avisos, QStringList{Mensagens::ATUALIZADO});
}

void TestEditing::atualizar_doisComOMesmoNome()
{
    Agenda a(
        QStringList{linha(u"Ana"_s, u"1"_s), linha(u"Ana"_s, u"2"_s), linha(u"ana"_s, u"3"_s)});
    QCOMPARE(a.edicao().atualizar(u"Ana"_s, u"Ana"_s, u"9"_s, {}).avisos,
             QStringList{Mensagens::ATUALIZADO});
    // Equal names sort by telephone: both "Ana" stood before "ana".
    QCOMPARE(a.bytes(), QByteArray("Ana\x7F"
                                   "9\x7F\r\nAna\x7F"
                                   "9\x7F\r\nana\x7F"
                                   "3\x7F\r\n\r\n\r\n"));
}

void TestEditing::deletar()
{
    Agenda a(QStringList{linha(u"Ana"_s, u"1"_s), linha(u"Bia"_s), linha(u"ana"_s, u"3"_s),
                         linha(u"Ana"_s, u"2"_s), linha(u"Carla"_s)});
    a.modelo->escolherAba(AB);
    a.selecionar(u"Ana"_s);
    const auto r = a.edicao().deletar(u"Ana"_s);
    QCOMPARE(r.avisos, QStringList{Mensagens::DELETADO});
    QCOMPARE(r.desfecho, D::Gravado);
    // Both "Ana" go; "ana" differs in case and stays.
    QCOMPARE(a.bytes(), QByteArray("ana\x7F"
                                   "3\x7F\r\nBia\x7F\x7F\r\nCarla\x7F\x7F\r\n\r\n\r\n"));
    QCOMPARE(a.nomesListados(), (QStringList{u"ana"_s, u"Bia"_s}));
    QCOMPARE(a.modelo->navegacao().selecionado, 0);
    QCOMPARE(a.modelo->lblTotalContatos(), u"3"_s);
}

void TestEditing::deletar_unicoContato()
{
    Agenda a(QStringList{linha(u"0800 Ajuda"_s)});
    a.modelo->escolherAba(D09);
    QCOMPARE(a.edicao().deletar(u"0800 Ajuda"_s).avisos, QStringList{Mensagens::DELETADO});
    QCOMPARE(a.bytes(), QByteArray("\r\n\r\n"));
    QCOMPARE(a.modelo->navegacao().lstContatos,
             QStringList{u"Nenhum cadastro com números\t\t\t\t\t"_s});
    QVERIFY(!a.modelo->navegacao().lstContatosHabilitada);
    a.modelo->escolherAba(GH);
    a.modelo->AtualizarAba();
    QCOMPARE(a.modelo->navegacao().lstContatos,
             QStringList{u"Nenhum cadastro com esta letra\t\t\t\t\t"_s});
}

void TestEditing::caracteresQueNaoPodemSerGravados()
{
    Agenda a(QStringList{linha(u"Ana"_s)});
    const QByteArray antes = a.bytes();
    const QStringList ruins = {u"a\tb"_s, u"a\x7F"_s, u"a\rb"_s, u"a\nb"_s, u"Ωmega"_s, u"日本"_s};
    for (const QString &ruim : ruins) {
        auto e = a.edicao();
        QCOMPARE(e.adicionar(u"Novo"_s, ruim, {}).avisos, QStringList{Mensagens::INVALIDOS});
        QCOMPARE(e.adicionar(u"X"_s + ruim, {}, {}).avisos, QStringList{Mensagens::INVALIDOS});
        QCOMPARE(e.atualizar(u"Ana"_s, u"Ana"_s, {}, ruim).avisos,
                 QStringList{Mensagens::INVALIDOS});
        QCOMPARE(a.bytes(), antes);
    }
    // The rest of the code page is fine.
    QCOMPARE(a.edicao().adicionar(u"Érica “€”"_s, u"Š"_s, {}).avisos,
             QStringList{Mensagens::INSERIDO});
}

void TestEditing::falhaDeGravacaoPreservaArquivo()
{
    Agenda a(QStringList{linha(u"Ana"_s)});
    const Teste::Travado travado(a.caminho, true);
    QVERIFY(travado.ok());
    a.modelo->reler(QDate(2026, 12, 6));
    QVERIFY(!a.modelo->ultimaLeituraFalhou());
    const QByteArray antes = a.bytes();
    const QString nome = a.modelo->lstInicio().registro(0).Nome;
    auto e = a.edicao();
    for (const auto &r :
         {e.adicionar(u"Bia"_s, {}, {}), e.atualizar(nome, u"Bia"_s, {}, {}), e.deletar(nome)}) {
        QCOMPARE(r.avisos, QStringList{Mensagens::FALHA_GRAVACAO});
        QCOMPARE(r.desfecho, D::Recusado);
    }
    QCOMPARE(a.bytes(), antes);
}

void TestEditing::arquivoAlteradoPorOutroPrograma()
{
    Agenda a(QStringList{linha(u"Ana"_s), linha(u"Bia"_s)});
    a.modelo->escolherAba(AB);
    const QByteArray outro = Teste::arquivo({linha(u"Ana"_s), linha(u"Bia"_s), linha(u"Bruno"_s)});
    Teste::gravar(a.caminho, outro);
    auto r = a.edicao().atualizar(u"Ana"_s, u"Ada"_s, {}, {});
    QCOMPARE(r.avisos, QStringList{Mensagens::ALTERADA});
    QCOMPARE(r.desfecho, D::Relistado);
    QCOMPARE(a.bytes(), outro);
    // The list now shows the file as it is, so the next try goes through.
    QCOMPARE(a.nomesListados(), (QStringList{u"Ana"_s, u"Bia"_s, u"Bruno"_s}));
    Teste::gravar(a.caminho, Teste::arquivo({linha(u"Bia"_s)}));
    QCOMPARE(a.edicao().deletar(u"Bia"_s).avisos, QStringList{Mensagens::ALTERADA});
    QCOMPARE(a.bytes(), Teste::arquivo({linha(u"Bia"_s)}));
    QCOMPARE(a.edicao().deletar(u"Bia"_s).avisos, QStringList{Mensagens::DELETADO});
    QCOMPARE(a.bytes(), QByteArray("\r\n\r\n"));
}

void TestEditing::ultimaLeituraFalhou()
{
    Agenda a(QStringList{linha(u"Ana"_s)});
    QVERIFY(QFile::remove(a.caminho));
    QVERIFY(QDir(a.dir.path()).mkdir(u"contatos.txt"_s));
    QVERIFY(!a.modelo->reler(QDate(2026, 12, 6)));
    auto e = a.edicao();
    for (const auto &r : {e.adicionar(u"Bia"_s, {}, {}), e.atualizar(u"Ana"_s, u"Bia"_s, {}, {}),
                          e.deletar(u"Ana"_s)}) {
        QCOMPARE(r.avisos, QStringList{ModeloPrincipal::AVISO_FALHA_LEITURA});
        QVERIFY(r.desfecho != D::Gravado);
    }
    QVERIFY(QFileInfo(a.caminho).isDir());
}

void TestEditing::campoComTabSobrevive()
{
    // A hand-edited field holding a TAB is rewritten from its stored fields.
    const QByteArray manual = "Ana\x7F"
                              "1\t2\x7F"
                              "a\tb\r\nBia\x7F\x7F\r\n";
    Agenda a(manual);
    QCOMPARE(a.edicao().deletar(u"Bia"_s).avisos, QStringList{Mensagens::DELETADO});
    QCOMPARE(a.bytes(), QByteArray("Ana\x7F"
                                   "1\t2\x7F"
                                   "a\tb\r\n\r\n\r\n"));
    a.modelo->escolherAba(AB);
    a.selecionar(u"Ana"_s);
    QCOMPARE(a.modelo->navegacao().txtFone, u"1\t2"_s);
}

void TestEditing::gravacaoMantemCodificacao_data()
{
    QTest::addColumn<QByteArray>("antes");
    QTest::addColumn<QString>("operacao");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QByteArray>("depois"); // empty: refused, nothing written
    QTest::newRow("UTF-8: atualizar com o que 1252 nao tem")
        << QByteArray("Ana\x7F\x7F\r\nJo\xC3\xA3o\x7F\x7F\r\n") << u"atualizar"_s << u"Łukasz"_s
        << QByteArray("Ana\x7F\x7F\r\n\xC5\x81ukasz\x7F\x7F\r\n\r\n\r\n");
    QTest::newRow("1252: atualizar com o que 1252 nao tem")
        << QByteArray("Ana\x7F\x7F\r\nJos\xE9\x7F\x7F\r\n") << u"atualizar"_s << u"Łukasz"_s
        << QByteArray();
    // Its bytes would read back as UTF-8: "João", not what was typed.
    QTest::newRow("1252 que se leria como UTF-8")
        << QByteArray("Ana\x7F\x7F\r\n") << u"adicionar"_s << u"JoÃ£o"_s << QByteArray();
    // The other records go back byte for byte.
    QTest::newRow("marca e bytes de 1252: deletar")
        << QByteArray("\xEF\xBB\xBFZo\xE9\x7F\x7F\r\nAna\x7F\x7F\r\n") << u"deletar"_s << u"Ana"_s
        << QByteArray("\xEF\xBB\xBFZo\xE9\x7F\x7F\r\n\r\n\r\n");
}

void TestEditing::gravacaoMantemCodificacao()
{
    QFETCH(QByteArray, antes);
    QFETCH(QString, operacao);
    QFETCH(QString, nome);
    QFETCH(QByteArray, depois);
    Agenda a(antes);
    const ListaInicio &lista = a.modelo->lstInicio();
    const QString ultimo = lista.nome(lista.count() - 1).toString();
    auto e = a.edicao();
    const auto r = operacao == u"adicionar"_s   ? e.adicionar(nome, {}, {})
                   : operacao == u"atualizar"_s ? e.atualizar(ultimo, nome, {}, {})
                                                : e.deletar(nome);
    QCOMPARE(r.desfecho, depois.isEmpty() ? D::Recusado : D::Gravado);
    if (depois.isEmpty())
        QCOMPARE(r.avisos, QStringList{Mensagens::INVALIDOS});
    QCOMPARE(a.bytes(), depois.isEmpty() ? antes : depois);
}

void TestEditing::telefonesBrasileiros_data()
{
    // The field; the number in both styles ("" where it stays as it is); the
    // link to dial it ("" where it cannot be dialled).
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("nacional");
    QTest::addColumn<QString>("internacional");
    QTest::addColumn<QString>("tel");
    const auto linha = [](const char *nome, const QString &campo, const QString &nacional,
                          const QString &internacional, const QString &tel) {
        QTest::newRow(nome) << campo << nacional << internacional << tel;
    };
    linha("celular", u"(11) 98765-4321"_s, u"(11) 98765-4321"_s, u"+55 11 98765-4321"_s,
          u"tel:+5511987654321"_s);
    linha("+55 junto", u"+5511987654321"_s, u"(11) 98765-4321"_s, u"+55 11 98765-4321"_s,
          u"tel:+5511987654321"_s);
    linha("55 sem +", u"55 21 98765 4321"_s, u"(21) 98765-4321"_s, u"+55 21 98765-4321"_s,
          u"tel:+5521987654321"_s);
    linha("0 e operadora", u"0 15 11 98765-4321"_s, u"(11) 98765-4321"_s, u"+55 11 98765-4321"_s,
          u"tel:+5511987654321"_s);
    linha("0 sem operadora", u"011 3456-7890"_s, u"(11) 3456-7890"_s, u"+55 11 3456-7890"_s,
          u"tel:+551134567890"_s);
    linha("celular de 8 ganha o nono", u"(55) 8765-4321"_s, u"(55) 98765-4321"_s,
          u"+55 55 98765-4321"_s, u"tel:+5555987654321"_s);
    linha("fixo fica com 8", u"21.2345.6789"_s, u"(21) 2345-6789"_s, u"+55 21 2345-6789"_s,
          u"tel:+552123456789"_s);
    linha("ramal mantido", u"11 3456-7890 ramal 45"_s, u"(11) 3456-7890 ramal 45"_s,
          u"+55 11 3456-7890 ramal 45"_s, u"tel:+551134567890"_s);
    linha("texto depois", u"11987654321, falar com a secretária"_s,
          u"(11) 98765-4321, falar com a secretária"_s,
          u"+55 11 98765-4321, falar com a secretária"_s, u"tel:+5511987654321"_s);
    linha("0800", u"0800 123 4567"_s, {}, {}, u"tel:08001234567"_s);
    linha("4004", u"4004-1234"_s, {}, {}, u"tel:40041234"_s);
    linha("emergência", u"190"_s, {}, {}, u"tel:190"_s);
    linha("sem código de área", u"98765-4321"_s, {}, {}, u"tel:987654321"_s);
    linha("estrangeiro", u"+1 (212) 555-0100"_s, {}, {}, u"tel:+12125550100"_s);
    linha("nono à parte", u"(11) 9 8765-4321"_s, u"(11) 98765-4321"_s, u"+55 11 98765-4321"_s,
          u"tel:+5511987654321"_s);
    linha("+55 e parênteses", u"+55 (11) 3456-7890"_s, u"(11) 3456-7890"_s, u"+55 11 3456-7890"_s,
          u"tel:+551134567890"_s);
    // Written in no Brazilian way: left alone, dialled as written.
    linha("três dígitos entre parênteses", u"(617) 555-1234"_s, {}, {}, u"tel:6175551234"_s);
    linha("Nova York sem +1", u"(212) 555-1234"_s, {}, {}, u"tel:2125551234"_s);
    linha("três grupos", u"617-555-1234"_s, {}, {}, u"tel:6175551234"_s);
    linha("código de área colado ao número", u"1198765-4321"_s, {}, {}, u"tel:11987654321"_s);
    linha("número depois da barra", u"3333-4444 / 21"_s, {}, {}, {});
    linha("código de área que não existe", u"(20) 98765-4321"_s, {}, {}, {});
    linha("texto antes", u"Cel: 98765-4321"_s, {}, {}, {});
    linha("dois números", u"11 98765-4321 / 11 3456-7890"_s, {}, {}, {});
    linha("vazio", QString(), {}, {}, {});
}

void TestEditing::telefonesBrasileiros()
{
    QFETCH(QString, campo);
    QFETCH(QString, nacional);
    QFETCH(QString, internacional);
    QFETCH(QString, tel);
    using namespace TelefoneBrasileiro;
    QCOMPARE(padronizado(campo, Estilo::Nacional).value_or(QString()), nacional);
    QCOMPARE(padronizado(campo, Estilo::Internacional).value_or(QString()), internacional);
    QCOMPARE(ligar(campo).value_or(QUrl()).toString(), tel);
    // WhatsApp only where the country is known.
    QCOMPARE(whatsapp(campo).has_value(), tel.startsWith(u"tel:+"));
    // Standardised, it reads as the same number.
    if (!nacional.isEmpty())
        QCOMPARE(ligar(nacional), ligar(campo));
}

void TestEditing::duplicados_data()
{
    // Two contacts (name, telephone, e-mail), and why they are one group
    // ("" where they are not).
    QTest::addColumn<QStringList>("a");
    QTest::addColumn<QStringList>("b");
    QTest::addColumn<QString>("porque");
    const auto par = [](const char *caso, const QStringList &a, const QStringList &b,
                        const QString &porque) { QTest::newRow(caso) << a << b << porque; };
    par("sem e com o nono", {u"Ana"_s, u"(11) 98765-4321"_s}, {u"Bia"_s, u"11 8765 4321"_s},
        u"mesmo telefone"_s);
    par("+55, 0 e operadora", {u"Ana"_s, u"+55 11 3456-7890"_s},
        {u"Bia"_s, u"0 21 11 3456-7890 ramal 2"_s}, u"mesmo telefone"_s);
    par("outro código de área", {u"Ana"_s, u"(11) 3456-7890"_s}, {u"Bia"_s, u"(21) 3456-7890"_s},
        {});
    par("sem código de área e com", {u"Ana"_s, u"3456-7890"_s}, {u"Bia"_s, u"(21) 3456-7890"_s},
        {});
    par("emergência não liga ninguém", {u"Ana"_s, u"190"_s}, {u"Bia"_s, u"190"_s}, {});
    par("estrangeiro não é brasileiro", {u"Ana"_s, u"(617) 555-1234"_s},
        {u"Bia"_s, u"(61) 97555-1234"_s}, {});
    par("estrangeiro pelos dígitos", {u"Ana"_s, u"(617) 555-1234"_s}, {u"Bia"_s, u"617.555.1234"_s},
        u"mesmo telefone"_s);
    par("e-mail, caixa à parte", {u"Ana"_s, {}, u"Ana@X.com "_s}, {u"Bia"_s, {}, u"ana@x.COM"_s},
        u"mesmo e-mail"_s);
    par("nome sem acentos nem pontos", {u"José da Silva"_s}, {u"JOSE DA SILVA."_s},
        u"mesmo nome"_s);
    par("as mesmas palavras", {u"Souza Ana"_s}, {u"Ana Souza"_s}, u"mesmas palavras no nome"_s);
    par("nomes parecidos não", {u"Ana Souza"_s}, {u"Ana Sousa"_s}, {});
    par("tudo", {u"Ana Souza"_s, u"11 98765-4321"_s, u"a@x"_s},
        {u"Souza, Ana"_s, u"011 98765 4321"_s, u"A@x"_s},
        u"mesmo telefone, mesmo e-mail, mesmas palavras no nome"_s);
}

void TestEditing::duplicados()
{
    QFETCH(QStringList, a);
    QFETCH(QStringList, b);
    QFETCH(QString, porque);
    const auto linha = [](QStringList c) {
        c.resize(3);
        return Teste::linha(c[0], c[1], c[2]);
    };
    Agenda ag({linha(a), Teste::linha(u"Zeca"_s, u"(31) 3333-4444"_s, u"z@z"_s), linha(b)});
    const auto grupos = Duplicados::procurar(ag.modelo->lstInicio());
    QCOMPARE(grupos.size(), porque.isEmpty() ? 0 : 1);
    if (porque.isEmpty())
        return;
    QCOMPARE(grupos[0].porque(), porque);
    QCOMPARE(grupos[0].membros.size(), 2);
    // Said to be two people, the group is not offered again.
    QVERIFY(Duplicados::procurar(ag.modelo->lstInicio(), {grupos[0].chave()}).isEmpty());
}

QTEST_GUILESS_MAIN(TestEditing)
#include "test_editing.moc"
