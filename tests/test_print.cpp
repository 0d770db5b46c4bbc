#include "dialogs/kv_imprime.h"
#include "gerador.h"
#include "gui_helpers.h"

#include "model/modelo_principal.h"
#include "operations/mensagens.h"
#include "printing/impressao_contatos.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QProcess>
#include <QProgressDialog>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace Qt::Literals::StringLiterals;
using Teste::Principal;

namespace {

// What poppler's pdftotext reads in the PDF, as a viewer's find and a
// screen reader do: the text in the order it was drawn (-raw), or each
// word with its place (-bbox). Under Wine, the Linux program itself,
// through Wine's "start /unix".
QString pdftotext(const QString &pdf, const QString &opcao)
{
#ifdef Q_OS_WIN
    using ParaUnix = char *(CDECL *)(LPCWSTR);
    // (Through void(*)(): a function's address of another type, on purpose.)
    const auto paraUnix = reinterpret_cast<ParaUnix>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!paraUnix)
        return QString();
    const auto unixDe = [paraUnix](const QString &w) {
        char *c = paraUnix(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(w).utf16()));
        const QString s = QString::fromUtf8(c);
        HeapFree(GetProcessHeap(), 0, c);
        return s;
    };
    const QString saida = pdf + u".txt"_s, parcial = unixDe(pdf) + u".parcial"_s;
    QFile::remove(saida);
    QProcess::execute(u"start.exe"_s, {u"/unix"_s, u"/bin/sh"_s, u"-c"_s,
                                       u"/usr/bin/pdftotext %1 '%2' '%3' && mv '%3' '%4'"_s.arg(
                                           opcao, unixDe(pdf), parcial, unixDe(saida))});
    for (int i = 0; i < 600 && !QFile::exists(saida); ++i)
        QTest::qWait(100);
    return QString::fromUtf8(Teste::ler(saida));
#else
    QProcess p;
    p.start(u"pdftotext"_s, {opcao, pdf, u"-"_s});
    p.waitForFinished(120000);
    return QString::fromUtf8(p.readAllStandardOutput());
#endif
}

QString semEspacos(QString s)
{
    s.removeIf([](QChar c) { return c.isSpace() || c.unicode() < 0x20 || c.unicode() == 0x7F; });
    return s;
}

struct Palavra {
    int pagina;
    double x, y, direita;
    QString texto;
};

QList<Palavra> palavras(const QString &bbox, double &largura, double &altura)
{
    QList<Palavra> out;
    int pagina = -1;
    static const QRegularExpression re(
        uR"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"_s);
    for (const auto &m : re.globalMatch(bbox)) {
        if (!m.captured(1).isEmpty()) {
            ++pagina;
            largura = m.captured(1).toDouble();
            altura = m.captured(2).toDouble();
        } else {
            out.append({pagina, m.captured(3).toDouble(), m.captured(4).toDouble(),
                        m.captured(5).toDouble(), m.captured(6)});
        }
    }
    return out;
}

// Opens "Lista para imprimir..." (Ctrl+P), chooses, and presses the
// button given.
void imprimir(Principal &p, const ImpressaoContatos::Escolha &e, const char *botao,
              const std::function<void(KV_Imprime *)> &depois = {})
{
    Teste::Passos<KV_Imprime> passos([&](KV_Imprime *d) {
        const auto clicar = [d](const QString &nome) {
            QWidget *w = d->controle(nome);
            QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4, w->height() / 2));
        };
        clicar(e.soAbaMostrada ? u"optAba"_s : u"optTodos"_s);
        clicar(u"optColunas%1"_s.arg(e.colunas));
        if (d->controle<QCheckBox>(u"chkEmails"_s)->isChecked() != e.comEmail)
            clicar(u"chkEmails"_s);
        clicar(QLatin1String(botao));
        if (depois)
            depois(d);
        return true;
    });
    auto *acao = p.janela->findChild<QAction *>(u"acaoImprimir"_s);
    QCOMPARE(acao->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    acao->trigger();
    QTRY_VERIFY(passos.feito());
}

} // namespace

// The list to print, through the main window: Ctrl+P, the dialog's
// choices, the PDF saved or opened, read back as text.
class TestPrint : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void naOrdem_data();
    void naOrdem();
    void colunas();
    void recusas_data();
    void recusas();
    void abrirEParar();
    void papel_data();
    void papel();
};

