#include "helpers.h"
#include "model/busca_contato.h"
#include "model/classificador_grupos.h"
#include "model/lista_inicio.h"
#include "model/locale_app.h"
#include "model/modelo_principal.h"
#include "model/navegacao_contatos.h"
#include "store/formato_contatos.h"

#include <QCollator>
#include <QDir>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

int indiceAba(const char *aba)
{
    const auto &g = GruposLetras();
    for (int i = 0; i < NUM_GRUPOS; ++i) {
        if (g[i].Aba == QLatin1String(aba))
            return i;
    }
    return -1;
}

QStringList nomes(const QStringList &entradas)
{
    QStringList out;
    for (const QString &e : entradas)
        out.append(e.section(QLatin1Char('\t'), 0, 0));
    return out;
}

// n contacts in the AB group, named so that their order is "A00", "A01", ...
QList<ContactRecord> grupoA(int n)
{
    QList<ContactRecord> out;
    for (int i = n - 1; i >= 0; --i)
        out.append({QStringLiteral("A%1").arg(i, 2, 10, QChar(u'0')), QString::number(i),
                    QStringLiteral("a%1@x").arg(i)});
    return out;
}

struct Pagina {
    QStringList nomes;
    bool retorna, avanca;
    qsizetype inicioAvanca;
};

Pagina pagina(const NavegacaoContatos &nav)
{
    return {nomes(nav.lstContatos), nav.imgRetornaVisivel, nav.imgAvancaVisivel,
            nav.lblInicioAvanca};
}

QStringList faixa(int de, int ate)
{
    QStringList out;
    for (int i = de; i < ate; ++i)
        out.append(QStringLiteral("A%1").arg(i, 2, 10, QChar(u'0')));
    return out;
}

} // namespace

class TestBrowsing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tabela();
    void pertenceAoGrupo_data();
    void pertenceAoGrupo();
    void ordenacao();
    void carregarComoOLeitor();
    void ordemExata_data();
    void ordemExata();
    void textoDataHoje();
    void paginacao_data();
    void paginacao();
    void trocaDeAbaVoltaAPrimeiraPagina();
    void grupoVazio();
    void inicioEmPastaVazia();
    void atualizarReleArquivoAlterado();
    void atualizarSemArquivoNaoCria();
    void falhaDeLeituraMantemLista();
    void relistagemUsaAbaEscolhida();
    void modeloAvisaUmaVez();
    void prefixoDigitado_data();
    void prefixoDigitado();
    void buscaPorDigitacao_data();
    void buscaPorDigitacao();
    void abaVizinha();
    void quarentaMilContatos();
};

void TestBrowsing::tabela()
{
    const auto &g = GruposLetras();
    QCOMPARE(g.size(), size_t(14));
    QStringList abas, iniciais;
    for (const auto &grupo : g) {
        abas.append(grupo.Aba);
        iniciais.append(grupo.Inicial);
    }
    QCOMPARE(abas, (QStringList{"lblAB", "lblCD", "lblEF", "lblGH", "lblIJ", "lblKL", "lblMN",
                                "lblOP", "lblQR", "lblST", "lblUV", "lblWX", "lblYZ", "lbl09"}));
    QCOMPARE(iniciais,
             (QStringList{"a", "c", "e", "g", "i", "k", "m", "o", "q", "s", "u", "w", "y", "0"}));
    QCOMPARE(g[13].AvisoVazio, u"Nenhum cadastro com números"_s);
    QCOMPARE(g[3].AvisoVazio, u"Nenhum contato cadastrado"_s);
    QCOMPARE(avisoRelistagem(g[3]), u"Nenhum cadastro com esta letra"_s);
    QCOMPARE(avisoRelistagem(g[13]), u"Nenhum cadastro com números"_s);
    QCOMPARE(grupoPorInicial(u"0"), 13);
    QCOMPARE(grupoPorInicial(u"A"), -1);

    // No character of the code page belongs to two groups.
    const ClassificadorGrupos c(Teste::ptBR());
    for (int b = 1; b < 256; ++b) {
        const QString e(Cp1252::decodeByte(uchar(b)));
        int grupos = 0;
        for (int i = 0; i < NUM_GRUPOS; ++i)
            grupos += c.PertenceAoGrupo(e, i);
        QVERIFY2(grupos <= 1, qPrintable(e));
    }
}

