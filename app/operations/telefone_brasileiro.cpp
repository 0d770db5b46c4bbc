#include "operations/telefone_brasileiro.h"

#include "model/lista_inicio.h"

#include <QSet>

namespace TelefoneBrasileiro {

namespace {

// The area codes in use (Anatel); any other two digits are no area code.
bool dddValido(QStringView ddd)
{
    static const QSet<int> validos = {
        11, 12, 13, 14, 15, 16, 17, 18, 19, 21, 22, 24, 27, 28, 31, 32, 33, 34, 35, 37, 38, 41, 42,
        43, 44, 45, 46, 47, 48, 49, 51, 53, 54, 55, 61, 62, 63, 64, 65, 66, 67, 68, 69, 71, 73, 74,
        75, 77, 79, 81, 82, 83, 84, 85, 86, 87, 88, 89, 91, 92, 93, 94, 95, 96, 97, 98, 99};
    return ddd.size() == 2 && validos.contains(ddd.toInt());
}

bool servico(const QString &d)
{
    if (d.size() == 3)
        return d.front() == u'1'; // 190, 192, 193, ...
    if (d.size() == 11 && d.front() == u'0')
        return d.startsWith(u"0800") || d.startsWith(u"0300") || d.startsWith(u"0500") ||
               d.startsWith(u"0900") || d.startsWith(u"0303");
    // 4004-1234, 3003-1234: one number for the whole country.
    return d.size() == 8 && (d.startsWith(u"300") || d.startsWith(u"400"));
}

// An area code and what follows it: a mobile (9 digits starting with 9, or
// an older 8 starting with 6 to 9) or a landline (8 starting with 2 to 5).
bool nacional(QStringView d, Numero &n)
{
    if ((d.size() != 10 && d.size() != 11) || !dddValido(d.first(2)))
        return false;
    const QStringView a = d.sliced(2);
    const char16_t primeiro = a.front().unicode();
    if (a.size() == 9 && primeiro == u'9') {
        n.tipo = Tipo::Celular;
        n.assinante = a.toString();
    } else if (a.size() == 8 && primeiro >= u'6' && primeiro <= u'9') {
        n.tipo = Tipo::Celular;
        n.assinante = QLatin1Char('9') + a.toString();
        n.semNono = true;
    } else if (a.size() == 8 && primeiro >= u'2' && primeiro <= u'5') {
        n.tipo = Tipo::Fixo;
        n.assinante = a.toString();
    } else {
        return false;
    }
    n.ddd = d.first(2).toString();
    return true;
}

// The digits of a number as written: runs of digits, and which of them
// stand in brackets.
struct Grupos {
    QString digitos;
    QList<qsizetype> cortes;         // where each run after the first starts, in digitos
    qsizetype abre = -1, fecha = -1; // the digits in brackets: [abre, fecha)
    bool torto = false;              // brackets that do not pair, or more than one pair
};

// Whether the groups fit a national number: prefixo digits before the area
// code (none, the long-distance 0, 0 and a carrier's two, or 55 without a
// +), the area code, then 8 or 9 digits.
bool cabe(const Grupos &g, qsizetype prefixo)
{
    const qsizetype n = g.digitos.size(), ddd = prefixo + 2;
    if (n - ddd != 8 && n - ddd != 9)
        return false;
    // Breaks only between the parts: within the prefix between the 0 and
    // the carrier's code, around the area code, and once in the number after
    // it ("9 8765-4321" aside).
    QList<qsizetype> noNumero;
    for (const qsizetype c : g.cortes) {
        if (c > ddd)
            noNumero.append(c);
        else if (!(c == prefixo || c == ddd || (prefixo == 3 && c == 1)))
            return false;
    }
    const bool nonoAParte = noNumero.size() == 2 && n - ddd == 9 && noNumero[0] == ddd + 1 &&
                            g.digitos[ddd] == u'9' && noNumero[1] == ddd + 5;
    if (noNumero.size() > 1 && !nonoAParte)
        return false;
    // The area code stands apart, or the national number is one run.
    if (!g.cortes.contains(ddd) && !noNumero.isEmpty())
        return false;
    // Brackets hold the area code, alone or with what comes before it.
    if (g.abre >= 0 && (g.fecha != ddd || (g.abre != prefixo && g.abre != 0)))
        return false;
    return true;
}

// The groups of a number as written, from the start of the field; fim:
// where its last digit ends.
Grupos grupos(QStringView campo, qsizetype &fim)
{
    Grupos g;
    bool dentro = false, digito = false;
    fim = -1;
    for (qsizetype i = 0; i < campo.size(); ++i) {
        const QChar c = campo[i];
        if (c.isDigit() && c.unicode() < 0x80) {
            if (!digito && !g.digitos.isEmpty())
                g.cortes.append(g.digitos.size());
            g.digitos.append(c);
            fim = i + 1;
            digito = true;
            continue;
        }
        digito = false;
        if (c == u'(') {
            g.torto = g.torto || dentro || g.abre >= 0;
            dentro = true;
            g.abre = g.digitos.size();
        } else if (c == u')') {
            g.torto = g.torto || !dentro;
            dentro = false;
            g.fecha = g.digitos.size();
        } else if (!(c == u' ' || c == u'-' || c == u'.')) {
            break;
        }
    }
    g.torto = g.torto || dentro;
    return g;
}

} // namespace

Numero ler(const QString &campo)
{
    Numero n;
    qsizetype i = 0;
    while (i < campo.size() && campo[i] == u' ')
        ++i;
    const bool mais = i < campo.size() && campo[i] == u'+';
    if (mais)
        ++i;
    // Text before the number ("Cel: 9999-0000"): not read here.
    if (i >= campo.size() || !(campo[i].isDigit() || campo[i] == u'('))
        return n;
    qsizetype fim = -1;
    Grupos g = grupos(QStringView(campo).sliced(i), fim);
    if (fim < 0)
        return n;
    n.digitos = g.digitos;
    n.resto = campo.mid(i + fim);
    // Only text may follow: a digit before any letter is another number
    // ("3333-4444 / 21").
    for (const QChar c : std::as_const(n.resto)) {
        if (c.isLetter())
            break;
        if (c.isDigit())
            return n;
    }
    const QString &d = n.digitos;
    if (mais) {
        if (d.startsWith(u"55")) {
            // The country code taken off, the rest read as a national number.
            Grupos semPais = g;
            semPais.digitos = d.mid(2);
            semPais.cortes.clear();
            for (const qsizetype c : std::as_const(g.cortes)) {
                if (c > 2)
                    semPais.cortes.append(c - 2);
                semPais.torto = semPais.torto || c < 2;
            }
            if (g.abre >= 0) {
                semPais.torto = semPais.torto || g.abre < 2;
                semPais.abre = g.abre - 2;
                semPais.fecha = g.fecha - 2;
            }
            if (!semPais.torto && cabe(semPais, 0))
                nacional(semPais.digitos, n);
            return n;
        }
        n.tipo = d.size() >= 8 && d.size() <= 15 && !d.startsWith(u"55") ? Tipo::Estrangeiro
                                                                         : Tipo::Invalido;
        return n;
    }
    if (servico(d)) {
        n.tipo = Tipo::Servico;
        return n;
    }
    if (!g.torto) {
        // The prefixes a national number may carry, each tried where the
        // count of digits allows it.
        for (const qsizetype prefixo : {0, 1, 3, 2}) {
            const QStringView p = QStringView(d).first(std::min(prefixo, d.size()));
            const bool pode = prefixo == 0   ? !d.startsWith(u'0')
                              : prefixo == 1 ? p == u"0"
                              : prefixo == 3 ? p.startsWith(u'0') && !p.startsWith(u"00")
                                             : p == u"55" && g.abre < 0;
            if (!pode || !cabe(g, prefixo))
                continue;
            // Shaped as a Brazilian number: one whose area code or number
            // is none in use is no number.
            nacional(QStringView(d).sliced(prefixo), n);
            return n;
        }
        // No area code: 8 or 9 digits in at most two groups.
        const bool nonoAParte =
            d.size() == 9 && g.cortes == QList<qsizetype>{1, 5} && d.front() == u'9';
        if ((d.size() == 8 || d.size() == 9) && d.front() != u'0' && g.abre < 0 &&
            (g.cortes.size() <= 1 || nonoAParte)) {
            n.tipo = Tipo::SemDdd;
            return n;
        }
    }
    // One number, but in no Brazilian shape: a foreign one written without
    // its country code, or one this program cannot tell.
    if (d.size() >= 7 && d.size() <= 15 && !d.startsWith(u"00"))
        n.tipo = Tipo::Outro;
    return n;
}

std::optional<QString> padronizado(const QString &campo, Estilo estilo)
{
    const Numero n = ler(campo);
    if (n.tipo != Tipo::Celular && n.tipo != Tipo::Fixo)
        return std::nullopt;
    const qsizetype meio = n.assinante.size() - 4;
    const QString numero = n.assinante.left(meio) + u'-' + n.assinante.mid(meio);
    const QString texto = estilo == Estilo::Nacional
                              ? QStringLiteral("(%1) %2").arg(n.ddd, numero)
                              : QStringLiteral("+55 %1 %2").arg(n.ddd, numero);
    return texto + n.resto;
}

QList<TrocaTelefone> propostas(const ListaInicio &lista, Estilo estilo)
{
    QList<TrocaTelefone> r;
    for (qsizetype i = 0; i < lista.count(); ++i) {
        const QString antes = lista.telefone(i);
        const auto depois = padronizado(antes, estilo);
        if (depois && *depois != antes)
            r.append({lista.nome(i).toString(), antes, *depois});
    }
    return r;
}

std::optional<QUrl> ligar(const QString &campo)
{
    const Numero n = ler(campo);
    switch (n.tipo) {
    case Tipo::Celular:
    case Tipo::Fixo:
        return QUrl(QStringLiteral("tel:+55") + n.ddd + n.assinante);
    case Tipo::Estrangeiro:
        return QUrl(QStringLiteral("tel:+") + n.digitos);
    case Tipo::SemDdd:
    case Tipo::Servico:
    case Tipo::Outro:
        return QUrl(QStringLiteral("tel:") + n.digitos);
    case Tipo::Invalido:
        break;
    }
    return std::nullopt;
}

std::optional<QUrl> whatsapp(const QString &campo)
{
    const Numero n = ler(campo);
    if (n.tipo == Tipo::Celular || n.tipo == Tipo::Fixo)
        return QUrl(QStringLiteral("https://wa.me/55") + n.ddd + n.assinante);
    if (n.tipo == Tipo::Estrangeiro)
        return QUrl(QStringLiteral("https://wa.me/") + n.digitos);
    return std::nullopt;
}

} // namespace TelefoneBrasileiro
