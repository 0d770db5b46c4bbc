#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Windows-1252 both ways, with a table of our own: Qt's decoder for this code
// page depends on ICU, which Windows builds of Qt often lack. Every byte value
// round-trips; the five bytes the code page leaves unassigned map to the C1
// control with the same number.
namespace Cp1252 {

inline constexpr char16_t ALTOS[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// 0x80..0x9F from the table; the rest of the code page is Latin-1.
inline QChar decodeByte(unsigned char b)
{
    return QChar(b >= 0x80 && b < 0xA0 ? ALTOS[b - 0x80] : char16_t(b));
}
QString decode(QByteArrayView bytes);

// True when the character has a byte in the code page.
bool canEncode(QChar c);
bool canEncode(QStringView text);

// Characters without a byte become '?'; callers that must not lose data check
// canEncode first.
QByteArray encode(QStringView text);

} // namespace Cp1252