void TestBrowsing::pertenceAoGrupo_data()
{
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("aba"); // empty: no group
    const QList<QPair<QString, QString>> casos = {
        {"Ana", "lblAB"},    {"ana", "lblAB"},   {"Álvaro", "lblAB"}, {"álvaro", "lblAB"},
        {"Ãngela", "lblAB"}, {"Ärger", "lblAB"}, {"Bia", "lblAB"},    {"Ç", "lblCD"},
        {"çal", "lblCD"},    {"Dora", "lblCD"},  {"Èlo", "lblEF"},    {"Ñandu", "lblMN"},
        {"ñu", "lblMN"},     {"Õnix", "lblOP"},  {"Ötto", "lblOP"},   {"Üller", "lblUV"},
        {"Ìgor", "lblIJ"},   {"Zé", "lblYZ"},    {"0800", "lbl09"},   {"9", "lbl09"},
        {"Ývone", ""},       {"ýs", ""},         {"Åsa", ""},         {"Øyvind", ""},
        {"æ", ""},           {"ß", ""},          {"Šimon", ""},       {"žan", ""},
        {"ÿ", ""},           {" Ana", ""},       {"\tAna", ""},       {"", ""},
        {"#1", ""},          {"(Ana)", ""},      {"½", ""},           {"²", ""},
    };
    for (const auto &[nome, aba] : casos)
        QTest::newRow(qPrintable(nome.isEmpty() ? u"(vazio)"_s : nome)) << nome << aba;
}

void TestBrowsing::pertenceAoGrupo()
{
    QFETCH(QString, nome);
    QFETCH(QString, aba);
    const ClassificadorGrupos c(Teste::ptBR());
    const QString entrada = MontarEntrada({nome, u"1"_s, u"e"_s});
    QStringList achados;
    for (int i = 0; i < NUM_GRUPOS; ++i) {
        if (c.PertenceAoGrupo(entrada, i))
            achados.append(GruposLetras()[i].Aba);
    }
    QCOMPARE(achados, aba.isEmpty() ? QStringList{} : QStringList{aba});
}

void TestBrowsing::ordenacao()
{
    const ClassificadorGrupos grupos(Teste::ptBR());
    ListaInicio lista(Teste::ptBR(), grupos);
    lista.definir({{u"zeca"_s, u"1"_s, {}},
                   {u"Álvaro"_s, u"2"_s, {}},
                   {u"bruno"_s, u"3"_s, {}},
                   {u"Ana"_s, u"9"_s, {}},
                   {u"ana"_s, u"1"_s, {}},
                   {u"Ana"_s, u"5"_s, {}},
                   {u"Ângela"_s, {}, {}},
                   {u"André"_s, {}, {}},
                   {u"Andre"_s, {}, {}}});
    // By name, case ignored, accents by the language's rules; then telephone.
    QCOMPARE(nomes(lista.entradas()), (QStringList{"Álvaro", "ana", "Ana", "Ana", "Andre", "André",
                                                   "Ângela", "bruno", "zeca"}));
    QCOMPARE(lista.registro(1).Telefone, u"1"_s);
    QCOMPARE(lista.registro(2).Telefone, u"5"_s);
    QCOMPARE(lista.registro(3).Telefone, u"9"_s);
    QCOMPARE(lista.entrada(1), u"ana\t\t\t\t1\t"_s);
}

void TestBrowsing::carregarComoOLeitor()
{
    // The list reads a file's text as the reader does, field for field.
    const QByteArray bytes = "A\x7F"
                             "1\x7F"
                             "e\x7F"
                             "x\x7Fy\r\n  \r\n\tB\rC\nD\x7F\x7F\r\nE\r\n\r\n\x7F"
                             "2\r\r\nZ\x7F";
    const ClassificadorGrupos grupos(Teste::ptBR());
    ListaInicio lista(Teste::ptBR(), grupos);
    lista.carregar(bytes);
    QList<ContactRecord> lidos;
    for (qsizetype i = 0; i < lista.count(); ++i)
        lidos.append(lista.registro(i));
    ListaInicio esperada(Teste::ptBR(), grupos);
    esperada.definir(FormatoContatos::lerRegistros(bytes));
    QCOMPARE(lista.entradas(), esperada.entradas());
    QCOMPARE(lista.count(), 6);
    QVERIFY(lidos.contains(ContactRecord{u"A"_s, u"1"_s, u"e"_s}));
    QVERIFY(lidos.contains(ContactRecord{u"C\nD"_s, QString(), QString()}));
    QCOMPARE(lista.grupo(0), -1); // "" and TAB come first, in no group
}

