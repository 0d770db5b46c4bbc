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

QChar decodeByte(unsigned char b);
QString decode(QByteArrayView bytes);

// True when the character has a byte in the code page.
bool canEncode(QChar c);
bool canEncode(QStringView text);

// Characters without a byte become '?'; callers that must not lose data check
// canEncode first.
QByteArray encode(QStringView text);

} // namespace Cp1252
