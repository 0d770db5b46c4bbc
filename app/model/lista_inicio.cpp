#include "model/lista_inicio.h"

#include "store/codificacoes.h"
#include "store/cp1252.h"
#include "store/formato_contatos.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <thread>

namespace {

// A Windows-1252 character folded to the base letter the collation weighs
// first (case and accents weigh only later), or 0 where that is not certain.
const std::array<char16_t, 256> &tabelaDobra()
{
    static const std::array<char16_t, 256> tabela = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0x20; b < 256; ++b) {
            const QChar q = Cp1252::decodeByte(uchar(b));
            const char16_t c = q.unicode();
            if (c < 0x7F) {
                t[size_t(b)] = (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
                continue;
            }
            if (q.decompositionTag() != QChar::Canonical)
                continue;
            const QString d = q.decomposition();
            const char16_t base = d.isEmpty() ? 0 : d.front().toLower().unicode();
            bool soMarcas = base >= u'a' && base <= u'z';
            for (qsizetype i = 1; i < d.size() && soMarcas; ++i)
                soMarcas = d[i].category() == QChar::Mark_NonSpacing;
            if (soMarcas)
                t[size_t(b)] = base;
        }
        return t;
    }();
    return tabela;
}

// Whether two names may weigh alike at the collation's first level. Equal
// characters weigh alike; a letter weighs first as its base letter; for any
// other character it is not certain (it may be ignorable or an expansion).
bool podemEmpatar(QStringView a, QStringView b, qsizetype desde = 0)
{
    static const auto &t = tabelaDobra();
    const auto dobra = [](QChar c) -> char16_t {
        const char16_t u = c.unicode();
        if (u < 256)
            return (u >= 0x80 && u < 0xA0) ? 0 : t[u];
        // The few letters of Windows-1252 above Latin-1.
        return Cp1252::canEncode(c) ? t[uchar(Cp1252::encode(QStringView(&c, 1))[0])] : 0;
    };
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = std::min(desde, n); i < n; ++i) {
        if (a[i] == b[i])
            continue;
        const char16_t x = dobra(a[i]), y = dobra(b[i]);
        if (!x || !y)
            return true;
        if (x != y)
            return false;
    }
    for (const QChar c : (a.size() > n ? a : b).sliced(n)) {
        if (!dobra(c))
            return true;
    }
    return a.size() == b.size();
}

// The fast order holds where the collator weighs as ICU's root order does: a
// later base letter decides over an earlier accent or case, a character
// weighs in a string as it does alone, and a TAB weighs less than anything a
// name holds. Windows' own collation, for one, leaves hyphens and apostrophes
// out of the first weighing. So it is checked on the collator at hand, with
// strings of every rank and every folded letter; letras is sorted, rank gives
// each its place.
bool ordemRapidaVale(const QCollator &c, const QList<char16_t> &letras,
                     const std::array<quint8, 0x80> &rank)
{
    const auto texto = [](std::initializer_list<char16_t> cs) {
        QString s;
        for (const char16_t x : cs)
            s.append(QChar(x));
        return s;
    };
    // The letter after decides only where the first ones weigh alike.
    const auto decideAntes = [&](char16_t x, char16_t y) {
        return c.compare(texto({x, u'b'}), texto({y, u'a'})) < 0;
    };
    const auto pesamIgual = [&](char16_t x, char16_t y) {
        return c.compare(texto({x, u'b'}), texto({y, u'a'})) > 0 &&
               c.compare(texto({x, u'a'}), texto({y, u'b'})) < 0;
    };
    for (qsizetype i = 1; i < letras.size(); ++i) {
        const char16_t x = letras[i - 1], y = letras[i];
        if (rank[x] == rank[y] ? !pesamIgual(x, y) : !decideAntes(x, y))
            return false;
    }
    const auto &dobra = tabelaDobra();
    for (int b = 0x20; b < 256; ++b) {
        const char16_t d = dobra[size_t(b)], x = Cp1252::decodeByte(uchar(b)).unicode();
        if (d && x != d && !pesamIgual(x, d))
            return false;
    }
    for (const char16_t x : letras) {
        if (c.compare(QStringLiteral("a\t\t\t\tz\tz"),
                      texto({u'a', x, u'\t', u'\t', u'\t', u'\t', u'\t'})) >= 0)
            return false;
    }
    return true;
}

} // namespace

// The whole-entry order, with a collator and buffers of its own so that
// several threads can sort at once.
class ListaInicio::Comparador {
public:
    explicit Comparador(const ListaInicio &l) : m_l(l), m_c(l.m_locale)
    {
        m_c.setCaseSensitivity(Qt::CaseInsensitive);
    }