void TestBrowsing::ordemExata_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("pt_BR") << Teste::ptBR();
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("sv_SE") << QLocale(QLocale::Swedish, QLocale::Sweden);
}

// The fast ordering, and every editing change made in place, give exactly
// what sorting whole entries by their collation keys gives.
void TestBrowsing::ordemExata()
{
    QFETCH(QLocale, locale);
    QCollator c(locale);
    c.setCaseSensitivity(Qt::CaseInsensitive);
    const auto esperado = [&](const QList<ContactRecord> &arquivo) {
        QList<ContactRecord> r = arquivo;
        std::stable_sort(r.begin(), r.end(), [&](const auto &a, const auto &b) {
            return c.compare(MontarEntrada(a), MontarEntrada(b)) < 0;
        });
        QStringList out;
        for (const auto &x : r)
            out.append(MontarEntrada(x));
        return out;
    };
    // Names that collate alike but for accents or case, expansions (æ, ß),
    // letters the fold does not know (Ø, ð), a TAB, empty names.
    const QStringList nomes = {u"Andre"_s,
                               u"André"_s,
                               u"ANDRE"_s,
                               u"andré"_s,
                               u"Ana"_s,
                               u"Ána"_s,
                               u"Ana "_s,
                               u"Ana-"_s,
                               u"Aeon"_s,
                               u"Æon"_s,
                               u"Strasse"_s,
                               u"Straße"_s,
                               u"Ørn"_s,
                               u"Orn"_s,
                               u"Ðan"_s,
                               u"Dan"_s,
                               u"A\tB"_s,
                               QString(),
                               u"Zé"_s,
                               u"Ze"_s,
                               u"Ånge"_s,
                               u"Ange"_s,
                               u"Ärla"_s,
                               u"Arla"_s,
                               u"0800"_s,
                               u"Maria Aparecida da Silva"_s,
                               u"Maria Aparecida da Silveira"_s,
                               u"Maria Aparecida dá Sílva"_s,
                               u"MARIA APARECIDA DA SILVA"_s,
                               u"Maria Aparecida-da Silva"_s,
                               u"Maria Aparecida da Silvæ"_s};
    const QStringList fones = {QString(), u"1"_s, u"2"_s, u"á"_s, u"a"_s};
    QRandomGenerator r(7);
    QList<ContactRecord> arquivo;
    for (int i = 0; i < 400; ++i)
        arquivo.append({nomes[r.bounded(nomes.size())], fones[r.bounded(fones.size())],
                        fones[r.bounded(fones.size())]});
    const ClassificadorGrupos grupos(locale);
    ListaInicio lista(locale, grupos);
    lista.definir(arquivo);
    QCOMPARE(lista.entradas(), esperado(arquivo));

    // An add appends to the file; update and delete rewrite it in the
    // list's order; reading either file back must give the list as changed.
    const auto emOrdem = [&] {
        QList<ContactRecord> l;
        for (qsizetype i = 0; i < lista.count(); ++i)
            l.append(lista.registro(i));
        return l;
    };
    for (int passo = 0; passo < 60; ++passo) {
        const ContactRecord novo{nomes[r.bounded(nomes.size())], fones[r.bounded(fones.size())],
                                 fones[r.bounded(fones.size())]};
        const QString alvo = nomes[r.bounded(nomes.size())];
        switch (passo % 3) {
        case 0:
            arquivo.append(novo);
            lista.inserir(novo);
            break;
        case 1: {
            arquivo = emOrdem();
            for (auto &x : arquivo) {
                if (x.Nome == alvo)
                    x = novo;
            }
            lista.substituir(alvo, novo);
            break;
        }
        default:
            arquivo = emOrdem();
            arquivo.removeIf([&](const ContactRecord &x) { return x.Nome == alvo; });
            lista.remover(alvo);
        }
        QCOMPARE(lista.entradas(), esperado(arquivo));
    }
}

