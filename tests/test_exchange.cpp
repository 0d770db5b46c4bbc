#include "caminhos.h"
#include "chrome/traducao_qt.h"
#include "gui_helpers.h"

#include "model/modelo_principal.h"
#include "operations/edicao_contatos.h"
#include "operations/mensagens.h"
#include "store/contatos_externos.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <optional>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using Teste::Principal;
using Formato = ContatosExternos::Formato;

namespace {

// "name|telephone|e-mail" of each contact.
QStringList textos(const QList<ContactRecord> &contatos)
{
    QStringList out;
    for (const ContactRecord &c : contatos)
        out.append(c.Nome + u'|' + c.Telefone + u'|' + c.Email);
    return out;
}

QString amostra(const QString &nome)
{
    return Teste::aoLado(MARVESSA_AMOSTRAS) + u'/' + nome;
}

QList<ContactRecord> lista(const ModeloPrincipal &m)
{
    QList<ContactRecord> out;
    for (qsizetype i = 0; i < m.lstInicio().count(); ++i)
        out.append(m.lstInicio().registro(i));
    return out;
}

void acionar(Principal &p, const char *acao)
{
    QMenu *menu = p.janela->comandos().criarMenu();
    Teste::acaoDoMenu(menu, QLatin1String(acao))->trigger();
    delete menu;
}

} // namespace

// Contacts in and out: vCard and CSV files as other programs write them,
// imported through the main window by the add's rules, and exported.
class TestExchange : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void amostras_data();
    void amostras();
    void leitura_data();
    void leitura();
    void limites();
    void vcardDobradoEEscapado();
    void importarPelasRegras();
    void importarNomesIguais();
    void soltarArquivo_data();
    void soltarArquivo();
    void idaEVolta_data();
    void idaEVolta();
    void exportarRecusado_data();
    void exportarRecusado();
    void exportarPeloDialogo_data();
    void exportarPeloDialogo();
    void dialogosDoQtEmPortugues_data();
    void dialogosDoQtEmPortugues();
    void importarSoArquivosComuns();
    void menuDaLista();
    void abrirDoContato_data();
    void abrirDoContato();
};

void TestExchange::amostras_data()
{
    QTest::addColumn<QString>("arquivo");
    QTest::addColumn<QStringList>("contatos");
    QTest::newRow("iPhone, vCard 3.0")
        << u"vcard/iphone.vcf"_s
        << QStringList{u"Ana Souza|(11) 99999-0001|ana.souza@exemplo.com.br"_s,
                       u"João Pedro Gonçalves|+55 21 98888-7777|"_s,
                       u"Carlos Ribeiro, Filho|0800 123 4567|carlos@exemplo.com"_s,
                       u"Maria Aparecida da Conceição dos Santos Guimarães de Magalhães "
                       u"Albuquerque|(31) 97777-1234|"_s};
    QTest::newRow("Android, vCard 2.1")
        << u"vcard/android21.vcf"_s
        << QStringList{u"Lúcia Araújo|+5511977776666|lucia@exemplo.com"_s,
                       u"José Antônio de Magalhães e Silva Conceição|+552140041234|"
                       u"jose@trabalho.com.br"_s,
                       u"Padaria Estrela|3222-1111|"_s, u"Érica|91234-5678|"_s};
    QTest::newRow("vCard 4.0") << u"vcard/contatos40.vcf"_s
                               << QStringList{u"Beatriz Lima|+55-11-91234-5678|bia@pessoal.com"_s};
    QTest::newRow("Google CSV") << u"csv/google.csv"_s
                                << QStringList{
                                       u"Renata Alves|+55 11 98765-4321|renata@gmail.com"_s,
                                       u"Paulo Henrique Oliveira|(19) 3232-1010|"_s,
                                       u"Dra. Sônia \"Soninha\" Prado||sonia@prado.med.br"_s};
    QTest::newRow("Outlook CSV, Windows-1252")
        << u"csv/outlook.csv"_s
        << QStringList{u"Fábio Gomes|(41) 99800-1234|fabio@gomes.eng.br"_s,
                       u"Íris Maria Peçanha|(21) 2555-0000|iris@exemplo.com"_s, u"Tomás||"_s};
    QTest::newRow("this program's CSV")
        << u"csv/marvessa.csv"_s
        << QStringList{u"Ângela Castro|(11) 4004-0000|angela@exemplo.com"_s,
                       u"Ponto; e vírgula, e \"aspas\"|1|"_s, u"Zé||ze@exemplo.com"_s};
    QTest::newRow("spreadsheet CSV, semicolons")
        << u"csv/excel-pt.csv"_s
        << QStringList{u"Joaquim Antunes|(85) 98888-0000|joaquim@exemplo.com"_s,
                       u"Luísa||luisa@exemplo.com"_s};
}

