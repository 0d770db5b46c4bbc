#include "sync/cartao_vcard.h"

#include "store/formato_contatos.h"
#include "store/leitor_vcard.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace {

// A value as vCard text: the characters that structure a line escaped.
QString escapado(const QString &v, bool estruturado)
{
    QString out;
    out.reserve(v.size());
    for (const QChar c : v) {
        if (c == u'\\' || (estruturado && (c == u';' || c == u','))) {
            out += u'\\';
            out += c;
        } else if (c == u'\n') {
            out += QLatin1String("\\n");
        } else if (c != u'\r') {
            out += c;
        }
    }
    return out;
}

bool continua(const QByteArray &fisica)
{
    return !fisica.isEmpty() && (fisica[0] == ' ' || fisica[0] == '\t');
}

} // namespace

std::optional<CartaoVCard> CartaoVCard::ler(const QByteArray &bytes)
{
    if (bytes.size() > TAMANHO_MAXIMO)
        return std::nullopt;
    const ContatosLidos l = LeitorVCard::ler(bytes, {});
    if (!l.ok() || l.contatos.size() != 1 || l.rejeitados != 0)
        return std::nullopt;
    CartaoVCard c;
    c.m_registro = l.contatos.first();
    // Physical lines, each with its line end; folded ones (and the soft
    // breaks of quoted-printable) joined to the line they go on.
    qsizetype i = 0;
    bool qp = false;
    // A line ends at CR LF, a lone CR or a lone LF, as the reader takes it.
    while (i < bytes.size()) {
        qsizetype f = i;
        while (f < bytes.size() && bytes[f] != '\r' && bytes[f] != '\n')
            ++f;
        const QByteArray semFim = bytes.mid(i, f - i);
        if (f < bytes.size())
            f += bytes[f] == '\r' && f + 1 < bytes.size() && bytes[f + 1] == '\n' ? 2 : 1;
        const QByteArray fisica = bytes.mid(i, f - i);
        if (i == 0 && fisica.size() == semFim.size() + 1)
            c.m_fimDeLinha = fisica.right(1);
        if (!c.m_linhas.isEmpty() && (qp || continua(fisica))) {
            Linha &l = c.m_linhas.last();
            l.bruta += fisica;
            if (qp)
                l.desdobrada.chop(1);
            l.desdobrada += qp ? semFim : semFim.mid(1);
        } else {
            c.m_linhas.append({fisica, semFim, {}, false});
        }
        const QByteArray &d = c.m_linhas.last().desdobrada;
        const qsizetype doisPontos = d.indexOf(':');
        qp = doisPontos > 0 && d.left(doisPontos).toUpper().contains("QUOTED-PRINTABLE") &&
             semFim.endsWith('=');
        i = f;
    }
    if (!c.analisar())
        return std::nullopt;
    return c;
}

// False unless the lines are one card, from its BEGIN to its END, with only
// blank lines around: a card of any other shape is not changed here.
bool CartaoVCard::analisar()
{
    int nivel = 0;
    bool fechado = false;
    for (Linha &l : m_linhas) {
        if (l.desdobrada.trimmed().isEmpty())
            continue;
        if (fechado)
            return false;
        const qsizetype fimNome = [&] {
            qsizetype k = 0;
            while (k < l.desdobrada.size() && l.desdobrada[k] != ';' && l.desdobrada[k] != ':')
                ++k;
            return k;
        }();
        QByteArray n = l.desdobrada.left(fimNome).trimmed().toUpper();
        l.nome = n.mid(n.lastIndexOf('.') + 1);
        // Told as the reader tells them: a line without a value outside
        // quotes is no property, a base64 one carries no field, and BEGIN
        // and END are told by their value.
        static const QByteArrayList lidas{"BEGIN", "END", "VERSION", "FN", "N", "TEL", "EMAIL"};
        std::optional<LeitorVCard::Linha> lida;
        if (lidas.contains(l.nome))
            lida = LeitorVCard::linha(l.desdobrada);
        if (lidas.contains(l.nome) &&
            (!lida || (lida->base64 && l.nome != "BEGIN" && l.nome != "END")))
            l.nome.clear();
        const bool vcard = lida && lida->valor.trimmed().compare("VCARD", Qt::CaseInsensitive) == 0;
        if (l.nome == "BEGIN" && vcard)
            ++nivel;
        l.doCartao = nivel == 1 && l.nome != "BEGIN";
        if (nivel == 0)
            return false;
        if (l.nome == "END" && vcard) {
            l.doCartao = false;
            fechado = --nivel == 0;
        }
        if (l.doCartao && l.nome == "VERSION" && m_versao.isEmpty())
            m_versao = lida->valor.trimmed();
    }
    return fechado;
}