void TestBrowsing::textoDataHoje()
{
    const QDate domingo(2026, 12, 6);
    QCOMPARE(LocaleApp::TextoDataHoje(domingo, Teste::ptBR()), u"Domingo, 06/12/26"_s);
    QCOMPARE(LocaleApp::TextoDataHoje(QDate(2027, 1, 4), Teste::ptBR()),
             u"Segunda-feira, 04/01/27"_s);
    const QLocale alemao(QLocale::German, QLocale::Germany);
    QCOMPARE(LocaleApp::separadorData(alemao), u"."_s);
    QCOMPARE(LocaleApp::TextoDataHoje(domingo, alemao), u"Sonntag, 06.12.26"_s);
    // Without a language, the interface's own stands in.
    QCOMPARE(LocaleApp::efetivo(QLocale::c()), Teste::ptBR());
    QCOMPARE(LocaleApp::efetivo(alemao), alemao);
}

void TestBrowsing::paginacao_data()
{
    QTest::addColumn<int>("n");
    QTest::newRow("10") << 10;
    QTest::newRow("11") << 11;
    QTest::newRow("25") << 25;
}

void TestBrowsing::paginacao()
{
    QFETCH(int, n);
    const ClassificadorGrupos grupos(Teste::ptBR());
    ListaInicio lista(Teste::ptBR(), grupos);
    lista.definir(grupoA(n) + QList<ContactRecord>{{u"Carla"_s, {}, {}}});
    NavegacaoContatos nav(lista);

    nav.ListarGrupo(0, u"vazio"_s);
    Pagina p = pagina(nav);
    QCOMPARE(p.nomes, faixa(0, qMin(n, 10)));
    QVERIFY(!p.retorna);
    QCOMPARE(p.avanca, n > 10);
    QCOMPARE(p.inicioAvanca, n > 10 ? 10 : 0);
    QVERIFY(nav.lstContatosHabilitada);
    QCOMPARE(nav.selecionado, 0);
    QCOMPARE(nav.txtFone, u"0"_s);
    QCOMPARE(nav.txtMail, u"a0@x"_s);
    if (n <= 10)
        return;

    // Forward to the last page, one page at a time.
    QList<int> inicios;
    for (int k = 10; k < n; k += 10)
        inicios.append(k);
    for (int k : inicios) {
        nav.AvancarPagina();
        p = pagina(nav);
        QCOMPARE(p.nomes, faixa(k, qMin(n, k + 10)));
        QVERIFY(p.retorna);
        QCOMPARE(p.avanca, k + 10 < n);
        QCOMPARE(p.inicioAvanca, k + 10);
        QCOMPARE(nav.lblInicioRetorna, k);
        // Nothing selected after a page move; details empty until chosen.
        QCOMPARE(nav.selecionado, -1);
        QVERIFY(nav.txtFone.isEmpty() && nav.txtMail.isEmpty());
    }
    nav.selecionar(0);
    QCOMPARE(nav.txtFone, QString::number(inicios.last()));

    // And back again.
    for (int i = inicios.size() - 2; i >= -1; --i) {
        nav.RetornarPagina();
        const int k = i >= 0 ? inicios[i] : 0;
        p = pagina(nav);
        QCOMPARE(p.nomes, faixa(k, k + 10));
        QVERIFY(p.avanca);
        QCOMPARE(p.retorna, k > 0);
        QCOMPARE(p.inicioAvanca, k + 10);
        QCOMPARE(nav.selecionado, -1);
    }
    QCOMPARE(nav.lblInicioRetorna, 0);
}

void TestBrowsing::trocaDeAbaVoltaAPrimeiraPagina()
{
    const ClassificadorGrupos grupos(Teste::ptBR());
    ListaInicio lista(Teste::ptBR(), grupos);
    lista.definir(grupoA(25) + QList<ContactRecord>{{u"Carla"_s, u"7"_s, {}}});
    NavegacaoContatos nav(lista);
    nav.ListarGrupo(0, {});
    nav.AvancarPagina();
    nav.AvancarPagina();
    nav.ListarGrupo(indiceAba("lblCD"), {});
    QCOMPARE(nomes(nav.lstContatos), QStringList{"Carla"});
    QVERIFY(!nav.imgRetornaVisivel && !nav.imgAvancaVisivel);
    QCOMPARE(nav.lblInicioAvanca, 0);
    QCOMPARE(nav.txtFone, u"7"_s);
}