void TestExchange::amostras()
{
    QFETCH(QString, arquivo);
    const ContatosExternos::Lidos l = ContatosExternos::ler(Teste::ler(amostra(arquivo)));
    QVERIFY(l.ok());
    QTEST(textos(l.contatos), "contatos");
    QCOMPARE(l.rejeitados, 0);
}

namespace {

QByteArray utf16(const QString &s, QStringEncoder::Encoding e)
{
    QStringEncoder enc(e);
    return enc(s);
}

QByteArray cartao(const QByteArray &corpo)
{
    return "BEGIN:VCARD\r\nVERSION:2.1\r\n" + corpo + "\r\nEND:VCARD\r\n";
}

} // namespace

void TestExchange::leitura_data()
{
    using F = ContatosExternos::Falha;
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("contatos");
    QTest::addColumn<int>("rejeitados");
    QTest::addColumn<int>("falha");
    QTest::addColumn<int>("linha");
    const auto ok = [](const char *nome, const QByteArray &b, const QStringList &cs, int rej = 0) {
        QTest::newRow(nome) << b << cs << rej << int(F::Nenhuma) << 0;
    };
    ok("UTF-8 vCard, one Windows-1252 byte",
       cartao("FN:José\r\nNOTE:caf\xE9") + cartao("FN:Lu\xEDsa"), {u"José||"_s, u"Luísa||"_s});
    ok("UTF-8 CSV, one Windows-1252 byte", "Nome,Telefone,E-mail\r\nJosé,1,\r\nM\xFCller,2,\r\n",
       {u"José|1|"_s, u"Müller|2|"_s});
    ok("CHARSET=ISO-8859-2", cartao("FN;CHARSET=ISO-8859-2:\xA3ukasz"), {u"Łukasz||"_s});
    ok("CHARSET=KOI8-R", cartao("FN;CHARSET=KOI8-R:\xE9\xD7\xC1\xCE"), {u"Иван||"_s});
    ok("CHARSET=SHIFT_JIS, quoted-printable",
       cartao("FN;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:=93=FA=96=7B"), {u"日本||"_s});
    ok("CHARSET=WINDOWS-1251", cartao("FN;CHARSET=WINDOWS-1251:\xC8\xE2\xE0\xED"), {u"Иван||"_s});
    ok("a charset unknown here", cartao("FN;CHARSET=X-MARTE:Zork") + cartao("FN:Ana"), {u"Ana||"_s},
       1);
    ok("a card without its END",
       "BEGIN:VCARD\r\nFN:Ana\r\n" + cartao("FN:Bia") + cartao("FN:Caio") + cartao("FN:Dora") +
           cartao("FN:Eva"),
       {u"Ana||"_s, u"Bia||"_s, u"Caio||"_s, u"Dora||"_s, u"Eva||"_s});
    ok("vCard 2.1 AGENT, a card inside the card",
       cartao("FN:Ana\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:Agente\r\nTEL:0\r\nEND:VCARD\r\nTEL:1"),
       {u"Ana|1|"_s});
    ok("a fold inside a UTF-8 character", cartao("FN:\xCE\x91\xCE\r\n \xB2\xCE\xB3"), {u"Αβγ||"_s});
    ok("UTF-16 big-endian without a mark",
       utf16(u"BEGIN:VCARD\r\nFN:Zoë\r\nEND:VCARD\r\n"_s, QStringEncoder::Utf16BE), {u"Zoë||"_s});
    ok("UTF-16 little-endian CSV without a mark",
       utf16(u"Nome,Telefone\r\nZoë,1\r\n"_s, QStringEncoder::Utf16LE), {u"Zoë|1|"_s});
    ok("Thunderbird",
       "First Name,Last Name,Display Name,Nickname,Primary Email,Secondary Email,Work Phone,"
       "Home Phone,Mobile Number\r\nAna,Souza,Ana S.,,ana@x,ana2@x,3333,,9999\r\n,,,,,b@x\r\n"
       ",Lima,,,,c@x\r\n",
       {u"Ana S.|9999|ana@x"_s, u"||b@x"_s, u"Lima||c@x"_s});
    ok("Yahoo",
       "First,Middle,Last,Nickname,Email,Category,Home,Work,Mobile\r\n"
       "Rita,de,Cássia,,rita@y,,1111,2222,\r\n",
       {u"Rita de Cássia|1111|rita@y"_s});
    ok("Outlook in Portuguese",
       "Nome,Segundo Nome,Sobrenome,Telefone comercial,Telefone celular,Endereço de email\r\n"
       "João,,Silva,3333,99999,joao@x\r\n",
       {u"João Silva|99999|joao@x"_s});
    ok("Outlook in German",
       "Vorname;Weitere Vornamen;Nachname;Telefon (gesch\xE4"
       "ftlich);Mobiltelefon;"
       "E-Mail-Adresse\r\nJ\xFCrgen;;Wei\xDF;0301234;0170123;j@w.de\r\n",
       {u"Jürgen Weiß|0170123|j@w.de"_s});
    ok("Outlook in French",
       "Prénom,Deuxième prénom,Nom,Téléphone mobile,Adresse de messagerie\r\n"
       "Élodie,,Martin,0612,e@m.fr\r\n",
       {u"Élodie Martin|0612|e@m.fr"_s});
    ok("Outlook in Spanish",
       "Nombre,Segundo nombre,Apellidos,Teléfono móvil,Dirección de correo electrónico\r\n"
       "Lucía,,García,600,l@g.es\r\n",
       {u"Lucía García|600|l@g.es"_s});
    ok("Google's several values",
       "Name,Phone 1 - Value,E-mail 1 - Value\r\nAna,1 ::: 2,a ::: b\r\n", {u"Ana|1|a"_s});
    ok("this program's CSV keeps \" ::: \" and spaces",
       "Nome,Telefone,E-mail\r\n Ana ,123 ::: 456,\r\n", {u" Ana |123 ::: 456|"_s});
    QTest::newRow("a quote that never closes")
        << QByteArray("Nome,Telefone\r\nAna,1\r\n\"Ana Paula,1111\r\nBia,2\r\nCaio,3\r\n")
        << QStringList() << 0 << int(F::AspasAbertas) << 3;
}