void TestPrint::naOrdem_data()
{
    QTest::addColumn<int>("aba"); // -1: all contacts
    QTest::addColumn<int>("colunas");
    QTest::addColumn<bool>("emails");
    QTest::addColumn<int>("mais");    // contacts made up besides the odd ones
    QTest::addColumn<bool>("mudado"); // by another program after the window read it
    QTest::newRow("todos, 1 coluna, e-mails") << -1 << 1 << true << 0 << false;
    QTest::newRow("todos, 2 colunas, 900 mais") << -1 << 2 << false << 900 << false;
    QTest::newRow("todos, 3 colunas, e-mails, 300 mais") << -1 << 3 << true << 300 << false;
    QTest::newRow("aba C e D, 2 colunas") << 1 << 2 << true << 300 << false;
    QTest::newRow("mudado por outro programa") << -1 << 2 << true << 0 << true;
}

void TestPrint::naOrdem()
{
    QFETCH(int, aba);
    QFETCH(int, colunas);
    QFETCH(bool, emails);
    QFETCH(int, mais);
    QFETCH(bool, mudado);
    // What the dialogs could never type, and what no tab lists.
    QByteArray conteudo = Teste::arquivo(
        {Teste::linha(u"Ângela Souza"_s, u"(11) 1111-1111"_s, u"angela@x.com.br"_s),
         Teste::linha(u"Øyvind Berg"_s, u"+47 22 00 00 00"_s), Teste::linha(u"@casa"_s, u"3333"_s),
         Teste::linha(u"Carla\u0001Controle"_s, u"4444"_s, u"c\u0007@x"_s),
         Teste::linha(u"Dora "_s + QString(400, u'd'), u"5555 "_s + QString(200, u'5'),
                      QString(300, u'm') + u"@x"_s),
         Teste::linha(u"Caio Muito Longo "_s + u"palavra "_s.repeated(900), u"6666"_s),
         Teste::linha(u"2º Cartório"_s, u"7777"_s), Teste::linha(u"Zé"_s, QString(), u"ze@x"_s)});
    Principal p(&conteudo, false);
    if (mais) {
        QByteArray gerado = Gerador::arquivo(mais);
        Teste::gravar(p.caminho, Teste::ler(p.caminho) + gerado);
    }
    p.abrir();
    if (aba >= 0)
        p.janela->modelo().escolherAba(aba);
    if (mudado) {
        // What the file holds now goes on paper.
        QByteArray agora = Teste::ler(p.caminho);
        agora.insert(0, Teste::arquivo({Teste::linha(u"Beto Novo"_s, u"8888"_s)}).chopped(4));
        Teste::gravar(p.caminho, agora);
    }
    p.pdf = p.dir.filePath(u"lista.pdf"_s);
    imprimir(p, {aba >= 0, colunas, emails}, "lblSim");
    QCOMPARE(p.avisos.textos, QStringList{Mensagens::LISTA_SALVA});

    const QString texto = pdftotext(p.pdf, u"-raw"_s);
    QVERIFY2(!texto.isEmpty(), "pdftotext read nothing");
    // Every page has its header and "página N de M", M the pages there are.
    const qsizetype paginas = texto.count(u'\f');
    static const QRegularExpression rodape(u"página (\\d+) de (\\d+)"_s);
    QList<int> numeros;
    for (const auto &m : rodape.globalMatch(texto)) {
        numeros.append(m.captured(1).toInt());
        QCOMPARE(m.captured(2).toLongLong(), paginas);
    }
    QCOMPARE(numeros.size(), paginas);
    for (int i = 0; i < numeros.size(); ++i)
        QCOMPARE(numeros[i], i + 1);
    QCOMPARE(texto.count(u"Marvessa Fonelo"_s), paginas);
    QCOMPARE(texto.count(p.janela->modelo().lblDataHoje()), paginas);

    // Every contact once, in the list's order, under its tab's heading in
    // the tabs' order, the names no tab lists last.
    const ListaInicio &lista = p.janela->modelo().lstInicio();
    // (A contact taller than a page, which nobody types, goes on over the
    // next page's header.)
    const QString todo = semEspacos(QString(texto)
                                        .remove(rodape)
                                        .remove(u"Marvessa Fonelo"_s)
                                        .remove(p.janela->modelo().lblDataHoje()));
    qsizetype onde = 0, contatos = 0;
    for (int g : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, -1}) {
        if (aba >= 0 && g != aba)
            continue;
        bool titulo = false;
        for (qsizetype i = 0; i < lista.count(); ++i) {
            if (lista.grupo(i) != g)
                continue;
            QStringList campos = {lista.nome(i).toString(), lista.telefone(i)};
            if (emails)
                campos.append(lista.email(i));
            if (!titulo)
                campos.prepend(ImpressaoContatos::titulo(g < 0 ? NUM_GRUPOS : g));
            titulo = true;
            for (const QString &c : std::as_const(campos)) {
                const qsizetype achado = todo.indexOf(semEspacos(c), onde);
                QVERIFY2(achado >= 0, qPrintable(u"not found in order: "_s + c.left(60)));
                onde = achado + semEspacos(c).size();
            }
            ++contatos;
        }
    }
    QVERIFY(aba >= 0 ? contatos > 0 : contatos == lista.count());
    QCOMPARE(todo.contains(u"angela@x.com.br"_s), emails && aba < 0);
    QCOMPARE(todo.contains(u"Outros"_s), aba < 0);
    // A group that goes on in the next column says so at its top.
    if (mais >= 900)
        QVERIFY(texto.contains(u"A e B (continuação)"_s));
    QCOMPARE(todo.contains(u"BetoNovo8888"_s), mudado);
}