void TestBrowsing::grupoVazio()
{
    const ClassificadorGrupos grupos(Teste::ptBR());
    ListaInicio lista(Teste::ptBR(), grupos);
    lista.definir(grupoA(12));
    NavegacaoContatos nav(lista);
    nav.ListarGrupo(0, {});
    nav.AvancarPagina();
    nav.ListarGrupo(indiceAba("lbl09"), u"Nenhum cadastro com números"_s);
    QCOMPARE(nav.lstContatos, QStringList{u"Nenhum cadastro com números\t\t\t\t\t"_s});
    QVERIFY(!nav.lstContatosHabilitada);
    QVERIFY(!nav.imgRetornaVisivel && !nav.imgAvancaVisivel);
    QCOMPARE(nav.selecionado, -1);
    QVERIFY(nav.txtFone.isEmpty() && nav.txtMail.isEmpty());
    nav.selecionar(0); // the placeholder is no contact
    QCOMPARE(nav.selecionado, -1);
}

void TestBrowsing::inicioEmPastaVazia()
{
    QTemporaryDir dir;
    const QString caminho = ArquivoContatos::caminhoNaPasta(dir.path());
    ModeloPrincipal m(caminho, Teste::ptBR());
    QVERIFY(m.iniciar(QDate(2026, 12, 6)));
    QCOMPARE(Teste::ler(caminho), QByteArray("\r\n\r\n"));
    QCOMPARE(m.lblTotalContatos(), u"0"_s);
    QCOMPARE(m.lblDataHoje(), u"Domingo, 06/12/26"_s);
    QCOMPARE(m.navegacao().lstContatos, QStringList{u"Nenhum contato cadastrado\t\t\t\t\t"_s});
    QVERIFY(!m.navegacao().lstContatosHabilitada);
    QCOMPARE(m.navegacao().lblLetraInicial, u"a"_s);
}

void TestBrowsing::atualizarReleArquivoAlterado()
{
    QTemporaryDir dir;
    const QString caminho = ArquivoContatos::caminhoNaPasta(dir.path());
    Teste::gravar(caminho,
                  Teste::arquivo({Teste::linha(u"Bia"_s, u"1"_s), Teste::linha(u"Caio"_s)}));
    ModeloPrincipal m(caminho, Teste::ptBR());
    QVERIFY(m.iniciar(QDate(2026, 12, 6)));
    QCOMPARE(m.lblTotalContatos(), u"2"_s);
    m.escolherAba(indiceAba("lblCD"));
    QCOMPARE(m.navegacao().lblLetraInicial, u"c"_s);

    // Another program changes the file; the refresh shows it, on AB.
    Teste::gravar(caminho,
                  Teste::arquivo({Teste::linha(u"Álvaro"_s, u"9"_s), Teste::linha(u"Bia"_s, u"1"_s),
                                  Teste::linha(u"Caio"_s)}));
    QVERIFY(m.reler(QDate(2026, 12, 7)));
    QCOMPARE(nomes(m.navegacao().lstContatos), (QStringList{u"Álvaro"_s, u"Bia"_s}));
    QCOMPARE(m.navegacao().txtFone, u"9"_s);
    QCOMPARE(m.navegacao().lblLetraInicial, u"a"_s);
    QCOMPARE(m.lblDataHoje(), u"Segunda-feira, 07/12/26"_s);
    // The total follows the list.
    QCOMPARE(m.lblTotalContatos(), u"3"_s);
}

void TestBrowsing::atualizarSemArquivoNaoCria()
{
    QTemporaryDir dir;
    const QString caminho = ArquivoContatos::caminhoNaPasta(dir.path());
    Teste::gravar(caminho, Teste::arquivo({Teste::linha(u"Ana"_s)}));
    ModeloPrincipal m(caminho, Teste::ptBR());
    QVERIFY(m.iniciar(QDate(2026, 12, 6)));
    QVERIFY(QFile::remove(caminho));
    QVERIFY(m.reler(QDate(2026, 12, 6)));
    QVERIFY(!QFile::exists(caminho));
    QCOMPARE(m.lstInicio().count(), 0);
    QCOMPARE(m.navegacao().lstContatos, QStringList{u"Nenhum contato cadastrado\t\t\t\t\t"_s});
    QVERIFY(!m.ultimaLeituraFalhou());
}

