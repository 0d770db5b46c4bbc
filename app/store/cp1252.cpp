#include "store/cp1252.h"

namespace {

// Byte for a character, or -1.
int byteFor(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i) {
        if (Cp1252::ALTOS[i] == u)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

namespace Cp1252 {

QString decode(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (const char c : bytes)
        *dst++ = decodeByte(static_cast<unsigned char>(c));
    return out;
}

bool canEncode(QChar c)
{
    return byteFor(c.unicode()) >= 0;
}

bool canEncode(QStringView text)
{
    for (const QChar c : text) {
        if (!canEncode(c))
            return false;
    }
    return true;
}

QByteArray encode(QStringView text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char *dst = out.data();
    for (const QChar c : text) {
        const int b = byteFor(c.unicode());
        *dst++ = static_cast<char>(b < 0 ? '?' : b);
    }
    return out;
}

} // namespace Cp1252
