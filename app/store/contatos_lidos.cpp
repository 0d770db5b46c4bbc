#include "store/contatos_lidos.h"

#include "store/formato_contatos.h"

#include <QStringDecoder>
#include <optional>

namespace {

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

// UTF-16 without its mark: the first characters of a header or of
// "BEGIN:VCARD" are ASCII, one zero byte each.
std::optional<QStringDecoder::Encoding> utf16SemMarca(QByteArrayView b)
{
    if (b.size() < 8)
        return std::nullopt;
    bool le = true, be = true;
    for (int i = 0; i < 8; i += 2) {
        le = le && b[i] != 0 && b[i + 1] == 0;
        be = be && b[i] == 0 && b[i + 1] != 0;
    }
    if (le)
        return QStringDecoder::Utf16LE;
    if (be)
        return QStringDecoder::Utf16BE;
    return std::nullopt;
}

} // namespace

QByteArray ContatosLidos::semUtf16(QByteArrayView b)
{
    std::optional<QStringDecoder::Encoding> cod;
    if (b.startsWith("\xFF\xFE") || b.startsWith("\xFE\xFF")) {
        cod = b.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE;
        b = b.sliced(2);
    } else {
        cod = utf16SemMarca(b);
    }
    if (!cod)
        return (b.startsWith("\xEF\xBB\xBF") ? b.sliced(3) : b).toByteArray();
    QStringDecoder d(*cod);
    return QString(d(b)).toUtf8();
}

void ContatosLidos::acrescentar(ContactRecord r, bool exato)
{
    for (QString *campo : {&r.Nome, &r.Telefone, &r.Email}) {
        *campo = semQuebras(*campo);
        if (!exato)
            *campo = FormatoContatos::aparar(*campo);
        if (campo->contains(FormatoContatos::SEPARADOR)) {
            ++rejeitados;
            return;
        }
    }
    contatos.append(r);
}
