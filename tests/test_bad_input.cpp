#include "gerador.h"
#include "gui_helpers.h"
#include "operations/duplicados.h"
#include "operations/edicao_contatos.h"
#include "operations/mensagens.h"
#include "store/formato_contatos.h"

#include <QDir>
#include <QListWidget>
#include <QRandomGenerator>
#include <QSettings>
#include <QTest>

using Teste::Principal;

// Files and folders no phone book should meet, and how it meets them: it
// works, or it says what is wrong in Portuguese; nothing is lost.
class TestBadInput : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void arquivoBinario();
    void arquivoDeCinquentaMegabytes();
    void linhaDeDezMegabytes();
    void soSeparadores();
    void pastaComONomeDoArquivo();
    void pastaOndeNadaSeGrava();
    void configuracoesComLixo();
};

void TestBadInput::arquivoBinario()
{
    QByteArray lixo(1 << 20, Qt::Uninitialized);
    QRandomGenerator r(3);
    for (char &c : lixo)
        c = char(r.bounded(256));
    Principal p(&lixo);
    QVERIFY(p.avisos.textos.isEmpty());
    const QList<ContactRecord> antes = FormatoContatos::lerRegistros(lixo);
    QCOMPARE(p.filho<QLabel>(u"lblTotalContatos"_s)->text(), QString::number(antes.size()));
    // Adding keeps every contact the file held.
    EdicaoContatos e(p.janela->modelo());
    QCOMPARE(e.adicionar(u"Zé Novo"_s, {}, {}).avisos, QStringList{Mensagens::INSERIDO});
    const QList<ContactRecord> depois =
        antes + QList<ContactRecord>{ContactRecord{u"Zé Novo"_s, QString(), QString()}};
    QCOMPARE(FormatoContatos::lerRegistros(Teste::ler(p.caminho)), depois);
}

void TestBadInput::arquivoDeCinquentaMegabytes()
{
    QByteArray grande = Gerador::arquivo(730000);
    QVERIFY(grande.size() > 50'000'000);
    Principal p(&grande);
    QVERIFY(p.avisos.textos.isEmpty());
    QCOMPARE(p.janela->modelo().lstInicio().count(), 730000);
    QCOMPARE(p.filho<QListWidget>(u"lstContatos"_s)->count(), 10);
}

void TestBadInput::linhaDeDezMegabytes()
{
    const QByteArray linha = QByteArray(10 << 20, 'A') + "\x7F"
                                                         "1\x7F"
                                                         "e\r\n";
    Principal p(&linha);
    QCOMPARE(p.filho<QLabel>(u"lblTotalContatos"_s)->text(), u"1"_s);
    auto *lst = p.filho<QListWidget>(u"lstContatos"_s);
    QCOMPARE(lst->count(), 1);
    QCOMPARE(lst->item(0)->text().size(), (10 << 20) + 7);
    // Deleting it leaves the file as the writers shape it.
    EdicaoContatos e(p.janela->modelo());
    QCOMPARE(e.deletar(QString(10 << 20, u'A')).avisos, QStringList{Mensagens::DELETADO});
    QCOMPARE(Teste::ler(p.caminho), QByteArray("\r\n\r\n"));
}

void TestBadInput::soSeparadores()
{
    const QByteArray so = "\x7F\x7F\r\n\x7F\x7F\x7F\x7F\x7F\r\n\x7F\r\n";
    Principal p(&so);
    QCOMPARE(p.filho<QLabel>(u"lblTotalContatos"_s)->text(), u"3"_s);
    // Nameless contacts belong to no tab.
    for (int g = 0; g < NUM_GRUPOS; ++g) {
        p.janela->modelo().escolherAba(g);
        QVERIFY(!p.filho<QListWidget>(u"lstContatos"_s)->isEnabled());
    }
}

void TestBadInput::pastaComONomeDoArquivo()
{
    Principal p(nullptr, false);
    QVERIFY(QDir(p.dir.path()).mkdir(u"contatos.txt"_s));
    p.abrir();
    QCoreApplication::processEvents(); // the start-up notice waits for the event loop
    QCOMPARE(p.avisos.textos, QStringList{ModeloPrincipal::AVISO_FALHA_LEITURA});
    EdicaoContatos e(p.janela->modelo());
    QCOMPARE(e.adicionar(u"Ana"_s, {}, {}).avisos,
             QStringList{ModeloPrincipal::AVISO_FALHA_LEITURA});
    QVERIFY(QFileInfo(p.caminho).isDir());
}

void TestBadInput::pastaOndeNadaSeGrava()
{
    // Nothing can be made in /proc, not even by root.
    if (!QFileInfo(u"/proc/self"_s).isDir())
        QSKIP("no /proc here");
    OpcoesPrincipal o;
    Teste::AvisosGravados avisos;
    QTemporaryDir dir;
    o.caminhoArquivo = u"/proc/contatos.txt"_s;
    o.locale = Teste::ptBR();
    o.avisos = &avisos;
    o.arquivoConfiguracoes = dir.filePath(u"c.ini"_s);
    KV_Principal janela(std::move(o));
    QCoreApplication::processEvents();
    QCOMPARE(avisos.textos, QStringList{ModeloPrincipal::AVISO_FALHA_CRIACAO});
    EdicaoContatos e(janela.modelo());
    QCOMPARE(e.adicionar(u"Ana"_s, {}, {}).avisos, QStringList{Mensagens::FALHA_GRAVACAO});
}

void TestBadInput::configuracoesComLixo()
{
    Principal p(nullptr, false);
    QByteArray lixo(4096, Qt::Uninitialized);
    QRandomGenerator r(5);
    for (char &c : lixo)
        c = char(r.bounded(256));
    Teste::gravar(p.ini(), "[Posi%U00e7%U00f5es]\nPosi%U00e7%U00e3o-Topo=" + lixo +
                               "\n[duplicados]\ndistintos=" + lixo);
    p.abrir();
    // The first run's place on a 1024 x 768 screen, written back clean.
    QCOMPARE(p.janela->posicaoTwips(), QPointF(12420, 6490));
    p.janela->close();
    QSettings s(p.ini(), QSettings::IniFormat);
    QCOMPARE(s.value(u"Posições/Posição-Topo"_s).toString(), u"6490"_s);
    QCOMPARE(s.value(u"Posições/Posição-Esquerda"_s).toString(), u"12420"_s);
    // The answers "não são a mesma pessoa": strings only, and so many at most.
    Duplicados::lembrarDistintos(s, u"Ana\nBia"_s);
    QVERIFY(Duplicados::distintos(s).contains(u"Ana\nBia"_s));
    s.setValue(u"duplicados/distintos"_s, QVariant::fromValue(QList<int>{1, 2}));
    QVERIFY(Duplicados::distintos(s).size() <= 2);
    QStringList muitos;
    for (int i = 0; i < Duplicados::DISTINTOS_MAXIMO + 5; ++i)
        muitos.append(QString::number(i));
    s.setValue(u"duplicados/distintos"_s, muitos);
    QCOMPARE(Duplicados::distintos(s).size(), Duplicados::DISTINTOS_MAXIMO);
    QVERIFY(!Duplicados::distintos(s).contains(u"0"_s));
}

QTEST_MAIN(TestBadInput)
#include "test_bad_input.moc"
