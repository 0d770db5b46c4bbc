// Sync from the real window, against Radicale on loopback.

#include "chrome/icone_bandeja.h"
#include "chrome/lista_selecao_unica.h"
#include "dialogs/kv_adiciona.h"
#include "dialogs/kv_atualiza.h"
#include "dialogs/kv_confirma_sincronizacao.h"
#include "dialogs/kv_contdel.h"
#include "dialogs/kv_duplicados.h"
#include "dialogs/kv_sincroniza.h"
#include "dialogs/kv_versoes.h"
#include "gui_helpers.h"
#include "operations/conta_sincronizacao.h"
#include "operations/mensagens.h"
#include "partes.h"
#include "radicale.h"
#include "sync/estado_sincronizacao.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray cartao(const QByteArray &uid, const QByteArray &nome, const QByteArray &fone)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\nFN:" + nome + "\r\nN:" + nome +
           ";;;;\r\nTEL:" + fone + "\r\nEND:VCARD\r\n";
}

// A card as a phone keeps it: more than the phone book shows.
QByteArray completo(const QByteArray &uid, const QByteArray &nome, const QByteArray &fone)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\nFN:" + nome + "\r\nN:" + nome +
           ";;;;\r\nTEL;TYPE=CELL:" + fone +
           "\r\nADR;TYPE=HOME:;;Rua A\\, 1;São Paulo;SP;;BR\r\nBDAY:1990-05-17\r\n"
           "NOTE:de " +
           uid + "\r\nEND:VCARD\r\n";
}

// Whether the card is still the phone's own: its UID and all it had.
bool inteiro(const QByteArray &card, const QByteArray &uid)
{
    return card.contains("UID:" + uid + "\r\n") && card.contains("BDAY:1990-05-17\r\n") &&
           card.contains("ADR;TYPE=HOME:;;Rua A\\, 1") && card.contains("NOTE:de " + uid);
}

QStringList nomes(const QListWidget *lst)
{
    QStringList out;
    for (int i = 0; i < lst->count(); ++i)
        out.append(lst->item(i)->text().section(u'\t', 0, 0));
    return out;
}

} // namespace

class TestSyncWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<Radicale> m_servidor;

    // The main window, shown, with the sync's waits made short.
    std::unique_ptr<Teste::Principal> janela(const QByteArray &conteudo)
    {
        auto p = std::make_unique<Teste::Principal>(&conteudo);
        p->janela->sincronizacao().controle().setEsperas(100, 60'000);
        p->janela->show();
        return p;
    }

    // "Sincronização..." from the list's context menu; the steps run in it.
    void abrir(Teste::Principal &p, std::function<bool(KV_Sincroniza *)> passo)
    {
        Teste::Passos<KV_Sincroniza> passos(std::move(passo));
        QMenu *menu = p.janela->comandos().criarMenu();
        auto *acao = Teste::acaoDoMenu(menu, u"acaoSincronizacao"_s);
        QVERIFY(acao);
        acao->trigger();
        menu->close();
        QVERIFY(passos.feito());
    }

    // Types the account into the dialog and connects with the keyboard.
    void conectar(Teste::Principal &p, const QString &senha)
    {
        bool digitado = false, teclado = true;
        abrir(p, [&](KV_Sincroniza *d) {
            if (!digitado) {
                teclado = d->controle(u"lblSim"_s)->accessibleName() == u"Conectar"_s &&
                          QApplication::focusWidget() == d->txtEndereco();
                Teste::digitar(d->txtEndereco(), m_servidor->raiz().toString());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                Teste::digitar(QApplication::focusWidget(), QString::fromUtf8(Radicale::USUARIO));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                Teste::digitar(QApplication::focusWidget(), senha);
                teclado = teclado && QApplication::focusWidget() == d->txtSenha();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                digitado = true;
                return false;
            }
            if (p.janela->sincronizacao().conectando())
                return false;
            QTest::keyClick(d, Qt::Key_Escape);
            return true;
        });
        QVERIFY(teclado);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!Radicale::disponivel())
            QFAIL("radicale is not installed (scripts/deps.sh test)");
    }

    void init()
    {
        // One server for every test, as new for each.
        if (!m_servidor)
            m_servidor = std::make_unique<Radicale>();
        QVERIFY(m_servidor->limpar());
    }

    // "contatos.txt" moved away after a sync (a folder moved, a drive not
    // there): the program starts with an empty file, and its sync deletes
    // nothing on the server, says so once, and F5 asks, keeping first.
    void arquivoSumido()
    {
        QStringList linhas;
        for (int i = 1; i <= 7; ++i)
            linhas.append(Teste::linha(u"Pessoa %1"_s.arg(i), QString::number(i)));
        auto p = janela(Teste::arquivo(linhas));
        p->senhas = std::make_shared<QHash<QString, QString>>();
        p->janela.reset();
        p->abrir();
        p->janela->sincronizacao().controle().setEsperas(100, 60'000);
        p->janela->show();
        conectar(*p, QString::fromUtf8(Radicale::SENHA));
        QTRY_COMPARE(m_servidor->cartoes().size(), 7);
        QTRY_VERIFY(!p->janela->sincronizacao().controle().ocupado());

        p->janela.reset();
        QVERIFY(QFile::rename(p->caminho, p->caminho + u".movido"_s));
        p->avisos.textos.clear();
        p->abrir();
        p->janela->sincronizacao().controle().setEsperas(100, 300);
        p->janela->show();
        const QString parou = u"O arquivo contatos.txt está vazio. Sincronizar apagaria 7 contatos "
                              "no servidor. Nada foi apagado: aperte F5 para decidir."_s;
        QTRY_COMPARE(p->avisos.textos, QStringList{parou});
        QTest::qWait(1000); // periodic turns meanwhile: told once
        QCOMPARE(p->avisos.textos, QStringList{parou});
        QCOMPARE(m_servidor->cartoes().size(), 7);

        QString pergunta;
        bool focoEmManter = false;
        Teste::Passos<KV_ConfirmaSincronizacao> passos([&](KV_ConfirmaSincronizacao *d) {
            pergunta = d->controle<QLabel>(u"Label1"_s)->text();
            focoEmManter = QApplication::focusWidget() == d->controle(u"lblSim"_s);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            return true;
        });
        p->janela->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p->janela.get()));
        QTest::keyClick(p->janela.get(), Qt::Key_F5);
        QTRY_VERIFY(passos.feito());
        QVERIFY(focoEmManter);
        QVERIFY2(pergunta.startsWith(parou.left(74)), qPrintable(pergunta));
        QTRY_COMPARE(p->janela->modelo().lblTotalContatos(), u"7"_s);
        QTRY_COMPARE(p->avisos.textos.last(), u"Sincronizado: 7 recebidos, 0 enviados."_s);
        QCOMPARE(m_servidor->cartoes().size(), 7);
    }

    // Restoring a version while connected says first what it deletes on the
    // server, and its undo brings every card back whole.
    void restaurarVersao()
    {
        for (int i = 0; i < 120; ++i) {
            const QByteArray n = QByteArray::number(i);
            QVERIFY(
                m_servidor->put(u"p%1.vcf"_s.arg(i), completo("p" + n, "Pessoa " + n, n)).status ==
                201);
        }
        auto p = janela(Teste::arquivo({Teste::linha(u"Ana"_s, u"1"_s)}));
        ControleSincronizacao &controle = p->janela->sincronizacao().controle();
        conectar(*p, QString::fromUtf8(Radicale::SENHA));
        QTRY_COMPARE(p->janela->modelo().lblTotalContatos(), u"121"_s);
        QTRY_VERIFY(!controle.ocupado());

        // The version from before that first sync: Ana alone.
        QString servidor;
        Teste::Passos<KV_Versoes> passos([&](KV_Versoes *d) {
            if (!d->resumido())
                return false;
            d->lista()->setCurrentRow(0);
            servidor = d->controle<QLabel>(u"lblServidor"_s)->text();
            d->lblSim_Click();
            return true;
        });
        p->janela->dialogos().versoes();
        QVERIFY(passos.feito());
        QCOMPARE(servidor, u"Restaurá-la no servidor: apaga 120 contatos."_s);
        QTRY_COMPARE(m_servidor->cartoes().size(), 1);
        QTRY_VERIFY(!controle.ocupado());

        p->janela->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p->janela.get()));
        QTest::keyClick(p->janela.get(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(m_servidor->cartoes().size(), 121);
        QTRY_VERIFY(!controle.ocupado());
        const auto cartoes = m_servidor->cartoes();
        for (int i = 0; i < 120; ++i) {
            const QByteArray c = cartoes.value(u"p%1.vcf"_s.arg(i));
            QVERIFY2(inteiro(c, "p" + QByteArray::number(i)), c.constData());
        }
        // The user confirmed what was deleted: nothing was asked.
        for (const QString &a : std::as_const(p->avisos.textos))
            QVERIFY2(!a.contains(u"apagaria"_s), qPrintable(a));
    }

    // Renamed in the update dialog with another telephone, in one step: the
    // card is the same, with everything it had; and so after an undo.
    void renomearNoDialogo()
    {
        QVERIFY(
            m_servidor->put(u"maria.vcf"_s, completo("maria-1", "Maria Souza", "1111")).status ==
            201);
        auto p = janela(Teste::arquivo({}));
        ControleSincronizacao &controle = p->janela->sincronizacao().controle();
        conectar(*p, QString::fromUtf8(Radicale::SENHA));
        QTRY_COMPARE(p->janela->modelo().lblTotalContatos(), u"1"_s);
        QTRY_VERIFY(!controle.ocupado());
        p->janela->modelo().mostrarContato(u"Maria Souza");
        Teste::Passos<KV_Atualiza> passos([](KV_Atualiza *d) {
            d->txtNome()->setText(u"Maria Souza Lima"_s);
            d->txtFone()->setText(u"2222"_s);
            d->lblSim_Click();
            return true;
        });
        p->janela->dialogos().atualizar();
        QVERIFY(passos.feito());
        QTRY_VERIFY(m_servidor->cartoes().value(u"maria.vcf"_s).contains("FN:Maria Souza Lima"));
        QTRY_VERIFY(!controle.ocupado());
        QByteArray c = m_servidor->cartoes().value(u"maria.vcf"_s);
        QVERIFY2(inteiro(c, "maria-1") && c.contains("TEL;TYPE=CELL:2222"), c.constData());

        p->janela->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p->janela.get()));
        QTest::keyClick(p->janela.get(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_VERIFY2(m_servidor->cartoes().value(u"maria.vcf"_s).contains("FN:Maria Souza\r\n"),
                     qPrintable(p->avisos.textos.join(u"/"_s)));
        QTRY_VERIFY(!controle.ocupado());
        c = m_servidor->cartoes().value(u"maria.vcf"_s);
        QVERIFY2(inteiro(c, "maria-1") && c.contains("TEL;TYPE=CELL:1111"), c.constData());
        QCOMPARE(m_servidor->cartoes().size(), 1);
    }

    // One person twice on the phone, merged in the duplicates' dialog: the
    // kept card carries the other's number and lines before the other card
    // goes; Ctrl+Z brings that one back whole.
    void juntarNoDialogo()
    {
        QCOMPARE(
            m_servidor->put(u"a1.vcf"_s, completo("ana-1", "Ana Souza", "11 98765-4321")).status,
            201);
        QCOMPARE(m_servidor
                     ->put(u"a2.vcf"_s, QByteArray(completo("ana-2", "Souza Ana", "(11) 3456-7890"))
                                            .replace("END:VCARD", "EMAIL:ana@x.com\r\nEND:VCARD"))
                     .status,
                 201);
        auto p = janela(Teste::arquivo({}));
        ControleSincronizacao &controle = p->janela->sincronizacao().controle();
        conectar(*p, QString::fromUtf8(Radicale::SENHA));
        QTRY_COMPARE(p->janela->modelo().lblTotalContatos(), u"2"_s);
        QTRY_VERIFY(!controle.ocupado());
        Teste::Passos<KV_Duplicados> passos([](KV_Duplicados *d) {
            d->lblSim_Click();
            return true;
        });
        p->janela->findChild<QAction *>(u"acaoDuplicados"_s)->trigger();
        QVERIFY(passos.feito());
        QTRY_COMPARE(m_servidor->cartoes().size(), 1);
        QTRY_VERIFY(!controle.ocupado());
        const QByteArray c = m_servidor->cartoes().value(u"a1.vcf"_s);
        for (const char *linha :
             {"TEL;TYPE=CELL:(11) 3456-7890", "EMAIL:ana@x.com", "NOTE:de ana-2"})
            QVERIFY2(inteiro(c, "ana-1") && c.contains(linha), c.constData());
        QVERIFY(p->avisos.textos.contains(Mensagens::juntados(2, u"Ana Souza"_s)));

        p->janela->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p->janela.get()));
        QTest::keyClick(p->janela.get(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(m_servidor->cartoes().size(), 2);
        QTRY_VERIFY(!controle.ocupado());
        QVERIFY(inteiro(m_servidor->cartoes().value(u"a2.vcf"_s), "ana-2"));
        QCOMPARE(p->janela->modelo().lblTotalContatos(), u"2"_s);
    }

    // The same person twice, the same number: merged with the dialog's
    // choices while connected, the kept card needs no write. The program
    // lives, and the other card goes at once; nothing waits in the state.
    void juntarIguais()
    {
        QCOMPARE(m_servidor->put(u"a1.vcf"_s, cartao("ana-1", "Ana Souza", "11 98765-4321")).status,
                 201);
        QCOMPARE(m_servidor->put(u"a2.vcf"_s, cartao("ana-2", "Souza Ana", "11 98765-4321")).status,
                 201);
        auto p = janela(Teste::arquivo({}));
        ControleSincronizacao &controle = p->janela->sincronizacao().controle();
        conectar(*p, QString::fromUtf8(Radicale::SENHA));
        QTRY_COMPARE(p->janela->modelo().lblTotalContatos(), u"2"_s);
        QTRY_VERIFY(!controle.ocupado());
        Teste::Passos<KV_Duplicados> passos([](KV_Duplicados *d) {
            d->lblSim_Click();
            return true;
        });
        p->janela->findChild<QAction *>(u"acaoDuplicados"_s)->trigger();
        QVERIFY(passos.feito());
        QTRY_COMPARE(m_servidor->cartoes().keys(), QStringList{u"a1.vcf"_s});
        QTRY_VERIFY(!controle.ocupado());
        QVERIFY(Teste::ler(p->caminho)
                    .contains("Ana Souza\x7f"
                              "11 98765-4321"));
        QVERIFY(!Teste::ler(p->caminho).contains("Souza Ana"));
        QCOMPARE(EstadoSincronizacao::ler(EstadoSincronizacao::caminhoAoLado(p->caminho))
                     .juntados.size(),
                 0);
    }

    // Two "Mãe" on the phone: one comes in; when the phone deletes it, the
    // other takes over and Mãe stays.
    void duasMaes()
    {
        QVERIFY(m_servidor->put(u"m1.vcf"_s, cartao("m1", "Mãe", "91111-1111")).status == 201);
        QVERIFY(m_servidor->put(u"m2.vcf"_s, completo("m2", "Mãe", "92222-2222")).status == 201);
        auto p = janela(Teste::arquivo({Teste::linha(u"Ana"_s)}));
        conectar(*p, QString::fromUtf8(Radicale::SENHA));
        QTRY_COMPARE(p->janela->modelo().lblTotalContatos(), u"2"_s);
        QTRY_VERIFY(!p->janela->sincronizacao().controle().ocupado());
        QVERIFY(p->janela->modelo().mostrarContato(u"Mãe"));
        QCOMPARE(p->filho<QLineEdit>(u"txtFone"_s)->text(), u"91111-1111"_s);
        QVERIFY(m_servidor->apagar(u"m1.vcf"_s).status < 300);
        p->janela->comandos().acao(QStringLiteral("acao_imgRefresh"))->trigger();
        QTRY_COMPARE(p->avisos.textos.size(), 2);
        QVERIFY(p->janela->modelo().mostrarContato(u"Mãe"));
        QCOMPARE(p->filho<QLineEdit>(u"txtFone"_s)->text(), u"92222-2222"_s);
        QCOMPARE(p->janela->modelo().lblTotalContatos(), u"2"_s);
    }

    // A user and password typed into the address go into their fields; the
    // password is in no file and not in the settings store, nor is one an
    // older version kept there.
    void senhaNoEndereco()
    {
        auto p = janela(Teste::arquivo({Teste::linha(u"Ana"_s)}));
        const QByteArray codificada = QUrl::toPercentEncoding(QString::fromUtf8(Radicale::SENHA));
        QUrl comSenha = m_servidor->raiz();
        comSenha.setUserName(QString::fromUtf8(Radicale::USUARIO));
        comSenha.setPassword(QString::fromUtf8(Radicale::SENHA));
        abrir(*p, [&](KV_Sincroniza *d) {
            if (d->txtEndereco()->text().isEmpty()) {
                d->txtEndereco()->setText(comSenha.toString(QUrl::FullyEncoded));
                d->lblSim_Click();
                return false;
            }
            if (p->janela->sincronizacao().conectando())
                return false;
            d->lblNao_Click();
            return true;
        });
        QTRY_VERIFY2(p->janela->sincronizacao().conectado(),
                     qPrintable(p->avisos.textos.join(u'/')));
        QCOMPARE(p->janela->sincronizacao().usuario(), u"ana"_s);
        QCOMPARE(p->janela->sincronizacao().endereco(), m_servidor->raiz().toString());
        QTRY_VERIFY(!p->janela->sincronizacao().controle().ocupado());
        const auto semSenha = [&] {
            for (QDirIterator it(p->dir.path(), QDir::Files); it.hasNext();) {
                const QByteArray b = Teste::ler(it.next());
                if (b.contains(Radicale::SENHA) || b.contains(codificada))
                    return false;
            }
            return true;
        };
        QVERIFY(semSenha());

        // As an older version left it.
        p->janela.reset();
        {
            QSettings ini(p->ini(), QSettings::IniFormat);
            ini.setValue(u"Sincronização/Endereço"_s, comSenha.toString(QUrl::FullyEncoded));
        }
        QVERIFY(!semSenha());
        p->abrir();
        p->janela->show();
        QTRY_VERIFY(semSenha());
        QCOMPARE(QSettings(p->ini(), QSettings::IniFormat).value(u"Sincronização/Endereço"_s),
                 QVariant(m_servidor->raiz().toString()));
    }

    // Connect, a change on each side arrives on the other by itself, the
    // tooltip tells, only syncs asked for speak, and disconnect forgets.
    void conectarEDesconectar()
    {
        QVERIFY(m_servidor->put(u"bia.vcf"_s, cartao("bia-1", "Bia", "2222")).status == 201);
        auto p = janela(Teste::arquivo({Teste::linha(u"Ana"_s, u"1111"_s)}));
        ContaSincronizacao &conta = p->janela->sincronizacao();
        auto *lst = p->filho<QListWidget>(u"lstContatos"_s);
        auto *total = p->filho<QLabel>(u"lblTotalContatos"_s);
        QTest::qWait(200);
        QVERIFY(!QFile::exists(EstadoSincronizacao::caminhoAoLado(p->caminho)));

        conectar(*p, QString::fromUtf8(Radicale::SENHA));
        QTRY_COMPARE(p->avisos.textos, QStringList{u"Sincronizado: 1 recebido, 1 enviado."_s});
        QVERIFY(conta.conectado());
        QCOMPARE(conta.livro(), u"contacts"_s);
        QCOMPARE(total->text(), u"2"_s);
        QCOMPARE(m_servidor->cartoes().size(), 2);
        QVERIFY(p->janela->bandeja()->dica().startsWith(u"Marvessa Fonelo - sincronizado às "_s));
        QSettings ini(p->ini(), QSettings::IniFormat);
        QCOMPARE(ini.value(u"Sincronização/Endereço"_s).toString(), m_servidor->raiz().toString());
        QCOMPARE(ini.value(u"Sincronização/Usuário"_s).toString(), u"ana"_s);
        QVERIFY(conta.senhaSoNaMemoria()); // no keychain answers here
        // The password is in no file.
        for (QDirIterator it(p->dir.path(), QDir::Files); it.hasNext();)
            QVERIFY2(!Teste::ler(it.next()).contains(Radicale::SENHA), qPrintable(it.filePath()));

        // Added here: on the server a moment later, without a word.
        QTimer::singleShot(0, this, [&] {
            auto *d = qobject_cast<KV_Adiciona *>(QApplication::activeModalWidget());
            QTRY_VERIFY(d && !d->deslizamento().abrindo());
            QTest::keyClicks(d->txtNome(), u"Beto"_s);
            d->lblSim_Click();
        });
        p->janela->dialogos().adicionar();
        QTRY_COMPARE(m_servidor->cartoes().size(), 3);
        QCOMPARE(p->avisos.textos.size(), 2); // the add's own notice only

        // Changed there: here at the next turn, the list and total follow,
        // with the contact selected kept; silently.
        lst->setCurrentRow(lst->count() - 1);
        const QString escolhido = lst->currentItem()->text();
        QVERIFY(m_servidor->put(u"duda.vcf"_s, cartao("amelia-1", "Amélia", "4444")).status == 201);
        conta.controle().setEsperas(100, 300);
        QTRY_COMPARE(total->text(), u"4"_s);
        QCOMPARE(nomes(lst), (QStringList{u"Amélia"_s, u"Ana"_s, u"Beto"_s, u"Bia"_s}));
        QCOMPARE(lst->currentItem()->text(), escolhido);
        QCOMPARE(p->avisos.textos.size(), 2);
        conta.controle().setEsperas(100, 60'000);
        // A turn may still run (it would take the delete below silently).
        QTRY_VERIFY(!conta.controle().pendente());

        // F5 is asked for: it speaks.
        QVERIFY(m_servidor->apagar(u"duda.vcf"_s).status < 300);
        p->janela->comandos().acao(QStringLiteral("acao_imgRefresh"))->trigger();
        QTRY_COMPARE(p->avisos.textos.size(), 3);
        QCOMPARE(p->avisos.textos.last(),
                 u"Sincronizado: 0 recebidos, 0 enviados, 1 apagado aqui."_s);
        QCOMPARE(total->text(), u"3"_s);

        // Disconnected: forgotten, and nothing more is sent or fetched.
        QStringList visto;
        abrir(*p, [&](KV_Sincroniza *d) {
            visto << d->controle(u"txtLivro"_s)->property("text").toString()
                  << d->controle(u"lblSim"_s)->accessibleName()
                  << (d->controle(u"lblAgora"_s)->isVisible() ? u"agora"_s : QString());
            // While a sync runs: its state is forgotten once it ends.
            d->lblAgora_Click();
            d->lblSim_Click();
            visto << d->controle(u"lblSim"_s)->accessibleName();
            d->lblNao_Click();
            return true;
        });
        QCOMPARE(visto, (QStringList{u"contacts"_s, u"Desconectar"_s, u"agora"_s, u"Conectar"_s}));
        QVERIFY(!conta.conectado());
        QTRY_VERIFY(!conta.controle().ocupado());
        QVERIFY(!QFile::exists(EstadoSincronizacao::caminhoAoLado(p->caminho)));
        QCOMPARE(p->avisos.textos.size(), 3);
        ini.sync();
        QVERIFY(!ini.contains(u"Sincronização/Endereço"_s));
        QVERIFY(m_servidor->put(u"eva.vcf"_s, cartao("eva-1", "Eva", "5555")).status == 201);
        p->janela->comandos().acao(QStringLiteral("acao_imgRefresh"))->trigger();
        QTest::qWait(500);
        QCOMPARE(total->text(), u"3"_s);
        QVERIFY(!QFile::exists(EstadoSincronizacao::caminhoAoLado(p->caminho)));
    }

    // A delete synced, then undone: the very card goes back, whole.
    void desfazerExclusao()
    {
        const QByteArray bia = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:bia-1\r\nFN:Bia\r\nN:Bia;;;;\r\n"
                               "TEL:2222\r\nORG:Empresa\r\nNOTE:amiga de escola\r\nEND:VCARD\r\n";
        QVERIFY(m_servidor->put(u"bia.vcf"_s, bia).status == 201);
        auto p = janela(Teste::arquivo({Teste::linha(u"Ana"_s, u"1111"_s)}));
        conectar(*p, QString::fromUtf8(Radicale::SENHA));
        QTRY_COMPARE(p->janela->modelo().lblTotalContatos(), u"2"_s);
        ControleSincronizacao &controle = p->janela->sincronizacao().controle();
        QTRY_VERIFY(!controle.ocupado());
        p->janela->modelo().mostrarContato(u"Bia");
        Teste::Passos<KV_ContDel> passos([](KV_ContDel *d) {
            d->lblSim_Click();
            return true;
        });
        p->janela->dialogos().deletar();
        QTRY_VERIFY(!m_servidor->cartoes().contains(u"bia.vcf"_s));
        QTRY_VERIFY(!controle.ocupado());

        p->janela->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p->janela.get()));
        QTest::keyClick(p->janela.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(p->avisos.textos.last(), u"Exclusão de Bia desfeita!"_s);
        QTRY_VERIFY(m_servidor->cartoes().contains(u"bia.vcf"_s));
        const QByteArray volta = m_servidor->cartoes().value(u"bia.vcf"_s);
        for (const char *linha : {"UID:bia-1", "ORG:Empresa", "NOTE:amiga de escola", "TEL:2222"})
            QVERIFY2(volta.contains(linha), volta.constData());
        QCOMPARE(m_servidor->cartoes().size(), 2);
    }

    // Whatever the settings store holds, the window starts as it would
    // unconnected, silently, and sends nothing.
    void configuracoesEstranhas_data()
    {
        QTest::addColumn<QByteArray>("secao");
        QTest::newRow("lista") << QByteArray("Endere%E7o=a, b\nUsu%E1rio=ana\n");
        QTest::newRow("bytes") << QByteArray(R"(Endere%E7o=@ByteArray(\0\x1))"
                                             "\n");
        QTest::newRow("variante") << QByteArray(R"(Endere%E7o=@Variant(\0\0\0\x7f\xff))"
                                                "\n");
        QTest::newRow("outro esquema") << QByteArray("Endere%E7o=ftp://127.0.0.1/\n");
        QTest::newRow("sem servidor") << QByteArray("Endere%E7o=https://\n");
        QTest::newRow("vazio") << QByteArray("Endere%E7o=\nUsu%E1rio=ana\n");
        QTest::newRow("enorme") << "Endere%E7o=https://" + QByteArray(100'000, 'a') + "\n";
    }
    void configuracoesEstranhas()
    {
        QFETCH(QByteArray, secao);
        const QByteArray conteudo = Teste::arquivo({Teste::linha(u"Ana"_s)});
        Teste::Principal p(&conteudo, false);
        // As Qt writes the section's name.
        Teste::gravar(p.ini(), "[Sincroniza%E7%E3o]\n" + secao);
        p.abrir();
        p.janela->show();
        QTRY_VERIFY(p.janela->sincronizacao().iniciada());
        QVERIFY(!p.janela->sincronizacao().conectado());
        QVERIFY(!p.janela->sincronizacao().faltaSenha());
        QCOMPARE(p.avisos.textos, QStringList());
        QVERIFY(!QFile::exists(EstadoSincronizacao::caminhoAoLado(p.caminho)));
    }

    // A wrong password: told in a notice, not connected, nothing kept.
    void senhaErrada()
    {
        auto p = janela(Teste::arquivo({Teste::linha(u"Ana"_s)}));
        conectar(*p, u"errada"_s);
        QTRY_COMPARE(p->avisos.textos, QStringList{u"Usuário ou senha incorretos!"_s});
        QVERIFY(!p->janela->sincronizacao().conectado());
        QVERIFY(!QSettings(p->ini(), QSettings::IniFormat).contains(u"Sincronização/Endereço"_s));
    }

    // A sync that brings a change while the add dialog is open writes once
    // it has closed; a restart finds the account.
    void esperaODialogo()
    {
        auto p = janela(Teste::arquivo({Teste::linha(u"Ana"_s)}));
        conectar(*p, QString::fromUtf8(Radicale::SENHA));
        QTRY_VERIFY(p->janela->sincronizacao().conectado());
        const QByteArray antes = Teste::ler(p->caminho);
        QVERIFY(m_servidor->put(u"bia.vcf"_s, cartao("bia-1", "Bia", "2222")).status == 201);
        bool esperou = false;
        QTimer::singleShot(0, this, [&] {
            auto *d = qobject_cast<KV_Adiciona *>(QApplication::activeModalWidget());
            QTRY_VERIFY(d && !d->deslizamento().abrindo());
            QSignalSpy fim(&p->janela->sincronizacao().controle(),
                           &ControleSincronizacao::terminou);
            p->janela->sincronizacao().sincronizarAgora();
            // Held with Bia read, and nothing written; a sync that did not
            // wait would end instead.
            const auto &controle = p->janela->sincronizacao().controle();
            QTRY_VERIFY_WITH_TIMEOUT(controle.retida() || !fim.isEmpty(), 60'000);
            esperou = fim.isEmpty() && Teste::ler(p->caminho) == antes;
            d->lblNao_Click();
        });
        p->janela->dialogos().adicionar();
        QVERIFY(esperou);
        QTRY_COMPARE(p->filho<QLabel>(u"lblTotalContatos"_s)->text(), u"2"_s);
        QVERIFY(Teste::ler(p->caminho).contains("Bia"));

        // Started again: connected from the settings store; the password
        // is asked again where no keychain kept it.
        p->janela.reset();
        p->avisos.textos.clear();
        p->abrir();
        p->janela->show();
        QTest::qWait(300);
        QCOMPARE(p->avisos.textos, QStringList{u"Digite de novo a senha da sincronização!"_s});
        QVERIFY(p->janela->sincronizacao().faltaSenha());
        QStringList visto;
        abrir(*p, [&](KV_Sincroniza *d) {
            visto << d->txtEndereco()->text() << d->txtUsuario()->text()
                  << QApplication::focusWidget()->objectName();
            d->lblNao_Click();
            return true;
        });
        QCOMPARE(visto, (QStringList{m_servidor->raiz().toString(), u"ana"_s, u"txtSenha"_s}));
        p->janela->sincronizacao().desconectar();
    }
};

MARVESSA_TEST_MAIN(TestSyncWindow, QApplication)
#include "test_sync_window.moc"
