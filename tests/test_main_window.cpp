#include "chrome/dialogo_deslizante.h"
#include "chrome/janela_acessivel.h"
#include "chrome/rotulo_clicavel.h"
#include "gui_helpers.h"
#include "layouts/layout_principal.h"

#include <QAccessible>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaEnum>
#include <QTest>
#include <QTimer>

using Teste::Principal;

namespace {

QStringList itens(const QListWidget *l)
{
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out.append(l->item(i)->text().section(u'\t', 0, 0));
    return out;
}

void clicar(QWidget *w)
{
    QVERIFY(w);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(2, 2));
}

// What a screen reader is told.
QString nomeAcessivel(QObject *o)
{
    return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name);
}

// The notices on screen now.
int avisosVisiveis()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += qobject_cast<KV_ContAd *>(w) && w->isVisible();
    return n;
}

// What a screen reader finds on a window, read as it is, for the tests to
// compare once the window is gone.
struct Leitura {
    QStringList passeio;   // where the focus starts, then each Tab
    QString voltando;      // where Shift+Tab goes from the start
    QStringList controles; // "objectName Role Name" of those asked for
    QStringList problemas; // controls unnamed, decorations shown, buttons that cannot be pressed
};

QString papel(QAccessible::Role r)
{
    return QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(r));
}

void varrer(QAccessibleInterface *i, Leitura &l)
{
    auto *w = qobject_cast<QWidget *>(i->object());
    if (w && JanelaAcessivel::ehEnfeite(w))
        l.problemas.append(w->objectName() + u" decora mas é lido"_s);
    if (!w || !w->isVisible() || qobject_cast<QAbstractItemView *>(w->parentWidget()))
        return;
    const QAccessible::Role r = i->role();
    if (i->text(QAccessible::Name).isEmpty() && r != QAccessible::StaticText &&
        r != QAccessible::Client && r != QAccessible::ScrollBar)
        l.problemas.append(w->objectName() + u" sem nome"_s);
    if ((r == QAccessible::Button || r == QAccessible::PageTab) &&
        (!i->actionInterface() ||
         !i->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction())))
        l.problemas.append(w->objectName() + u" não se aperta"_s);
    for (int c = 0; c < i->childCount(); ++c)
        varrer(i->child(c), l);
}

Leitura ler(QWidget *janela, qsizetype passos, const QStringList &pedidos)
{
    Leitura l;
    for (qsizetype n = 0; n <= passos; ++n) {
        QWidget *foco = QApplication::focusWidget();
        l.passeio.append(foco ? foco->objectName() : QString());
        if (foco && n < passos)
            QTest::keyClick(foco, Qt::Key_Tab);
    }
    if (QWidget *foco = QApplication::focusWidget()) {
        QTest::keyClick(foco, Qt::Key_Backtab, Qt::ShiftModifier);
        l.voltando = QApplication::focusWidget()->objectName();
    }
    for (const QString &nome : pedidos) {
        QAccessibleInterface *i = QAccessible::queryAccessibleInterface(
            janela->findChild<QWidget *>(nome, Qt::FindDirectChildrenOnly));
        l.controles.append(i ? nome + u' ' + papel(i->role()) + u' ' + i->text(QAccessible::Name)
                             : nome);
    }
    varrer(QAccessible::queryAccessibleInterface(janela), l);
    return l;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void inicioEmPastaVazia();
    void controlesNomeadosEmSeusLugares_data();
    void controlesNomeadosEmSeusLugares();
    void abasSetasESelecao();
    void teclas_data();
    void teclas();
    void digitarEncontra();
    void atualizarReleArquivo();
    void falhaDeLeituraAvisa();
    void avisoPosicionadoEFechaSozinho();
    void doisAvisosSeguidos();
    void lidoPorLeitorDeTela_data();
    void lidoPorLeitorDeTela();
    void cadaJanelaParaLeitorDeTela_data();
    void cadaJanelaParaLeitorDeTela();
    void focoFicaOndeEsta_data();
    void focoFicaOndeEsta();
};

