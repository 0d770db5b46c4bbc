// The three-way merge of a sync on its own, with no server and no file: what
// the last sync agreed, what is here and what is there give the plan, row by
// row. New merge rules are tried here first.
#include "helpers.h"
#include "sync/cartao_vcard.h"
#include "sync/fusao.h"
#include "sync/protecao_apagar.h"

#include <QtTest>

namespace {

QByteArray cartao(const QByteArray &uid, const QByteArray &nome, const QByteArray &resto = {})
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\nFN:" + nome + "\r\n" + resto +
           "END:VCARD\r\n";
}

ContactRecord registro(const QString &texto)
{
    const QStringList c = texto.split(u'|');
    return {c.value(0), c.value(1), c.value(2)};
}

// A case: the cards agreed (by href, with their contacts as they read),
// what is here, what is there now (a card not named is as agreed; an empty
// one is gone), and the merges and renames told since.
struct Caso {
    QList<std::pair<QString, QByteArray>> acordados;
    QStringList aqui;
    QMap<QString, QByteArray> la;
    QList<EstadoSincronizacao::Juncao> juntados;
    QList<QPair<QString, QString>> renomeados;
    bool semApagar = false;
};

// The plan as lines: "PUT h", "DELETE h depois de h2", "DELETE h junção",
// "aqui + nome|telefone|e-mail", "aqui - nome", "aqui ~ nome: novo".
QStringList linhas(const Fusao::Plano &p)
{
    using T = Fusao::OperacaoServidor::Tipo;
    QStringList out;
    for (const auto &op : p.remotas) {
        QString l = (op.tipo == T::Apagar ? u"DELETE "_s : u"PUT "_s) + op.href.section(u'/', -1);
        if (op.juncao)
            l += u" junção"_s;
        if (!op.depoisDe.isEmpty())
            l += u" depois de "_s + op.depoisDe.section(u'/', -1);
        out.append(l);
    }
    for (const auto &op : p.locais) {
        const QString r = op.registro.Nome + u'|' + op.registro.Telefone + u'|' + op.registro.Email;
        switch (op.tipo) {
        case Fusao::OperacaoLocal::Tipo::Acrescentar:
            out.append(u"aqui + "_s + r);
            break;
        case Fusao::OperacaoLocal::Tipo::Remover:
            out.append(u"aqui - "_s + op.nome);
            break;
        case Fusao::OperacaoLocal::Tipo::Trocar:
            out.append(u"aqui ~ "_s + op.nome + u": "_s + r);
            break;
        }
    }
    out.sort();
    return out;
}

} // namespace

Q_DECLARE_METATYPE(Caso)

class TesteFusao : public QObject {
    Q_OBJECT

    static const inline QByteArray ANA =
        cartao("ana-1", "Ana Souza",
               "N:Souza;Ana;;;\r\nTEL;TYPE=CELL:11 98765-4321\r\nEMAIL:ana@x.com\r\n"
               "item1.ADR:;;Rua A;São Paulo;SP;;BR\r\nitem1.X-ABLabel:Casa\r\nNOTE:amiga\r\n");
    static const inline QByteArray SOUZA =
        cartao("ana-2", "Souza Ana",
               "TEL;TYPE=CELL:(11) 3456-7890\r\nEMAIL:ANA@x.com\r\n"
               "item1.ADR:;;Av. B;Rio;RJ;;BR\r\nitem1.X-ABLabel:Trabalho\r\n"
               "item2.URL:https://ana.example\r\nitem2.X-ABLabel:Blog\r\nNOTE:colega\r\n");
    // The same person as Ana twice, nothing more on the second card.
    static const inline QByteArray IGUAL =
        cartao("ana-2", "Souza Ana", "TEL:11987654321\r\nEMAIL:ana@x.com\r\n");

