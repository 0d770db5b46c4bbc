#include "chrome/deslizamento.h"
#include "dialogs/dialogo_contato.h"
#include "dialogs/kv_adiciona.h"
#include "dialogs/kv_atualiza.h"
#include "dialogs/kv_contdel.h"
#include "gui_helpers.h"
#include "operations/edicao_contatos.h"
#include "operations/mensagens.h"

#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using Teste::linha;
using Teste::Principal;

namespace {

using G = Deslizamento::Geometria;

void clicar(QWidget *w)
{
    QVERIFY(w);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(3, 3));
}

QByteArray arquivoCom(const QStringList &nomes)
{
    QStringList linhas;
    for (const QString &n : nomes)
        linhas.append(linha(n, n.left(1) + u"-fone"_s, n.left(1) + u"@x"_s));
    return Teste::arquivo(linhas);
}

// The name of the row shown selected in the main window's list.
QString selecionado(const QListWidget *lst)
{
    const auto itens = lst->selectedItems();
    return itens.size() == 1 ? itens.first()->text().section(u'\t', 0, 0) : QString();
}

void clicarLinha(QListWidget *lst, int linha, Qt::KeyboardModifiers mod = {})
{
    QTest::mouseClick(lst->viewport(), Qt::LeftButton, mod,
                      lst->visualItemRect(lst->item(linha)).center());
}

// Runs the dialog's opening ticks to the end.
int abrirTudo(DialogoDeslizante &d)
{
    int ticks = 0;
    while (d.deslizamento().abrindo() && ticks < 100) {
        d.Timer1_Timer();
        ++ticks;
    }
    return ticks;
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void deslizamento_abertura_data();
    void deslizamento_abertura();
    void deslizamento_fechamento_data();
    void deslizamento_fechamento();
    void deslizamento_fecharDuranteAbertura();
    void janelaAcompanhaODeslizamento();
    void adicionarDeVerdade();
    void camposLimitesFocoEEnter();
    void recusaDevolveOTeclado_data();
    void recusaDevolveOTeclado();
    void copiarNome();
    void semSelecaoNaoAbre();
    void atualizarPreencheEGrava();
    void deletarFechaJaEAvisa();
    void falhaDeGravacaoMantemDialogo();
    void corridaComOutroPrograma_data();
    void corridaComOutroPrograma();
    void camposLongosInteiros();
    void selecaoNuncaSome_data();
    void selecaoNuncaSome();
    void arquivoDeOutroEditor_data();
    void arquivoDeOutroEditor();
};

void TestDialogs::deslizamento_abertura_data()
{
    QTest::addColumn<int>("topoAntes");
    QTest::addColumn<int>("alturaAntes");
    QTest::addColumn<int>("K");
    QTest::newRow("About") << -1000 << 50 << 1590;
    QTest::newRow("Adiciona") << 0 << 150 << 1600;
    QTest::newRow("Atualiza") << -1000 << 50 << 1575;
    QTest::newRow("ContDel") << -1000 << 50 << 1590;
}

void TestDialogs::deslizamento_abertura()
{
    QFETCH(int, topoAntes);
    QFETCH(int, alturaAntes);
    QFETCH(int, K);
    const ConstantesDeslizamento c{topoAntes, alturaAntes, K};
    Deslizamento d(c);
    const double T = 6000;
    d.carregar(T);
    QCOMPARE(d.antesDoPrimeiroTick(T), (G{T + topoAntes, alturaAntes}));
    for (int n = 1; n <= 20; ++n) {
        QVERIFY(d.abrindo());
        const G g = d.tickAbertura(T);
        QCOMPARE(g, (G{T + 2590 - 100 * n, 100 * n - 45}));
        QCOMPARE(g.top + g.height, T + 2545); // the bottom edge stays
    }
    QVERIFY(!d.abrindo());
    QCOMPARE(d.Altura, 2000);
    QCOMPARE(d.Limite, 4040);
}

void TestDialogs::deslizamento_fechamento_data()
{
    QTest::addColumn<int>("K");
    QTest::addColumn<int>("D");
    QTest::addColumn<int>("fundo"); // bottom edge relative to T
    QTest::newRow("About 3030") << 1590 << 3030 << 2515;
    QTest::newRow("Adiciona 3030") << 1600 << 3030 << 2525;
    QTest::newRow("Adiciona 3000") << 1600 << 3000 << 2555;
    QTest::newRow("Atualiza 3030") << 1575 << 3030 << 2500;
    QTest::newRow("Atualiza 3000") << 1575 << 3000 << 2530;
    QTest::newRow("ContDel 3030") << 1590 << 3030 << 2515;
}

