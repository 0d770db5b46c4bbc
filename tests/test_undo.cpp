// Undo, redo and the file's earlier versions, from the real window.

#include "chrome/lista_selecao_unica.h"
#include "dialogs/kv_adiciona.h"
#include "dialogs/kv_atualiza.h"
#include "dialogs/kv_contdel.h"
#include "dialogs/kv_duplicados.h"
#include "dialogs/kv_padroniza.h"
#include "dialogs/kv_versoes.h"
#include "gui_helpers.h"
#include "operations/desfazer_edicoes.h"
#include "operations/mensagens.h"
#include "store/historico_versoes.h"

#include <QAccessible>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QtTest>
#include <algorithm>

namespace {

enum class Mudanca { Inclusao, Atualizacao, Exclusao, Importacao, Restauracao };

// The file's contacts, whatever their order.
QList<QByteArray> linhas(const QByteArray &arquivo)
{
    QList<QByteArray> out;
    for (const QByteArray &l : arquivo.split('\n')) {
        const QByteArray t = l.trimmed();
        if (!t.isEmpty() && t != "\xEF\xBB\xBF")
            out.append(t);
    }
    std::sort(out.begin(), out.end());
    return out;
}

QString selecionado(const Teste::Principal &p)
{
    const auto c = p.janela->modelo().contatoSelecionado();
    return c ? c->Nome : QString();
}

QString textoDe(Teste::Principal &p, const char *acao)
{
    QMenu *menu = p.janela->comandos().criarMenu();
    QAction *a = Teste::acaoDoMenu(menu, QLatin1String(acao));
    const QString t = a->isEnabled() ? a->text() : QString();
    delete menu;
    return t;
}

// A key of the window's, as it comes with the window active.
void teclar(Teste::Principal &p, Qt::KeyboardModifiers mods, Qt::Key tecla)
{
    p.janela->activateWindow();
    if (!QTest::qWaitForWindowActive(p.janela.get()))
        qWarning("the window is not active");
    QTest::keyClick(p.janela.get(), tecla, mods);
}

} // namespace

class TestUndo : public QObject {
    Q_OBJECT

    const QByteArray m_tres =
        Teste::arquivo({Teste::linha(u"Ana"_s, u"1111"_s, u"ana@x"_s),
                        Teste::linha(u"Bia"_s, u"2222"_s), Teste::linha(u"Cid"_s, {}, u"cid@x"_s)});

    std::unique_ptr<Teste::Principal> janela(const QByteArray &conteudo)
    {
        auto p = std::make_unique<Teste::Principal>(&conteudo);
        p->janela->show();
        p->janela->activateWindow();
        return p;
    }

    // The change made from the window, as a user makes it.
    void mudar(Teste::Principal &p, Mudanca m)
    {
        KV_Principal &j = *p.janela;
        switch (m) {
        case Mudanca::Inclusao: {
            Teste::Passos<KV_Adiciona> passos([](KV_Adiciona *d) {
                d->txtNome()->setText(u"Davi"_s);
                d->txtFone()->setText(u"4444"_s);
                d->lblSim_Click();
                return true;
            });
            j.dialogos().adicionar();
            QVERIFY(passos.feito());
            break;
        }
        case Mudanca::Atualizacao: {
            j.modelo().mostrarContato(u"Ana");
            Teste::Passos<KV_Atualiza> passos([](KV_Atualiza *d) {
                d->txtNome()->setText(u"Ana Souza"_s);
                d->txtFone()->setText(u"9999"_s);
                d->lblSim_Click();
                return true;
            });
            j.dialogos().atualizar();
            QVERIFY(passos.feito());
            break;
        }
        case Mudanca::Exclusao: {
            j.modelo().mostrarContato(u"Bia");
            Teste::Passos<KV_ContDel> passos([](KV_ContDel *d) {
                d->lblSim_Click();
                return true;
            });
            j.dialogos().deletar();
            QVERIFY(passos.feito());
            break;
        }
        case Mudanca::Importacao: {
            const QString vcf = p.dir.filePath(u"novos.vcf"_s);
            Teste::gravar(vcf, "BEGIN:VCARD\r\nFN:Eva\r\nTEL:5\r\nEND:VCARD\r\n"
                               "BEGIN:VCARD\r\nFN:Fabio\r\nEND:VCARD\r\n");
            p.importar = {vcf};
            QMenu *menu = j.comandos().criarMenu();
            Teste::acaoDoMenu(menu, u"acaoImportar"_s)->trigger();
            delete menu;
            break;
        }
        case Mudanca::Restauracao:
            // The version kept before an add.
            restaurar(p, 0);
            break;
        }
    }