    int operator()(const Item &a, const Item &b)
    {
        // The first letters known alike need no second look.
        qsizetype iguais = 0;
        if (a.temPrefixo && b.temPrefixo) {
            for (int k = 0; k < PALAVRAS; ++k) {
                if (a.prefixo[k] != b.prefixo[k])
                    return a.prefixo[k] < b.prefixo[k] ? -1 : 1;
            }
            iguais = LETRAS;
        }
        const QStringView na = m_l.nomeDe(a), nb = m_l.nomeDe(b);
        // Names that weigh differently decide alone: a TAB, which follows
        // each name in its entry, weighs less than anything a name holds.
        if (m_l.m_porNome && !podemEmpatar(na, nb, iguais))
            return m_c.compare(na, nb);
        montar(a, m_a);
        montar(b, m_b);
        return m_c.compare(m_a, m_b);
    }

    bool antes(const Item &a, const Item &b)
    {
        const int c = (*this)(a, b);
        return c != 0 ? c < 0 : a.ordem < b.ordem;
    }

private:
    void montar(const Item &it, QString &e) const
    {
        e.clear();
        e.append(m_l.nomeDe(it));
        e.append(QLatin1String("\t\t\t\t"));
        appendBytes(it.fone, it.tamanho[1], e);
        e.append(QLatin1Char('\t'));
        appendBytes(it.mail, it.tamanho[2], e);
    }
    void appendBytes(qint32 ini, qint32 n, QString &e) const
    {
        Codificacoes::anexarDecodificado(QByteArrayView(m_l.m_bytes).sliced(ini, n),
                                         m_l.m_codificacao, e);
    }

    const ListaInicio &m_l;
    QCollator m_c;
    QString m_a, m_b;
};

QString MontarEntrada(const ContactRecord &r)
{
    return r.Nome + QLatin1String("\t\t\t\t") + r.Telefone + QLatin1Char('\t') + r.Email;
}

QString entradaFalada(QStringView entrada)
{
    const qsizetype fimNome = entrada.indexOf(u"\t\t\t\t");
    if (fimNome < 0)
        return entrada.toString();
    const QStringView resto = entrada.sliced(fimNome + 4);
    const qsizetype tab = resto.lastIndexOf(u'\t');
    const QStringView fone = tab < 0 ? resto : resto.first(tab);
    const QStringView mail = tab < 0 ? QStringView() : resto.sliced(tab + 1);
    QString out = entrada.first(fimNome).toString();
    if (!fone.trimmed().isEmpty()) {
        out += QLatin1String(", telefone ");
        out += fone.trimmed();
    }
    if (!mail.trimmed().isEmpty()) {
        out += QLatin1String(", e-mail ");
        out += mail.trimmed();
    }
    return out;
}

QString entradaAviso(const QString &aviso)
{
    return aviso + QLatin1String("\t\t\t\t\t");
}

ListaInicio::ListaInicio(const QLocale &locale, const ClassificadorGrupos &grupos)
    : m_locale(locale), m_grupos(grupos),
      m_porNome(locale.language() == QLocale::Portuguese || locale.language() == QLocale::English)
{
}

void ListaInicio::prepararOrdem()
{
    // Made on first use, on whichever thread reads the file.
    if (m_ordemPronta || !m_porNome)
        return;
    m_ordemPronta = true;
    // The folded letters in the collation's order; those that collate
    // alike share a rank.
    const auto &dobra = tabelaDobra();
    QList<char16_t> letras;
    for (int b = 0; b < 256; ++b) {
        if (dobra[size_t(b)] && !letras.contains(dobra[size_t(b)]))
            letras.append(dobra[size_t(b)]);
    }
    QCollator c(m_locale);
    c.setCaseSensitivity(Qt::CaseInsensitive);
    const auto texto = [](char16_t x) { return QString(QChar(x)); };
    std::sort(letras.begin(), letras.end(),
              [&](char16_t x, char16_t y) { return c.compare(texto(x), texto(y)) < 0; });
    std::array<quint8, 0x80> rank{};
    quint8 r = 0;
    for (qsizetype i = 0; i < letras.size(); ++i) {
        if (i == 0 || c.compare(texto(letras[i - 1]), texto(letras[i])) != 0)
            ++r;
        rank[letras[i]] = r;
    }
    for (int b = 0; b < 256; ++b)
        m_ordemPrimaria[size_t(b)] = dobra[size_t(b)] ? rank[dobra[size_t(b)]] : 0;
    // Otherwise every comparison asks the collator.
    m_porNome = ordemRapidaVale(c, letras, rank);
}

quint8 ListaInicio::ordemPrimaria(QChar c) const
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return m_ordemPrimaria[u];
    // C1 controls (from a UTF-8 file) are not the letters their bytes are in
    // Windows-1252; characters beyond it are left to the collator.
    if (u < 0xA0 || !Cp1252::canEncode(c))
        return 0;
    return m_ordemPrimaria[uchar(Cp1252::encode(QStringView(&c, 1))[0])];
}