void TestDialogs::deslizamento_fechamento()
{
    QFETCH(int, K);
    QFETCH(int, D);
    QFETCH(int, fundo);
    Deslizamento d({0, 0, K});
    const double T = 6000;
    d.carregar(T);
    while (d.abrindo())
        d.tickAbertura(T);
    d.IniciarFechamento(T, 1955, D);
    QVERIFY(d.fechando());
    for (int k = 1; k <= 19; ++k) {
        const auto g = d.tickFechamento();
        QVERIFY(g);
        QCOMPARE(g->height, 2000 - 100 * k);
        QCOMPARE(g->top, T + 1955 - D + K + 100 * k);
        QCOMPARE(g->top + g->height, T + fundo);
    }
    QVERIFY(!d.tickFechamento()); // the 20th tick hides and unloads
    QVERIFY(!d.fechando());
}

void TestDialogs::deslizamento_fecharDuranteAbertura()
{
    // A close request halfway through the opening stops the opening first,
    // so the dialog always goes.
    for (int n = 1; n <= 20; ++n) {
        Deslizamento d(Deslizantes::Adiciona);
        d.carregar(6000);
        Deslizamento::Geometria g{};
        for (int i = 0; i < n; ++i)
            g = d.tickAbertura(6000);
        d.IniciarFechamento(6000, g.height, Deslizamento::D_FECHAR);
        QVERIFY(!d.abrindo());
        int ticks = 0;
        while (d.tickFechamento())
            ++ticks;
        QCOMPARE(ticks, n - 1);
    }
}

void TestDialogs::janelaAcompanhaODeslizamento()
{
    Principal p;
    p.janela->move(120, 400); // T = 6000 twips
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    KV_Adiciona d(p.janela.get(), p.janela->modelo(), p.avisos);
    // Left + 245 twips; Top and Height as the table says until the first tick.
    QCOMPARE(d.geometry(), QRect(136, 400, 162, 10));
    QCOMPARE(abrirTudo(d), 20);
    QCOMPARE(d.topoTwips(), 6590.0);
    QCOMPARE(d.alturaTwips(), 1955);
    QCOMPARE(d.geometry(), QRect(136, 439, 162, 130));
    // A window manager answering late with an earlier height: set back.
    d.show();
    d.resize(162, 124);
    QTRY_COMPARE(d.geometry(), QRect(136, 439, 162, 130));

    d.lblNao_Click();
    QCOMPARE(d.alturaTwips(), 0);
    d.Timer2_Timer();
    QCOMPARE(d.topoTwips(), 6625.0);
    QCOMPARE(d.alturaTwips(), 1900);
    d.lblNao_Click(); // a second request does not restart the slide
    for (int k = 2; k <= 19; ++k) {
        d.Timer2_Timer();
        QCOMPARE(d.topoTwips() + d.alturaTwips(), 8525.0);
    }
    QCOMPARE(d.result(), 0);
    d.Timer2_Timer();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QVERIFY(!d.isVisible());
}

void TestDialogs::adicionarDeVerdade()
{
    const QByteArray conteudo = arquivoCom({u"Bia"_s});
    Principal p(&conteudo);
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    clicar(p.filho(u"lblCD"_s));

    bool aberto = false, fechando = false;
    QTimer passo;
    passo.setInterval(20);
    connect(&passo, &QTimer::timeout, this, [&] {
        auto *d = qobject_cast<KV_Adiciona *>(QApplication::activeModalWidget());
        if (!d || d->deslizamento().abrindo() || fechando)
            return;
        aberto = true;
        QTest::keyClicks(d->txtNome(), u"Ágata"_s);
        QTest::keyClick(d->txtNome(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), u"(11) 1234"_s);
        clicar(d->controle(u"lblSim"_s));
        fechando = d->deslizamento().fechando();
    });
    passo.start();
    QElapsedTimer t;
    t.start();
    p.janela->dialogos().adicionar(); // returns when the dialog has slid shut
    passo.stop();
    QVERIFY(aberto && fechando);
    QVERIFY(t.elapsed() >= 380); // twenty ticks open, twenty shut
    QCOMPARE(p.avisos.textos, QStringList{Mensagens::INSERIDO});
    QCOMPARE(Teste::ler(p.caminho), QByteArray("Bia\x7F"
                                               "B-fone\x7F"
                                               "B@x\r\n\xC1gata\x7F(11) 1234\x7F\r\n\r\n\r\n"));
    auto *lst = p.filho<QListWidget>(u"lstContatos"_s);
    QCOMPARE(lst->count(), 2);
    QCOMPARE(lst->item(0)->text(), u"Ágata\t\t\t\t(11) 1234\t"_s);
    QCOMPARE(p.filho<QLabel>(u"lblTotalContatos"_s)->text(), u"2"_s);
    QCOMPARE(p.janela->modelo().navegacao().lblLetraInicial, u"c"_s);
}

