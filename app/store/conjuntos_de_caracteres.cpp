#include "store/conjuntos_de_caracteres.h"

#include "store/codificacoes.h"

#include <QByteArray>

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <QStringDecoder>
#endif

namespace ConjuntosDeCaracteres {

namespace {

// Names compared without case, dashes or underscores: "Shift_JIS" is
// "SHIFT-JIS" is "shiftjis".
QByteArray chave(QByteArrayView nome)
{
    QByteArray k;
    for (const char c : nome) {
        if (c != '-' && c != '_' && c != ' ')
            k.append(char(c >= 'a' && c <= 'z' ? c - 32 : c));
    }
    return k;
}

#ifdef Q_OS_WIN
// The Windows code page of a character set's name, or 0.
UINT paginaDeCodigo(const QByteArray &k)
{
    struct Pagina {
        const char *nome;
        UINT pagina;
    };
    static const Pagina paginas[] = {
        {"ISO88592", 28592}, {"LATIN2", 28592},     {"ISO88593", 28593},  {"ISO88594", 28594},
        {"ISO88595", 28595}, {"ISO88596", 28596},   {"ISO88597", 28597},  {"ISO88598", 28598},
        {"ISO88599", 28599}, {"LATIN5", 28599},     {"ISO885913", 28603}, {"ISO885915", 28605},
        {"LATIN9", 28605},   {"KOI8R", 20866},      {"KOI8U", 21866},     {"SHIFTJIS", 932},
        {"SJIS", 932},       {"MSKANJI", 932},      {"WINDOWS31J", 932},  {"CP932", 932},
        {"EUCJP", 20932},    {"ISO2022JP", 50220},  {"GB2312", 936},      {"GBK", 936},
        {"CP936", 936},      {"GB18030", 54936},    {"BIG5", 950},        {"CP950", 950},
        {"EUCKR", 949},      {"KSC56011987", 949},  {"CP949", 949},       {"WINDOWS1250", 1250},
        {"CP1250", 1250},    {"WINDOWS1251", 1251}, {"CP1251", 1251},     {"WINDOWS1253", 1253},
        {"CP1253", 1253},    {"WINDOWS1254", 1254}, {"CP1254", 1254},     {"WINDOWS1255", 1255},
        {"CP1255", 1255},    {"WINDOWS1256", 1256}, {"CP1256", 1256},     {"WINDOWS1257", 1257},
        {"CP1257", 1257},    {"WINDOWS1258", 1258}, {"CP1258", 1258},     {"TIS620", 874},
        {"WINDOWS874", 874}, {"IBM850", 850},       {"CP850", 850},       {"IBM437", 437},
        {"CP437", 437},      {"MACINTOSH", 10000},  {"UTF16BE", 1201},    {"UTF16LE", 1200},
        {"UTF7", 65000},
    };
    for (const Pagina &p : paginas) {
        if (k == p.nome)
            return p.pagina;
    }
    return 0;
}
#endif

} // namespace

std::optional<QString> decodificar(QByteArrayView bytes, QByteArrayView conjunto)
{
    const QByteArray k = chave(conjunto);
    if (k == "UTF8")
        return Codificacoes::decodificar(bytes, Codificacao::Utf8);
    // Latin-1 as senders mean it: the Windows code page that extends it.
    if (k == "ISO88591" || k == "LATIN1" || k == "WINDOWS1252" || k == "CP1252" || k == "USASCII" ||
        k == "ASCII" || k == "ANSIX3.41968")
        return Codificacoes::decodificar(bytes, Codificacao::Windows1252);
    if (bytes.isEmpty())
        return QString();
#ifdef Q_OS_WIN
    const UINT pagina = paginaDeCodigo(k);
    if (pagina == 0 || bytes.size() > 0x7FFFFFFF)
        return std::nullopt;
    if (pagina == 1200 || pagina == 1201) {
        if (bytes.size() % 2)
            return std::nullopt;
        QString s(bytes.size() / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < s.size(); ++i) {
            const uchar a = uchar(bytes[2 * i]), b = uchar(bytes[2 * i + 1]);
            s[i] = QChar(pagina == 1200 ? char16_t(a | b << 8) : char16_t(b | a << 8));
        }
        return s;
    }
    // Bytes that are no character of the page fail the whole value, as
    // ICU's converters do elsewhere.
    const DWORD estrito = pagina == 65000 || pagina == 50220 ? 0 : MB_ERR_INVALID_CHARS;
    const int n = MultiByteToWideChar(pagina, estrito, bytes.data(), int(bytes.size()), nullptr, 0);
    if (n <= 0)
        return std::nullopt;
    QString s(n, Qt::Uninitialized);
    if (MultiByteToWideChar(pagina, estrito, bytes.data(), int(bytes.size()),
                            reinterpret_cast<wchar_t *>(s.data()), n) != n)
        return std::nullopt;
    return s;
#else
    QStringDecoder d(conjunto.toByteArray().constData(), QStringConverter::Flag::Stateless);
    if (!d.isValid())
        return std::nullopt;
    QString s = d(bytes);
    if (d.hasError())
        return std::nullopt;
    return s;
#endif
}

} // namespace ConjuntosDeCaracteres