void TestMainWindow::inicioEmPastaVazia()
{
    Principal p;
    QCOMPARE(Teste::ler(p.caminho), QByteArray("\r\n\r\n"));
    auto *lst = p.filho<QListWidget>(u"lstContatos"_s);
    QCOMPARE(lst->count(), 1);
    QCOMPARE(lst->item(0)->text(), u"Nenhum contato cadastrado\t\t\t\t\t"_s);
    QVERIFY(!lst->isEnabled());
    QCOMPARE(p.filho<QLabel>(u"lblTotalContatos"_s)->text(), u"0"_s);
    QCOMPARE(p.filho<QLabel>(u"lblDataHoje"_s)->text(), u"Domingo, 06/12/26"_s);
    QCOMPARE(nomeAcessivel(p.filho(u"lblDataHoje"_s)), p.filho<QLabel>(u"lblDataHoje"_s)->text());
    QCOMPARE(nomeAcessivel(p.filho(u"lblTotalContatos"_s)), u"0 contatos"_s);
    QVERIFY(p.avisos.textos.isEmpty());
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    QVERIFY(!p.filho(u"imgAvanca"_s)->isVisible());
    QVERIFY(!p.filho(u"imgRetorna"_s)->isVisible());
    QVERIFY(p.filho(u"imgAvancaDisable"_s)->isVisible());
    QVERIFY(p.filho(u"imgRetornaDisable"_s)->isVisible());
    QCOMPARE(p.janela->windowTitle(), u"Marvessa Fonelo"_s);
    QCOMPARE(p.janela->size(), QSize(195, 300));
}

void TestMainWindow::controlesNomeadosEmSeusLugares_data()
{
    // The design's places, in twips: left, top, width, height.
    QTest::addColumn<QRect>("twips");
    QTest::newRow("txtFone") << QRect(240, 2990, 2450, 210);
    QTest::newRow("lstContatos") << QRect(230, 575, 2460, 1975);
    QTest::newRow("txtMail") << QRect(240, 3230, 2435, 210);
    QTest::newRow("lblTotalContatos") << QRect(1200, 2630, 615, 255);
    QTest::newRow("imgRefresh") << QRect(2100, 4125, 240, 240);
    QTest::newRow("imgFecha") << QRect(2375, 130, 300, 405);
    QTest::newRow("imgMinimiza") << QRect(2090, 130, 300, 405);
    QTest::newRow("imgAdiciona") << QRect(260, 2600, 240, 240);
    QTest::newRow("imgDeleta") << QRect(790, 2600, 240, 240);
    QTest::newRow("imgRetorna") << QRect(1905, 2615, 375, 210);
    QTest::newRow("imgAvancaDisable") << QRect(2315, 2615, 375, 210);
    QTest::newRow("lblDataHoje") << QRect(240, 4155, 1875, 195);
    QTest::newRow("lblAB") << QRect(225, 3555, 330, 195);
    QTest::newRow("lblOP") << QRect(225, 3790, 330, 195);
    QTest::newRow("Shape3") << QRect(195, 2955, 2535, 530);
}

void TestMainWindow::controlesNomeadosEmSeusLugares()
{
    QFETCH(QRect, twips);
    Principal p;
    QWidget *w = p.filho(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(w);
    // 15 twips a pixel.
    QCOMPARE(w->geometry(), QRect(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0),
                                  qRound(twips.width() / 15.0), qRound(twips.height() / 15.0)));
    QCOMPARE(p.filho(u"imgAvanca"_s)->toolTip(), u" Avançar "_s);
    QCOMPARE(p.filho(u"imgRefresh"_s)->toolTip(), u" Atualizar programa "_s);
    // Windowed controls stand over the pictures; an arrow over its disabled
    // picture.
    const QObjectList filhos = p.janela->children();
    QVERIFY(filhos.indexOf(p.filho(u"txtFone"_s)) > filhos.indexOf(p.filho(u"Shape3"_s)));
    QVERIFY(filhos.indexOf(p.filho(u"lstContatos"_s)) > filhos.indexOf(p.filho(u"imgPainel"_s)));
    QVERIFY(filhos.indexOf(p.filho(u"imgAvanca"_s)) >
            filhos.indexOf(p.filho(u"imgAvancaDisable"_s)));
}