void ListaInicio::calcularPrefixo(Item &it)
{
    prepararOrdem();
    // Nine ranks of seven bits to a word, the first the most significant;
    // 0 past the end of the name, which so comes before any longer one.
    it.temPrefixo = m_porNome;
    std::fill(std::begin(it.prefixo), std::end(it.prefixo), 0);
    const QStringView nome = nomeDe(it);
    const int n = int(std::min<qsizetype>(nome.size(), LETRAS));
    for (int j = 0; j < n && it.temPrefixo; ++j) {
        const quint64 r = ordemPrimaria(nome[j]);
        it.temPrefixo = r != 0;
        it.prefixo[j / 9] |= r << (7 * (8 - j % 9));
    }
}

QString ListaInicio::decodificar(qint32 inicio, qint32 tamanho) const
{
    return Codificacoes::decodificar(QByteArrayView(m_bytes).sliced(inicio, tamanho),
                                     m_codificacao);
}

QString ListaInicio::telefone(qsizetype i) const
{
    const Item &it = m_itens[size_t(i)];
    return decodificar(it.fone, it.tamanho[1]);
}

QString ListaInicio::email(qsizetype i) const
{
    const Item &it = m_itens[size_t(i)];
    return decodificar(it.mail, it.tamanho[2]);
}

ContactRecord ListaInicio::registro(qsizetype i) const
{
    return {nome(i).toString(), telefone(i), email(i)};
}

void ListaInicio::anexarRegistro(qsizetype i, QByteArray &destino) const
{
    const Item &it = m_itens[size_t(i)];
    const QByteArrayView b(m_bytes);
    FormatoContatos::anexarRegistro(destino, b.sliced(it.nomeBytes, it.tamanho[0]),
                                    b.sliced(it.fone, it.tamanho[1]),
                                    b.sliced(it.mail, it.tamanho[2]));
}

QStringList ListaInicio::entradas() const
{
    QStringList out;
    out.reserve(count());
    for (qsizetype i = 0; i < count(); ++i)
        out.append(entrada(i));
    return out;
}

ListaInicio::Item ListaInicio::novoItem(const ContactRecord &r)
{
    // The editing operations only store what the file's encoding holds.
    Item it{};
    qint32 *inicios[3] = {&it.nomeBytes, &it.fone, &it.mail};
    const QString *campos[3] = {&r.Nome, &r.Telefone, &r.Email};
    for (int k = 0; k < 3; ++k) {
        *inicios[k] = qint32(m_bytes.size());
        m_bytes += Codificacoes::codificar(*campos[k], m_codificacao);
        it.tamanho[k] = qint32(m_bytes.size()) - *inicios[k];
    }
    it.nomeTexto = qint32(m_nomes.size());
    it.nomeTamanho = qint32(r.Nome.size());
    m_nomes += r.Nome;
    it.grupo = qint8(m_grupos.grupoDe(r.Nome));
    it.ordem = qint32(m_itens.size());
    calcularPrefixo(it);
    return it;
}

void ListaInicio::definir(const QList<ContactRecord> &registros, Codificacao codificacao)
{
    m_codificacao = codificacao;
    m_bytes.clear();
    m_nomes.clear();
    m_itens.clear();
    m_itens.reserve(size_t(registros.size()));
    for (const ContactRecord &r : registros)
        m_itens.push_back(novoItem(r));
    ordenarTudo();
}

void ListaInicio::carregar(const QByteArray &bytes)
{
    m_bytes = bytes;
    m_codificacao = Codificacoes::detectar(m_bytes);
    m_itens.clear();
    m_nomes.clear();
    const char *d = m_bytes.constData();
    const qsizetype n = m_bytes.size();
    // Sized once: fresh memory is costly to touch, and growing touches more.
    m_itens.reserve(size_t(FormatoContatos::maximoDeLinhas(m_bytes)));
    m_nomes.reserve(n / 2);
    // The fields stay where they are in the file's bytes.
    FormatoContatos::paraCadaRegistro(
        FormatoContatos::corpo(m_bytes, m_codificacao), [&](const FormatoContatos::Campos &f) {
            Item it{};
            const QByteArrayView *partes[3] = {&f.nome, &f.telefone, &f.email};
            qint32 *inicios[3] = {&it.nomeBytes, &it.fone, &it.mail};
            for (int k = 0; k < 3; ++k) {
                *inicios[k] = qint32(partes[k]->data() - d);
                it.tamanho[k] = qint32(partes[k]->size());
            }
            it.nomeTexto = qint32(m_nomes.size());
            Codificacoes::anexarDecodificado(f.nome, m_codificacao, m_nomes);
            it.nomeTamanho = qint32(m_nomes.size()) - it.nomeTexto;
            it.grupo = qint8(m_grupos.grupoDe(nomeDe(it)));
            it.ordem = qint32(m_itens.size());
            calcularPrefixo(it);
            m_itens.push_back(it);
        });
    ordenarTudo();
}