    // Runs the case; the plan, and the bytes it sends to each card.
    static std::pair<Fusao::Plano, EstadoSincronizacao> fundir(const Caso &c)
    {
        EstadoSincronizacao base;
        QHash<QString, Fusao::CartaoServidor> servidor;
        for (const auto &[href, bytes] : c.acordados) {
            const auto lido = CartaoVCard::ler(bytes);
            Q_ASSERT(lido);
            const QString h = u"/livro/"_s + href;
            base.cartoes.insert(h, {"\"1\"", bytes, lido->registro(), lido->registro()});
            if (!c.la.contains(href))
                servidor.insert(h, {"\"1\"", bytes, false, std::nullopt});
        }
        for (auto it = c.la.begin(); it != c.la.end(); ++it) {
            if (!it.value().isEmpty())
                servidor.insert(u"/livro/"_s + it.key(),
                                {"\"2\"", it.value(), false, std::nullopt});
        }
        base.juntados = c.juntados;
        base.renomeados = c.renomeados;
        QList<ContactRecord> locais;
        for (const QString &l : c.aqui)
            locais.append(registro(l));
        Fusao::Entrada e;
        e.base = &base;
        e.servidor = &servidor;
        e.locais = &locais;
        e.locale = Teste::ptBR();
        e.colecao = u"/livro/"_s;
        int n = 0;
        e.novoUid = [&n] { return u"novo%1"_s.arg(++n); };
        e.semApagar = c.semApagar;
        return {Fusao::fundir(e), base};
    }

private Q_SLOTS:
    void plano_data()
    {
        QTest::addColumn<Caso>("caso");
        QTest::addColumn<QStringList>("plano");
        // Lines the card sent for the first PUT must hold, and must not.
        QTest::addColumn<QByteArrayList>("tem");
        QTest::addColumn<QByteArrayList>("naoTem");
        const QString ana = u"Ana Souza|11 98765-4321|ana@x.com"_s;
        const EstadoSincronizacao::Juncao juncao{u"Ana Souza"_s, {u"Souza Ana"_s}};

        QTest::newRow("nada mudou") << Caso{{{"a1.vcf", ANA}}, {ana}, {}, {}, {}} << QStringList{}
                                    << QByteArrayList{} << QByteArrayList{};
        QTest::newRow("mudado aqui: só a linha mostrada")
            << Caso{{{"a1.vcf", ANA}}, {u"Ana Souza|2222|ana@x.com"_s}, {}, {}, {}}
            << QStringList{u"PUT a1.vcf"_s}
            << QByteArrayList{"TEL;TYPE=CELL:2222\r\n", "NOTE:amiga"} << QByteArrayList{"98765"};
        QTest::newRow("apagado aqui")
            << Caso{{{"a1.vcf", ANA}, {"b.vcf", cartao("b", "Bia")}}, {u"Bia||"_s}, {}, {}, {}}
            << QStringList{u"DELETE a1.vcf"_s} << QByteArrayList{} << QByteArrayList{};
        QTest::newRow("apagado aqui, Manter: volta")
            << Caso{{{"a1.vcf", ANA}, {"b.vcf", cartao("b", "Bia")}},
                    {u"Bia||"_s},
                    {},
                    {},
                    {},
                    true}
            << QStringList{u"aqui + "_s + ana} << QByteArrayList{} << QByteArrayList{};

        // Merged here: the kept card takes every line of the other's, its
        // own old number and the other's, the chosen one shown, labels kept
        // apart; and the other goes once that card is written.
        QTest::newRow("junção: o outro número escolhido, o próprio fica")
            << Caso{{{"a1.vcf", ANA}, {"a2.vcf", SOUZA}},
                    {u"Ana Souza|(11) 3456-7890|ana@x.com"_s},
                    {},
                    {juncao},
                    {}}
            << QStringList{u"DELETE a2.vcf junção depois de a1.vcf"_s, u"PUT a1.vcf"_s}
            << QByteArrayList{"TEL;TYPE=CELL:(11) 3456-7890\r\n",
                              "TEL;TYPE=CELL:11 98765-4321\r\n",
                              "item1.X-ABLabel:Casa\r\n",
                              "item2.ADR:;;Av. B;Rio;RJ;;BR\r\n",
                              "item2.X-ABLabel:Trabalho\r\n",
                              "item3.URL:https://ana.example\r\n",
                              "item3.X-ABLabel:Blog\r\n",
                              "NOTE:colega\r\n",
                              "NOTE:amiga\r\n"}
            << QByteArrayList{"\r\n\r\n", "EMAIL:ANA@x.com", "FN:Souza Ana", "UID:ana-2"};
        QTest::newRow("junção sem nada a acrescentar: o outro vai já")
            << Caso{{{"a1.vcf", ANA}, {"a2.vcf", IGUAL}}, {ana}, {}, {juncao}, {}}
            << QStringList{u"DELETE a2.vcf junção"_s} << QByteArrayList{} << QByteArrayList{};
        QTest::newRow("junção já levada, o DELETE não: vai já")
            << Caso{{{"a1.vcf", ANA}, {"a2.vcf", SOUZA}},
                    {ana},
                    {{"a1.vcf", QByteArray(ANA).replace("NOTE:amiga\r\n",
                                                        "NOTE:amiga\r\nNOTE:colega\r\nTEL;TYPE="
                                                        "CELL:(11) 3456-7890\r\nitem2.ADR:;;Av. "
                                                        "B;Rio;RJ;;BR\r\nitem2.X-ABLabel:Trabalho"
                                                        "\r\nitem3.URL:https://ana.example\r\n"
                                                        "item3.X-ABLabel:Blog\r\n")}},
                    {juncao},
                    {}}
            << QStringList{u"DELETE a2.vcf junção"_s} << QByteArrayList{} << QByteArrayList{};
        QTest::newRow("junção, o mantido renomeado depois")
            << Caso{{{"a1.vcf", ANA}, {"a2.vcf", SOUZA}},
                    {u"Ana Lima|11 98765-4321|ana@x.com"_s},
                    {},
                    {{u"Ana Lima"_s, {u"Souza Ana"_s}}},
                    {{u"Ana Souza"_s, u"Ana Lima"_s}}}
            << QStringList{u"DELETE a2.vcf junção depois de a1.vcf"_s, u"PUT a1.vcf"_s}
            << QByteArrayList{"FN:Ana Lima\r\n", "NOTE:colega\r\n"} << QByteArrayList{};
        QTest::newRow("junção, o mantido apagado depois: os dois vão")
            << Caso{{{"a1.vcf", ANA}, {"a2.vcf", SOUZA}, {"b.vcf", cartao("b", "Bia")}},
                    {u"Bia||"_s},
                    {},
                    {juncao},
                    {}}
            << QStringList{u"DELETE a1.vcf"_s, u"DELETE a2.vcf"_s} << QByteArrayList{}
            << QByteArrayList{};
        QTest::newRow("junção com Manter: fica junta")
            << Caso{{{"a1.vcf", ANA}, {"a2.vcf", IGUAL}, {"b.vcf", cartao("b", "Bia")}},
                    {ana},
                    {},
                    {juncao},
                    {},
                    true}
            << QStringList{u"DELETE a2.vcf junção"_s, u"aqui + Bia||"_s} << QByteArrayList{}
            << QByteArrayList{};
        QTest::newRow("junção, o outro mudado no telefone: vai com o que tem agora")
            << Caso{{{"a1.vcf", ANA}, {"a2.vcf", IGUAL}},
                    {ana},
                    {{"a2.vcf", QByteArray(IGUAL).replace("END:VCARD", "NOTE:nova\r\nEND:VCARD")}},
                    {juncao},
                    {}}
            << QStringList{u"DELETE a2.vcf junção depois de a1.vcf"_s, u"PUT a1.vcf"_s}
            << QByteArrayList{"NOTE:nova\r\n"} << QByteArrayList{};
    }

