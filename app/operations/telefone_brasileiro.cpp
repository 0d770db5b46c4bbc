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

} // namespace

Numero ler(const QString &campo)
{
    Numero n;
    // The number: brackets, dashes, dots, slashes and spaces among digits,
    // a + only before the first; it ends at its last digit.
    qsizetype fim = -1;
    bool mais = false;
    for (qsizetype i = 0; i < campo.size(); ++i) {
        const QChar c = campo[i];
        if (c.isDigit() && c.unicode() < 0x80) {
            n.digitos.append(c);
            fim = i + 1;
        } else if (c == u'+' && n.digitos.isEmpty() && !mais) {
            mais = true;
        } else if (!(c == u' ' || c == u'(' || c == u')' || c == u'-' || c == u'.' || c == u'/')) {
            if (n.digitos.isEmpty())
                return n; // text before the number: "Cel: 9999-0000"
            break;
        }
    }
    if (fim < 0)
        return n;
    n.resto = campo.mid(fim);
    const QString &d = n.digitos;
    if (mais) {
        if (d.startsWith(u"55") && nacional(QStringView(d).sliced(2), n))
            return n;
        n.tipo = d.size() >= 8 && d.size() <= 15 && !d.startsWith(u"55") ? Tipo::Estrangeiro
                                                                         : Tipo::Invalido;
        return n;
    }
    if (servico(d)) {
        n.tipo = Tipo::Servico;
        return n;
    }
    QStringView v(d);
    if (d.startsWith(u"00"))
        return n; // dialled abroad through a carrier: not read here
    if (d.startsWith(u'0')) {
        v = v.sliced(1);
        if (v.size() == 12 || v.size() == 13)
            v = v.sliced(2); // the carrier's code
    } else if (d.startsWith(u"55") && (d.size() == 12 || d.size() == 13)) {
        v = v.sliced(2);
    }
    if (nacional(v, n))
        return n;
    if (v.size() == d.size() && (d.size() == 8 || d.size() == 9) && d.front() != u'0')
        n.tipo = Tipo::SemDdd;
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