void TestExchange::leitura()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, linha);
    const ContatosExternos::Lidos l = ContatosExternos::ler(bytes);
    QTEST(textos(l.contatos), "contatos");
    QTEST(l.rejeitados, "rejeitados");
    QTEST(int(l.falha), "falha");
    QCOMPARE(l.linha, linha);
}

void TestExchange::limites()
{
    using F = ContatosExternos::Falha;
    ContatosExternos::Limites lim;
    lim.linha = lim.campo = 100;
    lim.colunas = 5;
    lim.contatos = 2;
    const auto falha = [&](const QByteArray &b) { return ContatosExternos::ler(b, lim).falha; };
    QCOMPARE(falha(cartao("FN:" + QByteArray(50, 'a') + "\r\n " + QByteArray(60, 'b'))), F::Grande);
    QCOMPARE(falha(cartao("PHOTO;ENCODING=b:" + QByteArray(500, 'A')) + cartao("FN:A")),
             F::Nenhuma);
    QCOMPARE(falha(cartao("FN:A") + cartao("FN:B") + cartao("FN:C")), F::Grande);
    QCOMPARE(falha("Nome,Telefone\r\nAna," + QByteArray(101, '1') + "\r\n"), F::Grande);
    QCOMPARE(falha("Nome,Telefone\r\nAna,1,2,3,4,5\r\n"), F::Grande);
    QCOMPARE(falha("Nome,Telefone\r\nA,1\r\nB,2\r\nC,3\r\n"), F::Grande);
    // A quote left open is told as such, long before the file's end.
    const auto l = ContatosExternos::ler("Nome\r\n\"A\r\n" + QByteArray(1000, 'x') + "\r\n", lim);
    QCOMPARE(l.falha, F::AspasAbertas);
    QCOMPARE(l.linha, 2);
}

