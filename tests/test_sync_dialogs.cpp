// The editing dialogs opened, confirmed and cancelled at random moments of
// syncs (a sync held while a dialog is open, and not), by the real window of
// a program killed and started again on the way, against Radicale: after
// each run, the program lived, the file and the server agree once synced,
// and nothing is lost.
#include "caminhos.h"
#include "helpers.h"
#include "model/classificador_grupos.h"
#include "operations/controle_sincronizacao.h"
#include "radicale.h"
#include "store/arquivo_contatos.h"
#include "store/formato_contatos.h"
#include "sync/cartao_vcard.h"
#include "sync/estado_sincronizacao.h"
#include "sync/sincronizador.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(ResultadoSincronizacao)

class TesteSincronizacaoDialogos : public QObject {
    Q_OBJECT

    std::unique_ptr<Radicale> m_servidor;
    QTemporaryDir m_pasta;

    QString contatos() const { return ArquivoContatos::caminhoNaPasta(m_pasta.path()); }

    QStringList aqui() const
    {
        QStringList out;
        for (const ContactRecord &r : FormatoContatos::lerRegistros(Teste::ler(contatos())))
            out.append(r.Nome + u'|' + r.Telefone + u'|' + r.Email);
        out.sort();
        return out;
    }

    QStringList la()
    {
        QStringList out;
        for (const QByteArray &b : m_servidor->cartoes()) {
            const auto c = CartaoVCard::ler(b);
            out.append(c ? c->registro().Nome + u'|' + c->registro().Telefone + u'|' +
                               c->registro().Email
                         : u"?"_s);
        }
        out.sort();
        return out;
    }

    // The sync the user confirms: whatever it deletes was deleted here or
    // merged.
    ResultadoSincronizacao sincronizar()
    {
        Sincronizador s(contatos());
        s.setLocale(Teste::ptBR());
        const ClassificadorGrupos grupos(Teste::ptBR());
        s.setListavel([&](QStringView nome) { return grupos.grupoDe(nome) >= 0; });
        QSignalSpy fim(&s, &Sincronizador::terminou);
        s.sincronizar({m_servidor->raiz(), QString::fromUtf8(Radicale::USUARIO),
                       QString::fromUtf8(Radicale::SENHA)},
                      {Sincronizador::Decisao::Tipo::Apagar, 1 << 30, 1 << 30});
        if (fim.isEmpty() && !fim.wait(60'000)) {
            ResultadoSincronizacao r;
            r.falha = ResultadoSincronizacao::Falha::SemConexao;
            return r;
        }
        return fim.first().first().value<ResultadoSincronizacao>();
    }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<ResultadoSincronizacao>();
        if (!Radicale::disponivel())
            QFAIL("radicale is not installed (scripts/deps.sh test)");
    }