CartaoVCard CartaoVCard::novo(const ContactRecord &contato, const QString &uid)
{
    CartaoVCard c;
    c.m_versao = "3.0";
    for (const char *l : {"BEGIN:VCARD", "VERSION:3.0", "PRODID:-//Marvessa//Marvessa Fonelo//PT"})
        c.m_linhas.append({QByteArray(l) + "\r\n", l, {}, false});
    c.m_linhas.append({"END:VCARD\r\n", "END:VCARD", "END", false});
    c.inserir(c.fim(), "UID", escapado(uid, true));
    c.inserir(c.fim(), "FN", escapado(contato.Nome, true));
    c.trocarN(contato.Nome);
    c.trocarCampo("TEL", contato.Telefone);
    c.trocarCampo("EMAIL", contato.Email);
    c.analisar();
    c.reler();
    return c;
}

QByteArray CartaoVCard::bytes() const
{
    QByteArray b;
    for (const Linha &l : m_linhas)
        b += l.bruta;
    return b;
}

qsizetype CartaoVCard::primeira(const QByteArray &nome) const
{
    for (qsizetype i = 0; i < m_linhas.size(); ++i) {
        if (m_linhas[i].doCartao && m_linhas[i].nome == nome)
            return i;
    }
    return -1;
}

// The TEL or EMAIL the reader shows: the preferred one, else the first cell
// phone, else the first.
qsizetype CartaoVCard::mostrada(const QByteArray &nome) const
{
    qsizetype pref = -1, celular = -1, primeiro = -1;
    for (qsizetype i = 0; i < m_linhas.size(); ++i) {
        if (!m_linhas[i].doCartao || m_linhas[i].nome != nome)
            continue;
        const auto l = LeitorVCard::linha(m_linhas[i].desdobrada);
        if (!l || !l->texto)
            continue;
        if (l->pref && pref < 0)
            pref = i;
        if (nome == "TEL" && l->celular && celular < 0)
            celular = i;
        if (primeiro < 0)
            primeiro = i;
    }
    return pref >= 0 ? pref : celular >= 0 ? celular : primeiro;
}

qsizetype CartaoVCard::fim() const
{
    for (qsizetype i = m_linhas.size() - 1; i >= 0; --i) {
        if (m_linhas[i].nome == "END")
            return i;
    }
    return m_linhas.size();
}