void ListaInicio::ordenarTudo()
{
    // Two halves sorted on two cores, then merged.
    const auto meio = m_itens.begin() + qsizetype(m_itens.size() / 2);
    const auto ordenar = [this](auto de, auto ate) {
        Comparador c(*this);
        std::sort(de, ate, [&c](const Item &a, const Item &b) { return c.antes(a, b); });
    };
    if (m_itens.size() < 4000 || std::thread::hardware_concurrency() < 2) {
        ordenar(m_itens.begin(), m_itens.end());
        return;
    }
    std::thread metade([&] { ordenar(m_itens.begin(), meio); });
    ordenar(meio, m_itens.end());
    metade.join();
    Comparador c(*this);
    std::inplace_merge(m_itens.begin(), meio, m_itens.end(),
                       [&c](const Item &a, const Item &b) { return c.antes(a, b); });
}

qsizetype ListaInicio::posicao(const Item &it, const std::vector<qint32> *origem) const
{
    // After every entry that is less, or equal and earlier in the file.
    Comparador c(*this);
    qsizetype lo = 0, hi = count();
    while (lo < hi) {
        const qsizetype meio = (lo + hi) / 2;
        int r = c(it, m_itens[size_t(meio)]);
        if (r == 0)
            r = origem && it.ordem < (*origem)[size_t(meio)] ? -1 : 1;
        if (r < 0)
            hi = meio;
        else
            lo = meio + 1;
    }
    return lo;
}

void ListaInicio::inserir(const ContactRecord &registro)
{
    Item it = novoItem(registro);
    it.ordem = std::numeric_limits<qint32>::max();
    m_itens.insert(m_itens.begin() + posicao(it, nullptr), it);
}

qsizetype ListaInicio::remover(QStringView nome)
{
    const size_t antes = m_itens.size();
    std::erase_if(m_itens, [&](const Item &it) { return nomeDe(it) == nome; });
    return qsizetype(antes - m_itens.size());
}

qsizetype ListaInicio::substituir(QStringView nome, const ContactRecord &registro)
{
    // The rewritten file holds this list's order with each such entry
    // replaced where it stood; reading it sorts by the whole entry and keeps
    // that order among equal entries.
    std::vector<qint32> trocados, origem;
    origem.reserve(m_itens.size());
    for (qsizetype i = 0; i < count(); ++i) {
        if (this->nome(i) == nome)
            trocados.push_back(qint32(i));
        else
            origem.push_back(qint32(i));
    }
    if (trocados.empty())
        return 0;
    remover(nome);
    const Item modelo = novoItem(registro);
    for (const qint32 lugar : trocados) {
        Item it = modelo;
        it.ordem = lugar;
        const qsizetype p = posicao(it, &origem);
        m_itens.insert(m_itens.begin() + p, it);
        origem.insert(origem.begin() + p, lugar);
    }
    // Places in the file are now this list's own.
    for (qsizetype i = 0; i < count(); ++i)
        m_itens[size_t(i)].ordem = qint32(i);
    return qsizetype(trocados.size());
}

void ListaInicio::paraCadaNaOrdemDosBytes(const std::function<void(const Pedaco &)> &f) const
{
    // What each entry needs, copied in the list's order, then sorted by
    // where its bytes lie (a radix sort: two passes of 16 bits).
    struct Copia {
        qint32 lugar, lista, nomeTexto, nomeTamanho, fone, foneTam, mail, mailTam;
    };
    const size_t n = m_itens.size();
    std::vector<Copia> a(n), b(n);
    for (size_t i = 0; i < n; ++i) {
        const Item &it = m_itens[i];
        a[i] = {it.nomeBytes, qint32(i),     it.nomeTexto, it.nomeTamanho,
                it.fone,      it.tamanho[1], it.mail,      it.tamanho[2]};
    }
    for (int desloc = 0; desloc < 32; desloc += 16) {
        std::vector<size_t> conta(65537, 0);
        for (const Copia &c : a)
            ++conta[((quint32(c.lugar) >> desloc) & 0xFFFF) + 1];
        for (size_t k = 1; k < conta.size(); ++k)
            conta[k] += conta[k - 1];
        for (const Copia &c : a)
            b[conta[(quint32(c.lugar) >> desloc) & 0xFFFF]++] = c;
        a.swap(b);
    }
    const QByteArrayView bytes(m_bytes);
    for (const Copia &c : a)
        f({c.lista, QStringView(m_nomes).sliced(c.nomeTexto, c.nomeTamanho),
           bytes.sliced(c.fone, c.foneTam), bytes.sliced(c.mail, c.mailTam)});
}
