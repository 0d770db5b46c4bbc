#include "store/contatos_externos.h"

#include "store/codificacao.h"
#include "store/formato_contatos.h"

#include <QStringDecoder>
#include <QStringList>
#include <optional>
#include <utility>

namespace ContatosExternos {

namespace {

// UTF-16 files (with their mark, as some exporters write them) as UTF-8 with
// a mark; anything else as it is.
QByteArray semUtf16(QByteArrayView b)
{
    const bool le = b.startsWith("\xFF\xFE"), be = b.startsWith("\xFE\xFF");
    if (!le && !be)
        return b.toByteArray();
    QStringDecoder d(le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
    const QString t = d(b.sliced(2));
    return QByteArray("\xEF\xBB\xBF") + t.toUtf8();
}

QString semQuebras(QString s)
{
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar &c : s) {
        const char16_t u = c.unicode();
        if (u == u'\r' || u == u'\n' || u == 0x85 || u == 0x2028 || u == 0x2029)
            c = u' ';
    }
    return s;
}

// A contact read: line breaks inside its fields become spaces; one whose
// field holds the separator is left out, and counted.
void acrescentar(Lidos &l, ContactRecord r)
{
    for (QString *campo : {&r.Nome, &r.Telefone, &r.Email}) {
        *campo = semQuebras(*campo);
        if (campo->contains(FormatoContatos::SEPARADOR)) {
            ++l.rejeitados;
            return;
        }
    }
    l.contatos.append(r);
}

// ---- vCard

struct Propriedade {
    QByteArray nome; // upper-case, without its group
    QList<QByteArray> tipos;
    bool pref = false;
    bool qp = false;
    bool base64 = false;
    bool uri = false;
    QByteArray charset;
    QByteArray valor;
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
    p.valor = linha.sliced(i + 1).toByteArray();
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

QString textoDoValor(const Propriedade &p, Codificacao padrao)
{
    const QByteArray b = p.qp ? semQuotedPrintable(p.valor) : p.valor;
    Codificacao c = padrao == Codificacao::Windows1252 ? padrao : Codificacao::Utf8;
    if (p.charset == "UTF-8" || p.charset == "UTF8")
        c = Codificacao::Utf8;
    else if (!p.charset.isEmpty())
        c = Codificacao::Windows1252; // ISO-8859-1, windows-1252 and their like
    return Codificacoes::decodificar(b, c);
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
            out.last() = semEscapes(v.sliced(de, i - de));
            if (i < v.size())
                out.append(QString());
            de = i + 1;
        }
    }
    return out;
}

// The lines of a vCard, unfolded: a line starting with a space or a TAB
// continues the one before; in quoted-printable values a final "=" does.
QList<QByteArray> linhasDesdobradas(QByteArrayView corpo)
{
    QList<QByteArray> linhas;
    bool qp = false;
    qsizetype i = 0;
    while (i < corpo.size()) {
        qsizetype fim = i;
        while (fim < corpo.size() && corpo[fim] != '\r' && corpo[fim] != '\n')
            ++fim;
        const QByteArrayView l = corpo.sliced(i, fim - i);
        i = fim + (fim + 1 < corpo.size() && corpo[fim] == '\r' && corpo[fim + 1] == '\n' ? 2 : 1);
        if (!linhas.isEmpty() && !l.isEmpty() && (l[0] == ' ' || l[0] == '\t')) {
            linhas.last().append(l.sliced(1));
        } else if (qp && linhas.last().endsWith('=')) {
            linhas.last().chop(1);
            linhas.last().append(l);
        } else {
            linhas.append(l.toByteArray());
            const qsizetype doisPontos = linhas.last().indexOf(':');
            qp = doisPontos > 0 &&
                 linhas.last().left(doisPontos).toUpper().contains("QUOTED-PRINTABLE");
        }
    }
    return linhas;
}

struct Cartao {
    std::optional<QString> fn;
    QStringList n;
    std::optional<QString> telPref, telCelular, tel, emailPref, email;

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

} // namespace

Lidos lerVCard(QByteArrayView original)
{
    const QByteArray bytes = semUtf16(original);
    const Codificacao padrao = Codificacoes::detectar(bytes);
    Lidos l;
    int profundidade = 0;
    Cartao c;
    for (const QByteArray &linha : linhasDesdobradas(FormatoContatos::corpo(bytes, padrao))) {
        const auto p = propriedade(linha);
        if (!p)
            continue;
        const bool ehVCard = p->valor.trimmed().toUpper() == "VCARD";
        if (p->nome == "BEGIN" && ehVCard) {
            if (profundidade++ == 0) {
                l.reconhecido = true;
                c = {};
            }
            continue;
        }
        if (p->nome == "END" && ehVCard) {
            if (profundidade > 0 && --profundidade == 0)
                acrescentar(l, c.registro());
            continue;
        }
        // Outside the cards, in a card inside a card, or a picture.
        if (profundidade != 1 || p->base64)
            continue;
        const QString v = textoDoValor(*p, padrao);
        if (p->nome == "FN" && !c.fn) {
            c.fn = semEscapes(v);
        } else if (p->nome == "N" && c.n.isEmpty()) {
            c.n = componentes(v);
        } else if (p->nome == "TEL" || p->nome == "EMAIL") {
            QString t = semEscapes(v);
            const bool tel = p->nome == "TEL";
            if (tel && p->uri && t.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
                t.remove(0, 4);
            auto &pref = tel ? c.telPref : c.emailPref;
            auto &primeiro = tel ? c.tel : c.email;
            if (p->pref && !pref)
                pref = t;
            if (tel && p->tipos.contains("CELL") && !c.telCelular)
                c.telCelular = t;
            if (!primeiro)
                primeiro = t;
        }
    }
    // A last card whose END is missing still counts.
    if (profundidade > 0)
        acrescentar(l, c.registro());
    return l;
}

// ---- CSV

namespace {

// Rows of fields, as RFC 4180 quotes them; a quote inside an unquoted field
// is an ordinary character.
QList<QStringList> linhasCsv(QStringView t, QChar sep)
{
    QList<QStringList> linhas;
    QStringList linha;
    QString campo;
    bool aspas = false, citado = false;
    const qsizetype n = t.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = t[i];
        if (aspas) {
            if (c != u'"')
                campo.append(c);
            else if (i + 1 < n && t[i + 1] == u'"')
                campo.append(t[++i]);
            else
                aspas = false;
        } else if (c == u'"' && campo.isEmpty() && !citado) {
            aspas = citado = true;
        } else if (c == sep) {
            linha.append(std::exchange(campo, {}));
            citado = false;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && t[i + 1] == u'\n')
                ++i;
            linha.append(std::exchange(campo, {}));
            linhas.append(std::exchange(linha, {}));
            citado = false;
        } else {
            campo.append(c);
        }
    }
    if (!campo.isEmpty() || !linha.isEmpty() || citado) {
        linha.append(campo);
        linhas.append(linha);
    }
    return linhas;
}

// The separator of the header line: a semicolon where it has more of them
// than commas.
QChar separador(QStringView t)
{
    int virgulas = 0, pontosEVirgulas = 0;
    bool aspas = false;
    for (const QChar c : t) {
        if (c == u'"')
            aspas = !aspas;
        else if (!aspas && (c == u'\r' || c == u'\n'))
            break;
        else if (!aspas && c == u',')
            ++virgulas;
        else if (!aspas && c == u';')
            ++pontosEVirgulas;
    }
    return pontosEVirgulas > virgulas ? u';' : u',';
}

struct Colunas {
    int nome = -1;
    QList<int> partesDoNome; // given, middle, family
    QList<int> telefones, emails;