// Two columns as they stand on the page: each contact whole in one column
// of one page, down the left column, then the right, page after page, and
// nothing, however long, across the gap between them.
void TestPrint::colunas()
{
    QStringList linhas = {Teste::linha(u"Pessoa0000 "_s + QString(300, u'x'), u"0000-0000"_s)};
    for (int i = 1; i < 400; ++i)
        linhas.append(Teste::linha(u"Pessoa%1 da Silva"_s.arg(i, 4, 10, QChar(u'0')),
                                   u"9%1-0000"_s.arg(i, 4, 10, QChar(u'0')),
                                   i % 3 ? u"p%1@exemplo.com.br"_s.arg(i) : QString()));
    const QByteArray conteudo = Teste::arquivo(linhas);
    Principal p(&conteudo);
    p.pdf = p.dir.filePath(u"colunas.pdf"_s);
    imprimir(p, {false, 2, true}, "lblSim");
    double largura = 0, altura = 0;
    const QList<Palavra> ps = palavras(pdftotext(p.pdf, u"-bbox"_s), largura, altura);
    QVERIFY(!ps.isEmpty());
    const double meio = largura / 2;
    QHash<QString, Palavra> por;
    for (const Palavra &w : ps) {
        if (w.y < 55 || w.y > altura - 45)
            continue; // the header and the page's number
        QVERIFY2(w.direita < meio - 4 || w.x > meio + 4, qPrintable(w.texto));
        por.insert(w.texto, w);
    }
    std::tuple<int, int, double> antes{-1, 0, 0};
    QSet<std::pair<int, int>> usadas;
    for (int i = 0; i < 400; ++i) {
        const Palavra nome = por.value(u"Pessoa%1"_s.arg(i, 4, 10, QChar(u'0')));
        const Palavra fone = por.value(u"9%1-0000"_s.arg(i, 4, 10, QChar(u'0')));
        if (i == 0)
            continue;
        QVERIFY(!nome.texto.isEmpty() && !fone.texto.isEmpty());
        const int coluna = nome.x > meio;
        QCOMPARE(fone.pagina, nome.pagina);
        QCOMPARE(int(fone.x > meio), coluna);
        QVERIFY(fone.y >= nome.y - 0.5 && fone.y < nome.y + 30);
        const std::tuple<int, int, double> aqui{nome.pagina, coluna, nome.y};
        QVERIFY2(aqui > antes, qPrintable(nome.texto));
        antes = aqui;
        usadas.insert({nome.pagina, coluna});
    }
    QVERIFY(usadas.contains({0, 1}) && usadas.contains({1, 0}));
}

void TestPrint::recusas_data()
{
    QTest::addColumn<QString>("alvo"); // in the folder; "" the contact file itself
    QTest::addColumn<bool>("ilegivel");
    QTest::addColumn<bool>("abaVazia");
    QTest::addColumn<QString>("aviso");
    QTest::newRow("over the contact file")
        << QString() << false << false << Mensagens::EXPORTAR_SOBRE;
    QTest::newRow("over it by another path")
        << u"sub/../contatos.txt"_s << false << false << Mensagens::EXPORTAR_SOBRE;
    // Names the save dialog takes without adding ".pdf".
    QTest::newRow("over the sync's state")
        << u"contatos.sincronizacao"_s << false << false << Mensagens::ARQUIVO_DO_PROGRAMA;
    QTest::newRow("over the versions")
        << u"Contatos.Historico"_s << false << false << Mensagens::ARQUIVO_DO_PROGRAMA;
    QTest::newRow("no such folder")
        << u"nada/lista.pdf"_s << false << false << Mensagens::naoGravado(u"lista.pdf"_s);
    QTest::newRow("contact file unreadable")
        << u"lista.pdf"_s << true << false << ModeloPrincipal::AVISO_FALHA_LEITURA;
    QTest::newRow("the tab shown is empty")
        << u"lista.pdf"_s << false << true << Mensagens::NADA_A_IMPRIMIR;
}