    void plano()
    {
        QFETCH(Caso, caso);
        QFETCH(QStringList, plano);
        QFETCH(QByteArrayList, tem);
        QFETCH(QByteArrayList, naoTem);
        const auto [p, base] = fundir(caso);
        QCOMPARE(linhas(p), plano);
        QByteArray enviado;
        for (const auto &op : p.remotas) {
            if (op.tipo != Fusao::OperacaoServidor::Tipo::Apagar && enviado.isEmpty())
                enviado = op.bytes;
        }
        for (const QByteArray &l : tem)
            QVERIFY2(enviado.contains(l), l + "\n" + enviado);
        for (const QByteArray &l : naoTem)
            QVERIFY2(!enviado.contains(l), l + "\n" + enviado);
        if (!enviado.isEmpty()) {
            const auto lido = CartaoVCard::ler(enviado);
            QVERIFY(lido);
            // The card shows what the file holds.
            for (const QString &l : caso.aqui) {
                if (registro(l).Nome == lido->registro().Nome)
                    QCOMPARE(lido->registro(), registro(l));
            }
        }
    }

    // The deletes a sync does not do by itself: a side left with nothing of
    // what was agreed, or more than a few and a tenth of a side in a day,
    // or more than fifty; merges told, never asked about.
    void protecao_data()
    {
        using V = ProtecaoApagar::Vazio;
        QTest::addColumn<QList<int>>("plano");   // deletes here, there, of which merges
        QTest::addColumn<QList<int>>("lados");   // contacts here, cards there
        QTest::addColumn<QList<int>>("hoje");    // deleted today, unasked: here, there
        QTest::addColumn<QList<int>>("acordos"); // agreed; of them still here, still there
        QTest::addColumn<int>("permitido");      // deletes allowed on each side; -1 none
        QTest::addColumn<int>("vazio");          // -1: nothing asked
        const QList<int> semHoje{0, 0}, acordos{100, 90, 90};
        const int nada = -1, pergunta = int(V::Nenhum);
        QTest::newRow("5 de 8 aqui") << QList<int>{5, 0, 0} << QList<int>{8, 8} << semHoje
                                     << QList<int>{8, 8, 8} << -1 << nada;
        QTest::newRow("6 de 8 aqui") << QList<int>{6, 0, 0} << QList<int>{8, 8} << semHoje
                                     << QList<int>{8, 8, 8} << -1 << pergunta;
        QTest::newRow("6 de 100") << QList<int>{0, 6, 0} << QList<int>{100, 100} << semHoje
                                  << acordos << -1 << nada;
        QTest::newRow("6 de 50") << QList<int>{0, 6, 0} << QList<int>{50, 50} << semHoje << acordos
                                 << -1 << pergunta;
        QTest::newRow("333 de 1.000, de uma vez") << QList<int>{333, 0, 0} << QList<int>{1000, 1000}
                                                  << semHoje << acordos << -1 << pergunta;
        QTest::newRow("3 agora e 3 hoje, de 50") << QList<int>{3, 0, 0} << QList<int>{47, 47}
                                                 << QList<int>{3, 0} << acordos << -1 << pergunta;
        QTest::newRow("3 agora e 3 hoje lá, de 50: este lado")
            << QList<int>{3, 0, 0} << QList<int>{47, 47} << QList<int>{0, 3} << acordos << -1
            << nada;
        QTest::newRow("50 de 10.000")
            << QList<int>{0, 50, 0} << QList<int>{10000, 10000} << semHoje << acordos << -1 << nada;
        QTest::newRow("1 agora e 50 hoje, de 10.000")
            << QList<int>{0, 1, 0} << QList<int>{10000, 10000} << QList<int>{0, 50} << acordos << -1
            << pergunta;
        QTest::newRow("60 junções de 100")
            << QList<int>{0, 60, 60} << QList<int>{40, 100} << semHoje << acordos << -1 << nada;
        QTest::newRow("6 apagados e 3 junções de 50")
            << QList<int>{0, 9, 3} << QList<int>{41, 50} << semHoje << acordos << -1 << pergunta;
        QTest::newRow("nada aqui do que foi acordado, um contato novo")
            << QList<int>{0, 3, 0} << QList<int>{1, 3} << semHoje << QList<int>{3, 0, 3} << -1
            << int(V::Aqui);
        QTest::newRow("catálogo refeito com um cartão")
            << QList<int>{3, 0, 0} << QList<int>{3, 1} << semHoje << QList<int>{3, 3, 0} << -1
            << int(V::La);
        QTest::newRow("6 de 8 aqui, apagar até 6") << QList<int>{6, 0, 0} << QList<int>{8, 8}
                                                   << semHoje << QList<int>{8, 8, 8} << 6 << nada;
        QTest::newRow("7 de 8 aqui, apagar até 6")
            << QList<int>{7, 0, 0} << QList<int>{8, 8} << semHoje << QList<int>{8, 8, 8} << 6
            << pergunta;
    }

