#include "store/contatos_externos.h"

#include "store/formato_contatos.h"
#include "store/leitor_csv.h"
#include "store/leitor_vcard.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace ContatosExternos {

Lidos lerVCard(QByteArrayView bytes, const Limites &limites)
{
    return LeitorVCard::ler(bytes, limites);
}

Lidos lerCsv(QByteArrayView bytes, const Limites &limites)
{
    return LeitorCsv::ler(bytes, limites);
}

Lidos ler(QByteArrayView bytes, const Limites &limites)
{
    Lidos l = lerVCard(bytes, limites);
    return l.falha == Falha::NaoReconhecido ? lerCsv(bytes, limites) : l;
}

Lidos lerArquivo(const QString &caminho, const Limites &limites)
{
    Lidos l;
    l.falha = Falha::NaoLido;
    // A FIFO or a device would never end; a huge file is refused unread.
    const QFileInfo info(caminho);
    if (!info.isFile())
        return l;
    if (info.size() > limites.bytes) {
        l.falha = Falha::Grande;
        return l;
    }
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return l;
    // Sized by what it held when looked at; one that grew since is read on,
    // up to the limit and a byte more to tell that it is past it.
    QByteArray bytes = f.read(std::min(info.size(), limites.bytes) + 1);
    while (bytes.size() <= limites.bytes && !f.atEnd() && f.error() == QFileDevice::NoError)
        bytes += f.read(std::min(qint64(1) << 24, limites.bytes + 1 - bytes.size()));
    if (f.error() != QFileDevice::NoError)
        return l;
    if (bytes.size() > limites.bytes) {
        l.falha = Falha::Grande;
        return l;
    }
    return ler(bytes, limites);
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
    // A spreadsheet runs a field that starts with = + - @ (or TAB) as a
    // formula: an apostrophe before it makes it text, and the import takes
    // it off again (a field that already starts with apostrophes and then
    // such a character gets one more, so every field comes back exactly).
    qsizetype i = 0;
    while (i < s.size() && s[i] == u'\'')
        ++i;
    const bool formula = i < s.size() && QStringView(u"=+-@\t").contains(s[i]);
    const QString v = formula ? u'\'' + s : s;
    for (const QChar c : v) {
        if (formula || c == u'"' || c == u',' || c == u';' || c == u'\r' || c == u'\n') {
            QString q = v;
            q.replace(u'"', QLatin1String("\"\""));
            return u'"' + q + u'"';
        }
    }
    return v;
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
        // The PRODID tells this program's own cards, whose fields come back
        // exactly, spaces and all.
        out.append("BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Marvessa//Marvessa Fonelo//PT\r\n");
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
