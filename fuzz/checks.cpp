#include "checks.h"

#include "conversao.h"
#include "model/classificador_grupos.h"
#include "model/lista_inicio.h"
#include "model/modelo_principal.h"
#include "operations/edicao_contatos.h"
#include "store/codificacoes.h"
#include "store/contatos_externos.h"
#include "store/formato_contatos.h"
#include "sync/cartao_vcard.h"
#include "sync/estado_sincronizacao.h"
#include "sync/listagem_livro.h"
#include "sync/multistatus.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

[[noreturn]] void falha(const char *o_que)
{
    std::fprintf(stderr, "broken: %s\n", o_que);
    std::abort();
}

QByteArray lerArquivo(const QString &caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void externos(const ContatosExternos::Lidos &lidos, ContatosExternos::Formato formato)
{
    QList<ContactRecord> contatos;
    for (const ContactRecord &r : lidos.contatos) {
        for (const QString *campo : {&r.Nome, &r.Telefone, &r.Email}) {
            if (campo->contains(u'\r') || campo->contains(u'\n') ||
                campo->contains(FormatoContatos::SEPARADOR))
                falha("a contact's field holds CR, LF or the separator");
        }
        if (formato == ContatosExternos::Formato::VCard || r != ContactRecord{})
            contatos.append(r);
    }
    const auto deVolta =
        ContatosExternos::ler(ContatosExternos::escrever(contatos, formato)).contatos;
    if (deVolta != contatos)
        falha("the contacts written and read back differ");
    if (!lidos.ok() && !lidos.contatos.isEmpty())
        falha("a refused file gave contacts");

    // Imported into an empty phone book: every contact that goes in can be
    // found on its tab, and the list holds what the file now holds.
    // In memory where there is such a folder: each import syncs the file
    // to its disk.
    static QTemporaryDir pasta(QFile::exists(QStringLiteral("/dev/shm"))
                                   ? QStringLiteral("/dev/shm/marvessa-fuzz-XXXXXX")
                                   : QDir::tempPath() + QStringLiteral("/marvessa-fuzz-XXXXXX"));
    static const QString caminho = ArquivoContatos::caminhoNaPasta(pasta.path());
    static std::unique_ptr<ModeloPrincipal> modelo;
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly | QIODevice::Truncate))
        falha("the phone book's file cannot be made");
    arquivo.close();
    if (!modelo) {
        modelo = std::make_unique<ModeloPrincipal>(caminho,
                                                   QLocale(QLocale::Portuguese, QLocale::Brazil));
        modelo->iniciar(QDate(2026, 12, 8));
    }
    modelo->RecarregarLista();
    EdicaoContatos(*modelo).importar(lidos.contatos);
    const ListaInicio &lista = modelo->lstInicio();
    for (qsizetype i = 0; i < lista.count(); ++i) {
        if (lista.grupo(i) < 0)
            falha("an imported contact is in no tab");
    }
    if (FormatoContatos::lerRegistros(lerArquivo(caminho)).size() != lista.count())
        falha("the list and the file differ after an import");
}

// Lines of BEGIN:VCARD alone, case aside, that no folded line continues.
int cartoesAbertos(QByteArrayView bytes)
{
    int n = 0;
    // As the reader sees the file: UTF-16 as UTF-8.
    const QList<QByteArray> linhas = ContatosLidos::semUtf16(bytes).split('\n');
    for (qsizetype i = 0; i < linhas.size(); ++i) {
        const QByteArray seguinte = linhas.value(i + 1);
        // A line that starts with a space or a TAB goes on the one before.
        const bool dobrada = linhas[i].startsWith(' ') || linhas[i].startsWith('\t');
        if (!dobrada && linhas[i].trimmed().toUpper() == "BEGIN:VCARD" &&
            !seguinte.startsWith(' ') && !seguinte.startsWith('\t'))
            ++n;
    }
    return n;
}

} // namespace