void TestExchange::vcardDobradoEEscapado()
{
    const QList<ContactRecord> contatos = {
        {QString(30, u'ç') + u"; a, b\\c"_s + QString(30, u'é'), u"+55 (11) 1234"_s, u"x@y"_s},
        {u"Só nome"_s, {}, {}}};
    const QByteArray v = ContatosExternos::escrever(contatos, Formato::VCard);
    for (const QByteArray &linha : v.split('\n'))
        QVERIFY2(linha.size() <= 76, linha.constData()); // 75 octets and the CR
    QVERIFY(v.contains("\\; a\\, b\\\\c"));
    QVERIFY(v.contains("\r\n "));
    QVERIFY(!v.contains("TEL:\r\n"));
    QCOMPARE(QString::fromUtf8(v), QString::fromUtf8(v).toUtf8()); // no sequence cut
    QCOMPARE(textos(ContatosExternos::ler(v).contatos), textos(contatos));
}

void TestExchange::importarPelasRegras()
{
    const QByteArray inicial = Teste::arquivo({Teste::linha(u"Ana"_s, u"0"_s)});
    Principal p(&inicial);
    // Another program adds a contact after the list was read.
    const QByteArray outro =
        Teste::arquivo({Teste::linha(u"Ana"_s, u"0"_s), Teste::linha(u"Bia"_s)});
    Teste::gravar(p.caminho, outro);
    const QString longo = QString(60, u'L');
    const QString csv = p.dir.filePath(u"novos.csv"_s);
    // Another program's layout: the spaces around its fields go. A name no
    // tab shows is left out (a non-breaking space, an emoji, Ł, Æ, Š).
    Teste::gravar(csv, (u"Name,Phone,Email\r\n"
                        u"Carla,1,c@x\r\nana,2,\r\nBia,3,\r\nDora,4,\r\nDORA,5,\r\n-Eva,6,\r\n"
                        u",7,\r\n\"Fé\tTab\",8,\r\n\"Gil\nGomes\",9,\r\n  "_s +
                        longo +
                        u"  ,10,\r\nCarla,11\r\n\u00A0Ivo,13\r\n"
                        u"\U0001F600 Rui,14\r\nŁukasz,15\r\nÆsir,16\r\nŠárka,17\r\n"_s)
                           .toUtf8());
    p.importar = {csv};
    acionar(p, "acaoImportar");
    QCOMPARE(p.avisos.textos, QStringList{u"Contatos importados: 4. Ignorados: 12."_s});
    // Appended after what the file holds, the other program's contact kept.
    QCOMPARE(
        Teste::ler(p.caminho),
        Teste::arquivo({Teste::linha(u"Ana"_s, u"0"_s), Teste::linha(u"Bia"_s),
                        Teste::linha(u"Carla"_s, u"1"_s, u"c@x"_s), Teste::linha(u"Dora"_s, u"4"_s),
                        Teste::linha(u"Gil Gomes"_s, u"9"_s), Teste::linha(longo, u"10"_s)}));
    QCOMPARE(p.janela->modelo().navegacao().lblLetraInicial, u"a"_s);
    QCOMPARE(p.filho<QListWidget>(u"lstContatos"_s)->count(), 2); // AB: Ana, Bia
    QCOMPARE(p.janela->modelo().lstInicio().count(), 6);
}

void TestExchange::importarNomesIguais()
{
    // In a UTF-8 file, which could hold them: names alike but for an accent
    // typed as a combining mark are one name.
    const QByteArray inicial = QStringLiteral("José\x7F\x7F\r\n\r\n\r\n").toUtf8();
    Principal p(&inicial);
    p.importar = {p.dir.filePath(u"a.vcf"_s)};
    Teste::gravar(p.importar[0], u"BEGIN:VCARD\r\nFN:Jose\u0301\r\nEND:VCARD\r\n"
                                 u"BEGIN:VCARD\r\nFN:A\u0301lvaro\r\nEND:VCARD\r\n"
                                 u"BEGIN:VCARD\r\nFN:álvaro\r\nEND:VCARD\r\n"_s.toUtf8());
    acionar(p, "acaoImportar");
    QCOMPARE(p.avisos.textos, QStringList{u"Contatos importados: 1. Ignorados: 2."_s});
    // The bytes imported, as they came.
    QVERIFY(Teste::ler(p.caminho).contains(u"A\u0301lvaro"_s.toUtf8()));
}