void TestMainWindow::abasSetasESelecao()
{
    QStringList linhas;
    for (int i = 0; i < 11; ++i)
        linhas.append(Teste::linha(QStringLiteral("Carla %1").arg(i, 2, 10, QChar(u'0')),
                                   QString::number(100 + i), QStringLiteral("c%1@x").arg(i)));
    linhas.append(Teste::linha(u"Ñandu"_s, u"55"_s, u"n@x"_s));
    linhas.append(Teste::linha(u"Ana"_s, u"1"_s, u"ana@x"_s));
    const QByteArray conteudo = Teste::arquivo(linhas);
    Principal p(&conteudo);
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    auto *lst = p.filho<QListWidget>(u"lstContatos"_s);
    auto *fone = p.filho<QLineEdit>(u"txtFone"_s);
    auto *mail = p.filho<QLineEdit>(u"txtMail"_s);
    QCOMPARE(itens(lst), QStringList{u"Ana"_s});
    QCOMPARE(fone->text(), u"1"_s);
    QCOMPARE(mail->text(), u"ana@x"_s);
    QCOMPARE(p.filho<QLabel>(u"lblTotalContatos"_s)->text(), u"13"_s);

    clicar(p.filho(u"lblMN"_s));
    QCOMPARE(itens(lst), QStringList{u"Ñandu"_s});
    QCOMPARE(p.janela->modelo().navegacao().lblLetraInicial, u"m"_s);

    clicar(p.filho(u"lblCD"_s));
    QCOMPARE(lst->count(), 10);
    QCOMPARE(lst->currentRow(), 0);
    QCOMPARE(fone->text(), u"100"_s);
    auto *avanca = p.filho(u"imgAvanca"_s);
    QVERIFY(avanca->isVisible());
    QVERIFY(!p.filho(u"imgRetorna"_s)->isVisible());

    clicar(avanca);
    QCOMPARE(itens(lst), QStringList{u"Carla 10"_s});
    QVERIFY(fone->text().isEmpty());
    QVERIFY(!avanca->isVisible());
    QVERIFY(p.filho(u"imgRetorna"_s)->isVisible());

    // Choosing with the mouse shows the details.
    const QRect r = lst->visualItemRect(lst->item(0));
    QTest::mouseClick(lst->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(fone->text(), u"110"_s);
    QCOMPARE(mail->text(), u"c10@x"_s);

    clicar(p.filho(u"imgRetorna"_s));
    QCOMPARE(lst->count(), 10);
    QVERIFY(!p.filho(u"imgRetorna"_s)->isVisible());
    // And with the keyboard.
    lst->setFocus();
    QTest::keyClick(lst, Qt::Key_Down);
    QTest::keyClick(lst, Qt::Key_Down);
    QCOMPARE(fone->text(), u"101"_s);

    clicar(p.filho(u"lbl09"_s));
    QCOMPARE(lst->item(0)->text(), u"Nenhum cadastro com números\t\t\t\t\t"_s);
    QVERIFY(!lst->isEnabled());
    QVERIFY(fone->text().isEmpty());
}

void TestMainWindow::teclas_data()
{
    QTest::addColumn<int>("tecla");
    QTest::addColumn<int>("mods");
    QTest::addColumn<QString>("foco");
    // The dialog opened, "oculta", "fechada", or the first name listed.
    QTest::addColumn<QString>("efeito");
    const QString lista = u"lstContatos"_s;
    const auto linha = [&](const char *nome, int tecla, int mods, const QString &efeito) {
        QTest::newRow(nome) << tecla << mods << lista << efeito;
    };
    linha("Insert", Qt::Key_Insert, 0, u"KV_Adiciona"_s);
    linha("Ctrl+N", Qt::Key_N, Qt::ControlModifier, u"KV_Adiciona"_s);
    linha("F2", Qt::Key_F2, 0, u"KV_Atualiza"_s);
    linha("Enter", Qt::Key_Return, 0, u"KV_Atualiza"_s);
    linha("keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, u"KV_Atualiza"_s);
    linha("Delete", Qt::Key_Delete, 0, u"KV_ContDel"_s);
    QTest::newRow("Delete in txtFone")
        << int(Qt::Key_Delete) << 0 << u"txtFone"_s << u"KV_ContDel"_s;
    linha("F1", Qt::Key_F1, 0, u"KV_About"_s);
    linha("Page Down", Qt::Key_PageDown, 0, u"A10"_s);
    linha("Page Up on the first page", Qt::Key_PageUp, 0, u"A00"_s);
    linha("Ctrl+Page Down", Qt::Key_PageDown, Qt::ControlModifier, u"Carla"_s);
    linha("Ctrl+Page Up", Qt::Key_PageUp, Qt::ControlModifier, u"1Zé"_s);
    linha("F5", Qt::Key_F5, 0, u"A"_s);
    linha("Ctrl+M", Qt::Key_M, Qt::ControlModifier, u"oculta"_s);
    linha("Ctrl+Q", Qt::Key_Q, Qt::ControlModifier, u"fechada"_s);
    linha("Alt+F4", Qt::Key_F4, Qt::AltModifier, u"fechada"_s);
}

void TestMainWindow::teclas()
{
    QFETCH(int, tecla);
    QFETCH(int, mods);
    QFETCH(QString, foco);
    QFETCH(QString, efeito);
    QStringList linhas = {Teste::linha(u"Carla"_s), Teste::linha(u"1Zé"_s)};
    for (int i = 0; i < 11; ++i)
        linhas.append(Teste::linha(QStringLiteral("A%1").arg(i, 2, 10, QChar(u'0')), u"1"_s));
    const QByteArray conteudo = Teste::arquivo(linhas);
    Principal p(&conteudo);
    p.janela->show();
    p.janela->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p.janela.get()));
    // Only a re-read shows this one.
    Teste::gravar(p.caminho, Teste::arquivo(linhas << Teste::linha(u"A"_s)));

    QString aberto;
    QTimer passo;
    connect(&passo, &QTimer::timeout, this, [&] {
        auto *d = qobject_cast<DialogoDeslizante *>(QApplication::activeModalWidget());
        if (d && !d->deslizamento().abrindo()) {
            aberto = QLatin1String(d->metaObject()->className());
            d->fecharJa();
        }
    });
    passo.start(20);
    p.filho(foco)->setFocus();
    QTest::keyClick(p.filho(foco), Qt::Key(tecla), Qt::KeyboardModifiers(mods));
    passo.stop();

    if (efeito.startsWith(u"KV_"))
        QCOMPARE(aberto, efeito);
    else if (efeito == u"oculta")
        QTRY_VERIFY(!p.janela->isVisible() || p.janela->isMinimized());
    else if (efeito == u"fechada")
        QVERIFY(!p.janela->isVisible() && QFile::exists(p.ini()));
    else
        QCOMPARE(itens(p.filho<QListWidget>(u"lstContatos"_s)).value(0), efeito);
    if (efeito != u"fechada")
        QVERIFY(!QFile::exists(p.ini()));
}

