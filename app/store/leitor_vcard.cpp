#include "store/leitor_vcard.h"

#include "store/codificacoes.h"
#include "store/conjuntos_de_caracteres.h"

#include <QStringList>
#include <optional>
#include <utility>

using Falha = ContatosLidos::Falha;
using Lidos = ContatosLidos;
using Limites = ContatosLidos::Limites;

namespace {

struct Propriedade {
    QByteArray nome; // upper-case, without its group
    QList<QByteArray> tipos;
    bool pref = false;
    bool qp = false;
    bool base64 = false;
    bool uri = false;
    QByteArray charset;
    QByteArrayView valor;
};

// Splits at a character outside double quotes, the quotes dropped.
QList<QByteArray> dividir(QByteArrayView texto, char sep)
{
    QList<QByteArray> partes(1);
    bool aspas = false;
    for (const char c : texto) {
        if (c == '"')
            aspas = !aspas;
        else if (c == sep && !aspas)
            partes.append(QByteArray());
        else
            partes.last().append(c);
    }
    return partes;
}

// The property's name, upper-case, without its group: enough to tell
// whether the line matters before it is kept whole.
QByteArray nomeDaLinha(QByteArrayView linha)
{
    qsizetype fim = 0;
    while (fim < linha.size() && linha[fim] != ';' && linha[fim] != ':')
        ++fim;
    QByteArray n = linha.first(fim).trimmed().toByteArray().toUpper();
    return n.mid(n.lastIndexOf('.') + 1);
}

// name;params:value, the value's bytes as they stand.
std::optional<Propriedade> propriedade(QByteArrayView linha)
{
    qsizetype i = 0;
    bool aspas = false;
    for (; i < linha.size(); ++i) {
        if (linha[i] == '"')
            aspas = !aspas;
        else if (linha[i] == ':' && !aspas)
            break;
    }
    if (i == linha.size())
        return std::nullopt;
    Propriedade p;
    p.valor = linha.sliced(i + 1);
    const QList<QByteArray> partes = dividir(linha.first(i), ';');
    p.nome = partes.first().trimmed().toUpper();
    p.nome = p.nome.mid(p.nome.lastIndexOf('.') + 1);
    for (qsizetype k = 1; k < partes.size(); ++k) {
        const QByteArray par = partes[k].trimmed();
        const qsizetype igual = par.indexOf('=');
        const QByteArray chave =
            igual < 0 ? QByteArray("TYPE") : par.left(igual).trimmed().toUpper();
        const QByteArray valor = (igual < 0 ? par : par.mid(igual + 1)).trimmed().toUpper();
        if (chave == "ENCODING" ||
            (igual < 0 && (valor == "QUOTED-PRINTABLE" || valor == "BASE64" || valor == "B" ||
                           valor == "8BIT"))) {
            p.qp = valor == "QUOTED-PRINTABLE";
            p.base64 = valor == "BASE64" || valor == "B";
        } else if (chave == "CHARSET") {
            p.charset = valor;
        } else if (chave == "PREF") {
            p.pref = p.pref || valor == "1";
        } else if (chave == "VALUE") {
            p.uri = valor == "URI";
        } else if (chave == "TYPE") {
            for (const QByteArray &t : valor.split(',')) {
                if (t.trimmed() == "PREF")
                    p.pref = true;
                else
                    p.tipos.append(t.trimmed());
            }
        }
    }
    return p;
}

int hex(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray semQuotedPrintable(QByteArrayView v)
{
    QByteArray out;
    out.reserve(v.size());
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v[i] == '=' && i + 2 < v.size() && hex(v[i + 1]) >= 0 && hex(v[i + 2]) >= 0) {
            out.append(char(hex(v[i + 1]) * 16 + hex(v[i + 2])));
            i += 2;
        } else {
            out.append(v[i]);
        }
    }
    return out;
}

// The value as text: in its declared character set, or, without one, UTF-8
// where the line is UTF-8 and Windows-1252 where it is not (vCard 2.1's
// default). Nothing when the set is unknown here.
std::optional<QString> textoDoValor(const Propriedade &p)
{
    const QByteArray b = p.qp ? semQuotedPrintable(p.valor) : p.valor.toByteArray();
    if (p.charset.isEmpty())
        return Codificacoes::decodificarMisto(b);
    return ConjuntosDeCaracteres::decodificar(b, p.charset);
}

