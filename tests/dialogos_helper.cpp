// The real window over a folder, connected to an address book, whose
// editing dialogs are opened, confirmed and cancelled at random moments of
// syncs that run all the time: the process the hunt test kills and starts
// again. It says on its standard output what it is about to do and what it
// did ("vai", "feito", "nada", each with the names the step touches),
// "manter" when it answers a sync's question so, and "fim" once its steps
// are done.
//
// Usage: dialogos_helper FOLDER SEED STEPS
// The folder holds contatos.txt and config.ini with the account; the
// password is the argument's environment variable MARVESSA_SENHA.
#include "chrome/lista_selecao_unica.h"
#include "dialogs/kv_adiciona.h"
#include "dialogs/kv_atualiza.h"
#include "dialogs/kv_confirma_sincronizacao.h"
#include "dialogs/kv_contdel.h"
#include "dialogs/kv_duplicados.h"
#include "dialogs/kv_padroniza.h"
#include "gui_helpers.h"
#include "operations/conta_sincronizacao.h"
#include "operations/duplicados.h"
#include "operations/mensagens.h"
#include "operations/telefone_brasileiro.h"

#include <QLineEdit>
#ifdef Q_OS_LINUX
#include <csignal>
#include <execinfo.h>
#include <unistd.h>
#endif
#include <QRandomGenerator>
#include <QSettings>
#include <cstdio>

