#include "store/colunas_csv.h"

#include <QRegularExpression>
#include <array>

namespace {

enum class Sentido {
    Completo,
    Dado,
    Meio,
    Familia,
    // The whole name alone; the given name beside a family name's column.
    DadoOuCompleto,
    // The whole name alone; the family name beside a given name's column.
    FamiliaOuCompleto,
    TelGeral,
    Celular,
    TelPrincipal,
    TelResidencial,
    TelComercial,
    TelOutro,
    Email,
    EmailOutro,
};

struct Cabecalho {
    Sentido sentido;
    const char16_t *texto;
};

// Outlook writes its headers in the user's language; the web address books
// and Thunderbird in English.
constexpr Cabecalho CABECALHOS[] = {
    {Sentido::Completo, u"Name"},
    {Sentido::Completo, u"Full Name"},
    {Sentido::Completo, u"Display Name"},
    {Sentido::Completo, u"Nome completo"},
    {Sentido::Completo, u"Nome de exibição"},
    {Sentido::Completo, u"Nombre completo"},
    {Sentido::Completo, u"Nombre para mostrar"},
    {Sentido::Completo, u"Nom complet"},
    {Sentido::Completo, u"Nom d'affichage"},
    {Sentido::Completo, u"Nom à afficher"},
    {Sentido::Completo, u"Vollständiger Name"},
    {Sentido::Completo, u"Anzeigename"},
    {Sentido::DadoOuCompleto, u"Nome"},
    {Sentido::DadoOuCompleto, u"Nombre"},
    {Sentido::FamiliaOuCompleto, u"Nom"},
    {Sentido::Dado, u"Given Name"},
    {Sentido::Dado, u"First Name"},
    {Sentido::Dado, u"First"},
    {Sentido::Dado, u"Primeiro nome"},
    {Sentido::Dado, u"Prénom"},
    {Sentido::Dado, u"Vorname"},
    {Sentido::Meio, u"Additional Name"},
    {Sentido::Meio, u"Middle Name"},
    {Sentido::Meio, u"Middle"},
    {Sentido::Meio, u"Segundo nome"},
    {Sentido::Meio, u"Nome do meio"},
    {Sentido::Meio, u"Segundo nombre"},
    {Sentido::Meio, u"Deuxième prénom"},
    {Sentido::Meio, u"Weitere Vornamen"},
    {Sentido::Meio, u"Zweiter Vorname"},
    {Sentido::Familia, u"Family Name"},
    {Sentido::Familia, u"Last Name"},
    {Sentido::Familia, u"Last"},
    {Sentido::Familia, u"Surname"},
    {Sentido::Familia, u"Sobrenome"},
    {Sentido::Familia, u"Apellidos"},
    {Sentido::Familia, u"Apellido"},
    {Sentido::Familia, u"Nom de famille"},
    {Sentido::Familia, u"Nachname"},
    {Sentido::Familia, u"Familienname"},
    {Sentido::TelGeral, u"Telefone"},
    {Sentido::TelGeral, u"Phone"},
    {Sentido::TelGeral, u"Telephone"},
    {Sentido::TelGeral, u"Teléfono"},
    {Sentido::TelGeral, u"Téléphone"},
    {Sentido::TelGeral, u"Telefon"},
    {Sentido::Celular, u"Mobile Phone"},
    {Sentido::Celular, u"Mobile"},
    {Sentido::Celular, u"Mobile Number"},
    {Sentido::Celular, u"Cell Phone"},
    {Sentido::Celular, u"Celular"},
    {Sentido::Celular, u"Telefone celular"},
    {Sentido::Celular, u"Telemóvel"},
    {Sentido::Celular, u"Teléfono móvil"},
    {Sentido::Celular, u"Móvil"},
    {Sentido::Celular, u"Téléphone mobile"},
    {Sentido::Celular, u"Tél. mobile"},
    {Sentido::Celular, u"Portable"},
    {Sentido::Celular, u"Mobiltelefon"},
    {Sentido::Celular, u"Handy"},
    {Sentido::TelPrincipal, u"Primary Phone"},
    {Sentido::TelPrincipal, u"Telefone principal"},
    {Sentido::TelPrincipal, u"Teléfono principal"},
    {Sentido::TelPrincipal, u"Téléphone principal"},
    {Sentido::TelPrincipal, u"Haupttelefon"},
    {Sentido::TelResidencial, u"Home Phone"},
    {Sentido::TelResidencial, u"Home"},
    {Sentido::TelResidencial, u"Telefone residencial"},
    {Sentido::TelResidencial, u"Teléfono particular"},
    {Sentido::TelResidencial, u"Téléphone domicile"},
    {Sentido::TelResidencial, u"Telefon (privat)"},
    {Sentido::TelComercial, u"Business Phone"},
    {Sentido::TelComercial, u"Work Phone"},
    {Sentido::TelComercial, u"Work"},
    {Sentido::TelComercial, u"Telefone comercial"},
    {Sentido::TelComercial, u"Teléfono del trabajo"},
    {Sentido::TelComercial, u"Téléphone bureau"},
    {Sentido::TelComercial, u"Téléphone professionnel"},
    {Sentido::TelComercial, u"Telefon (geschäftlich)"},
    {Sentido::TelOutro, u"Other Phone"},
    {Sentido::TelOutro, u"Other"},
    {Sentido::TelOutro, u"Outro telefone"},
    {Sentido::TelOutro, u"Otro teléfono"},
    {Sentido::TelOutro, u"Autre téléphone"},
    {Sentido::TelOutro, u"Weiteres Telefon"},
    {Sentido::Email, u"E-mail"},
    {Sentido::Email, u"E-mail Address"},
    {Sentido::Email, u"Primary Email"},
    {Sentido::Email, u"Endereço de email"},
    {Sentido::Email, u"Endereço de e-mail"},
    {Sentido::Email, u"Correo electrónico"},
    {Sentido::Email, u"Dirección de correo electrónico"},
    {Sentido::Email, u"Adresse de messagerie"},
    {Sentido::Email, u"Adresse e-mail"},
    {Sentido::Email, u"Courriel"},
    {Sentido::Email, u"E-Mail-Adresse"},
    {Sentido::EmailOutro, u"Secondary Email"},
    {Sentido::EmailOutro, u"E-mail 2 Address"},
    {Sentido::EmailOutro, u"E-mail 3 Address"},
    {Sentido::EmailOutro, u"Endereço de email 2"},
    {Sentido::EmailOutro, u"Endereço de e-mail 2"},
    {Sentido::EmailOutro, u"Dirección de correo electrónico 2"},
    {Sentido::EmailOutro, u"Adresse de messagerie 2"},
    {Sentido::EmailOutro, u"E-Mail 2: Adresse"},
};

// Google numbers its columns: "Phone 1 - Value", "E-mail 2 - Value".
const QRegularExpression &numeradaDoGoogle()
{
    static const QRegularExpression re(QStringLiteral("^(phone|email)(\\d+)value$"));
    return re;
}

} // namespace