    void restaurar(Teste::Principal &p, int linha)
    {
        Teste::Passos<KV_Versoes> passos([linha](KV_Versoes *d) {
            if (!d->resumido())
                return false;
            d->lista()->setCurrentRow(linha);
            d->lblSim_Click();
            return true;
        });
        p.janela->dialogos().versoes();
        QVERIFY(passos.feito());
    }

private Q_SLOTS:
    void desfazerERefazer_data();
    void desfazerERefazer();
    void desfazerSoOQueEraSeu_data();
    void desfazerSoOQueEraSeu();
    void versoes();
    void limitesDoHistorico_data();
    void limitesDoHistorico();
    void historicoImpossivel();
    void padronizarTelefones_data();
    void padronizarTelefones();
    void juntarDuplicados_data();
    void juntarDuplicados();
};

void TestUndo::desfazerERefazer_data()
{
    QTest::addColumn<QByteArray>("conteudo");
    QTest::addColumn<Mudanca>("mudanca");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("mostrado"); // selected after the undo
    const QByteArray utf8 = "\xEF\xBB\xBF" + Teste::linha(u"Ana"_s, u"1"_s).toUtf8() + "\r\n" +
                            Teste::linha(u"Érica"_s).toUtf8() + "\r\n\r\n\r\n";
    QTest::newRow("inclusão") << m_tres << Mudanca::Inclusao << u"Desfazer inclusão de Davi"_s
                              << QString();
    QTest::newRow("atualização") << m_tres << Mudanca::Atualizacao
                                 << u"Desfazer atualização de Ana Souza"_s << u"Ana"_s;
    QTest::newRow("exclusão") << m_tres << Mudanca::Exclusao << u"Desfazer exclusão de Bia"_s
                              << u"Bia"_s;
    QTest::newRow("importação") << m_tres << Mudanca::Importacao
                                << u"Desfazer importação de 2 contatos"_s << QString();
    QTest::newRow("restauração, UTF-8 com marca")
        << utf8 << Mudanca::Restauracao << u"Desfazer restauração da versão de "_s << u"Davi"_s;
}