void TestDialogs::camposLimitesFocoEEnter()
{
    Principal p;
    p.janela->show();
    KV_Adiciona d(p.janela.get(), p.janela->modelo(), p.avisos);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.activateWindow();
    QTRY_COMPARE(QApplication::focusWidget(), d.txtNome());
    for (QLineEdit *campo : {d.txtNome(), d.txtFone(), d.txtMail()}) {
        QCOMPARE(campo->maxLength(), 40);
        campo->setFocus();
        QTest::keyClicks(campo, QString(45, u'x'));
        QCOMPARE(campo->text().size(), 40);
        campo->clear();
        campo->insert(QString(50, u'y')); // pasting is cut too
        QCOMPARE(campo->text().size(), 40);
    }
    // Tab goes name, telephone, e-mail.
    d.txtNome()->setFocus();
    QTest::keyClick(d.txtNome(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), d.txtFone());
    QTest::keyClick(d.txtFone(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), d.txtMail());
    // Enter and Escape do nothing: only the labels confirm or close.
    d.txtNome()->setText(u"Zé"_s);
    QTest::keyClick(d.txtNome(), Qt::Key_Return);
    QTest::keyClick(d.txtNome(), Qt::Key_Escape);
    QVERIFY(d.isVisible());
    QCOMPARE(Teste::ler(p.caminho), QByteArray("\r\n\r\n"));
    // Forbidden first characters can be typed; only confirming refuses them.
    d.txtNome()->setText(u"-Zé"_s);
    QCOMPARE(d.txtNome()->text(), u"-Zé"_s);
    d.lblSim_Click();
    QCOMPARE(p.avisos.textos, QStringList{Mensagens::PROIBIDO});
    QCOMPARE(d.controle<QLabel>(u"lblSim"_s)->toolTip(), u" Adicionar "_s);
    QCOMPARE(d.controle(u"lblNao"_s)->cursor().pixmap().size(), QSize(32, 32));
}

void TestDialogs::recusaDevolveOTeclado_data()
{
    // The dialog (update: Bia's), what is typed into the name, telephone and
    // e-mail, the notice; the field the keyboard is back in, and its text
    // then chosen (the add empties a name taken).
    QTest::addColumn<bool>("atualizar");
    QTest::addColumn<QStringList>("campos");
    QTest::addColumn<QString>("aviso");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("escolhido");
    QTest::newRow("adicionar um nome que existe")
        << false << QStringList{u"ANA SOUZA"_s, u"1"_s, {}} << Mensagens::ESTE_EXISTE
        << u"txtNome"_s << QString();
    QTest::newRow("atualizar para um nome que existe")
        << true << QStringList{u"Ana Souza"_s, u"1"_s, {}} << Mensagens::ESSE_EXISTE << u"txtNome"_s
        << u"Ana Souza"_s;
    QTest::newRow("nome que começa proibido") << false << QStringList{u"-Caio"_s, {}, {}}
                                              << Mensagens::PROIBIDO << u"txtNome"_s << u"-Caio"_s;
    QTest::newRow("e-mail que o arquivo não guarda")
        << true << QStringList{u"Bia"_s, u"2"_s, u"b\u0142@x"_s} << Mensagens::INVALIDOS
        << u"txtMail"_s << u"b\u0142@x"_s;
}