void TestBrowsing::falhaDeLeituraMantemLista()
{
    QTemporaryDir dir;
    const QString caminho = ArquivoContatos::caminhoNaPasta(dir.path());
    Teste::gravar(caminho, Teste::arquivo({Teste::linha(u"Ana"_s, u"1"_s)}));
    ModeloPrincipal m(caminho, Teste::ptBR());
    QVERIFY(m.iniciar(QDate(2026, 12, 6)));

    // A folder in the file's place cannot be read: the list is not emptied.
    QVERIFY(QFile::remove(caminho));
    QVERIFY(QDir(dir.path()).mkdir(u"contatos.txt"_s));
    QVERIFY(!m.reler(QDate(2026, 12, 6)));
    QVERIFY(m.ultimaLeituraFalhou());
    QCOMPARE(m.lstInicio().count(), 1);
    QCOMPARE(nomes(m.navegacao().lstContatos), QStringList{u"Ana"_s});
    QVERIFY(!m.RecarregarLista());
    QCOMPARE(m.lstInicio().count(), 1);

    QVERIFY(QDir(dir.path()).rmdir(u"contatos.txt"_s));
    QVERIFY(m.RecarregarLista());
    QVERIFY(!m.ultimaLeituraFalhou());
    QCOMPARE(m.lstInicio().count(), 0);

    // At start-up too: an unreadable file is reported, never created over.
    QVERIFY(QDir(dir.path()).mkdir(u"contatos.txt"_s));
    ModeloPrincipal m2(caminho, Teste::ptBR());
    QVERIFY(!m2.iniciar(QDate(2026, 12, 6)));
    QVERIFY(m2.ultimaLeituraFalhou());
    QVERIFY(QFileInfo(caminho).isDir());
}

void TestBrowsing::relistagemUsaAbaEscolhida()
{
    QTemporaryDir dir;
    const QString caminho = ArquivoContatos::caminhoNaPasta(dir.path());
    Teste::gravar(caminho, Teste::arquivo({Teste::linha(u"Ana"_s), Teste::linha(u"Caio"_s)}));
    ModeloPrincipal m(caminho, Teste::ptBR());
    m.iniciar(QDate(2026, 12, 6));
    m.escolherAba(indiceAba("lblCD"));
    m.relistarGrupo(0); // as after an add: AB shown, chosen tab kept
    QCOMPARE(nomes(m.navegacao().lstContatos), QStringList{u"Ana"_s});
    QCOMPARE(m.navegacao().lblLetraInicial, u"c"_s);
    m.AtualizarAba();
    QCOMPARE(nomes(m.navegacao().lstContatos), QStringList{u"Caio"_s});
    m.escolherAba(indiceAba("lblGH"));
    m.AtualizarAba();
    QCOMPARE(m.navegacao().lstContatos, QStringList{u"Nenhum cadastro com esta letra\t\t\t\t\t"_s});
    m.escolherAba(indiceAba("lbl09"));
    m.AtualizarAba();
    QCOMPARE(m.navegacao().lstContatos, QStringList{u"Nenhum cadastro com números\t\t\t\t\t"_s});
}

void TestBrowsing::modeloAvisaUmaVez()
{
    // The windows learn of each change once: a click on a row changes only
    // the details, and an operation of many steps shows its end alone.
    QTemporaryDir dir;
    const QString caminho = ArquivoContatos::caminhoNaPasta(dir.path());
    Teste::gravar(caminho, Teste::arquivo({Teste::linha(u"Ana"_s), Teste::linha(u"Bia"_s)}));
    ModeloPrincipal m(caminho, Teste::ptBR());
    QSignalSpy tudo(&m, &ModeloPrincipal::mudou), detalhes(&m, &ModeloPrincipal::detalhesMudaram);
    m.iniciar(QDate(2026, 12, 6));
    m.escolherAba(indiceAba("lblCD"));
    QCOMPARE(tudo.size(), 2);
    m.selecionar(0);
    QCOMPARE(detalhes.size(), 1);
    {
        const ModeloPrincipal::Lote lote(m);
        m.RecarregarLista();
        m.AtualizarAba();
        QCOMPARE(tudo.size(), 2);
    }
    QCOMPARE(tudo.size(), 3);
}