// Each kind of change taken back with Ctrl+Z, and done again with Ctrl+Y and
// Ctrl+Shift+Z: the file as it was each time, the contact shown, one notice.
void TestUndo::desfazerERefazer()
{
    QFETCH(QByteArray, conteudo);
    QFETCH(Mudanca, mudanca);
    QFETCH(QString, menu);
    QFETCH(QString, mostrado);
    auto p = janela(conteudo);
    QCOMPARE(textoDe(*p, "acaoDesfazer"), QString());
    QByteArray antes = conteudo;
    if (mudanca == Mudanca::Restauracao) {
        mudar(*p, Mudanca::Inclusao);
        antes = Teste::ler(p->caminho);
    }
    mudar(*p, mudanca);
    if (mudanca == Mudanca::Restauracao) // the version's own bytes, mark and all
        QCOMPARE(Teste::ler(p->caminho), conteudo);
    const QByteArray depois = Teste::ler(p->caminho);
    QVERIFY(textoDe(*p, "acaoDesfazer").startsWith(menu));
    QCOMPARE(textoDe(*p, "acaoRefazer"), QString());

    p->avisos.textos.clear();
    teclar(*p, Qt::ControlModifier, Qt::Key_Z);
    if (mudanca == Mudanca::Restauracao) // the very file it replaced
        QCOMPARE(Teste::ler(p->caminho), antes);
    QCOMPARE(linhas(Teste::ler(p->caminho)), linhas(antes));
    QCOMPARE(p->avisos.textos.size(), 1);
    QVERIFY(p->avisos.textos.front().endsWith(u" desfeita!"_s));
    if (!mostrado.isEmpty())
        QCOMPARE(selecionado(*p), mostrado);
    QVERIFY(textoDe(*p, "acaoRefazer").startsWith(menu.replace(u"Desfazer"_s, u"Refazer"_s)));

    teclar(*p, Qt::ControlModifier, Qt::Key_Y);
    QCOMPARE(linhas(Teste::ler(p->caminho)), linhas(depois));
    teclar(*p, Qt::ControlModifier, Qt::Key_Z);
    teclar(*p, Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
    QCOMPARE(linhas(Teste::ler(p->caminho)), linhas(depois));
    QVERIFY(p->avisos.textos.back().endsWith(u" refeita!"_s));
    QCOMPARE(p->janela->modelo().lblTotalContatos(), QString::number(linhas(depois).size()));
}

void TestUndo::desfazerSoOQueEraSeu_data()
{
    QTest::addColumn<Mudanca>("mudanca");
    QTest::addColumn<QString>("outro"); // the line another program writes meanwhile
    QTest::addColumn<QString>("aviso"); // empty: undone
    QTest::newRow("o contato mudou") << Mudanca::Atualizacao << Teste::linha(u"Ana Souza"_s, u"7"_s)
                                     << u"Não foi possível desfazer: o contato Ana Souza foi "
                                        "alterado depois!"_s;
    QTest::newRow("outro com o nome")
        << Mudanca::Exclusao << Teste::linha(u"BIA"_s, u"8"_s)
        << u"Não foi possível desfazer: já existe outro contato Bia!"_s;
    QTest::newRow("outro contato")
        << Mudanca::Exclusao << Teste::linha(u"Zé"_s, u"9"_s) << QString();
}

// Another program changes the file after the change: the undo touches only
// the change's own contacts, and refuses where one of them changed since.
void TestUndo::desfazerSoOQueEraSeu()
{
    QFETCH(Mudanca, mudanca);
    QFETCH(QString, outro);
    QFETCH(QString, aviso);
    auto p = janela(m_tres);
    mudar(*p, mudanca);
    // Their own line in place of the change's, or beside it.
    QString texto = Cp1252::decode(Teste::ler(p->caminho));
    if (mudanca == Mudanca::Atualizacao)
        texto.replace(Teste::linha(u"Ana Souza"_s, u"9999"_s, u"ana@x"_s), outro);
    else
        texto.prepend(outro + u"\r\n"_s);
    Teste::gravar(p->caminho, Cp1252::encode(texto));
    const QByteArray deles = Teste::ler(p->caminho);
    p->avisos.textos.clear();
    teclar(*p, Qt::ControlModifier, Qt::Key_Z);
    if (!aviso.isEmpty()) {
        QCOMPARE(p->avisos.textos, QStringList{aviso});
        QCOMPARE(Teste::ler(p->caminho), deles);
        return;
    }
    QVERIFY(p->avisos.textos.front().endsWith(u"desfeita!"_s));
    QList<QByteArray> esperado = linhas(m_tres);
    esperado.append(Cp1252::encode(outro));
    std::sort(esperado.begin(), esperado.end());
    QCOMPARE(linhas(Teste::ler(p->caminho)), esperado);
}

// The versions dialog lists what each version holds against the file now,
// and a restore writes the version back as it was stored.
void TestUndo::versoes()
{
    auto p = janela(m_tres);
    QCOMPARE(HistoricoVersoes(p->caminho).versoes().size(), 0);
    mudar(*p, Mudanca::Exclusao); // version 1: the three
    mudar(*p, Mudanca::Inclusao); // version 2: Ana, Cid
    bool listado = false;
    Teste::Passos<KV_Versoes> passos([&](KV_Versoes *d) {
        if (!d->resumido())
            return false;
        QStringList itens;
        for (int i = 0; i < d->lista()->count(); ++i)
            itens.append(d->lista()->item(i)->text().section(u'\n', 1));
        listado = itens == QStringList{u"2 contatos  +0 −1 ~0"_s, u"3 contatos  +1 −1 ~0"_s};
        if (!listado)
            qWarning() << itens;
        d->lblNao_Click();
        return true;
    });
    p->janela->dialogos().versoes();
    QVERIFY(passos.feito());
    QVERIFY(listado);
    restaurar(*p, 1);
    QCOMPARE(Teste::ler(p->caminho), m_tres);
    QVERIFY(p->avisos.textos.back().startsWith(u"Versão de "_s));
    // The file it replaced is a version too.
    QCOMPARE(HistoricoVersoes(p->caminho).versoes().size(), 3);
}

void TestUndo::limitesDoHistorico_data()
{
    QTest::addColumn<int>("horas"); // between writes
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<int>("guardadas");
    // Twelve writes; kept: the last 4, the newest of each of 3 days, at
    // least 2 whatever their size.
    QTest::newRow("as últimas") << 0 << qint64(1) << 4;
    QTest::newRow("uma por dia") << 12 << qint64(1) << 5;
    QTest::newRow("o tamanho") << 0 << qint64(0) << 2;
}

// The limits of the history, by the window's own writes, on a clock the
// test moves.
void TestUndo::limitesDoHistorico()
{
    QFETCH(int, horas);
    QFETCH(qint64, bytes);
    QFETCH(int, guardadas);
    Teste::Principal p(&m_tres, false);
    QDateTime agora(QDate(2026, 12, 1), QTime(6, 0));
    p.agora = [&agora] { return agora; };
    p.limites = {4, 3, bytes ? 50LL * 1024 * 1024 : 1, 2};
    p.abrir();
    p.janela->show();
    mudar(p, Mudanca::Inclusao);
    for (int i = 1; i < 12; ++i) {
        agora = agora.addSecs(horas * 3600 + 1);
        teclar(p, Qt::ControlModifier, i % 2 ? Qt::Key_Z : Qt::Key_Y);
    }
    QCOMPARE(p.avisos.textos.size(), 12);
    QCOMPARE(HistoricoVersoes(p.caminho).versoes().size(), guardadas);
}

// A history that cannot be written never stops an edit, and is told once.
void TestUndo::historicoImpossivel()
{
    Teste::Principal p(&m_tres, false);
    // A file where the folder would be: root writes through permissions.
    Teste::gravar(HistoricoVersoes::pastaAoLado(p.caminho), "x");
    p.abrir();
    p.janela->show();
    mudar(p, Mudanca::Inclusao);
    QCOMPARE(p.avisos.textos, (QStringList{Mensagens::INSERIDO, Mensagens::SEM_VERSOES}));
    teclar(p, Qt::ControlModifier, Qt::Key_Z);
    QCOMPARE(p.avisos.textos.size(), 3);
    QCOMPARE(linhas(Teste::ler(p.caminho)), linhas(m_tres));
}

void TestUndo::padronizarTelefones_data()
{
    // The style chosen, another program's change meanwhile, what the dialog
    // lists, what is written.
    QTest::addColumn<TelefoneBrasileiro::Estilo>("estilo");
    QTest::addColumn<bool>("outroPrograma");
    QTest::addColumn<QStringList>("listados");
    QTest::addColumn<QStringList>("depois");
    const QString ana = u"Ana\n011 8765-4321 ramal 2 \u2192 "_s;
    const QString eva = u"Eva\n21 98765 4321 \u2192 "_s;
    QTest::newRow("nacional") << TelefoneBrasileiro::Estilo::Nacional << false
                              << QStringList{ana + u"(11) 98765-4321 ramal 2"_s,
                                             eva + u"(21) 98765-4321"_s}
                              << QStringList{u"(11) 98765-4321 ramal 2"_s, u"(21) 2345-6789"_s};
    QTest::newRow("internacional")
        << TelefoneBrasileiro::Estilo::Internacional << false
        << QStringList{ana + u"+55 11 98765-4321 ramal 2"_s,
                       u"Bia\n(21) 2345-6789 \u2192 +55 21 2345-6789"_s,
                       eva + u"+55 21 98765-4321"_s}
        << QStringList{u"+55 11 98765-4321 ramal 2"_s, u"+55 21 2345-6789"_s};
    QTest::newRow("outro programa mudou o arquivo")
        << TelefoneBrasileiro::Estilo::Nacional << true
        << QStringList{ana + u"(11) 98765-4321 ramal 2"_s, eva + u"(21) 98765-4321"_s}
        << QStringList();
}

void TestUndo::padronizarTelefones()
{
    QFETCH(TelefoneBrasileiro::Estilo, estilo);
    QFETCH(bool, outroPrograma);
    QFETCH(QStringList, listados);
    QFETCH(QStringList, depois);
    const auto arquivo = [](const QString &ana, const QString &bia) {
        return Teste::arquivo({Teste::linha(u"Ana"_s, ana, u"a@x"_s), Teste::linha(u"Bia"_s, bia),
                               Teste::linha(u"Caio"_s, u"+1 212 555 0100"_s),
                               Teste::linha(u"Duda"_s, u"0800 123 4567"_s),
                               Teste::linha(u"Eva"_s, u"21 98765 4321"_s),
                               // Foreign without +1, and a number and its extension:
                               // not Brazilian, never listed.
                               Teste::linha(u"Fred"_s, u"(617) 555-1234"_s),
                               Teste::linha(u"Gil"_s, u"3333-4444 / 21"_s)});
    };
    const QByteArray antes = arquivo(u"011 8765-4321 ramal 2"_s, u"(21) 2345-6789"_s);
    auto p = janela(antes);
    const QByteArray alheio = antes + Teste::arquivo({Teste::linha(u"Zeca"_s)});
    QStringList itens;
    QList<bool> marcados;
    // Eva's is left unchecked.
    Teste::Passos<KV_Padroniza> passos([&](KV_Padroniza *d) {
        d->opcao(estilo)->click();
        for (int i = 0; i < d->lista()->count(); ++i)
            itens.append(d->lista()->item(i)->text());
        d->lista()->item(d->lista()->count() - 1)->setCheckState(Qt::Unchecked);
        // Each told to screen readers as a check box, checked or not.
        QAccessibleInterface *lista = QAccessible::queryAccessibleInterface(d->lista());
        for (int i = 0; i < d->lista()->count(); ++i) {
            QAccessibleInterface *item = lista->child(i);
            marcados.append(item->role() == QAccessible::CheckBox && item->state().checkable &&
                            item->state().checked);
        }
        if (outroPrograma)
            Teste::gravar(p->caminho, alheio);
        d->lblSim_Click();
        return true;
    });
    p->janela->findChild<QAction *>(u"acaoPadronizar"_s)->trigger();
    QVERIFY(passos.feito());
    QCOMPARE(itens, listados);
    QCOMPARE(marcados.size(), listados.size());
    QCOMPARE(marcados.count(true), listados.size() - 1);
    QVERIFY(!marcados.last());
    if (outroPrograma) {
        QCOMPARE(p->avisos.textos, QStringList{Mensagens::ALTERADA});
        QCOMPARE(Teste::ler(p->caminho), alheio);
        return;
    }
    QCOMPARE(Teste::ler(p->caminho), arquivo(depois[0], depois[1]));
    QCOMPARE(p->avisos.textos, QStringList{Mensagens::padronizados(listados.size() - 1)});
    // One change, taken back whole.
    p->janela->findChild<QAction *>(u"acaoDesfazer"_s)->trigger();
    QCOMPARE(Teste::ler(p->caminho), antes);
    QCOMPARE(p->avisos.textos.last(), QStringLiteral("Padronização de %1 telefones desfeita!")
                                          .arg(listados.size() - 1)
                                          .replace(u"de 1 telefones"_s, u"de 1 telefone"_s));
}

void TestUndo::juntarDuplicados_data()
{
    QTest::addColumn<QString>("caso");
    QTest::newRow("juntar, cada campo de um") << u"juntar"_s;
    QTest::newRow("outro programa mudou o arquivo") << u"alheio"_s;
    QTest::newRow("não são a mesma pessoa") << u"distintos"_s;
    QTest::newRow("importados parecidos") << u"importar"_s;
}

// Ctrl+Shift+D: the groups that may be one person, why, and what would not
// stay in the file; a merge written as one change Ctrl+Z takes back; a
// group said to be two people not offered again.
void TestUndo::juntarDuplicados()
{
    QFETCH(QString, caso);
    const QString bia = Teste::linha(u"Bia"_s, u"(21) 2345-6789"_s);
    const QByteArray antes =
        Teste::arquivo({Teste::linha(u"Ana Souza"_s, u"(11) 98765-4321"_s), bia,
                        Teste::linha(u"Souza, Ana"_s, u"011 8765-4321 ramal 2"_s, u"ana@x.com"_s)});
    auto p = janela(caso == u"importar"
                        ? Teste::arquivo({Teste::linha(u"Ana Souza"_s, u"(11) 98765-4321"_s), bia})
                        : antes);
    if (caso == u"importar") {
        const QString vcf = QFileInfo(p->caminho).dir().filePath(u"novos.vcf"_s);
        Teste::gravar(vcf, "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Souza\\, Ana\r\nTEL:+55 11 "
                           "8765-4321\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:Caio\r\n"
                           "END:VCARD\r\n");
        p->janela->arquivos().importarArquivos({vcf});
        QCOMPARE(p->avisos.textos.last(), Mensagens::parecidos(1));
    }
    const QByteArray alheio = antes + Teste::arquivo({Teste::linha(u"Zeca"_s)});
    QString grupo, perde;
    Teste::Passos<KV_Duplicados> passos([&](KV_Duplicados *d) {
        grupo = d->findChild<QLabel *>(u"lblQuantos"_s)->text() + u": "_s +
                d->findChild<QLabel *>(u"lblGrupo"_s)->toolTip();
        if (caso == u"importar") {
            d->lblNao_Click();
            return true;
        }
        if (caso == u"distintos") {
            d->lblDistintos_Click();
            return true;
        }
        // The first one's name, the second's telephone and e-mail.
        for (int i = 0; i < d->lista()->count(); ++i) {
            if (d->lista()->item(i)->text() == u"011 8765-4321 ramal 2")
                d->lista()->item(i)->setCheckState(Qt::Checked);
        }
        perde = d->findChild<QLabel *>(u"lblPerde"_s)->toolTip();
        if (caso == u"alheio")
            Teste::gravar(p->caminho, alheio);
        d->lblSim_Click();
        // It stays open while groups are left (here after a refusal).
        if (d->grupos() > 0)
            d->lblNao_Click();
        return true;
    });
    teclar(*p, Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_D);
    QVERIFY(passos.feito());
    QCOMPARE(grupo, u"1 de 1: Mesmo telefone, mesmas palavras no nome"_s);
    if (caso == u"importar")
        return;
    if (caso == u"distintos") {
        QCOMPARE(Teste::ler(p->caminho), antes);
        Teste::Passos<KV_Duplicados> outra([&](KV_Duplicados *d) {
            grupo = d->findChild<QLabel *>(u"lblGrupo"_s)->text();
            d->lblNao_Click();
            return true;
        });
        teclar(*p, Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_D);
        QVERIFY(outra.feito());
        QCOMPARE(grupo, u"Nenhum contato parece repetido."_s);
        return;
    }
    QCOMPARE(perde, u"Não fica no contatos.txt: (11) 98765-4321; Souza, Ana."_s);
    if (caso == u"alheio") {
        QCOMPARE(p->avisos.textos, QStringList{Mensagens::ALTERADA});
        QCOMPARE(Teste::ler(p->caminho), alheio);
        return;
    }
    QCOMPARE(linhas(Teste::ler(p->caminho)),
             linhas(Teste::arquivo(
                 {Teste::linha(u"Ana Souza"_s, u"011 8765-4321 ramal 2"_s, u"ana@x.com"_s), bia})));
    QCOMPARE(p->avisos.textos, QStringList{Mensagens::juntados(2, u"Ana Souza"_s)});
    QCOMPARE(selecionado(*p), u"Ana Souza"_s);
    teclar(*p, Qt::ControlModifier, Qt::Key_Z);
    QCOMPARE(linhas(Teste::ler(p->caminho)), linhas(antes));
    QCOMPARE(p->avisos.textos.last(), u"Junção de 2 contatos em Ana Souza desfeita!"_s);
}

QTEST_MAIN(TestUndo)
#include "test_undo.moc"