void TestExchange::soltarArquivo_data()
{
    QTest::addColumn<QString>("arquivo");
    QTest::addColumn<QByteArray>("conteudo"); // empty: none at all
    QTest::addColumn<QString>("aviso");
    QTest::newRow("vCard") << u"a.vcf"_s << QByteArray("BEGIN:VCARD\r\nFN:Caio\r\nEND:VCARD\r\n")
                           << u"Contatos importados: 1. Ignorados: 0."_s;
    QTest::newRow("not contacts") << u"b.csv"_s << QByteArray("x,y\r\n1,2\r\n")
                                  << u"O arquivo b.csv não é um vCard nem um CSV de contatos!"_s;
    QTest::newRow("unreadable") << u"c.vcf"_s << QByteArray()
                                << u"Não foi possível ler o arquivo c.vcf!"_s;
}

void TestExchange::soltarArquivo()
{
    QFETCH(QString, arquivo);
    QFETCH(QByteArray, conteudo);
    QFETCH(QString, aviso);
    const QByteArray inicial = Teste::arquivo({Teste::linha(u"Ana"_s)});
    Principal p(&inicial);
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    const QString caminho = p.dir.filePath(arquivo);
    if (!conteudo.isEmpty())
        Teste::gravar(caminho, conteudo);
    QMimeData dados;
    dados.setUrls({QUrl::fromLocalFile(caminho)});
    // Dropped on the list, which passes it to the window.
    QWidget *alvo = p.filho<QListWidget>(u"lstContatos"_s)->viewport();
    QDragEnterEvent entra(QPoint(5, 5), Qt::CopyAction, &dados, Qt::LeftButton, {});
    QApplication::sendEvent(alvo, &entra);
    QVERIFY(entra.isAccepted());
    QDropEvent solta(QPointF(5, 5), Qt::CopyAction, &dados, Qt::LeftButton, {});
    QApplication::sendEvent(alvo, &solta);
    QTRY_COMPARE(p.avisos.textos, QStringList{aviso});
    if (!aviso.startsWith(u"Contatos"))
        QCOMPARE(Teste::ler(p.caminho), inicial);
}

void TestExchange::idaEVolta_data()
{
    QTest::addColumn<int>("formato");
    QTest::newRow("vCard") << int(Formato::VCard);
    QTest::newRow("CSV") << int(Formato::Csv);
}

void TestExchange::idaEVolta()
{
    QFETCH(int, formato);
    // Every field comes back exactly: spaces, separators, what a spreadsheet
    // would run as a formula, this program's own " ::: ".
    const QStringList linhas = {
        Teste::linha(u"Ângela; \"Anja\", a \\ sério"_s, u"(11) 4004-0000"_s, u"a@x.com"_s),
        Teste::linha(u"Zé  "_s, u" 1 "_s),
        Teste::linha(u"1º Cartório"_s, u"+55 11 3333"_s),
        Teste::linha(QString(70, u'ã'), {}, u"longo@x"_s),
        Teste::linha(u"Bia"_s, u"=1+1"_s, u"@SUM(1)"_s),
        Teste::linha(u"Caio"_s, u"-5"_s, u"'=x"_s),
        Teste::linha(u"Dora"_s, u"123 ::: 456"_s, u"''@"_s)};
    const QByteArray conteudo = Teste::arquivo(linhas);
    Principal de(&conteudo);
    de.exportar = de.dir.filePath(u"saida"_s);
    de.formatoExportar = Formato(formato);
    acionar(de, "acaoExportar");
    QCOMPARE(de.avisos.textos, QStringList{u"Contatos exportados!"_s});
    if (Formato(formato) == Formato::Csv) {
        const QByteArray csv = Teste::ler(de.exportar);
        QVERIFY(csv.contains("\"'=1+1\",\"'@SUM(1)\"") && csv.contains("\"'+55 11 3333\""));
    }

    Principal para;
    para.importar = {de.exportar};
    acionar(para, "acaoImportar");
    QCOMPARE(para.avisos.textos, QStringList{u"Contatos importados: 7. Ignorados: 0."_s});
    QCOMPARE(textos(lista(para.janela->modelo())), textos(lista(de.janela->modelo())));
}