namespace Verificacoes {

void vcard(QByteArrayView bytes)
{
    const ContatosExternos::Lidos lidos = ContatosExternos::lerVCard(bytes);
    // A card never swallows the ones after it (leaving aside vCard 2.1's
    // cards inside cards and quoted-printable lines that go on).
    const QByteArray maiusculas = bytes.toByteArray().toUpper();
    if (lidos.ok() && !maiusculas.contains("AGENT") && !maiusculas.contains("QUOTED-PRINTABLE") &&
        lidos.contatos.size() + lidos.rejeitados < cartoesAbertos(bytes))
        falha("a card swallowed another");
    externos(lidos, ContatosExternos::Formato::VCard);
}

void csv(QByteArrayView bytes)
{
    const ContatosExternos::Lidos lidos = ContatosExternos::lerCsv(bytes);
    // A quote left open never makes one field of the rest of the file.
    for (const ContactRecord &r : lidos.contatos) {
        for (const QString *campo : {&r.Nome, &r.Telefone, &r.Email}) {
            if (campo->size() > ContatosExternos::Limites().campo)
                falha("a field is longer than any real one");
        }
    }
    externos(lidos, ContatosExternos::Formato::Csv);
}

void multistatus(QByteArrayView bytes)
{
    const auto m = Multistatus::ler(bytes.toByteArray());
    if (!m)
        return;
    if (m->respostas.size() > Multistatus::RESPOSTAS)
        falha("more answers than the limit");
    // What the book's listings make of it: only cards right inside the book,
    // none both changed and gone, and only the cards asked for.
    const QUrl livro(QStringLiteral("http://127.0.0.1:5232/ana/contacts/"));
    const ListagemLivro listagem(livro);
    const auto dentro = [](const QString &h) {
        return h.startsWith(u"/ana/contacts/") && h.size() > 14 && h.indexOf(u'/', 14) < 0;
    };
    const auto mudancas = listagem.mudancas(*m, livro);
    for (auto it = mudancas.etags.begin(); it != mudancas.etags.end(); ++it) {
        if (!dentro(it.key()) || mudancas.removidos.contains(it.key()))
            falha("a change outside the book, or changed and gone");
    }
    for (const QString &h : mudancas.removidos) {
        if (!dentro(h))
            falha("a card gone outside the book");
    }
    const auto etags = listagem.etags(*m, livro);
    QStringList pedidos = etags.keys();
    if (!pedidos.isEmpty())
        pedidos.removeLast();
    for (auto it = etags.begin(); it != etags.end(); ++it) {
        if (!dentro(it.key()))
            falha("an ETag outside the book");
    }
    const auto cartoes = listagem.cartoes(*m, livro, pedidos);
    for (auto it = cartoes.begin(); it != cartoes.end(); ++it) {
        if (!pedidos.contains(it.key()))
            falha("a card not asked for");
    }
    ListagemLivro::truncada(*m);
}

void estado(QByteArrayView bytes)
{
    constexpr qint64 agora = 1'800'000'000'000;
    EstadoSincronizacao e = EstadoSincronizacao::deBytes(bytes.toByteArray(), agora);
    if (e.renomeados.size() > EstadoSincronizacao::RENOMEADOS ||
        e.juntados.size() > EstadoSincronizacao::JUNTADOS ||
        e.apagamentos.size() > EstadoSincronizacao::APAGAMENTOS)
        falha("a state past its limits");
    // Read again at the moment it was written: a clock far ahead moves a
    // state's own clock by a day at each reading, which is not a change.
    e.relogio = e.agora(agora);
    if (EstadoSincronizacao::deBytes(e.emBytes(), e.relogio) != e)
        falha("a state written whole does not read back the same");
}

void sincronizacao(QByteArrayView bytes)
{
    multistatus(bytes);
    estado(bytes);
}

void cartao(QByteArrayView bytes)
{
    auto c = CartaoVCard::ler(bytes.toByteArray());
    if (!c)
        return;
    if (c->bytes() != bytes)
        falha("a card read and written is not the same bytes");
    // Merged into another card (two contacts made one), and another into it:
    // each still one card, showing the contact it showed.
    CartaoVCard outro = CartaoVCard::novo(
        {QStringLiteral("Ana"), QStringLiteral("(11) 1234"), QStringLiteral("a@x")},
        QStringLiteral("u"));
    for (auto [de, em] : {std::pair{&*c, &outro}, std::pair{&outro, &*c}}) {
        CartaoVCard juntado = *em;
        juntado.acrescentarCartao(*de);
        const auto relido = CartaoVCard::ler(juntado.bytes());
        if (!relido || relido->registro() != em->registro() || juntado.registro() != em->registro())
            falha("a card merged into another does not show the same contact");
    }
    if (!c->aplicar(c->registro()) || c->bytes() != bytes)
        falha("a card patched with its own fields changed");
    const ContactRecord novo{QStringLiteral("Nome Novo"), QStringLiteral("+55 (11) 9"),
                             QStringLiteral("n@x")};
    // Patched, it reads back with the new fields; refused, it is unchanged.
    if (!c->aplicar(novo)) {
        if (c->bytes() != bytes)
            falha("a refused patch changed the card");
        return;
    }
    const auto relido = CartaoVCard::ler(c->bytes());
    if (!relido || relido->registro() != novo)
        falha("a patched card does not read back with its new fields");
    // Every line of another property, as it stood.
    const QByteArray saida = c->bytes();
    bool continuacao = false;
    for (const QByteArray &linha :
         bytes.toByteArray().replace("\r\n", "\n").replace('\r', '\n').split('\n')) {
        const bool esta = continuacao;
        continuacao = linha.endsWith('=');
        if (esta || linha.isEmpty() || !std::isalpha(uchar(linha[0])))
            continue;
        QByteArray nome = linha.left(linha.indexOf(':')).split(';').first().toUpper();
        nome = nome.mid(nome.lastIndexOf('.') + 1).trimmed();
        if (nome == "FN" || nome == "N" || nome == "TEL" || nome == "EMAIL" ||
            linha.indexOf(':') < 0)
            continue;
        if (!saida.contains(linha))
            falha("a line of another property was changed");
    }
}

bool porAlvo(const QString &alvo, QByteArrayView bytes)
{
    const std::pair<const char *, void (*)(QByteArrayView)> alvos[] = {
        {"leitor", leitor}, {"conversor", conversor},       {"vcard", vcard},
        {"csv", csv},       {"multistatus", sincronizacao}, {"cartao", cartao}};
    for (const auto &[nome, verificar] : alvos) {
        if (alvo == QLatin1String(nome)) {
            verificar(bytes);
            return true;
        }
    }
    return false;
}

void leitor(QByteArrayView bytes)
{
    const Codificacao codificacao = Codificacoes::detectar(bytes);
    const QList<ContactRecord> registros = FormatoContatos::lerRegistros(bytes);
    QStringList linhas;
    for (const ContactRecord &r : registros) {
        for (const QString *campo : {&r.Nome, &r.Telefone, &r.Email}) {
            if (campo->contains(u'\r') || campo->contains(FormatoContatos::SEPARADOR))
                falha("a field holds CR or the separator");
        }
        linhas.append(FormatoContatos::linhaDoRegistro(r));
    }
    // In the file's own encoding; the writers refuse a Windows-1252 file
    // that would read back as UTF-8.
    const QByteArray escrito = FormatoContatos::montarArquivo(linhas, codificacao);
    if (Codificacoes::lidoDeVoltaIgual(escrito, codificacao) &&
        FormatoContatos::lerRegistros(escrito) != registros)
        falha("the records written and read back differ");

    static const QLocale locale(QLocale::Portuguese, QLocale::Brazil);
    static const ClassificadorGrupos grupos(locale);
    // Kept across inputs: each load replaces the whole list.
    static ListaInicio rapida(locale, grupos), simples(locale, grupos);
    rapida.carregar(bytes.toByteArray());
    simples.definir(registros, codificacao);
    if (rapida.entradas() != simples.entradas())
        falha("the main window's list differs from the reader");
}

void conversor(QByteArrayView bytes)
{
    const QByteArray um = Conversao::converter(bytes.toByteArray());
    if (um.contains('"') || um.contains('\xA7'))
        falha("a quote or a section sign is left");
    if (!um.endsWith("\r\n"))
        falha("the file does not end in CR LF");
    for (qsizetype i = 0; i < um.size(); ++i) {
        if (um[i] == '\r' && (i + 1 >= um.size() || um[i + 1] != '\n'))
            falha("a line ends in a lone CR");
    }
    if (Conversao::converter(um) != um + "\r\n")
        falha("converting again did more than add an empty line");
}

} // namespace Verificacoes