namespace {

void dizer(const char *o_que, const QString &passo, const QStringList &nomes)
{
    std::printf("%s\t%s\t%s\n", o_que, qUtf8Printable(passo), qUtf8Printable(nomes.join(u'\t')));
    std::fflush(stdout);
}

// A dialog's step, once it has slid open and a random while later.
template <typename D> bool depoisDe(int &tiques, D *d, const std::function<void(D *)> &passo)
{
    if (tiques-- > 0)
        return false;
    passo(d);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
#ifdef Q_OS_LINUX
    // A crash says where, for the test's log.
    for (const int sinal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE}) {
        std::signal(sinal, [](int s) {
            void *pilha[64];
            const int n = backtrace(pilha, 64);
            backtrace_symbols_fd(pilha, n, STDERR_FILENO);
            std::signal(s, SIG_DFL);
            std::raise(s);
        });
    }
#endif
    QApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 4)
        return 2;
    const QString pasta = a[1];
    QRandomGenerator aleatorio(a[2].toUInt());
    const int passos = a[3].toInt();

    Teste::AvisosGravados avisos;
    avisos.aoMostrar = [](const QString &t) { dizer("aviso", t, {}); };
    auto senhas = std::make_shared<QHash<QString, QString>>();
    {
        QSettings ini(pasta + u"/config.ini"_s, QSettings::IniFormat);
        ini.beginGroup(ContaSincronizacao::SECAO);
        senhas->insert(ini.value(u"Usuário"_s).toString() + u'@' +
                           ini.value(u"Endereço"_s).toString(),
                       qEnvironmentVariable("MARVESSA_SENHA"));
    }
    OpcoesPrincipal o;
    o.caminhoArquivo = pasta + u"/contatos.txt"_s;
    o.locale = Teste::ptBR();
    o.avisos = &avisos;
    o.arquivoConfiguracoes = pasta + u"/config.ini"_s;
    o.abrirEndereco = [](const QUrl &) {};
    o.cofre = [senhas]() -> std::unique_ptr<CofreSenhas> {
        return std::make_unique<Teste::CofreNaMemoria>(senhas);
    };
    KV_Principal janela(std::move(o));
    ModeloPrincipal &modelo = janela.modelo();
    ContaSincronizacao &conta = janela.sincronizacao();
    // Syncs all the time: a moment after each write, and twice a second.
    conta.controle().setEsperas(20, 500);
    janela.show();

    // A contact the steps may change: those of this program's own making.
    const auto algum = [&]() -> QString {
        QStringList nomes;
        const ListaInicio &l = modelo.lstInicio();
        for (qsizetype i = 0; i < l.count(); ++i) {
            const QString n = l.nome(i).toString();
            if (n.startsWith(u"Aqui"_s) || n.startsWith(u"Novo"_s))
                nomes.append(n);
        }
        return nomes.isEmpty() ? QString() : nomes[aleatorio.bounded(nomes.size())];
    };

    // A sync asked for that would delete more than a few asks: answered at
    // random, as users do.
    Teste::Passos<KV_ConfirmaSincronizacao> perguntas([&](KV_ConfirmaSincronizacao *d) {
        const auto escolha = aleatorio.bounded(3);
        if (escolha == 0) {
            dizer("manter", {}, {});
            d->lblSim_Click();
        } else if (escolha == 1) {
            d->lblApagar_Click();
        } else {
            d->lblNao_Click();
        }
        return false;
    });

    // A step that never ends (a window left waiting for an answer) is told,
    // and ends the program as a failure.
    QTimer vigia;
    vigia.setSingleShot(true);
    vigia.setInterval(30'000);
    QObject::connect(&vigia, &QTimer::timeout, [] {
        QStringList abertas;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible())
                abertas.append(QString::fromLatin1(w->metaObject()->className()));
        }
        std::fprintf(stderr, "preso: %s\n", qUtf8Printable(abertas.join(u", "_s)));
        std::abort();
    });

    for (int i = 0; i < passos; ++i) {
        vigia.start();
        // A sync asked for, and a dialog opened at some moment of it.
        conta.sincronizarAgora();
        QTest::qWait(int(aleatorio.bounded(150)));
        const bool confirmar = aleatorio.bounded(10) < 7;
        int tiques = int(aleatorio.bounded(6));
        const qsizetype antes = avisos.textos.size();
        QString passo, sucesso;
        QStringList nomes;
        switch (aleatorio.bounded(5)) {
        case 0: {
            passo = u"adicionar"_s;
            sucesso = Mensagens::INSERIDO;
            nomes = {u"Novo %1-%2"_s.arg(a[2]).arg(i)};
            const QString fone = u"21 9%1"_s.arg(aleatorio.bounded(10'000'000, 99'999'999));
            dizer("vai", passo, nomes);
            Teste::Passos<KV_Adiciona> p([&](KV_Adiciona *d) {
                return depoisDe<KV_Adiciona>(tiques, d, [&](KV_Adiciona *d) {
                    d->txtNome()->setText(nomes[0]);
                    d->txtFone()->setText(fone);
                    confirmar ? d->lblSim_Click() : d->lblNao_Click();
                });
            });
            janela.dialogos().adicionar();
            break;
        }
        case 1: {
            const QString nome = algum();
            if (nome.isEmpty() || !modelo.mostrarContato(nome))
                continue;
            passo = u"atualizar"_s;
            sucesso = Mensagens::ATUALIZADO;
            const bool renomear = aleatorio.bounded(3) == 0;
            nomes = {nome};
            if (renomear)
                nomes.append(nome + u" L"_s);
            const QString fone = u"31 9%1"_s.arg(aleatorio.bounded(10'000'000, 99'999'999));
            dizer("vai", passo, nomes);
            Teste::Passos<KV_Atualiza> p([&](KV_Atualiza *d) {
                return depoisDe<KV_Atualiza>(tiques, d, [&](KV_Atualiza *d) {
                    d->txtNome()->setText(nomes.last());
                    d->txtFone()->setText(fone);
                    confirmar ? d->lblSim_Click() : d->lblNao_Click();
                });
            });
            janela.dialogos().atualizar();
            break;
        }
        case 2: {
            const QString nome = algum();
            if (nome.isEmpty() || !modelo.mostrarContato(nome))
                continue;
            passo = u"deletar"_s;
            sucesso = Mensagens::DELETADO;
            nomes = {nome};
            dizer("vai", passo, nomes);
            Teste::Passos<KV_ContDel> p([&](KV_ContDel *d) {
                return depoisDe<KV_ContDel>(tiques, d, [&](KV_ContDel *d) {
                    confirmar ? d->lblSim_Click() : d->lblNao_Click();
                });
            });
            janela.dialogos().deletar();
            break;
        }
        case 3: {
            const auto grupos = Duplicados::procurar(
                modelo.lstInicio(),
                Duplicados::distintos(QSettings(pasta + u"/config.ini"_s, QSettings::IniFormat)));
            if (grupos.isEmpty())
                continue;
            passo = u"juntar"_s;
            sucesso = u"contatos juntados em"_s;
            for (const ContactRecord &m : grupos[0].membros)
                nomes.append(m.Nome);
            dizer("vai", passo, nomes);
            Teste::Passos<KV_Duplicados> p([&](KV_Duplicados *d) {
                return depoisDe<KV_Duplicados>(tiques, d, [&](KV_Duplicados *d) {
                    // Another member's telephone kept, now and then.
                    for (int r = 0; r < d->lista()->count() && aleatorio.bounded(2); ++r) {
                        if (d->lista()->item(r)->data(Qt::UserRole).toInt() == 1)
                            d->lista()->item(r)->setCheckState(Qt::Checked);
                    }
                    // Merged, it shows the next group, if any: closed then.
                    if (confirmar)
                        d->lblSim_Click();
                    if (!d->deslizamento().fechando())
                        d->lblNao_Click();
                });
            });
            janela.findChild<QAction *>(u"acaoDuplicados"_s)->trigger();
            break;
        }
        default: {
            const auto propostas = TelefoneBrasileiro::propostas(
                modelo.lstInicio(), TelefoneBrasileiro::Estilo::Nacional);
            if (propostas.isEmpty())
                continue;
            passo = u"padronizar"_s;
            sucesso = u"padronizado"_s;
            for (const TrocaTelefone &t : propostas)
                nomes.append(t.nome);
            dizer("vai", passo, nomes);
            Teste::Passos<KV_Padroniza> p([&](KV_Padroniza *d) {
                return depoisDe<KV_Padroniza>(tiques, d, [&](KV_Padroniza *d) {
                    confirmar ? d->lblSim_Click() : d->lblNao_Click();
                });
            });
            janela.findChild<QAction *>(u"acaoPadronizar"_s)->trigger();
            break;
        }
        }
        bool feito = false;
        for (qsizetype k = antes; k < avisos.textos.size(); ++k)
            feito = feito || avisos.textos[k].contains(sucesso);
        dizer(feito ? "feito" : "nada", passo, nomes);
    }
    // What the last steps wrote, synced.
    conta.sincronizarAgora();
    QTest::qWait(300);
    dizer("fim", {}, {});
    return 0;
}