// A line of the prefix (group, name, parameters) and the value, folded at 75
// octets without splitting a character. The value is written in UTF-8, so
// an older card's own character set and encoding parameters go.
QByteArray CartaoVCard::montar(QByteArrayView prefixo, const QString &valor) const
{
    QByteArray p;
    qsizetype de = 0;
    bool aspas = false;
    for (qsizetype i = 0; i <= prefixo.size(); ++i) {
        if (i < prefixo.size() && prefixo[i] == '"')
            aspas = !aspas;
        if (i < prefixo.size() && (prefixo[i] != ';' || aspas))
            continue;
        // Parameters split where the reader splits them: outside quotes.
        const QByteArray parte = prefixo.sliced(de, i - de).toByteArray();
        de = i + 1;
        // As the reader tells a parameter: its quotes dropped.
        const QByteArray u = QByteArray(parte).replace('"', "").trimmed().toUpper();
        const QByteArray chave = u.left(u.indexOf('=')).trimmed();
        if ((u.contains('=') && (chave == "CHARSET" || chave == "ENCODING")) ||
            u == "QUOTED-PRINTABLE" || u == "BASE64" || u == "B" || u == "8BIT")
            continue;
        p += (p.isEmpty() ? "" : ";") + parte;
    }
    const QByteArray v = valor.toUtf8();
    if (m_versao == "2.1" && v.size() != valor.size())
        p += ";CHARSET=UTF-8";
    return dobrar(p + ':' + v, p.size());
}

QByteArray CartaoVCard::dobrar(const QByteArray &inteira, qsizetype prefixo) const
{
    const QByteArrayView p = QByteArrayView(inteira).first(prefixo);
    QByteArray out;
    // Never folded before the value: a reader tells a line by its first
    // physical line's name.
    qsizetype i = 0, largura = std::max<qsizetype>(75, p.size() + 2);
    while (inteira.size() - i > largura) {
        qsizetype corte = i + largura;
        while (corte > i + 1 && (uchar(inteira[corte]) & 0xC0) == 0x80)
            --corte;
        out += inteira.mid(i, corte - i) + m_fimDeLinha + ' ';
        i = corte;
        largura = 74;
    }
    return out + inteira.mid(i) + m_fimDeLinha;
}

void CartaoVCard::trocar(qsizetype i, const QString &valor)
{
    Linha &l = m_linhas[i];
    qsizetype k = 0;
    bool aspas = false;
    for (; k < l.desdobrada.size(); ++k) {
        if (l.desdobrada[k] == '"')
            aspas = !aspas;
        else if (l.desdobrada[k] == ':' && !aspas)
            break;
    }
    l.bruta = montar(QByteArrayView(l.desdobrada).first(k), valor);
    l.desdobrada = l.bruta.chopped(m_fimDeLinha.size()).replace(m_fimDeLinha + ' ', "");
}

void CartaoVCard::inserir(qsizetype antes, QByteArrayView prefixo, const QString &valor)
{
    Linha l{montar(prefixo, valor), {}, prefixo.toByteArray(), true};
    l.desdobrada = l.bruta.chopped(m_fimDeLinha.size()).replace(m_fimDeLinha + ' ', "");
    m_linhas.insert(antes, l);
}

void CartaoVCard::trocarCampo(const QByteArray &nome, const QString &valor)
{
    const qsizetype i = mostrada(nome);
    const auto lida = i >= 0 ? LeitorVCard::linha(m_linhas[i].desdobrada) : std::nullopt;
    const bool uri = lida && lida->uri;
    const QString v = escapado(valor, false);
    if (i >= 0 && valor.isEmpty())
        m_linhas.removeAt(i);
    else if (i >= 0)
        trocar(i, uri && nome == "TEL" ? QLatin1String("tel:") + v : v);
    else if (!valor.isEmpty())
        inserir(fim(), nome, v);
}

// N as "Family;Given": the last word the family name, the rest given.
void CartaoVCard::trocarN(const QString &nome)
{
    const QString n = nome.trimmed();
    const qsizetype espaco = n.lastIndexOf(u' ');
    const QString familia = espaco < 0 ? n : n.mid(espaco + 1);
    const QString dado = espaco < 0 ? QString() : n.left(espaco).trimmed();
    const QString v = escapado(familia, true) + u';' + escapado(dado, true) + QLatin1String(";;;");
    const qsizetype i = primeira("N");
    if (i >= 0)
        trocar(i, v);
    else if (m_versao != "4.0")
        inserir(fim(), "N", v);
}