void TestBrowsing::prefixoDigitado_data()
{
    // Keys (\b Backspace, \x1b Escape) at moments in ms.
    QTest::addColumn<QString>("teclas");
    QTest::addColumn<QList<int>>("tempos");
    QTest::addColumn<QString>("prefixo");
    QTest::addColumn<int>("efeito");
    using E = BuscaContato::Efeito;
    QTest::newRow("within a second") << u"ab"_s << QList{0, 999} << u"ab"_s << int(E::Mudou);
    QTest::newRow("after a pause") << u"ab"_s << QList{0, 1000} << u"b"_s << int(E::Mudou);
    QTest::newRow("space extends") << u"a b"_s << QList{0, 1, 2} << u"a b"_s << int(E::Mudou);
    QTest::newRow("space starts none") << u" "_s << QList{0} << QString() << int(E::Nenhum);
    QTest::newRow("backspace") << u"ab\b"_s << QList{0, 1, 2} << u"a"_s << int(E::Mudou);
    QTest::newRow("backspace to none") << u"a\b"_s << QList{0, 1} << QString() << int(E::Vazio);
    QTest::newRow("backspace late") << u"a\b"_s << QList{0, 1500} << QString() << int(E::Nenhum);
    QTest::newRow("escape") << u"ab\x1b"_s << QList{0, 1, 2} << QString() << int(E::Vazio);
    QTest::newRow("escape alone") << u"\x1b"_s << QList{0} << QString() << int(E::Nenhum);
}

void TestBrowsing::prefixoDigitado()
{
    QFETCH(QString, teclas);
    QFETCH(QList<int>, tempos);
    const ClassificadorGrupos grupos(Teste::ptBR());
    const ListaInicio lista(Teste::ptBR(), grupos);
    BuscaContato b(lista, Teste::ptBR());
    BuscaContato::Efeito e = BuscaContato::Efeito::Nenhum;
    for (qsizetype i = 0; i < teclas.size(); ++i) {
        e = teclas[i] == u'\b'     ? b.apagar(tempos[i])
            : teclas[i] == u'\x1b' ? b.limpar()
                                   : b.digitar(teclas[i], tempos[i]);
    }
    QTEST(b.prefixo(), "prefixo");
    QTEST(int(e), "efeito");
}

void TestBrowsing::buscaPorDigitacao_data()
{
    QTest::addColumn<QString>("teclas");
    QTest::addColumn<QString>("nome"); // empty: none, and nothing moved
    QTest::addColumn<QString>("inicial");
    QTest::addColumn<int>("inicioPagina");
    QTest::newRow("accents and case aside") << u"alv"_s << u"Álvaro"_s << u"a"_s << 0;
    QTest::newRow("capitals") << u"CAR"_s << u"carla"_s << u"c"_s << 0;
    QTest::newRow("typed accent") << u"év"_s << u"Eva"_s << u"e"_s << 0;
    QTest::newRow("a later page") << u"b17"_s << u"B17"_s << u"a"_s << 20;
    QTest::newRow("digits") << u"1"_s << u"1Zé"_s << u"0"_s << 0;
    QTest::newRow("no tab shows it") << u"as"_s << u"Asdrúbal"_s << u"a"_s << 0;
    QTest::newRow("a space inside") << u"ana s"_s << u"Ana Souza"_s << u"a"_s << 0;
    QTest::newRow("none") << u"zz"_s << QString() << u"g"_s << 0;
    QTest::newRow("only in no tab") << u"ø"_s << QString() << u"g"_s << 0;
    QTest::newRow("past a letter that weighs as two")
        << u"a"_s << u"Álvaro"_s << u"a"_s << 0; // Æsir sorts first, in no tab
    QTest::newRow("a combining accent") << u"el"_s << u"E\u0301lder"_s << u"e"_s << 0;
}

