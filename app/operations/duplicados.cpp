#include "operations/duplicados.h"

#include "model/lista_inicio.h"
#include "operations/telefone_brasileiro.h"

#include <QHash>
#include <QSettings>
#include <algorithm>
#include <numeric>
#include <vector>

namespace {

// A name's keys in one pass: its letters and digits without their accents,
// case folded, run together; and its words sorted (none for one word).
struct ChavesDoNome {
    QString nome, palavras;
};

ChavesDoNome chavesDoNome(QStringView nome)
{
    bool ascii = true;
    for (const QChar c : nome)
        ascii = ascii && c.unicode() < 0x80;
    QString decomposto;
    if (!ascii)
        decomposto = nome.toString().normalized(QString::NormalizationForm_KD);
    const QStringView plano = ascii ? nome : QStringView(decomposto);
    ChavesDoNome k;
    k.nome.reserve(plano.size());
    QList<QStringView> palavras;
    qsizetype inicio = 0;
    const auto fechar = [&] {
        if (k.nome.size() > inicio)
            palavras.append(QStringView(k.nome).sliced(inicio));
        inicio = k.nome.size();
    };
    for (const QChar c : plano) {
        if (c.isLetterOrNumber()) {
            if (c.unicode() < 0x80)
                k.nome += c.toLower();
            else
                k.nome += QString(c).toCaseFolded();
        } else if (!c.isMark()) {
            fechar();
        }
    }
    fechar();
    if (palavras.size() >= 2) {
        std::sort(palavras.begin(), palavras.end());
        for (const QStringView p : std::as_const(palavras)) {
            if (!k.palavras.isEmpty())
                k.palavras += u' ';
            k.palavras += p;
        }
    }
    return k;
}

// Union-find over the list's indices.
struct Conjuntos {
    explicit Conjuntos(qsizetype n) : pai(size_t(n)) { std::iota(pai.begin(), pai.end(), 0); }
    qsizetype raiz(qsizetype i)
    {
        while (pai[size_t(i)] != i) {
            pai[size_t(i)] = pai[size_t(pai[size_t(i)])];
            i = pai[size_t(i)];
        }
        return i;
    }
    void unir(qsizetype a, qsizetype b)
    {
        a = raiz(a);
        b = raiz(b);
        if (a != b)
            pai[size_t(std::max(a, b))] = std::min(a, b);
    }
    std::vector<qsizetype> pai;
};

} // namespace

QString GrupoDuplicados::porque() const
{
    QStringList p;
    if (motivos & Telefone)
        p.append(QStringLiteral("mesmo telefone"));
    if (motivos & Email)
        p.append(QStringLiteral("mesmo e-mail"));
    if (motivos & Nome)
        p.append(QStringLiteral("mesmo nome"));
    if (motivos & Palavras)
        p.append(QStringLiteral("mesmas palavras no nome"));
    return p.join(QStringLiteral(", "));
}

QString GrupoDuplicados::chave() const
{
    QStringList nomes;
    for (const ContactRecord &m : membros)
        nomes.append(m.Nome);
    nomes.sort();
    return nomes.join(u'\n');
}