bool CartaoVCard::aplicar(const ContactRecord &c)
{
    const QList<Linha> antes = m_linhas;
    const ContactRecord registroAntes = m_registro;
    if (c.Nome != m_registro.Nome) {
        const qsizetype fn = primeira("FN");
        if (fn >= 0)
            trocar(fn, escapado(c.Nome, true));
        else
            inserir(fim(), "FN", escapado(c.Nome, true));
        trocarN(c.Nome);
    }
    if (c.Telefone != m_registro.Telefone)
        trocarCampo("TEL", c.Telefone);
    if (c.Email != m_registro.Email)
        trocarCampo("EMAIL", c.Email);
    // A card that would read back with other fields (a shape this patcher
    // misreads) is left as it was rather than sent wrong.
    const auto relido = LeitorVCard::ler(bytes(), {});
    const auto igual = [](const QString &a, const QString &b) {
        return FormatoContatos::aparar(a) == FormatoContatos::aparar(b);
    };
    if (!relido.ok() || relido.contatos.size() != 1 || relido.rejeitados != 0 ||
        !igual(relido.contatos.first().Nome, c.Nome) ||
        !igual(relido.contatos.first().Telefone, c.Telefone) ||
        !igual(relido.contatos.first().Email, c.Email)) {
        m_linhas = antes;
        m_registro = registroAntes;
        return false;
    }
    m_registro = relido.contatos.first();
    return true;
}

void CartaoVCard::acrescentarTelefone(const QString &telefone)
{
    inserir(fim(), "TEL", escapado(telefone, false));
    reler();
}

void CartaoVCard::acrescentarEmail(const QString &email)
{
    inserir(fim(), "EMAIL", escapado(email, false));
    reler();
}

void CartaoVCard::acrescentarNota(const QString &nota)
{
    inserir(fim(), "NOTE", escapado(nota, true));
}

// What the reader makes of the card now: a value with spaces around it, in
// another program's card, reads back without them.
void CartaoVCard::reler()
{
    const ContatosLidos l = LeitorVCard::ler(bytes(), {});
    if (l.ok() && l.contatos.size() == 1)
        m_registro = l.contatos.first();
}

namespace {

// A line's group ("item1"), empty where it has none, and the rest.
std::pair<QByteArray, QByteArray> grupoEResto(const QByteArray &desdobrada)
{
    qsizetype k = 0;
    while (k < desdobrada.size() && desdobrada[k] != ';' && desdobrada[k] != ':')
        ++k;
    const qsizetype ponto = desdobrada.first(k).lastIndexOf('.');
    if (ponto < 0)
        return {{}, desdobrada};
    return {desdobrada.first(ponto), desdobrada.mid(ponto + 1)};
}

QString soDigitos(const QString &t)
{
    QString d;
    for (const QChar c : t) {
        if (c.isDigit())
            d += c;
    }
    return d;
}

} // namespace