// A click on a label button leaves the keyboard where the user was typing,
// and after a refusal it is back in the field to correct, its text chosen,
// so that what is typed next replaces it.
void TestDialogs::recusaDevolveOTeclado()
{
    QFETCH(bool, atualizar);
    QFETCH(QStringList, campos);
    QFETCH(QString, aviso);
    QFETCH(QString, campo);
    QFETCH(QString, escolhido);
    const QByteArray conteudo = arquivoCom({u"Ana Souza"_s, u"Bia"_s});
    Principal p(&conteudo);
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    QString focoDepois, textoEscolhido, depoisDeDigitar;
    Teste::Passos<DialogoContato> passos([&](DialogoContato *d) {
        QLineEdit *linhas[] = {d->txtNome(), d->txtFone(), d->txtMail()};
        for (int i = 0; i < 3; ++i) {
            linhas[i]->setFocus();
            linhas[i]->selectAll();
            Teste::digitar(linhas[i], campos[i]);
        }
        linhas[0]->setFocus();
        // A real click, with its press and release.
        clicar(d->controle(u"lblSim"_s));
        focoDepois =
            QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
        if (auto *l = qobject_cast<QLineEdit *>(QApplication::focusWidget())) {
            textoEscolhido = l->selectedText();
            QTest::keyClicks(l, u"Zeca"_s);
            depoisDeDigitar = l->text();
        }
        d->lblNao_Click();
        return true;
    });
    if (atualizar) {
        QVERIFY(p.janela->modelo().mostrarContato(u"Bia"));
        p.janela->dialogos().atualizar();
    } else {
        p.janela->dialogos().adicionar();
    }
    QVERIFY(passos.feito());
    QCOMPARE(p.avisos.textos, QStringList{aviso});
    QCOMPARE(focoDepois, campo);
    QCOMPARE(textoEscolhido, escolhido);
    QCOMPARE(depoisDeDigitar, u"Zeca"_s);
    QCOMPARE(Teste::ler(p.caminho), conteudo);
}

void TestDialogs::copiarNome()
{
    Principal p;
    KV_Atualiza d(p.janela.get(), p.janela->modelo(), p.avisos);
    QClipboard *c = QGuiApplication::clipboard();
    c->setText(u"antes"_s);
    d.txtNome()->setText(u"  Ana Lima "_s);
    clicar(d.controle(u"lblNome"_s));
    QCOMPARE(c->text(), u"  Ana Lima "_s);
    QCOMPARE(d.txtNome()->text(), u"  Ana Lima "_s);
    d.txtNome()->clear();
    d.lblNome_Click();
    QCOMPARE(c->text(), QString());
    // The other captions leave the clipboard as it was.
    c->setText(u"antes"_s);
    d.txtFone()->setText(u"123"_s);
    d.txtMail()->setText(u"m@x"_s);
    clicar(d.controle(u"lblTelefone"_s));
    clicar(d.controle(u"lblEmail"_s));
    QCOMPARE(c->text(), u"antes"_s);
    QVERIFY(p.avisos.textos.isEmpty());
}

