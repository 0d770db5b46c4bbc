#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

// Text in the character sets that vCards declare (CHARSET=ISO-8859-2,
// KOI8-R, SHIFT_JIS...), by the platform's own converters: ICU where Qt has
// it, the Windows code pages elsewhere. UTF-8 and Windows-1252 with its
// Latin-1 and ASCII kin are decoded here, the same on every platform.
namespace ConjuntosDeCaracteres {

// The text, or nothing when the set is unknown here or the bytes are not
// valid in it.
std::optional<QString> decodificar(QByteArrayView bytes, QByteArrayView conjunto);

} // namespace ConjuntosDeCaracteres