// \n, \N, \, \; \\ and any other escaped character as itself.
QString semEscapes(QStringView v)
{
    QString out;
    out.reserve(v.size());
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v[i] == u'\\' && i + 1 < v.size()) {
            ++i;
            out.append(v[i] == u'n' || v[i] == u'N' ? QChar(u'\n') : v[i]);
        } else {
            out.append(v[i]);
        }
    }
    return out;
}

// The parts of a structured value (N), split at unescaped semicolons.
QStringList componentes(QStringView v)
{
    QStringList out(1);
    qsizetype de = 0;
    for (qsizetype i = 0; i <= v.size(); ++i) {
        if (i < v.size() && v[i] == u'\\') {
            ++i;
            continue;
        }
        if (i == v.size() || v[i] == u';') {
            out.last() = semEscapes(v.sliced(de, std::min(i, v.size()) - de));
            if (i < v.size())
                out.append(QString());
            de = i + 1;
        }
    }
    return out;
}

// A TEL's or EMAIL's text: unescaped, a tel: URI as its number.
QString textoFinal(const Propriedade &p, const QString &v)
{
    QString t = semEscapes(v);
    if (p.nome == "TEL" && p.uri && t.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        t.remove(0, 4);
    return t;
}

struct Cartao {
    std::optional<QString> fn;
    QStringList n;
    std::optional<QString> telPref, telCelular, tel, emailPref, email;
    bool ilegivel = false; // a value in a character set unknown here
    bool proprio = false;  // written by this program

    ContactRecord registro() const
    {
        QString nome = fn.value_or(QString());
        if (nome.trimmed().isEmpty()) {
            // "Given Family" from N (family; given; ...).
            const QString dado = n.value(1).trimmed(), familia = n.value(0).trimmed();
            const QString deN = (dado + u' ' + familia).trimmed();
            if (!deN.isEmpty())
                nome = deN;
        }
        return {nome, telPref.value_or(telCelular.value_or(tel.value_or(QString()))),
                emailPref.value_or(email.value_or(QString()))};
    }
};

class Leitura {
public:
    explicit Leitura(const Limites &limites) : m_lim(limites) {}

    // One unfolded line; false once the file is refused.
    bool linha(QByteArrayView linha);
    Lidos fim();

private:
    void fechar();
    void valor(const Propriedade &p);

    const Limites &m_lim;
    Lidos m_l;
    Cartao m_c;
    bool m_aberto = false;
    bool m_algum = false;
    int m_embutidos = 0;        // depth of vCard 2.1 AGENT cards inside the card
    bool m_agenteVazio = false; // the line before was "AGENT:" alone
};

void Leitura::fechar()
{
    if (m_c.ilegivel)
        ++m_l.rejeitados;
    else
        m_l.acrescentar(m_c.registro(), m_c.proprio);
    m_c = {};
    m_aberto = false;
    if (m_l.contatos.size() + m_l.rejeitados > m_lim.contatos)
        m_l.falha = Falha::Grande;
}

bool Leitura::linha(QByteArrayView linha)
{
    const auto p = propriedade(linha);
    if (!p)
        return true;
    const bool ehVCard = p->valor.trimmed().compare("VCARD", Qt::CaseInsensitive) == 0;
    const bool agenteVazio = std::exchange(m_agenteVazio, false);
    if (p->nome == "BEGIN" && ehVCard) {
        m_algum = true;
        // A card of vCard 2.1's AGENT, inside the card; otherwise a card
        // whose END is missing ends here, and the next begins.
        if (m_aberto && (agenteVazio || m_embutidos > 0)) {
            ++m_embutidos;
            return true;
        }
        if (m_aberto)
            fechar();
        m_aberto = true;
        return m_l.falha != Falha::Grande;
    }
    if (p->nome == "END" && ehVCard) {
        if (m_embutidos > 0)
            --m_embutidos;
        else if (m_aberto)
            fechar();
        return m_l.falha != Falha::Grande;
    }
    if (!m_aberto || m_embutidos > 0 || p->base64)
        return true;
    m_agenteVazio = p->nome == "AGENT" && p->valor.trimmed().isEmpty();
    valor(*p);
    return m_l.falha != Falha::Grande;
}

void Leitura::valor(const Propriedade &p)
{
    if (p.nome == "PRODID") {
        m_c.proprio = p.valor.contains("Marvessa Fonelo");
        return;
    }
    const bool fn = p.nome == "FN" && !m_c.fn, n = p.nome == "N" && m_c.n.isEmpty();
    const bool tel = p.nome == "TEL", email = p.nome == "EMAIL";
    if (!fn && !n && !tel && !email)
        return;
    const std::optional<QString> v = textoDoValor(p);
    if (!v) {
        m_c.ilegivel = true;
        return;
    }
    if (fn) {
        m_c.fn = semEscapes(*v);
    } else if (n) {
        m_c.n = componentes(*v);
    } else {
        const QString t = textoFinal(p, *v);
        auto &pref = tel ? m_c.telPref : m_c.emailPref;
        auto &primeiro = tel ? m_c.tel : m_c.email;
        if (p.pref && !pref)
            pref = t;
        if (tel && p.tipos.contains("CELL") && !m_c.telCelular)
            m_c.telCelular = t;
        if (!primeiro)
            primeiro = t;
    }
}

Lidos Leitura::fim()
{
    // A last card whose END is missing still counts.
    if (m_aberto && m_l.falha != Falha::Grande)
        fechar();
    if (m_l.falha == Falha::NaoReconhecido && m_algum)
        m_l.falha = Falha::Nenhuma;
    if (m_l.falha == Falha::Grande)
        m_l.contatos.clear();
    return std::move(m_l);
}

// Whether a property's value is quoted-printable, whose lines end in "="
// where the next goes on (a soft line break).
bool quotedPrintable(QByteArrayView linha)
{
    const qsizetype doisPontos = linha.indexOf(':');
    return doisPontos > 0 &&
           linha.first(doisPontos).toByteArray().toUpper().contains("QUOTED-PRINTABLE");
}

} // namespace