    void protecao()
    {
        QFETCH(QList<int>, plano);
        QFETCH(QList<int>, lados);
        QFETCH(QList<int>, hoje);
        QFETCH(QList<int>, acordos);
        QFETCH(int, permitido);
        QFETCH(int, vazio);
        Fusao::Plano p;
        for (int i = 0; i < plano[0]; ++i)
            p.locais.append({Fusao::OperacaoLocal::Tipo::Remover, u"c%1"_s.arg(i), {}, {}});
        for (int i = 0; i < plano[1]; ++i)
            p.remotas.append({Fusao::OperacaoServidor::Tipo::Apagar,
                              u"/c%1"_s.arg(i),
                              {},
                              {},
                              {},
                              i < plano[2]});
        p.acordados = acordos[0];
        p.acordadosAqui = acordos[1];
        p.acordadosLa = acordos[2];
        DecisaoSincronizacao d;
        if (permitido >= 0)
            d = {DecisaoSincronizacao::Tipo::Apagar, permitido, permitido};
        const auto r = ProtecaoApagar::avaliar(p, lados[0], lados[1], {0, hoje[0], hoje[1]}, d);
        QCOMPARE(r ? int(r->vazio) : -1, vazio);
        if (r) {
            QCOMPARE(r->aqui, plano[0]);
            QCOMPARE(r->la, plano[1]);
            QCOMPARE(r->juncoes, plano[2]);
        }
    }

