#include "model/indice_busca.h"

#include "model/lista_inicio.h"
#include "store/codificacoes.h"

#include <QHash>
#include <QString>
#include <algorithm>
#include <array>
#include <cstring>

namespace {

// The folded form of each character up to U+024F (Latin-1 and the Latin
// extensions, where Portuguese and its neighbours' letters are): its base
// letter, in lower case, as UTF-8.
struct Dobrado {
    std::array<char, 4> b{};
    quint8 n = 0;
};

const std::array<Dobrado, 0x250> &tabela()
{
    static const std::array<Dobrado, 0x250> t = [] {
        // Letters with a stroke or joined, which do not decompose, weigh as
        // their base letters in the list's order too.
        const QHash<char16_t, const char *> base = {
            {u'ø', "o"},  {u'Ø', "o"},  {u'đ', "d"},  {u'Đ', "d"},  {u'ł', "l"},  {u'Ł', "l"},
            {u'ß', "ss"}, {u'æ', "ae"}, {u'Æ', "ae"}, {u'œ', "oe"}, {u'Œ', "oe"}, {u'ı', "i"},
            {u'ħ', "h"},  {u'Ħ', "h"},  {u'ŧ', "t"},  {u'Ŧ', "t"},  {u'ð', "d"},  {u'Ð', "d"},
        };
        std::array<Dobrado, 0x250> out;
        for (char16_t c = 0; c < 0x250; ++c) {
            QString s = QString(QChar(c)).normalized(QString::NormalizationForm_D);
            s.removeIf([](QChar k) { return k.isMark(); });
            const QByteArray u =
                base.contains(c) ? QByteArray(base.value(c)) : s.toCaseFolded().toUtf8();
            if (u.size() <= 4) {
                out[c].n = quint8(u.size());
                std::copy(u.begin(), u.end(), out[c].b.begin());
            }
        }
        return out;
    }();
    return t;
}

// Writes at p, which has room for four bytes a character; returns the end.
char *dobrarEm(QStringView texto, char *p)
{
    const auto &t = tabela();
    for (const QChar c : texto) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            *p++ = char(u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u);
        } else if (u < 0x250) {
            const Dobrado &d = t[u];
            std::memcpy(p, d.b.data(), 4);
            p += d.n;
        } else if (!c.isMark()) {
            // Outside the table, one character to at most three bytes.
            const QByteArray b = QString(c.toCaseFolded()).toUtf8().left(3);
            std::memcpy(p, b.constData(), size_t(b.size()));
            p += b.size();
        }
    }
    return p;
}

// The e-mail as it stands in the file: ASCII straight, anything else read
// in the file's encoding first. Room for four bytes a byte at p.
char *dobrarCampoEm(QByteArrayView bytes, Codificacao c, char *p)
{
    for (const char b : bytes) {
        if (uchar(b) >= 0x80)
            return dobrarEm(Codificacoes::decodificar(bytes, c), p);
    }
    for (const char b : bytes)
        *p++ = b >= 'A' && b <= 'Z' ? char(b + ('a' - 'A')) : b;
    return p;
}

bool ehDigito(char c)
{
    return c >= '0' && c <= '9';
}

bool inicioDePalavra(std::string_view texto, size_t pos)
{
    if (pos == 0)
        return true;
    const auto c = uchar(texto[pos - 1]);
    return c < 0x80 && !ehDigito(char(c)) && !(c >= 'a' && c <= 'z');
}

// Where the word starts a word of the text, or npos.
size_t inicioDe(std::string_view texto, std::string_view palavra)
{
    for (size_t p = texto.find(palavra); p != std::string_view::npos;
         p = texto.find(palavra, p + 1)) {
        if (inicioDePalavra(texto, p))
            return p;
    }
    return std::string_view::npos;
}

} // namespace

QByteArray IndiceBusca::dobrar(QStringView texto)
{
    QByteArray out(texto.size() * 4, Qt::Uninitialized);
    out.truncate(dobrarEm(texto, out.data()) - out.constData());
    return out;
}

void IndiceBusca::construir(const ListaInicio &lista)
{
    m_entradas.clear();
    m_entradas.reserve(size_t(lista.count()));
    // Written through a pointer, grown when a contact might not fit: the
    // common case is one plain store a byte.
    m_texto = QByteArray(lista.count() * 48 + 64, Qt::Uninitialized);
    qsizetype usado = 0;
    const Codificacao cod = lista.codificacao();
    lista.paraCadaNaOrdemDosBytes([&](const ListaInicio::Pedaco &c) {
        const qsizetype maximo = (c.nome.size() + c.email.size()) * 4 + c.telefone.size() + 4;
        if (usado + maximo > m_texto.size())
            m_texto.resize(std::max(m_texto.size() * 2, usado + maximo));
        char *const base = m_texto.data();
        char *p = base + usado;
        Entrada e;
        e.lista = c.lista;
        e.nome = qint32(p - base);
        p = dobrarEm(c.nome, p);
        e.mail = qint32(p - base);
        p = dobrarCampoEm(c.email, cod, p);
        e.fone = qint32(p - base);
        for (const char b : c.telefone) {
            if (ehDigito(b))
                *p++ = b;
        }
        e.fim = qint32(p - base);
        usado = e.fim;
        m_entradas.push_back(e);
    });
    m_texto.truncate(usado);
    m_texto.squeeze();
    m_temUltima = false;
}