void TestMainWindow::digitarEncontra()
{
    QStringList linhas;
    for (int i = 0; i < 12; ++i)
        linhas.append(Teste::linha(QStringLiteral("Carla %1").arg(i, 2, 10, QChar(u'0')),
                                   QString::number(100 + i)));
    linhas.append(Teste::linha(u"Ana"_s, u"1"_s));
    const QByteArray conteudo = Teste::arquivo(linhas);
    Principal p(&conteudo);
    p.janela->show();
    p.janela->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p.janela.get()));
    auto *lst = p.filho<QListWidget>(u"lstContatos"_s);
    auto *fone = p.filho<QLineEdit>(u"txtFone"_s);
    lst->setFocus();
    // Not the list's own search among the rows it shows: the whole list's.
    QTest::keyClicks(lst, u"CARLA 11"_s);
    QCOMPARE(itens(lst), (QStringList{u"Carla 10"_s, u"Carla 11"_s}));
    QCOMPARE(lst->currentItem()->text().section(u'\t', 0, 0), u"Carla 11"_s);
    QVERIFY(lst->currentItem()->isSelected());
    QCOMPARE(fone->text(), u"111"_s);
    QVERIFY(p.filho(u"imgRetorna"_s)->isVisible());
    // Nothing starts so: nothing moves.
    QTest::keyClick(lst, Qt::Key_X);
    QCOMPARE(fone->text(), u"111"_s);
    // Backspace goes back to what the shorter prefix finds.
    QTest::keyClick(lst, Qt::Key_Backspace);
    QTest::keyClick(lst, Qt::Key_Backspace);
    QCOMPARE(fone->text(), u"110"_s); // "carla 1": Carla 10
    // From a read-only field too, once a second has passed.
    QTest::qWait(int(BuscaContato::PAUSA_MS));
    fone->setFocus();
    QTest::keyClicks(fone, u"an"_s);
    QCOMPARE(itens(lst).value(0), u"Ana"_s);
    QCOMPARE(fone->text(), u"1"_s);
    QVERIFY(p.avisos.textos.isEmpty());
}