QString ColunasCsv::normalizar(QStringView cabecalho)
{
    const QString d = cabecalho.toString().normalized(QString::NormalizationForm_D);
    QString r;
    r.reserve(d.size());
    for (const QChar c : d) {
        if (c.isLetterOrNumber())
            r.append(c.toCaseFolded());
    }
    return r;
}

ColunasCsv::ColunasCsv(const QStringList &cabecalho)
{
    constexpr int SENTIDOS = int(Sentido::EmailOutro) + 1;
    std::array<QList<Coluna>, SENTIDOS> porSentido;
    for (qsizetype i = 0; i < cabecalho.size(); ++i) {
        const QString n = normalizar(cabecalho[i]);
        if (n.isEmpty())
            continue;
        const QRegularExpressionMatch google = numeradaDoGoogle().match(n);
        if (google.hasMatch()) {
            const bool tel = google.captured(1) == u"phone";
            const bool primeira = google.captured(2) == u"1";
            const Sentido s = tel ? (primeira ? Sentido::TelGeral : Sentido::TelOutro)
                                  : (primeira ? Sentido::Email : Sentido::EmailOutro);
            porSentido[size_t(s)].append({int(i), true});
            continue;
        }
        for (const Cabecalho &c : CABECALHOS) {
            if (normalizar(QStringView(c.texto)) == n) {
                porSentido[size_t(c.sentido)].append({int(i), false});
                break;
            }
        }
    }
    const auto de = [&](Sentido s) -> QList<Coluna> & { return porSentido[size_t(s)]; };
    m_completo = de(Sentido::Completo);
    m_dado = de(Sentido::Dado);
    m_meio = de(Sentido::Meio);
    m_familia = de(Sentido::Familia);
    // "Nome" beside "Sobrenome" is the given name; alone it is the whole.
    if (m_familia.isEmpty() && m_dado.isEmpty()) {
        m_completo += de(Sentido::DadoOuCompleto);
        m_completo += de(Sentido::FamiliaOuCompleto);
    } else {
        m_dado += de(Sentido::DadoOuCompleto);
        m_familia += de(Sentido::FamiliaOuCompleto);
    }
    for (const Sentido s : {Sentido::TelGeral, Sentido::Celular, Sentido::TelPrincipal,
                            Sentido::TelResidencial, Sentido::TelComercial, Sentido::TelOutro})
        m_telefones += de(s);
    m_emails = de(Sentido::Email) + de(Sentido::EmailOutro);
    m_propria = cabecalho == QStringList{QStringLiteral("Nome"), QStringLiteral("Telefone"),
                                         QStringLiteral("E-mail")};
}

bool ColunasCsv::reconhecidas() const
{
    return !m_completo.isEmpty() || !m_dado.isEmpty() || !m_familia.isEmpty();
}

QString ColunasCsv::valor(const QStringList &linha, const Coluna &c) const
{
    const QString v = linha.value(c.indice);
    if (c.varios)
        return v.section(QLatin1String(" ::: "), 0, 0);
    if (m_propria && v.size() > 1 && v.front() == u'\'') {
        // Written so by this program's export when it starts as a formula.
        qsizetype i = 0;
        while (i < v.size() && v[i] == u'\'')
            ++i;
        if (i < v.size() && QStringView(u"=+-@\t").contains(v[i]))
            return v.mid(1);
    }
    return v;
}

QString ColunasCsv::primeiro(const QStringList &linha, const QList<Coluna> &colunas) const
{
    for (const Coluna &c : colunas) {
        const QString v = valor(linha, c);
        if (!v.trimmed().isEmpty())
            return v;
    }
    return QString();
}

ContactRecord ColunasCsv::registro(const QStringList &linha) const
{
    QString nome = primeiro(linha, m_completo);
    if (nome.trimmed().isEmpty()) {
        QStringList partes;
        for (const QList<Coluna> *colunas : {&m_dado, &m_meio, &m_familia}) {
            const QString p = primeiro(linha, *colunas).trimmed();
            if (!p.isEmpty())
                partes.append(p);
        }
        nome = partes.join(u' ');
    }
    return {nome, primeiro(linha, m_telefones), primeiro(linha, m_emails)};
}
