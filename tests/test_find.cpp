// Finding contacts by any part of any field: the matching rules, and the
// find dialog from the real window.

#include "chrome/lista_selecao_unica.h"
#include "dialogs/kv_procura.h"
#include "gui_helpers.h"

#include <QLineEdit>
#include <QtTest>

namespace {

const QStringList CONTATOS = {
    Teste::linha(u"Ana Souza"_s, u"(11) 9 8765-4321"_s, u"ana@exemplo.com.br"_s),
    Teste::linha(u"Maria Ana Lima"_s, u"(21) 3333-4444"_s, u"maria@outro.org"_s),
    Teste::linha(u"Bruno"_s, u"+55 11 3030-4040"_s, u"banana@feira.com"_s),
    Teste::linha(u"João Souza"_s, u"11 2222-1111"_s),
    Teste::linha(u"Anabela"_s, {}, u"anabela@exemplo.com.br"_s),
    Teste::linha(u"0800 Farmácia"_s, u"0800 123 4567"_s),
    Teste::linha(u"\u00D8rjan"_s, u"4747"_s),
};

QStringList nomes(Teste::Principal &p, const QString &consulta)
{
    QStringList out;
    const ModeloPrincipal &m = p.janela->modelo();
    for (const auto &a : p.janela->modelo().procurar(consulta).achados)
        out.append(m.lstInicio().nome(a.indice).toString());
    return out;
}

} // namespace

class TestFind : public QObject {
    Q_OBJECT
    QByteArray m_arquivo = Teste::arquivo(CONTATOS);

private Q_SLOTS:
    void regras_data();
    void regras();
    void cemNoMaximo();
    void dialogo();
};

void TestFind::regras_data()
{
    QTest::addColumn<QString>("consulta");
    QTest::addColumn<QStringList>("achados");
    QTest::newRow("sobrenome") << u"souza"_s << QStringList{u"Ana Souza"_s, u"João Souza"_s};
    QTest::newRow("sem acento nem caixa") << u"JOAO"_s << QStringList{u"João Souza"_s};
    QTest::newRow("acento digitado") << u"farmácia"_s << QStringList{u"0800 Farmácia"_s};
    QTest::newRow("só o começo de palavras") << u"ouza"_s << QStringList{};
    QTest::newRow("dígitos juntos") << u"98765"_s << QStringList{u"Ana Souza"_s};
    QTest::newRow("dígitos separados") << u"9 8765"_s << QStringList{u"Ana Souza"_s};
    QTest::newRow("com o código do país") << u"+55 11"_s << QStringList{u"Bruno"_s};
    QTest::newRow("parte do e-mail")
        << u"exemplo.com"_s << QStringList{u"Ana Souza"_s, u"Anabela"_s};
    // Names that start so, then names with a word that does, then the rest.
    QTest::newRow("a melhor primeiro")
        << u"ana"_s << QStringList{u"Ana Souza"_s, u"Anabela"_s, u"Maria Ana Lima"_s, u"Bruno"_s};
    QTest::newRow("cada palavra") << u"ana li"_s << QStringList{u"Maria Ana Lima"_s};
    QTest::newRow("nome com dígitos") << u"0800"_s << QStringList{u"0800 Farmácia"_s};
    QTest::newRow("fora das abas") << u"orjan"_s << QStringList{u"\u00D8rjan"_s};
    QTest::newRow("nada") << u"zzz"_s << QStringList{};
    QTest::newRow("vazio") << u"  "_s << QStringList{};
}

void TestFind::regras()
{
    QFETCH(QString, consulta);
    QFETCH(QStringList, achados);
    Teste::Principal p(&m_arquivo);
    QCOMPARE(nomes(p, consulta), achados);
    // Typed a key at a time, each search among the last one's matches.
    for (qsizetype k = 1; k <= consulta.size(); ++k)
        nomes(p, consulta.left(k));
    QCOMPARE(nomes(p, consulta), achados);
}

// At most a hundred, in the list's order, with the count of all; the index
// follows the list when it changes.
void TestFind::cemNoMaximo()
{
    QStringList linhas;
    for (int i = 0; i < 150; ++i)
        linhas.append(Teste::linha(u"Silva %1"_s.arg(i, 3, 10, QChar(u'0'))));
    const QByteArray muitos = Teste::arquivo(linhas);
    Teste::Principal p(&muitos);
    const auto r = p.janela->modelo().procurar(u"silva"_s);
    QCOMPARE(r.total, 150);
    QCOMPARE(r.achados.size(), 100);
    QCOMPARE(p.janela->modelo().lstInicio().nome(r.achados.back().indice), u"Silva 099");
    Teste::gravar(p.caminho, Teste::arquivo({Teste::linha(u"Silva"_s)}));
    p.janela->comandos().acao(QStringLiteral("acao_imgRefresh"))->trigger();
    QCOMPARE(p.janela->modelo().procurar(u"silva"_s).total, 1);
}

// Ctrl+F, typed, Down, Enter: the contact shown as the typing find shows
// it; Escape moves nothing; one no tab lists is told in a notice.
void TestFind::dialogo()
{
    Teste::Principal p(&m_arquivo);
    p.janela->show();
    const auto procurar = [&](const QString &texto, QList<int> teclas) {
        QStringList vistos;
        Teste::Passos<KV_Procura> passos([&](KV_Procura *d) {
            for (const QChar c : texto)
                QTest::sendKeyEvent(QTest::Click, d->txtProcura(), Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
            for (int i = 0; i < d->achados()->count(); ++i)
                vistos.append(d->achados()->item(i)->text());
            vistos.append(d->lblMais()->text());
            for (const int k : teclas)
                QTest::keyClick(d->txtProcura(), Qt::Key(k));
            return true;
        });
        p.janela->activateWindow();
        if (!QTest::qWaitForWindowActive(p.janela.get()))
            return QStringList{u"not active"_s};
        QTest::keyClick(p.janela.get(), Qt::Key_F, Qt::ControlModifier);
        return passos.feito() ? vistos : QStringList{u"not opened"_s};
    };
    QCOMPARE(procurar(u"souza"_s, {Qt::Key_Down, Qt::Key_Return}),
             (QStringList{u"Ana Souza  (11) 9 8765-4321"_s, u"João Souza  11 2222-1111"_s, {}}));
    const auto selecionado = p.janela->modelo().contatoSelecionado();
    QVERIFY(selecionado);
    QCOMPARE(selecionado->Nome, u"João Souza"_s);
    QCOMPARE(p.janela->modelo().navegacao().lblLetraInicial, u"i"_s);

    // An e-mail shows the e-mail; nothing found says so; Escape moves nothing.
    QCOMPARE(procurar(u"feira"_s, {Qt::Key_Escape}),
             (QStringList{u"Bruno  banana@feira.com"_s, {}}));
    QCOMPARE(p.janela->modelo().contatoSelecionado()->Nome, u"João Souza"_s);
    QCOMPARE(procurar(u"zzz"_s, {Qt::Key_Escape}), QStringList{u"Nenhum contato encontrado."_s});

    procurar(u"orjan"_s, {Qt::Key_Return});
    QCOMPARE(p.avisos.textos.last(), u"\u00D8rjan\nTelefone: 4747\nE-mail: "_s);
}

QTEST_MAIN(TestFind)
#include "test_find.moc"