void TestExchange::exportarRecusado_data()
{
    QTest::addColumn<QString>("alvo"); // in the folder; "" the contact file itself
    QTest::addColumn<bool>("ilegivel");
    QTest::addColumn<QString>("aviso");
    QTest::newRow("over the contact file") << QString() << false << Mensagens::EXPORTAR_SOBRE;
    QTest::newRow("over it by another path")
        << u"sub/../contatos.txt"_s << false << Mensagens::EXPORTAR_SOBRE;
#ifndef Q_OS_WIN
    QTest::newRow("over it through a link") << u"link.vcf"_s << false << Mensagens::EXPORTAR_SOBRE;
#endif
    // Nor over any other file the program keeps, by any path or case.
    QTest::newRow("over the sync's state")
        << u"sub/../Contatos.Sincronizacao"_s << false << Mensagens::ARQUIVO_DO_PROGRAMA;
    QTest::newRow("over a version") << u"contatos.historico/2026-12-08_14-32-05-120.txt"_s << false
                                    << Mensagens::ARQUIVO_DO_PROGRAMA;
    QTest::newRow("over the versions' folder")
        << u"CONTATOS.HISTORICO"_s << false << Mensagens::ARQUIVO_DO_PROGRAMA;
    QTest::newRow("over the settings")
        << u"config.ini"_s << false << Mensagens::ARQUIVO_DO_PROGRAMA;
    QTest::newRow("contact file unreadable")
        << u"saida.vcf"_s << true << ModeloPrincipal::AVISO_FALHA_LEITURA;
}

void TestExchange::exportarRecusado()
{
    QFETCH(QString, alvo);
    QFETCH(bool, ilegivel);
    const QByteArray inicial = Teste::arquivo({Teste::linha(u"Ana"_s, u"1"_s)});
    Principal p(&inicial);
    QDir(p.dir.path()).mkdir(u"sub"_s);
    QFile::link(p.caminho, p.dir.filePath(u"link.vcf"_s));
    p.exportar = alvo.isEmpty() ? p.caminho : p.dir.filePath(alvo);
    // The program's own files, as they stand.
    QDir(p.dir.path()).mkdir(u"contatos.historico"_s);
    const QStringList proprios{u"contatos.sincronizacao"_s, u"config.ini"_s,
                               u"contatos.historico/2026-12-08_14-32-05-120.txt"_s};
    for (const QString &f : proprios)
        Teste::gravar(p.dir.filePath(f), "intacto");
    std::optional<Teste::Travado> travado;
    if (ilegivel) {
        travado.emplace(p.caminho, false);
        QVERIFY(travado->ok());
    }
    acionar(p, "acaoExportar");
    QTEST(p.avisos.textos.value(0), "aviso");
    travado.reset();
    if (ilegivel)
        QVERIFY(!QFile::exists(p.exportar));
    else
        QCOMPARE(Teste::ler(p.caminho), inicial);
    for (const QString &f : proprios)
        QCOMPARE(Teste::ler(p.dir.filePath(f)), QByteArray("intacto"));
}

void TestExchange::exportarPeloDialogo_data()
{
    QTest::addColumn<bool>("csv");        // the CSV filter chosen
    QTest::addColumn<bool>("existe");     // "agenda" of that type is there already
    QTest::addColumn<bool>("substituir"); // the answer to the dialog's question
    QTest::newRow("vCard, not replaced") << false << true << false;
    QTest::newRow("vCard, replaced") << false << true << true;
    QTest::newRow("CSV by its filter") << true << false << false;
}

void TestExchange::dialogosDoQtEmPortugues_data()
{
    QTest::addColumn<QLocale>("sistema");
    QTest::newRow("Brasil") << QLocale(QLocale::Portuguese, QLocale::Brazil);
    QTest::newRow("Portugal") << QLocale(QLocale::Portuguese, QLocale::Portugal);
    QTest::newRow("outra língua") << QLocale(QLocale::German, QLocale::Germany);
}

void TestExchange::dialogosDoQtEmPortugues()
{
    // Qt's translations where the program looks for them: Debian's here,
    // those beside the program on Windows.
    QFETCH(QLocale, sistema);
    const QList<QTranslator *> traducoes = TraducaoQt::instalar(sistema);
    QCOMPARE(traducoes.size(), 2);
    const auto remover = qScopeGuard([traducoes] {
        for (QTranslator *t : traducoes) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    });
    Principal p(nullptr, false);
    p.dialogosReais = true;
    p.abrir();
    QStringList botoes;
    QTimer usuario;
    connect(&usuario, &QTimer::timeout, [&] {
        if (auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            for (const QPushButton *b : d->findChildren<QPushButton *>())
                botoes.append(QString(b->text()).remove(u'&'));
            d->reject();
        }
    });
    usuario.start(20);
    acionar(p, "acaoImportar");
    QVERIFY(botoes.contains(u"Abrir"_s));
    QVERIFY(botoes.contains(u"Cancelar"_s));
}