void TestDialogs::semSelecaoNaoAbre()
{
    QStringList nomes;
    for (int i = 0; i < 12; ++i)
        nomes.append(u"Ana %1"_s.arg(i, 2, 10, QChar(u'0')));
    const QByteArray conteudo = arquivoCom(nomes);
    Principal p(&conteudo);
    clicar(p.filho(u"imgAvanca"_s)); // nothing selected after a page move
    p.janela->dialogos().atualizar();
    p.janela->dialogos().deletar();
    QCOMPARE(p.avisos.textos, QStringList(2, Mensagens::SELECIONE));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestDialogs::atualizarPreencheEGrava()
{
    const QByteArray conteudo = arquivoCom({u"Carla"_s, u"Caio"_s, u"Bia"_s});
    Principal p(&conteudo);
    clicar(p.filho(u"lblCD"_s));
    auto *lst = p.filho<QListWidget>(u"lstContatos"_s);
    lst->setCurrentRow(1);
    KV_Atualiza d(p.janela.get(), p.janela->modelo(), p.avisos);
    QCOMPARE(d.txtNome()->text(), u"Carla"_s);
    QCOMPARE(d.txtFone()->text(), u"C-fone"_s);
    QCOMPARE(d.txtMail()->text(), u"C@x"_s);
    QCOMPARE(d.lblNomeOriginal, u"Carla"_s);
    abrirTudo(d);
    d.txtNome()->setText(u"Bia"_s);
    d.lblSim_Click();
    QCOMPARE(p.avisos.textos, QStringList{Mensagens::ESSE_EXISTE});
    QVERIFY(!d.deslizamento().fechando());
    d.txtNome()->setText(u"Dora"_s);
    d.lblSim_Click();
    QCOMPARE(p.avisos.textos.last(), Mensagens::ATUALIZADO);
    QVERIFY(d.deslizamento().fechando());
    QCOMPARE(Teste::ler(p.caminho), QByteArray("Bia\x7F"
                                               "B-fone\x7F"
                                               "B@x\r\nCaio\x7F"
                                               "C-fone\x7F"
                                               "C@x\r\nDora\x7F"
                                               "C-fone\x7F"
                                               "C@x\r\n\r\n\r\n"));
    QCOMPARE(lst->count(), 2);
    QCOMPARE(lst->item(1)->text().section(u'\t', 0, 0), u"Dora"_s);
}

void TestDialogs::deletarFechaJaEAvisa()
{
    const QByteArray conteudo = arquivoCom({u"Carla"_s, u"Caio"_s, u"Bia"_s});
    Principal p(&conteudo);
    clicar(p.filho(u"lblCD"_s));
    KV_ContDel d(p.janela.get(), p.janela->modelo(), p.avisos);
    QCOMPARE(d.controle<QLabel>(u"Label1"_s)->text(), u"Deseja realmente deletar esse contato?"_s);
    d.show();
    abrirTudo(d);
    // The dialog is gone before the notice shows.
    bool visivelNoAviso = true;
    p.avisos.aoMostrar = [&](const QString &) { visivelNoAviso = d.isVisible(); };
    QSignalSpy gravado(&d, &KV_ContDel::gravado);
    clicar(d.controle(u"lblSim"_s));
    QCOMPARE(gravado.size(), 1);
    QCOMPARE(p.avisos.textos, QStringList{Mensagens::DELETADO});
    QVERIFY(!visivelNoAviso);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(Teste::ler(p.caminho), QByteArray("Bia\x7F"
                                               "B-fone\x7F"
                                               "B@x\r\nCarla\x7F"
                                               "C-fone\x7F"
                                               "C@x\r\n\r\n\r\n"));
    auto *lst = p.filho<QListWidget>(u"lstContatos"_s);
    QCOMPARE(lst->count(), 1);
    QCOMPARE(lst->currentRow(), 0);                              // the selection stays,
    QVERIFY(p.filho<QLineEdit>(u"txtFone"_s)->text().isEmpty()); // the details go
    QCOMPARE(p.filho<QLabel>(u"lblTotalContatos"_s)->text(), u"2"_s);
}

void TestDialogs::falhaDeGravacaoMantemDialogo()
{
    const QByteArray conteudo = arquivoCom({u"Bia"_s});
    Principal p(&conteudo);
    const Teste::Travado travado(p.caminho, true);
    QVERIFY(travado.ok());
    p.janela->comandos().acao(QStringLiteral("acao_imgRefresh"))->trigger();
    const QByteArray antes = Teste::ler(p.caminho);
    KV_Adiciona d(p.janela.get(), p.janela->modelo(), p.avisos);
    abrirTudo(d);
    d.txtNome()->setText(u"Zeca"_s);
    d.txtFone()->setText(u"9"_s);
    d.lblSim_Click();
    // Reported, nothing claimed, the dialog open with the user's text.
    QCOMPARE(p.avisos.textos, QStringList{Mensagens::FALHA_GRAVACAO});
    QVERIFY(!d.deslizamento().fechando());
    QCOMPARE(d.txtNome()->text(), u"Zeca"_s);
    QCOMPARE(d.txtFone()->text(), u"9"_s);
    QCOMPARE(Teste::ler(p.caminho), antes);
}

void TestDialogs::corridaComOutroPrograma_data()
{
    QTest::addColumn<bool>("deletar");
    QTest::addColumn<bool>("removido"); // the other program removed the contact
    QTest::newRow("deletar; outro acrescentou") << true << false;
    QTest::newRow("deletar; outro removeu-o") << true << true;
    QTest::newRow("atualizar; outro acrescentou") << false << false;
    QTest::newRow("atualizar; outro removeu-o") << false << true;
}

void TestDialogs::corridaComOutroPrograma()
{
    QFETCH(bool, deletar);
    QFETCH(bool, removido);
    QStringList nomes;
    for (int i = 0; i < 12; ++i)
        nomes.append(u"Ana %1"_s.arg(i, 2, 10, QChar(u'0')));
    const QByteArray conteudo = arquivoCom(nomes);
    Principal p(&conteudo);
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    auto *lst = p.filho<QListWidget>(u"lstContatos"_s);
    clicar(p.filho(u"imgAvanca"_s));
    clicarLinha(lst, 1);
    QCOMPARE(selecionado(lst), u"Ana 11"_s);
    std::unique_ptr<DialogoDeslizante> d;
    if (deletar)
        d = std::make_unique<KV_ContDel>(p.janela.get(), p.janela->modelo(), p.avisos);
    else
        d = std::make_unique<KV_Atualiza>(p.janela.get(), p.janela->modelo(), p.avisos);
    d->show();
    abrirTudo(*d);
    if (!deletar)
        static_cast<KV_Atualiza &>(*d).txtFone()->setText(u"novo"_s);

    QStringList outros = nomes;
    removido ? outros.removeLast() : outros.append(u"Bruno"_s);
    const QByteArray outro = arquivoCom(outros);
    Teste::gravar(p.caminho, outro);
    clicar(d->controle(u"lblSim"_s));
    QCOMPARE(p.avisos.textos, QStringList{Mensagens::ALTERADA});
    QCOMPARE(Teste::ler(p.caminho), outro);
    // The delete asks no more about a list the user has not seen; both show
    // the file as it is, the contact asked about still selected on its page.
    QCOMPARE(d->isVisible(), !deletar);
    QCOMPARE(selecionado(lst), removido ? u"Ana 00"_s : u"Ana 11"_s);
    QCOMPARE(p.filho(u"imgRetorna"_s)->isVisible(), !removido);
    QCOMPARE(p.janela->modelo().contatoSelecionado()->Nome, selecionado(lst));
    if (deletar)
        return;

    clicar(d->controle(u"lblSim"_s));
    if (removido) {
        // Nothing to update: nothing written, nothing claimed, the text kept.
        QCOMPARE(p.avisos.textos.last(), Mensagens::NAO_EXISTE);
        QCOMPARE(Teste::ler(p.caminho), outro);
        QVERIFY(d->isVisible() && !d->deslizamento().fechando());
        QCOMPARE(static_cast<KV_Atualiza &>(*d).txtFone()->text(), u"novo"_s);
    } else {
        QCOMPARE(p.avisos.textos.last(), Mensagens::ATUALIZADO);
        QVERIFY(Teste::ler(p.caminho).contains("Ana 11\x7Fnovo\x7F"));
        QVERIFY(Teste::ler(p.caminho).contains("Bruno"));
    }
}

void TestDialogs::camposLongosInteiros()
{
    // Longer than the dialogs let anyone type: only another editor wrote it.
    const QString nome = u"Maria "_s + QString(50, u'a');
    const QString fone = QString(45, u'9');
    const QString mail = QString(70, u'm') + u"@x"_s;
    const QByteArray conteudo = Teste::arquivo({linha(nome, fone, mail)});
    Principal p(&conteudo);
    clicar(p.filho(u"lblMN"_s));
    QCOMPARE(p.filho<QLineEdit>(u"txtFone"_s)->text(), fone);
    QCOMPARE(p.filho<QLineEdit>(u"txtMail"_s)->text(), mail);

    KV_Atualiza d(p.janela.get(), p.janela->modelo(), p.avisos);
    QCOMPARE(d.txtNome()->text(), nome);
    QCOMPARE(d.txtFone()->text(), fone);
    QCOMPARE(d.txtMail()->text(), mail);
    clicar(d.controle(u"lblSim"_s));
    QCOMPARE(p.avisos.textos, QStringList{Mensagens::ATUALIZADO});
    QCOMPARE(Teste::ler(p.caminho), conteudo); // untouched, written back exactly

    // Typing or pasting never makes such a field longer; deleting shortens it.
    KV_Atualiza e(p.janela.get(), p.janela->modelo(), p.avisos);
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    QLineEdit *campo = e.txtMail();
    campo->setFocus();
    QTest::keyClick(campo, Qt::Key_End);
    QTest::keyClicks(campo, u"xyz"_s);
    QCOMPARE(campo->text(), mail);
    QTest::keyClick(campo, Qt::Key_Home);
    QTest::keyClick(campo, Qt::Key_Delete);
    QCOMPARE(campo->cursorPosition(), 0);
    QTest::keyClicks(campo, u"q"_s);
    QCOMPARE(campo->text(), mail.mid(1));
    campo->setSelection(0, 3);
    campo->insert(u"ABCDEF"_s);
    QCOMPARE(campo->text(), u"ABC"_s + mail.mid(4));
}

void TestDialogs::selecaoNuncaSome_data()
{
    QTest::addColumn<int>("gesto");
    QTest::newRow("Ctrl+clique") << 0;
    QTest::newRow("Ctrl+Espaco") << 1;
    QTest::newRow("clique abaixo das linhas") << 2;
}

void TestDialogs::selecaoNuncaSome()
{
    QFETCH(int, gesto);
    const QByteArray conteudo = arquivoCom({u"Carla"_s, u"Caio"_s, u"Dora"_s});
    Principal p(&conteudo);
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    clicar(p.filho(u"lblCD"_s));
    auto *lst = p.filho<QListWidget>(u"lstContatos"_s);
    clicarLinha(lst, 1);
    if (gesto == 0)
        clicarLinha(lst, 1, Qt::ControlModifier);
    else if (gesto == 1)
        QTest::keyClick(lst, Qt::Key_Space, Qt::ControlModifier);
    else
        QTest::mouseClick(lst->viewport(), Qt::LeftButton, {},
                          QPoint(5, lst->viewport()->height() - 3));
    // The row shown selected is the one the dialogs act on.
    QCOMPARE(selecionado(lst), u"Carla"_s);
    QCOMPARE(p.filho<QLineEdit>(u"txtFone"_s)->text(), u"C-fone"_s);
    QCOMPARE(KV_Atualiza(p.janela.get(), p.janela->modelo(), p.avisos).lblNomeOriginal, u"Carla"_s);
}

void TestDialogs::arquivoDeOutroEditor_data()
{
    QTest::addColumn<QByteArray>("conteudo");
    QTest::addColumn<QString>("nomeIJ");
    QTest::addColumn<bool>("utf8");
    const QByteArray utf8 = "Ana\x7F\x7F\r\nJo\xC3\xA3o\x7F\x7F\r\n";
    QTest::newRow("UTF-8 com marca") << "\xEF\xBB\xBF" + utf8 << u"João"_s << true;
    QTest::newRow("UTF-8 sem marca") << utf8 << u"João"_s << true;
    QTest::newRow("Windows-1252") << QByteArray("Ana\x7F\x7F\r\nJos\xE9\x7F\x7F\r\n") << u"José"_s
                                  << false;
}

void TestDialogs::arquivoDeOutroEditor()
{
    QFETCH(QByteArray, conteudo);
    QFETCH(QString, nomeIJ);
    QFETCH(bool, utf8);
    Principal p(&conteudo);
    auto *lst = p.filho<QListWidget>(u"lstContatos"_s);
    QCOMPARE(selecionado(lst), u"Ana"_s); // in AB, mark or not
    clicar(p.filho(u"lblIJ"_s));
    QCOMPARE(selecionado(lst), nomeIJ);

    // A name Windows-1252 cannot hold: kept in UTF-8, refused otherwise.
    KV_Adiciona a(p.janela.get(), p.janela->modelo(), p.avisos);
    a.show();
    QVERIFY(QTest::qWaitForWindowExposed(&a));
    QTest::sendKeyEvent(QTest::Click, a.txtNome(), Qt::Key_unknown, u"Ł"_s, {});
    QTest::keyClicks(a.txtNome(), u"ucja"_s);
    clicar(a.controle(u"lblSim"_s));
    if (!utf8) {
        QCOMPARE(p.avisos.textos, QStringList{Mensagens::INVALIDOS});
        QCOMPARE(Teste::ler(p.caminho), conteudo);
        return;
    }
    QCOMPARE(p.avisos.textos, QStringList{Mensagens::INSERIDO});
    QCOMPARE(Teste::ler(p.caminho), conteudo + "\xC5\x81ucja\x7F\x7F\r\n\r\n\r\n");
    // A rewrite from the list keeps the encoding and the mark.
    clicar(p.filho(u"lblIJ"_s));
    KV_ContDel d(p.janela.get(), p.janela->modelo(), p.avisos);
    d.show();
    clicar(d.controle(u"lblSim"_s));
    QCOMPARE(p.avisos.textos.last(), Mensagens::DELETADO);
    QCOMPARE(Teste::ler(p.caminho), conteudo.left(conteudo.indexOf("Ana")) +
                                        "Ana\x7F\x7F\r\n\xC5\x81ucja\x7F\x7F\r\n\r\n\r\n");
}

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