void TestMainWindow::atualizarReleArquivo()
{
    const QByteArray antes = Teste::arquivo({Teste::linha(u"Bia"_s, u"1"_s)});
    Principal p(&antes);
    clicar(p.filho(u"lblCD"_s));
    Teste::gravar(p.caminho, Teste::arquivo({Teste::linha(u"Bia"_s, u"1"_s),
                                             Teste::linha(u"Álvaro"_s, u"2"_s)}));
    clicar(p.filho(u"imgRefresh"_s));
    auto *lst = p.filho<QListWidget>(u"lstContatos"_s);
    QCOMPARE(itens(lst), (QStringList{u"Álvaro"_s, u"Bia"_s}));
    QCOMPARE(p.filho<QLineEdit>(u"txtFone"_s)->text(), u"2"_s);
    QCOMPARE(p.filho<QLabel>(u"lblTotalContatos"_s)->text(), u"2"_s);
}

void TestMainWindow::falhaDeLeituraAvisa()
{
    const QByteArray antes = Teste::arquivo({Teste::linha(u"Bia"_s, u"1"_s)});
    Principal p(&antes);
    QVERIFY(QFile::remove(p.caminho));
    QVERIFY(QDir(p.dir.path()).mkdir(u"contatos.txt"_s));
    clicar(p.filho(u"imgRefresh"_s));
    QCOMPARE(p.avisos.textos, QStringList{u"Não foi possível ler o arquivo contatos.txt!"_s});
    QCOMPARE(itens(p.filho<QListWidget>(u"lstContatos"_s)), QStringList{u"Bia"_s});
}