void TestExchange::exportarPeloDialogo()
{
    QFETCH(bool, csv);
    QFETCH(bool, existe);
    QFETCH(bool, substituir);
    const QByteArray inicial = Teste::arquivo({Teste::linha(u"Ana"_s, u"1"_s)});
    Principal p(&inicial, false);
    p.dialogosReais = true;
    p.abrir();
    const QString agenda = p.dir.filePath(csv ? u"agenda.csv"_s : u"agenda.vcf"_s);
    if (existe)
        Teste::gravar(agenda, "antigo");
    // A user types "agenda" with no type, and answers the question asked.
    QStringList perguntas;
    bool digitado = false;
    QTimer usuario;
    connect(&usuario, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *caixa = qobject_cast<QMessageBox *>(modal)) {
            perguntas.append(caixa->text());
            caixa->button(substituir ? QMessageBox::Yes : QMessageBox::No)->click();
        } else if (auto *d = qobject_cast<QFileDialog *>(modal)) {
            if (digitado) {
                d->reject();
                return;
            }
            QCOMPARE(d->objectName(), u"dialogoExportar"_s);
            d->setDirectory(p.dir.path());
            if (csv) {
                // Chosen in the dialog's list of types, as a user does.
                auto *tipos = d->findChild<QComboBox *>(u"fileTypeCombo"_s);
                QTest::keyClick(tipos, Qt::Key_Down);
                QCOMPARE(d->selectedNameFilter(), u"CSV (*.csv)"_s);
            }
            d->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(u"agenda"_s);
            digitado = true;
            // Queued: the question it asks is answered by the next tick.
            QMetaObject::invokeMethod(d, "accept", Qt::QueuedConnection);
        }
    });
    usuario.start(20);
    acionar(p, "acaoExportar");
    usuario.stop();
    QCOMPARE(perguntas.size(), existe ? 1 : 0);
    const QByteArray escrito = Teste::ler(agenda);
    if (existe && !substituir) {
        QCOMPARE(escrito, QByteArray("antigo"));
        QVERIFY(p.avisos.textos.isEmpty());
        return;
    }
    QCOMPARE(p.avisos.textos, QStringList{Mensagens::EXPORTADOS});
    QVERIFY(escrito.startsWith(csv ? "\xEF\xBB\xBFNome,Telefone,E-mail" : "BEGIN:VCARD"));
}

void TestExchange::importarSoArquivosComuns()
{
    Principal p;
    p.janela->show();
    // Refused at once, unread: a FIFO would never end, a huge file would
    // fill the memory.
    const QString grande = p.dir.filePath(u"grande.vcf"_s);
    {
        QFile f(grande);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(qint64(3) << 30));
    }
    p.janela->arquivos().importarArquivos({grande});
    QCOMPARE(p.avisos.textos, QStringList{Mensagens::grandeDemais(u"grande.vcf"_s)});
#ifndef Q_OS_WIN
    const QString fifo = p.dir.filePath(u"fila.vcf"_s);
    QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    p.janela->arquivos().importarArquivos({fifo});
    QCOMPARE(p.avisos.textos.value(1), Mensagens::naoLido(u"fila.vcf"_s));
#endif
    QCOMPARE(p.janela->modelo().lstInicio().count(), 0);
}

