#include "store/codificacoes.h"

#include "store/cp1252.h"

#include <cstring>

namespace {

constexpr char MARCA[] = "\xEF\xBB\xBF";

bool continuacao(uchar b)
{
    return (b & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence of two or more bytes at p (no
// overlong forms, no surrogates, nothing above U+10FFFF), or 0.
int sequencia(const uchar *p, const uchar *fim)
{
    const uchar b = p[0];
    const qsizetype resta = fim - p;
    if (b >= 0xC2 && b <= 0xDF)
        return resta >= 2 && continuacao(p[1]) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        if (resta < 3 || !continuacao(p[1]) || !continuacao(p[2]))
            return 0;
        if ((b == 0xE0 && p[1] < 0xA0) || (b == 0xED && p[1] > 0x9F))
            return 0;
        return 3;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (resta < 4 || !continuacao(p[1]) || !continuacao(p[2]) || !continuacao(p[3]))
            return 0;
        if ((b == 0xF0 && p[1] < 0x90) || (b == 0xF4 && p[1] > 0x8F))
            return 0;
        return 4;
    }
    return 0;
}

// Skips plain ASCII eight bytes at a time.
const uchar *aposAscii(const uchar *p, const uchar *fim)
{
    while (fim - p >= 8) {
        quint64 w;
        std::memcpy(&w, p, 8);
        if (w & 0x8080808080808080ULL)
            break;
        p += 8;
    }
    while (p < fim && *p < 0x80)
        ++p;
    return p;
}

} // namespace

namespace Codificacoes {

Codificacao detectar(QByteArrayView arquivo)
{
    if (arquivo.startsWith(QByteArrayView(MARCA, 3)))
        return Codificacao::Utf8ComMarca;
    const auto *p = reinterpret_cast<const uchar *>(arquivo.data());
    const uchar *fim = p + arquivo.size();
    bool multibyte = false;
    for (p = aposAscii(p, fim); p < fim; p = aposAscii(p, fim)) {
        const int n = sequencia(p, fim);
        if (n == 0)
            return Codificacao::Windows1252;
        multibyte = true;
        p += n;
    }
    return multibyte ? Codificacao::Utf8 : Codificacao::Windows1252;
}

QByteArrayView marca(Codificacao c)
{
    return c == Codificacao::Utf8ComMarca ? QByteArrayView(MARCA, 3) : QByteArrayView();
}

void anexarDecodificado(QByteArrayView bytes, Codificacao c, QString &destino)
{
    const qsizetype inicio = destino.size();
    destino.resize(inicio + bytes.size());
    QChar *d = destino.data() + inicio;
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *fim = p + bytes.size();
    if (c == Codificacao::Windows1252) {
        while (p < fim)
            *d++ = Cp1252::decodeByte(*p++);
        return;
    }
    // A UTF-8 sequence never gives more UTF-16 units than it has bytes.
    while (p < fim) {
        if (*p < 0x80) {
            *d++ = QChar(char16_t(*p++));
            continue;
        }
        const int n = sequencia(p, fim);
        if (n == 0) {
            *d++ = Cp1252::decodeByte(*p++);
            continue;
        }
        char32_t u = n == 2 ? (p[0] & 0x1F) : n == 3 ? (p[0] & 0x0F) : (p[0] & 0x07);
        for (int k = 1; k < n; ++k)
            u = (u << 6) | (p[k] & 0x3F);
        p += n;
        if (QChar::requiresSurrogates(u)) {
            *d++ = QChar(QChar::highSurrogate(u));
            *d++ = QChar(QChar::lowSurrogate(u));
        } else {
            *d++ = QChar(char16_t(u));
        }
    }
    destino.resize(d - destino.constData());
}

QString decodificar(QByteArrayView bytes, Codificacao c)
{
    QString s;
    anexarDecodificado(bytes, c, s);
    return s;
}

QString decodificarMisto(QByteArrayView bytes)
{
    QString s;
    s.reserve(bytes.size());
    const auto *inicio = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *fim = inicio + bytes.size();
    while (inicio < fim) {
        const auto *lf =
            static_cast<const uchar *>(std::memchr(inicio, '\n', size_t(fim - inicio)));
        const uchar *ate = lf ? lf + 1 : fim;
        qsizetype validas = 0, soltos = 0;
        for (const uchar *p = aposAscii(inicio, ate); p < ate; p = aposAscii(p, ate)) {
            const int n = sequencia(p, ate);
            if (n == 0) {
                ++soltos;
                ++p;
            } else {
                ++validas;
                p += n;
            }
        }
        const auto linha = QByteArrayView(reinterpret_cast<const char *>(inicio), ate - inicio);
        anexarDecodificado(
            linha, validas > 0 && validas >= soltos ? Codificacao::Utf8 : Codificacao::Windows1252,
            s);
        inicio = ate;
    }
    return s;
}

QByteArray codificar(QStringView texto, Codificacao c)
{
    return c == Codificacao::Windows1252 ? Cp1252::encode(texto) : texto.toUtf8();
}

bool podeCodificar(QStringView texto, Codificacao c)
{
    if (c == Codificacao::Windows1252)
        return Cp1252::canEncode(texto);
    // UTF-8 holds every character, but not half of a surrogate pair.
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar q = texto[i];
        if (q.isHighSurrogate() && i + 1 < texto.size() && texto[i + 1].isLowSurrogate())
            ++i;
        else if (q.isSurrogate())
            return false;
    }
    return true;
}

bool lidoDeVoltaIgual(QByteArrayView escrito, Codificacao c)
{
    // A UTF-8 file written without its mark may come out plain ASCII, which
    // reads the same either way; one whose first name now starts with U+FEFF
    // would lose it to a mark.
    const Codificacao lida = detectar(escrito);
    return lida == c || (c == Codificacao::Utf8 && lida == Codificacao::Windows1252);
}

} // namespace Codificacoes