void TestMainWindow::avisoPosicionadoEFechaSozinho()
{
    Principal p;
    p.janela->move(300, 200);
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));

    Avisos avisos; // the program's own, of 1.5 s
    QPoint pos;
    QString texto, nome;
    QAccessible::Role papel = QAccessible::NoRole;
    bool visivelAposTecla = false, visivelAposClique = false;
    QTimer::singleShot(50, this, [&] {
        auto *aviso = qobject_cast<KV_ContAd *>(QApplication::activeModalWidget());
        QVERIFY(aviso);
        pos = aviso->pos();
        texto = aviso->findChild<QLabel *>(u"Label1"_s)->text();
        nome = nomeAcessivel(aviso->findChild<QLabel *>(u"Label1"_s));
        papel = QAccessible::queryAccessibleInterface(aviso)->role();
        QTest::keyClick(aviso, Qt::Key_Escape);
        QTest::keyClick(aviso, Qt::Key_Return);
        visivelAposTecla = aviso->isVisible();
        QTest::mouseClick(aviso, Qt::LeftButton);
        aviso->close();
        visivelAposClique = aviso->isVisible();
    });
    QElapsedTimer t;
    t.start();
    avisos.MostrarAviso(p.janela.get(), u"Contato inserido com sucesso!"_s);
    const qint64 decorrido = t.elapsed();
    QCOMPARE(texto, u"Contato inserido com sucesso!"_s);
    // Screen readers read the message shown, announced as an alert.
    QCOMPARE(nome, texto);
    QCOMPARE(papel, QAccessible::AlertMessage);
    // Left + 245 and top + 600 twips: 16 and 40 pixels.
    QCOMPARE(pos, QPoint(316, 240));
    QVERIFY(visivelAposTecla);
    QVERIFY(visivelAposClique);
    QVERIFY2(decorrido >= 1400, qPrintable(QString::number(decorrido)));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestMainWindow::doisAvisosSeguidos()
{
    Principal p;
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.janela.get()));
    Avisos avisos;
    avisos.duracaoMs = 100;
    QStringList textos;
    int maisDeUm = 0;
    QTimer vigia; // never two notices on screen at once
    connect(&vigia, &QTimer::timeout, this, [&] { maisDeUm += avisosVisiveis() > 1; });
    vigia.start(5);
    const auto observar = [&] {
        auto *a = QApplication::activeModalWidget();
        textos.append(a->findChild<QLabel *>(u"Label1"_s)->text());
        QCOMPARE(avisosVisiveis(), 1);
    };
    QTimer::singleShot(30, this, observar);
    avisos.MostrarAviso(p.janela.get(), u"Este nome já existe!"_s);
    QTimer::singleShot(30, this, observar);
    avisos.MostrarAviso(p.janela.get(), u"Esse nome já existe!"_s);
    QCOMPARE(textos, (QStringList{u"Este nome já existe!"_s, u"Esse nome já existe!"_s}));
    QCOMPARE(maisDeUm, 0);
    // Each notice is a window of its own, gone once it has closed.
    QCOMPARE(avisosVisiveis(), 0);
}

void TestMainWindow::lidoPorLeitorDeTela_data()
{
    QTest::addColumn<QString>("linha");
    QTest::addColumn<QString>("falado"); // the list's item, as a screen reader says it
    QTest::addColumn<QString>("total");
    QTest::newRow("telefone e e-mail")
        << Teste::linha(u"Ana Souza"_s, u"(11) 1111"_s, u"a@x.com"_s)
        << u"Ana Souza, telefone (11) 1111, e-mail a@x.com"_s << u"1 contato"_s;
    QTest::newRow("só o e-mail") << Teste::linha(u"Bia"_s, {}, u"b@x"_s) << u"Bia, e-mail b@x"_s
                                 << u"1 contato"_s;
    QTest::newRow("só o nome") << Teste::linha(u"Alice"_s) << u"Alice"_s << u"1 contato"_s;
}