    explicit Colunas(const QStringList &cabecalho)
    {
        const auto indice = [&](QStringView nome) -> int {
            for (qsizetype i = 0; i < cabecalho.size(); ++i) {
                if (cabecalho[i].trimmed().compare(nome, Qt::CaseInsensitive) == 0)
                    return int(i);
            }
            return -1;
        };
        const auto varias = [&](std::initializer_list<QStringView> nomes) {
            QList<int> out;
            for (const QStringView n : nomes) {
                if (const int i = indice(n); i >= 0)
                    out.append(i);
            }
            return out;
        };
        // "Nome" is the whole name unless a "Sobrenome" column follows it.
        nome = varias({u"Name", u"Full Name", u"Display Name", u"Nome completo"}).value(0, -1);
        if (nome < 0 && indice(u"Sobrenome") < 0)
            nome = indice(u"Nome");
        const QStringView partes[][3] = {
            {u"Given Name", u"Additional Name", u"Family Name"},
            {u"First Name", u"Middle Name", u"Last Name"},
            {u"Nome", u"Segundo nome", u"Sobrenome"},
        };
        for (const auto &p : partes) {
            if (partesDoNome.isEmpty() && indice(p[0]) >= 0 && indice(p[2]) >= 0)
                partesDoNome = varias({p[0], p[1], p[2]});
        }
        telefones = varias({u"Telefone", u"Mobile Phone", u"Phone 1 - Value", u"Celular",
                            u"Telefone celular", u"Primary Phone", u"Home Phone", u"Business Phone",
                            u"Phone", u"Phone 2 - Value"});
        emails = varias({u"E-mail", u"E-mail 1 - Value", u"E-mail Address", u"Email",
                         u"Email Address", u"Endereço de email", u"Endereço de e-mail",
                         u"E-mail 2 - Value", u"E-mail 2 Address"});
    }

    bool reconhecidas() const { return nome >= 0 || !partesDoNome.isEmpty(); }