    void caca()
    {
        // One server for every test, as new for each.
        if (!m_servidor)
            m_servidor = std::make_unique<Radicale>();
        QVERIFY(m_servidor->limpar());
        // Contacts the steps change, numbers to standardise, and three people
        // twice.
        QStringList linhas;
        QSet<QString> certos; // names there must be on both sides
        const auto contato = [&](const QString &nome, const QString &fone) {
            linhas.append(Teste::linha(nome, fone));
            certos.insert(nome);
        };
        for (int i = 0; i < 10; ++i)
            contato(u"Aqui %1"_s.arg(i), u"11 98765 43%1"_s.arg(i, 2, 10, QChar(u'0')));
        for (int k = 0; k < 3; ++k) {
            contato(u"Aqui Dupla %1"_s.arg(k), u"(41) 3333-000%1"_s.arg(k));
            contato(u"Dupla %1 Aqui"_s.arg(k), u"41 3333 000%1"_s.arg(k));
        }
        Teste::gravar(contatos(), Teste::arquivo(linhas));
        {
            QSettings ini(m_pasta.filePath(u"config.ini"_s), QSettings::IniFormat);
            ini.beginGroup(u"Sincronização"_s);
            ini.setValue(u"Endereço"_s, m_servidor->raiz().toString());
            ini.setValue(u"Usuário"_s, QString::fromUtf8(Radicale::USUARIO));
        }
        QSet<QString> idos; // names there must be on neither side
        // Another seed, and more runs, for a longer hunt by hand.
        const quint32 semente = qEnvironmentVariableIsSet("MARVESSA_SEMENTE")
                                    ? quint32(qEnvironmentVariableIntValue("MARVESSA_SEMENTE"))
                                    : 20261210;
        QRandomGenerator aleatorio(semente);
        const int voltas = qEnvironmentVariableIntValue("MARVESSA_CACA") > 0
                               ? qEnvironmentVariableIntValue("MARVESSA_CACA")
                               : 12;
        int mortos = 0;
        for (int volta = 0; volta < voltas; ++volta) {
            // There: a new card, and one of the program's changed.
            const QByteArray n = QByteArray::number(volta);
            QCOMPARE(m_servidor
                         ->put(u"la%1.vcf"_s.arg(volta), "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:la" +
                                                             n + "\r\nFN:Lá " + n + "\r\nTEL:5" +
                                                             n + "\r\nEND:VCARD\r\n")
                         .status,
                     201);
            certos.insert(u"Lá %1"_s.arg(volta));
            // Deleted here meanwhile, it comes back: nothing typed is lost.
            QString mudadoLa;
            const auto cartoes = m_servidor->cartoes();
            for (auto it = cartoes.begin(); it != cartoes.end(); ++it) {
                auto c = CartaoVCard::ler(it.value());
                if (!c || !c->registro().Nome.startsWith(u"Aqui"_s) || aleatorio.bounded(3))
                    continue;
                ContactRecord r = c->registro();
                r.Telefone = u"(51) 3333-%1"_s.arg(1000 + volta);
                QVERIFY(c->aplicar(r));
                m_servidor->put(it.key(), c->bytes(), m_servidor->get(it.key()).etag);
                mudadoLa = r.Nome;
                break;
            }

            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"MARVESSA_SENHA"_s, QString::fromUtf8(Radicale::SENHA));
            p.setProcessEnvironment(env);
            p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            const QStringList argumentos{m_pasta.path(), QString::number(semente + volta), u"6"_s};
            p.start(Teste::aoLado(MARVESSA_DIALOGOS), argumentos);
            if (!p.waitForStarted())
                p.start(Teste::aoLado(MARVESSA_DIALOGOS), argumentos);
            QVERIFY2(p.waitForStarted(), qPrintable(p.errorString()));
            // Every third run to its end; the others killed on the way.
            const bool ate = volta % 3 == 2;
            if (ate) {
                QVERIFY(p.waitForFinished(120'000));
            } else {
                QElapsedTimer t;
                t.start();
                const int quando = 300 + int(aleatorio.bounded(3500));
                while (p.state() == QProcess::Running && t.elapsed() < quando)
                    p.waitForFinished(20);
            }
            // The program lived: killed, or ended by itself all right.
            if (p.state() == QProcess::Running) {
                p.kill();
                p.waitForFinished();
                ++mortos;
            } else {
                QCOMPARE(p.exitStatus(), QProcess::NormalExit);
                QCOMPARE(p.exitCode(), 0);
            }
            // What it did, as it said it: a step it began and never told the
            // end of leaves its contacts uncertain.
            // (Windows writes its lines ending in CR LF.)
            const QList<QByteArray> ditos =
                p.readAllStandardOutput().replace("\r\n", "\n").split('\n');
            // Deleted here, then kept by the user's answer to a sync's
            // question: they come back. Merges stay merged.
            const bool manteve = ditos.contains("manter\t\t");
            if (ate)
                QVERIFY(ditos.size() >= 2 && ditos[ditos.size() - 2].startsWith("fim"));
            for (qsizetype k = 0; k < ditos.size(); ++k) {
                const QStringList d = QString::fromUtf8(ditos[k]).split(u'\t');
                if (d.size() < 3 || d[0] != u"vai")
                    continue;
                const QString passo = d[1];
                const QStringList nomes = d.mid(2);
                // Its end, the notices it showed aside.
                QString fim;
                for (qsizetype j = k + 1; j < ditos.size() && fim.isEmpty(); ++j) {
                    if (!ditos[j].startsWith("aviso"))
                        fim = QString::fromUtf8(ditos[j]).section(u'\t', 0, 0);
                }
                if (fim == u"nada" || passo == u"padronizar")
                    continue;
                const bool feito = fim == u"feito";
                if (passo == u"adicionar" && feito)
                    certos.insert(nomes[0]);
                if (passo == u"atualizar" || passo == u"deletar" || passo == u"juntar") {
                    for (const QString &nome : nomes)
                        certos.remove(nome);
                }
                if (passo == u"atualizar" && feito)
                    certos.insert(nomes.last());
                if (passo == u"deletar" && feito && nomes[0] != mudadoLa && !manteve)
                    idos.insert(nomes[0]);
                if (passo == u"juntar" && feito) {
                    certos.insert(nomes[0]);
                    for (const QString &nome : nomes.mid(1))
                        idos.insert(nome);
                }
            }

            const auto r = sincronizar();
            QVERIFY2(r.ok(), qPrintable(ControleSincronizacao::texto(r)));
            const QStringList daqui = aqui();
            QCOMPARE(la(), daqui);
            QSet<QString> nomes;
            for (const QString &c : daqui) {
                const QString nome = c.section(u'|', 0, 0);
                QVERIFY2(!nomes.contains(nome), qPrintable(nome));
                nomes.insert(nome);
            }
            for (const QString &c : std::as_const(certos))
                QVERIFY2(nomes.contains(c), qPrintable(c + u" sumiu na volta "_s + n));
            for (const QString &c : std::as_const(idos)) {
                QVERIFY2(!nomes.contains(c), qPrintable(c + u" voltou na volta "_s + n));
            }
            QCOMPARE(EstadoSincronizacao::ler(EstadoSincronizacao::caminhoAoLado(contatos()))
                         .juntados.size(),
                     0);
        }
        qInfo("%d of %d runs killed on the way", mortos, voltas);
    }
};

QTEST_GUILESS_MAIN(TesteSincronizacaoDialogos)
#include "test_sync_dialogs.moc"