// What the accessibility bus says of the main window's list, details and
// total: names, not TABs.
void TestMainWindow::lidoPorLeitorDeTela()
{
    QFETCH(QString, linha);
    QFETCH(QString, falado);
    QFETCH(QString, total);
    const QByteArray conteudo = Teste::arquivo({linha});
    Principal p(&conteudo);
    QAccessibleInterface *lista = QAccessible::queryAccessibleInterface(p.filho(u"lstContatos"_s));
    QCOMPARE(lista->text(QAccessible::Name), u"Contatos"_s);
    QVERIFY(lista->childCount() >= 1);
    QCOMPARE(lista->child(0)->text(QAccessible::Name), falado);
    for (const auto &[campo, nome] :
         {std::pair{u"txtFone"_s, u"Telefone"_s}, std::pair{u"txtMail"_s, u"E-mail"_s}}) {
        QAccessibleInterface *i = QAccessible::queryAccessibleInterface(p.filho(campo));
        QCOMPARE(i->text(QAccessible::Name), nome);
        QVERIFY(i->state().readOnly);
    }
    QCOMPARE(nomeAcessivel(p.filho(u"lblTotalContatos"_s)), total);
    // The pictures that act are buttons, the tabs page tabs, each pressed
    // as a click would.
    QAccessibleInterface *adicionar =
        QAccessible::queryAccessibleInterface(p.filho(u"imgAdiciona"_s));
    QCOMPARE(adicionar->role(), QAccessible::Button);
    QCOMPARE(adicionar->text(QAccessible::Name), u"Adicionar contato"_s);
    QAccessibleInterface *aba = QAccessible::queryAccessibleInterface(p.filho(u"lblCD"_s));
    QCOMPARE(aba->role(), QAccessible::PageTab);
    QCOMPARE(aba->actionInterface()->actionNames(),
             QStringList{QAccessibleActionInterface::pressAction()});
    QVERIFY(!aba->state().selected);
    aba->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    // C and D hold none of them.
    QVERIFY(lista->child(0)->text(QAccessible::Name) != falado);
    QVERIFY(aba->state().selected);
    QCOMPARE(lista->text(QAccessible::Description), u"C e D, página 1 de 1"_s);
}

void TestMainWindow::cadaJanelaParaLeitorDeTela_data()
{
    QTest::addColumn<QString>("acao");        // opens the dialog; none: the main window
    QTest::addColumn<QStringList>("passeio"); // where the focus starts, then Tab after Tab
    QTest::addColumn<QStringList>("controles");
    const auto nomes = [](const char *s) { return QString::fromUtf8(s).split(u' '); };
    QTest::newRow("janela principal")
        << QString()
        << nomes("lstContatos imgAdiciona imgAtualiza imgDeleta txtFone txtMail lblAB lblCD "
                 "lblEF lblGH lblIJ lblKL lblMN lblOP lblQR lblST lblUV lblWX lblYZ lbl09 "
                 "imgRefresh imgAbout imgMinimiza imgFecha")
        << QStringList{u"imgAdiciona Button Adicionar contato"_s, u"lblAB PageTab A e B"_s,
                       u"imgFecha Button Fechar"_s, u"imgAvanca Button Avançar"_s};
    QTest::newRow("adicionar") << u"acao_imgAdiciona"_s
                               << nomes("txtNome txtFone txtMail lblSim lblNao")
                               << QStringList{u"txtNome EditableText Nome"_s,
                                              u"lblSim Button Adicionar"_s};
    QTest::newRow("atualizar") << u"acao_imgAtualiza"_s
                               << nomes("txtNome txtFone txtMail lblSim lblNao")
                               << QStringList{u"lblSim Button Atualizar"_s};
    QTest::newRow("deletar") << u"acao_imgDeleta"_s << nomes("lblSim lblNao")
                             << QStringList{u"lblSim Button SIM"_s, u"lblNao Button NÃO"_s};
    QTest::newRow("procurar") << u"acaoProcurar"_s << nomes("txtProcura lblSim lblNao")
                              << QStringList{u"txtProcura EditableText Procurar"_s,
                                             u"lstAchados List Contatos encontrados"_s};
    QTest::newRow("sincronização")
        << u"acaoSincronizacao"_s << nomes("txtEndereco txtUsuario txtSenha lblSim lblNao")
        << QStringList{u"txtSenha EditableText Senha"_s, u"lblSim Button Conectar"_s};
    QTest::newRow("versões") << u"acaoVersoes"_s << nomes("lblNao lstVersoes")
                             << QStringList{u"lstVersoes List Versões anteriores"_s};
    QTest::newRow("padronizar") << u"acaoPadronizar"_s
                                << nomes("lstTelefones lblSim lblNao optNacional")
                                << QStringList{u"optNacional RadioButton Estilo nacional"_s};
    QTest::newRow("duplicados")
        << u"acaoDuplicados"_s
        << nomes("lstEscolhas lblDistintos lblSim lblNao lblAnterior lblProximo")
        << QStringList{u"lblAnterior Button Grupo anterior"_s,
                       u"lblGrupo StaticText Mesmo telefone"_s};
    QTest::newRow("imprimir") << u"acaoImprimir"_s
                              << nomes("optTodos optColunas2 chkEmails lblSim lblAbrir lblNao")
                              << QStringList{u"optColunas2 RadioButton 2 colunas"_s,
                                             u"chkEmails CheckBox Com os e-mails"_s,
                                             u"lblAbrir Button Abrir"_s};
    QTest::newRow("sobre") << u"acao_imgAbout"_s << nomes("lblNao lblVelquist")
                           << QStringList{u"lblNao Button Fechar"_s};
}