    // What was noted after the state was written whole is read over it, in
    // order; a note torn by a program stopped while writing it is passed
    // over, and those after it still count.
    void estadoNotado()
    {
        EstadoSincronizacao e;
        e.cartoes.insert(u"/livro/a1.vcf"_s,
                         {"\"1\"", ANA, {}, ContactRecord{u"Ana Souza"_s, {}, {}}});
        e.juntados.append({u"Ana Souza"_s, {u"Souza Ana"_s}});
        const auto renomeado = [](const QString &de, const QString &para) {
            return EstadoSincronizacao::nota(
                {{u"t"_s, u"renomeado"_s}, {u"de"_s, de}, {u"para"_s, para}});
        };
        const QByteArray rasgada = renomeado(u"X"_s, u"Y"_s).chopped(3);
        const QByteArray bytes = e.emBytes() + renomeado(u"Ana Souza"_s, u"Ana Lima"_s) + rasgada +
                                 renomeado(u"Bia"_s, u"Bia Reis"_s) +
                                 EstadoSincronizacao::nota({{u"t"_s, u"apagado"_s},
                                                            {u"href"_s, u"/livro/a1.vcf"_s},
                                                            {u"contado"_s, true},
                                                            {u"quando"_s, qint64(1000)}});
        bool notado = false;
        const auto lido = EstadoSincronizacao::deBytes(bytes, 2000, &notado);
        QVERIFY(notado);
        QCOMPARE(lido.renomeados, (QList<QPair<QString, QString>>{{u"Ana Souza"_s, u"Ana Lima"_s},
                                                                  {u"Bia"_s, u"Bia Reis"_s}}));
        // The merge follows its kept contact's rename.
        QCOMPARE(lido.juntados.first().mantido, u"Ana Lima"_s);
        QVERIFY(lido.cartoes.isEmpty());
        QCOMPARE(lido.apagadosNoDia(2000).la, 1);
    }
};

QTEST_GUILESS_MAIN(TesteFusao)
#include "test_fusao.moc"