qsizetype IndiceBusca::bytes() const
{
    return m_texto.capacity() + qsizetype(m_entradas.capacity() * sizeof(Entrada));
}

std::string_view IndiceBusca::parte(qsizetype i, int qual) const
{
    const Entrada &e = m_entradas[size_t(i)];
    const qint32 inicio[] = {e.nome, e.mail, e.fone, e.fim};
    return std::string_view(m_texto.constData() + inicio[qual],
                            size_t(inicio[qual + 1] - inicio[qual]));
}

IndiceBusca::Resultado IndiceBusca::procurar(QStringView consulta, qsizetype maximo) const
{
    struct Palavra {
        QByteArray texto, digitos;
    };
    QList<Palavra> palavras;
    for (const QStringView p : consulta.split(u' ', Qt::SkipEmptyParts)) {
        Palavra w{dobrar(p.trimmed()), {}};
        if (w.texto.isEmpty())
            continue;
        for (const char c : std::as_const(w.texto)) {
            if (ehDigito(c))
                w.digitos.append(c);
        }
        palavras.append(w);
    }
    Resultado r;
    if (palavras.isEmpty())
        return r;
    // Each word extends the last search's word in its place (a word that
    // gains its first digit may now match a telephone), or is new: nothing
    // the last search left out can match.
    bool estreitar = m_temUltima && palavras.size() >= m_ultimas.size();
    for (qsizetype k = 0; estreitar && k < m_ultimas.size(); ++k) {
        const QByteArray &antes = m_ultimas[k];
        estreitar =
            palavras[k].texto.startsWith(antes) &&
            (palavras[k].digitos.isEmpty() || std::any_of(antes.begin(), antes.end(), ehDigito));
    }
    std::vector<qint32> candidatos;
    if (estreitar)
        candidatos.swap(m_casaram);
    m_casaram.clear();
    m_ultimas.clear();
    for (const Palavra &p : std::as_const(palavras))
        m_ultimas.append(p.texto);
    m_temUltima = true;
    const qsizetype n = estreitar ? qsizetype(candidatos.size()) : count();
    // Matches in the order the block holds them; then, of each kind, the
    // first in the list's order.
    std::vector<Achado> porOnde[3];
    for (qsizetype c = 0; c < n; ++c) {
        const qsizetype j = estreitar ? candidatos[size_t(c)] : c;
        const std::string_view nome = parte(j, 0), mail = parte(j, 1), fone = parte(j, 2);
        bool todasNoNome = true, primeiraNoInicio = false, peloTelefone = false, peloEmail = false,
             achou = true;
        for (qsizetype k = 0; k < palavras.size() && achou; ++k) {
            const std::string_view w(palavras[k].texto.constData(),
                                     size_t(palavras[k].texto.size()));
            const size_t p = inicioDe(nome, w);
            if (p != std::string_view::npos) {
                primeiraNoInicio = primeiraNoInicio || (k == 0 && p == 0);
                continue;
            }
            todasNoNome = false;
            if (mail.find(w) != std::string_view::npos) {
                peloEmail = true;
                continue;
            }
            const QByteArray &d = palavras[k].digitos;
            if (!d.isEmpty() && fone.find(std::string_view(d.constData(), size_t(d.size()))) !=
                                    std::string_view::npos) {
                peloTelefone = true;
                continue;
            }
            achou = false;
        }
        if (!achou)
            continue;
        m_casaram.push_back(qint32(j));
        const Onde onde = !todasNoNome       ? Onde::Outro
                          : primeiraNoInicio ? Onde::InicioDoNome
                                             : Onde::Nome;
        porOnde[int(onde)].push_back({m_entradas[size_t(j)].lista, onde, peloTelefone, peloEmail});
    }
    const auto antes = [](const Achado &a, const Achado &b) { return a.indice < b.indice; };
    for (std::vector<Achado> &lista : porOnde) {
        r.total += qsizetype(lista.size());
        const qsizetype falta = maximo - r.achados.size();
        if (falta <= 0)
            continue;
        const auto fim = lista.begin() + std::min(falta, qsizetype(lista.size()));
        std::partial_sort(lista.begin(), fim, lista.end(), antes);
        r.achados.append(QList<Achado>(lista.begin(), fim));
    }
    return r;
}