namespace Duplicados {

QString chaveTelefone(const QString &campo)
{
    using TelefoneBrasileiro::Tipo;
    const TelefoneBrasileiro::Numero n = TelefoneBrasileiro::ler(campo);
    switch (n.tipo) {
    case Tipo::Celular:
    case Tipo::Fixo:
        return QLatin1String("55") + n.ddd + n.assinante;
    case Tipo::Estrangeiro:
        return QLatin1Char('+') + n.digitos;
    case Tipo::SemDdd:
        // Comparable only with another written without its area code.
        return QLatin1Char('?') + n.digitos.right(8);
    case Tipo::Servico:
    case Tipo::Outro:
    case Tipo::Invalido:
        break;
    }
    return n.digitos.size() >= 8 ? QLatin1Char('#') + n.digitos : QString();
}

QString chaveNome(const QString &nome)
{
    return chavesDoNome(nome).nome;
}

QString chavePalavras(const QString &nome)
{
    return chavesDoNome(nome).palavras;
}

QList<GrupoDuplicados> procurar(const ListaInicio &lista, const QSet<QString> &distintos)
{
    const qsizetype n = lista.count();
    Conjuntos c(n);
    std::vector<std::pair<qsizetype, int>> ligados; // (a member, why it is linked)
    QHash<QString, qsizetype> primeiro[4];
    primeiro[0].reserve(n);
    primeiro[2].reserve(n);
    primeiro[3].reserve(n);
    const auto ligar = [&](int tipo, int motivo, const QString &chave, qsizetype i) {
        if (chave.isEmpty())
            return;
        const auto it = primeiro[tipo].constFind(chave);
        if (it == primeiro[tipo].cend()) {
            primeiro[tipo].insert(chave, i);
        } else {
            c.unir(*it, i);
            ligados.emplace_back(i, motivo);
        }
    };
    std::vector<QString> chaves(static_cast<size_t>(n));
    for (qsizetype i = 0; i < n; ++i) {
        ligar(0, GrupoDuplicados::Telefone, chaveTelefone(lista.telefone(i)), i);
        const QString email = lista.email(i).trimmed();
        if (email.contains(u'@'))
            ligar(1, GrupoDuplicados::Email, email.toCaseFolded(), i);
        ChavesDoNome k = chavesDoNome(lista.nome(i));
        ligar(2, GrupoDuplicados::Nome, k.nome, i);
        // The same words in another order: a different name key only.
        if (!k.palavras.isEmpty()) {
            const auto it = primeiro[3].constFind(k.palavras);
            if (it == primeiro[3].cend()) {
                primeiro[3].insert(k.palavras, i);
            } else {
                c.unir(*it, i);
                ligados.emplace_back(i, chaves[size_t(*it)] == k.nome ? GrupoDuplicados::Nome
                                                                      : GrupoDuplicados::Palavras);
            }
        }
        chaves[size_t(i)] = std::move(k.nome);
    }
    QHash<qsizetype, qsizetype> grupoDe; // a root -> its group
    QList<GrupoDuplicados> grupos;
    std::vector<bool> emGrupo(static_cast<size_t>(n));
    for (const auto &[i, motivo] : ligados) {
        emGrupo[size_t(i)] = true;
        emGrupo[size_t(c.raiz(i))] = true;
    }
    for (qsizetype i = 0; i < n; ++i) {
        if (!emGrupo[size_t(i)])
            continue;
        const qsizetype r = c.raiz(i);
        auto g = grupoDe.constFind(r);
        if (g == grupoDe.cend()) {
            g = grupoDe.insert(r, grupos.size());
            grupos.append(GrupoDuplicados{});
        }
        grupos[*g].membros.append(lista.registro(i));
    }
    for (const auto &[i, motivo] : ligados)
        grupos[grupoDe.value(c.raiz(i))].motivos |= motivo;
    grupos.removeIf([&](const GrupoDuplicados &g) { return distintos.contains(g.chave()); });
    return grupos;
}

qsizetype parecidos(const QList<GrupoDuplicados> &grupos, const QSet<QString> &nomes)
{
    qsizetype n = 0;
    for (const GrupoDuplicados &g : grupos) {
        const auto novos =
            std::count_if(g.membros.begin(), g.membros.end(),
                          [&](const ContactRecord &m) { return nomes.contains(m.Nome); });
        if (novos < g.membros.size())
            n += novos;
    }
    return n;
}

namespace {
const QString CHAVE_DISTINTOS = QStringLiteral("duplicados/distintos");
constexpr qsizetype TAMANHO_CHAVE = 64 * 1024;
} // namespace

namespace {

// Another program may have written anything there: strings only, bounded,
// oldest first.
QStringList lidos(const QSettings &configuracoes)
{
    const QVariant v = configuracoes.value(CHAVE_DISTINTOS);
    if (v.typeId() != QMetaType::QStringList && v.typeId() != QMetaType::QVariantList &&
        v.typeId() != QMetaType::QString)
        return {};
    // A list of one is read back as a string.
    QStringList lista =
        v.typeId() == QMetaType::QString ? QStringList{v.toString()} : v.toStringList();
    lista.removeIf([](const QString &e) { return e.isEmpty() || e.size() > TAMANHO_CHAVE; });
    if (lista.size() > DISTINTOS_MAXIMO)
        lista = lista.mid(lista.size() - DISTINTOS_MAXIMO);
    return lista;
}

} // namespace

QSet<QString> distintos(const QSettings &configuracoes)
{
    const QStringList lista = lidos(configuracoes);
    return {lista.begin(), lista.end()};
}

void lembrarDistintos(QSettings &configuracoes, const QString &chave)
{
    if (chave.isEmpty() || chave.size() > TAMANHO_CHAVE)
        return;
    QStringList lista = lidos(configuracoes);
    lista.removeAll(chave);
    lista.append(chave);
    if (lista.size() > DISTINTOS_MAXIMO)
        lista.removeFirst();
    configuracoes.setValue(CHAVE_DISTINTOS, lista);
}

} // namespace Duplicados