    ContactRecord registro(const QStringList &linha) const
    {
        // The first non-empty of the columns; of several values in one
        // ("a ::: b"), the first.
        const auto primeiro = [&](const QList<int> &colunas) {
            for (const int c : colunas) {
                const QString v = linha.value(c);
                if (!v.trimmed().isEmpty())
                    return v.section(QLatin1String(" ::: "), 0, 0);
            }
            return QString();
        };
        QString n = nome >= 0 ? linha.value(nome) : QString();
        if (n.trimmed().isEmpty() && !partesDoNome.isEmpty()) {
            QStringList partes;
            for (const int c : partesDoNome) {
                if (!linha.value(c).trimmed().isEmpty())
                    partes.append(linha.value(c).trimmed());
            }
            n = partes.join(u' ');
        }
        return {n, primeiro(telefones), primeiro(emails)};
    }
};

} // namespace

Lidos lerCsv(QByteArrayView original)
{
    const QByteArray bytes = semUtf16(original);
    const Codificacao cod = Codificacoes::detectar(bytes);
    const QString texto = Codificacoes::decodificar(FormatoContatos::corpo(bytes, cod), cod);
    const QList<QStringList> linhas = linhasCsv(texto, separador(texto));
    Lidos l;
    if (linhas.isEmpty())
        return l;
    const Colunas colunas(linhas.first());
    l.reconhecido = colunas.reconhecidas();
    if (!l.reconhecido)
        return l;
    for (qsizetype i = 1; i < linhas.size(); ++i) {
        bool vazia = true;
        for (const QString &campo : linhas[i])
            vazia = vazia && campo.isEmpty();
        if (!vazia)
            acrescentar(l, colunas.registro(linhas[i]));
    }
    return l;
}

Lidos ler(QByteArrayView bytes)
{
    Lidos l = lerVCard(bytes);
    return l.reconhecido ? l : lerCsv(bytes);
}

// ---- Writing

namespace {

// Folded at 75 octets, never inside a UTF-8 sequence.
void anexarDobrada(QByteArray &out, QByteArrayView linha)
{
    qsizetype limite = 75;
    while (linha.size() > limite) {
        qsizetype corte = limite;
        while (corte > 1 && (uchar(linha[corte]) & 0xC0) == 0x80)
            --corte;
        out.append(linha.first(corte));
        out.append("\r\n ");
        linha = linha.sliced(corte);
        limite = 74;
    }
    out.append(linha);
    out.append("\r\n");
}

QString escaparVCard(QString s)
{
    s.replace(u'\\', QLatin1String("\\\\"));
    s.replace(u',', QLatin1String("\\,"));
    s.replace(u';', QLatin1String("\\;"));
    s.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    s.replace(u'\n', QLatin1String("\\n"));
    s.replace(u'\r', QLatin1String("\\n"));
    return s;
}

QString campoCsv(const QString &s)
{
    for (const QChar c : s) {
        if (c == u'"' || c == u',' || c == u';' || c == u'\r' || c == u'\n') {
            QString q = s;
            q.replace(u'"', QLatin1String("\"\""));
            return u'"' + q + u'"';
        }
    }
    return s;
}

} // namespace

QByteArray escrever(const QList<ContactRecord> &contatos, Formato formato)
{
    QByteArray out;
    if (formato == Formato::Csv) {
        QString t = QStringLiteral("\uFEFFNome,Telefone,E-mail\r\n");
        for (const ContactRecord &r : contatos)
            t += campoCsv(r.Nome) + u',' + campoCsv(r.Telefone) + u',' + campoCsv(r.Email) +
                 QLatin1String("\r\n");
        return t.toUtf8();
    }
    for (const ContactRecord &r : contatos) {
        // N: the last word as the family name, the rest as the given.
        const QStringList palavras = r.Nome.split(u' ', Qt::SkipEmptyParts);
        const QString familia = palavras.size() > 1 ? palavras.last() : QString();
        const QString dado =
            palavras.size() > 1 ? palavras.first(palavras.size() - 1).join(u' ') : r.Nome.trimmed();
        out.append("BEGIN:VCARD\r\nVERSION:3.0\r\n");
        anexarDobrada(out, (QStringLiteral("FN:") + escaparVCard(r.Nome)).toUtf8());
        anexarDobrada(out, (QStringLiteral("N:") + escaparVCard(familia) + u';' +
                            escaparVCard(dado) + QLatin1String(";;;"))
                               .toUtf8());
        if (!r.Telefone.isEmpty())
            anexarDobrada(out, (QStringLiteral("TEL:") + escaparVCard(r.Telefone)).toUtf8());
        if (!r.Email.isEmpty())
            anexarDobrada(out, (QStringLiteral("EMAIL:") + escaparVCard(r.Email)).toUtf8());
        out.append("END:VCARD\r\n");
    }
    return out;
}

} // namespace ContatosExternos