std::optional<LeitorVCard::Linha> LeitorVCard::linha(QByteArrayView desdobrada)
{
    const auto p = propriedade(desdobrada);
    if (!p)
        return std::nullopt;
    Linha l{p->nome,     p->pref,   p->tipos.contains("CELL"),
            p->uri,      p->base64, p->valor.toByteArray(),
            std::nullopt};
    if (!p->base64)
        l.texto = textoDoValor(*p);
    if (l.texto)
        l.texto = textoFinal(*p, *l.texto);
    return l;
}

Lidos LeitorVCard::ler(QByteArrayView original, const Limites &lim)
{
    const QByteArray bytes = ContatosLidos::semUtf16(original);
    Leitura leitura(lim);
    // Lines unfolded as bytes: a fold may split a UTF-8 character. Lines
    // that carry nothing kept here (pictures, notes) are passed over
    // without being gathered.
    QByteArray atual;
    bool guardar = false, qpLinha = false, qp = false, recusado = false;
    const auto concluir = [&]() {
        if (guardar && !recusado && !leitura.linha(atual))
            recusado = true;
        atual.clear();
    };
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n && !recusado) {
        qsizetype fim = i;
        while (fim < n && bytes[fim] != '\r' && bytes[fim] != '\n')
            ++fim;
        const QByteArrayView l(bytes.constData() + i, fim - i);
        i = fim + (fim + 1 < n && bytes[fim] == '\r' && bytes[fim + 1] == '\n' ? 2 : 1);
        QByteArrayView acrescimo = l;
        if (qp) {
            if (guardar)
                atual.chop(1);
        } else if (!l.isEmpty() && (l[0] == ' ' || l[0] == '\t')) {
            acrescimo = l.sliced(1);
        } else {
            concluir();
            const QByteArray nome = nomeDaLinha(l);
            guardar = nome == "BEGIN" || nome == "END" || nome == "FN" || nome == "N" ||
                      nome == "TEL" || nome == "EMAIL" || nome == "AGENT" || nome == "PRODID";
            qpLinha = quotedPrintable(l);
        }
        if (guardar) {
            if (atual.size() + acrescimo.size() > lim.linha)
                return {Falha::Grande, 0, {}, 0};
            atual.append(acrescimo);
        }
        qp = qpLinha && l.endsWith('=');
    }
    if (!recusado)
        concluir();
    return leitura.fim();
}