// Every window as a screen reader finds it: where the focus starts, where
// Tab takes it, round, each control's role and name; nothing unnamed,
// nothing that only decorates, every button pressable.
void TestMainWindow::cadaJanelaParaLeitorDeTela()
{
    QFETCH(QString, acao);
    QFETCH(QStringList, passeio);
    QFETCH(QStringList, controles);
    QStringList pedidos;
    for (const QString &c : controles)
        pedidos.append(c.section(u' ', 0, 0));
    const QByteArray conteudo = Teste::arquivo({Teste::linha(u"Ana"_s, u"11 3030-4040"_s, u"a@x"_s),
                                                Teste::linha(u"Anita"_s, u"1130304040"_s)});
    Principal p(&conteudo);
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowActive(p.janela.get()));
    Leitura l;
    if (acao.isEmpty()) {
        l = ler(p.janela.get(), passeio.size(), pedidos);
    } else {
        Teste::Passos<DialogoDeslizante> passos([&](DialogoDeslizante *d) {
            l = ler(d, passeio.size(), pedidos);
            d->fecharJa();
            return true;
        });
        p.janela->findChild<QAction *>(acao)->trigger();
        QTRY_VERIFY(passos.feito());
    }
    QCOMPARE(l.passeio, passeio + passeio.first(1));
    QCOMPARE(l.voltando, passeio.last());
    QCOMPARE(l.controles, controles);
    QCOMPARE(l.problemas, QStringList());
}

void TestMainWindow::focoFicaOndeEsta_data()
{
    QTest::addColumn<QString>("foco");
    QTest::addColumn<QString>("acao");
    QTest::addColumn<QString>("depois");
    QTest::newRow("aba vazia") << u"lstContatos"_s << u"acaoAbaSeguinte"_s << u"lblEF"_s;
    QTest::newRow("última página") << u"imgAvanca"_s << u"acao_imgAvanca"_s << u"lstContatos"_s;
    QTest::newRow("outra aba, das teclas")
        << u"imgAdiciona"_s << u"acaoAbaAnterior"_s << u"lstContatos"_s;
}

// A control that goes away under the keyboard's focus (the list of an empty
// tab, the arrow of the last page) hands it to the list or the tab shown.
void TestMainWindow::focoFicaOndeEsta()
{
    QFETCH(QString, foco);
    QFETCH(QString, acao);
    QFETCH(QString, depois);
    QStringList linhas;
    for (int i = 0; i < 11; ++i)
        linhas.append(Teste::linha(u"Carla %1"_s.arg(i)));
    const QByteArray conteudo = Teste::arquivo(linhas + QStringList{Teste::linha(u"Ana"_s)});
    Principal p(&conteudo);
    p.janela->show();
    QVERIFY(QTest::qWaitForWindowActive(p.janela.get()));
    QCOMPARE(QApplication::focusWidget(), p.filho(u"lstContatos"_s));
    clicar(p.filho(u"lblCD"_s));
    p.filho(foco)->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), p.filho(foco));
    p.janela->findChild<QAction *>(acao)->trigger();
    QCOMPARE(QApplication::focusWidget()->objectName(), depois);
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