void TestExchange::menuDaLista()
{
    Principal p; // no contact: the list is disabled
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    auto *lst = p.filho<QListWidget>(u"lstContatos"_s);
    const auto menuAposCliqueEm = [&](QWidget *w) -> QStringList {
        // What a right click sends (offscreen makes none of its own).
        QContextMenuEvent clique(QContextMenuEvent::Mouse, QPoint(10, 10),
                                 w->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(w, &clique);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return {};
        QStringList acoes;
        for (QAction *a : menu->actions()) {
            if (!a->isSeparator())
                acoes.append(a->text() + (a->isEnabled() ? QString() : u" (off)"_s));
        }
        menu->close();
        return acoes;
    };
    QCOMPARE(menuAposCliqueEm(lst->viewport()),
             (QStringList{
                 u"Desfazer (off)"_s, u"Refazer (off)"_s, u"Procurar..."_s,
                 u"Padronizar telefones..."_s, u"Duplicados..."_s, u"Importar contatos..."_s,
                 u"Sincronização..."_s, u"Exportar contatos..."_s, u"Lista para imprimir..."_s,
                 u"Versões anteriores..."_s, u"Ligar (off)"_s, u"WhatsApp (off)"_s,
                 u"Enviar e-mail (off)"_s, u"Copiar telefone (off)"_s, u"Copiar e-mail (off)"_s}));
    QCOMPARE(menuAposCliqueEm(p.filho(u"lblDataHoje"_s)), QStringList());

    // The selected contact's fields to the clipboard.
    const QByteArray um = Teste::arquivo({Teste::linha(u"Ana"_s, u"(11) 1234"_s, u"ana@x"_s)});
    Teste::gravar(p.caminho, um);
    p.janela->comandos().acao(QStringLiteral("acao_imgRefresh"))->trigger();
    acionar(p, "acaoCopiarTelefone");
    QCOMPARE(QGuiApplication::clipboard()->text(), u"(11) 1234"_s);
    acionar(p, "acaoCopiarEmail");
    QCOMPARE(QGuiApplication::clipboard()->text(), u"ana@x"_s);
}

void TestExchange::abrirDoContato_data()
{
    // The selected contact's field, the command, and the link handed to the
    // system, or the notice instead.
    QTest::addColumn<QString>("telefone");
    QTest::addColumn<QString>("email");
    QTest::addColumn<QString>("acao");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("aviso");
    QTest::newRow("ligar") << u"(11) 98765-4321"_s << QString() << u"acaoLigar"_s
                           << u"tel:+5511987654321"_s << QString();
    QTest::newRow("WhatsApp, nono e +55 postos")
        << u"0 21 11 8765-4321"_s << QString() << u"acaoWhatsApp"_s
        << u"https://wa.me/5511987654321"_s << QString();
    QTest::newRow("WhatsApp estrangeiro") << u"+351 912 345 678"_s << QString() << u"acaoWhatsApp"_s
                                          << u"https://wa.me/351912345678"_s << QString();
    QTest::newRow("WhatsApp sem código de área")
        << u"98765-4321"_s << QString() << u"acaoWhatsApp"_s << QString()
        << Mensagens::SEM_WHATSAPP;
    QTest::newRow("ligar estrangeiro sem +1: como escrito")
        << u"(617) 555-1234"_s << QString() << u"acaoLigar"_s << u"tel:6175551234"_s << QString();
    QTest::newRow("WhatsApp estrangeiro sem +1")
        << u"(617) 555-1234"_s << QString() << u"acaoWhatsApp"_s << QString()
        << Mensagens::SEM_PAIS_WHATSAPP;
    QTest::newRow("não discável") << u"ramal 45"_s << QString() << u"acaoLigar"_s << QString()
                                  << Mensagens::NAO_DISCAVEL;
    QTest::newRow("e-mail") << QString() << u"ana@x.com"_s << u"acaoEnviarEmail"_s
                            << u"mailto:ana@x.com"_s << QString();
    QTest::newRow("e-mail não acrescenta campos")
        << QString() << u"a@x.com?cc=b@y&body=oi"_s << u"acaoEnviarEmail"_s
        << u"mailto:a@x.com%3Fcc=b@y&body=oi"_s << QString();
    QTest::newRow("e-mail inválido") << QString() << u"ana arroba x"_s << u"acaoEnviarEmail"_s
                                     << QString() << Mensagens::EMAIL_INVALIDO;
}

void TestExchange::abrirDoContato()
{
    QFETCH(QString, telefone);
    QFETCH(QString, email);
    QFETCH(QString, acao);
    QFETCH(QString, link);
    QFETCH(QString, aviso);
    const QByteArray um = Teste::arquivo({Teste::linha(u"Ana"_s, telefone, email)});
    Principal p(&um);
    p.janela->modelo().selecionar(0);
    acionar(p, acao.toLatin1().constData());
    QCOMPARE(p.enderecos.isEmpty() ? QString() : QString::fromUtf8(p.enderecos[0].toEncoded()),
             link);
    QCOMPARE(p.avisos.textos, aviso.isEmpty() ? QStringList() : QStringList{aviso});
}

QTEST_MAIN(TestExchange)
#include "test_exchange.moc"