void TestBrowsing::buscaPorDigitacao()
{
    QFETCH(QString, teclas);
    QFETCH(QString, nome);
    QStringList linhas = {u"carla"_s,  u"Álvaro"_s, u"Ana Souza"_s,   u"Asdrúbal"_s,
                          u"Åsa"_s,    u"Carlos"_s, u"Eva"_s,         u"Gil"_s,
                          u"1Zé"_s,    u"alvim"_s,  u"Ana"_s,         u" Espaço"_s,
                          u"Øyvind"_s, u"Æsir"_s,   u"E\u0301lder"_s, u"Elisa"_s};
    for (int i = 1; i <= 25; ++i)
        linhas.append(QStringLiteral("B%1").arg(i, 2, 10, QChar(u'0')));
    QString texto = u"\uFEFF"_s; // UTF-8, to hold a combining accent
    for (const QString &l : linhas)
        texto += Teste::linha(l, l + u'#') + u"\r\n"_s;
    QTemporaryDir dir;
    const QString caminho = ArquivoContatos::caminhoNaPasta(dir.path());
    Teste::gravar(caminho, texto.toUtf8());
    ModeloPrincipal m(caminho, Teste::ptBR());
    QVERIFY(m.iniciar(QDate(2026, 12, 6)));
    m.escolherAba(indiceAba("lblGH"));

    ModeloPrincipal::Busca r{};
    for (qsizetype i = 0; i < teclas.size(); ++i)
        r = m.digitar(teclas[i], 10 * i);
    const auto &nav = m.navegacao();
    QTEST(nav.lblLetraInicial, "inicial");
    if (nome.isEmpty()) {
        QCOMPARE(r, ModeloPrincipal::Busca::SemContato);
        QCOMPARE(nomes(nav.lstContatos), QStringList{u"Gil"_s});
        return;
    }
    QCOMPARE(r, ModeloPrincipal::Busca::Feita);
    QVERIFY(nav.selecionado >= 0);
    QCOMPARE(nomes(nav.lstContatos).at(nav.selecionado), nome);
    QCOMPARE(nav.txtFone, nome + u'#');
    QTEST(int(nav.lstPorLetra.indexOf(nav.indicesPagina.first())), "inicioPagina");
    QCOMPARE(nav.imgRetornaVisivel, nav.indicesPagina.first() != nav.lstPorLetra.first());
}

void TestBrowsing::abaVizinha()
{
    QTemporaryDir dir;
    ModeloPrincipal m(ArquivoContatos::caminhoNaPasta(dir.path()), Teste::ptBR());
    QVERIFY(m.iniciar(QDate(2026, 12, 6)));
    QStringList iniciais;
    for (const int passo : {-1, 1, 1, 1}) {
        m.abaVizinha(passo);
        iniciais.append(m.navegacao().lblLetraInicial);
    }
    QCOMPARE(iniciais, (QStringList{u"0"_s, u"a"_s, u"c"_s, u"e"_s}));
}

void TestBrowsing::quarentaMilContatos()
{
    // Far past 16-bit counts: every contact loads, lists and pages.
    QTemporaryDir dir;
    const QString caminho = ArquivoContatos::caminhoNaPasta(dir.path());
    QStringList linhas;
    const int n = 40000;
    for (int i = 0; i < n; ++i)
        linhas.append(
            Teste::linha(QStringLiteral("Bx%1").arg(i, 5, 10, QChar(u'0')), QString::number(i)));
    Teste::gravar(caminho, Teste::arquivo(linhas));
    ModeloPrincipal m(caminho, Teste::ptBR());
    QVERIFY(m.iniciar(QDate(2026, 12, 6)));
    QCOMPARE(m.lblTotalContatos(), u"40000"_s);
    const auto &nav = m.navegacao();
    QCOMPARE(nav.lstPorLetra.size(), n);
    for (int i = 0; i < 3999; ++i)
        m.avancarPagina();
    QCOMPARE(nomes(nav.lstContatos).first(), u"Bx39990"_s);
    QCOMPARE(nav.lstContatos.size(), 10);
    QVERIFY(!nav.imgAvancaVisivel);
    QCOMPARE(nav.lblInicioAvanca, 40000);
    m.retornarPagina();
    QCOMPARE(nomes(nav.lstContatos).first(), u"Bx39980"_s);
}

QTEST_GUILESS_MAIN(TestBrowsing)
#include "test_browsing.moc"