void CartaoVCard::acrescentarCartao(const CartaoVCard &outro)
{
    // What makes a card this card, or holds the name the file shows.
    static const QByteArrayList nunca{"BEGIN", "END",    "VERSION", "UID", "FN",
                                      "N",     "PRODID", "REV",     "KIND"};
    // At most one on a card: a second value goes into a note.
    static const QByteArrayList unicas{"BDAY", "ANNIVERSARY", "GENDER"};
    // What only labels the other lines of its group.
    static const QByteArrayList rotulos{"X-ABLABEL", "X-ABADR"};
    QSet<QByteArray> linhas, grupos, nomes;
    QSet<QString> valores; // telephones by their digits, e-mails case aside
    const auto valor = [](const QByteArray &nome, const LeitorVCard::Linha &l) {
        const QString t = l.texto.value_or(QString());
        return nome == "TEL" ? QLatin1String("TEL:") + soDigitos(t)
                             : QLatin1String("EMAIL:") + t.trimmed().toCaseFolded();
    };
    for (const Linha &l : std::as_const(m_linhas)) {
        if (!l.doCartao)
            continue;
        const auto [grupo, resto] = grupoEResto(l.desdobrada);
        linhas.insert(resto);
        if (!grupo.isEmpty())
            grupos.insert(grupo.toLower());
        nomes.insert(l.nome);
        if (l.nome == "TEL" || l.nome == "EMAIL") {
            if (const auto lida = LeitorVCard::linha(l.desdobrada))
                valores.insert(valor(l.nome, *lida));
        }
    }
    // Each group of the other card gets a name of its own here, another
    // where this card uses it, so that labels never go to another's lines;
    // given once a line of it is added.
    QHash<QByteArray, QByteArray> novoGrupo;
    const auto grupoAqui = [&](const QByteArray &g) {
        const QByteArray k = g.toLower();
        if (const auto it = novoGrupo.constFind(k); it != novoGrupo.cend())
            return *it;
        QByteArray nome = g;
        for (int n = 1; grupos.contains(nome.toLower()); ++n)
            nome = "item" + QByteArray::number(n);
        grupos.insert(nome.toLower());
        novoGrupo.insert(k, nome);
        return nome;
    };
    // The lines first, then the labels of the groups that came.
    for (const bool rotulo : {false, true}) {
        for (const Linha &l : outro.m_linhas) {
            if (!l.doCartao || l.desdobrada.trimmed().isEmpty())
                continue;
            const auto [grupo, resto] = grupoEResto(l.desdobrada);
            QByteArray nome = resto;
            nome.truncate(std::min(nome.indexOf(';') < 0 ? nome.size() : nome.indexOf(';'),
                                   nome.indexOf(':') < 0 ? nome.size() : nome.indexOf(':')));
            nome = nome.trimmed().toUpper();
            if ((!grupo.isEmpty() && rotulos.contains(nome)) != rotulo)
                continue;
            if (rotulo && !novoGrupo.contains(grupo.toLower()))
                continue;
            if (nunca.contains(nome) || (linhas.contains(resto) && grupo.isEmpty()))
                continue;
            const auto lida = LeitorVCard::linha(l.desdobrada);
            if ((nome == "TEL" || nome == "EMAIL") && lida) {
                const QString v = valor(nome, *lida);
                if (valores.contains(v) || v.endsWith(u':'))
                    continue;
                valores.insert(v);
            } else if (!rotulo && linhas.contains(resto)) {
                continue;
            }
            if (unicas.contains(nome) && nomes.contains(nome)) {
                if (lida && lida->texto)
                    acrescentarNota(QString::fromLatin1(nome) + QLatin1String(": ") + *lida->texto);
                continue;
            }
            const QByteArray g = grupo.isEmpty() ? QByteArray() : grupoAqui(grupo);
            const QByteArray inteira = g.isEmpty() ? resto : g + '.' + resto;
            qsizetype prefixo = 0;
            while (prefixo < inteira.size() && inteira[prefixo] != ':')
                ++prefixo;
            const QList<Linha> antes = m_linhas;
            const ContactRecord registroAntes = m_registro;
            m_linhas.insert(fim(), {dobrar(inteira, prefixo), inteira, nome, true});
            // A line that would make the card show another telephone or e-mail
            // (one marked preferred), or not read, goes as plain text instead,
            // or not at all.
            reler();
            const auto relido = LeitorVCard::ler(bytes(), {});
            if (!relido.ok() || relido.contatos.size() != 1 || m_registro != registroAntes) {
                m_linhas = antes;
                m_registro = registroAntes;
                if ((nome == "TEL" || nome == "EMAIL") && lida && lida->texto) {
                    inserir(fim(), nome, escapado(*lida->texto, false));
                    reler();
                    if (m_registro != registroAntes) {
                        m_linhas = antes;
                        m_registro = registroAntes;
                    }
                }
                continue;
            }
            linhas.insert(resto);
            nomes.insert(nome);
        }
    }
}