// The export's rules: never over the contact file, and a list that cannot
// be made or written says so, and leaves no file behind.
void TestPrint::recusas()
{
    QFETCH(QString, alvo);
    QFETCH(bool, ilegivel);
    QFETCH(bool, abaVazia);
    const QByteArray inicial = Teste::arquivo({Teste::linha(u"Ana"_s, u"1"_s)});
    Principal p(&inicial);
    QDir(p.dir.path()).mkdir(u"sub"_s);
    p.pdf = alvo.isEmpty() ? p.caminho : p.dir.filePath(alvo);
    if (abaVazia)
        p.janela->modelo().escolherAba(1);
    std::optional<Teste::Travado> travado;
    if (ilegivel) {
        travado.emplace(p.caminho, false);
        QVERIFY(travado->ok());
    }
    const bool proprio = alvo.startsWith(u"contatos."_s, Qt::CaseInsensitive);
    if (proprio)
        Teste::gravar(p.dir.filePath(u"contatos.sincronizacao"_s), "intacto");
    imprimir(p, {abaVazia, 2, true}, "lblSim", [](KV_Imprime *d) { d->fecharJa(); });
    QTEST(p.avisos.textos.value(0), "aviso");
    travado.reset();
    if (proprio)
        QCOMPARE(Teste::ler(p.dir.filePath(u"contatos.sincronizacao"_s)), QByteArray("intacto"));
    else if (!p.pdf.endsWith(u"contatos.txt"_s))
        QVERIFY(!QFile::exists(p.pdf));
    // (The lock stands in for the file where it cannot be read.)
    if (!ilegivel)
        QCOMPARE(Teste::ler(p.caminho), inicial);
    QCOMPARE(QDir(p.dir.path()).entryList({u"*.pdf"_s, u"*.tmp"_s}), QStringList());
}

// " Abrir " hands a PDF to the system's viewer; a long list can be stopped
// while it is made, and then nothing is written.
void TestPrint::abrirEParar()
{
    const QByteArray conteudo = Gerador::arquivo(40000);
    Principal p(&conteudo, false);
    // The progress shows at once.
    p.progressoImpressaoMs = 0;
    p.abrir();
    imprimir(p, {false, 1, false}, "lblAbrir");
    QCOMPARE(p.enderecos.size(), 1);
    const QString aberto = p.enderecos.constFirst().toLocalFile();
    QVERIFY(aberto.endsWith(u".pdf"_s));
    QVERIFY(Teste::ler(aberto).startsWith("%PDF-"));
    QVERIFY(p.avisos.textos.isEmpty());

    // Stopped as soon as its progress shows.
    p.pdf = p.dir.filePath(u"parado.pdf"_s);
    bool parado = false;
    Teste::AoEvento vigia(QEvent::Show, [&](QObject *o) {
        if (auto *progresso = qobject_cast<QProgressDialog *>(o); progresso && !parado) {
            parado = true;
            QMetaObject::invokeMethod(progresso, &QProgressDialog::cancel, Qt::QueuedConnection);
        }
    });
    imprimir(p, {false, 3, true}, "lblSim", [](KV_Imprime *d) { d->fecharJa(); });
    QVERIFY(parado);
    QVERIFY(!QFile::exists(p.pdf));
    QVERIFY(p.avisos.textos.isEmpty());
}

void TestPrint::papel_data()
{
    QTest::addColumn<QLocale>("sistema");
    QTest::addColumn<QString>("tamanho");
    QTest::newRow("Brasil: A4") << QLocale(QLocale::Portuguese, QLocale::Brazil)
                                << u"595.000000 842.000000"_s;
    QTest::newRow("Estados Unidos: carta")
        << QLocale(QLocale::English, QLocale::UnitedStates) << u"612.000000 792.000000"_s;
}

void TestPrint::papel()
{
    QFETCH(QLocale, sistema);
    QFETCH(QString, tamanho);
    const QByteArray conteudo = Teste::arquivo({Teste::linha(u"Ana"_s, u"1"_s)});
    Principal p(&conteudo);
    const QString pdf = p.dir.filePath(u"p.pdf"_s);
    QCOMPARE(ImpressaoContatos(p.janela->modelo(), sistema).salvar(pdf, {}),
             Mensagens::LISTA_SALVA);
    double largura = 0, altura = 0;
    palavras(pdftotext(pdf, u"-bbox"_s), largura, altura);
    QCOMPARE(u"%1 %2"_s.arg(largura, 0, 'f', 6).arg(altura, 0, 'f', 6), tamanho);
}

QTEST_MAIN(TestPrint)
#include "test_print.moc"
