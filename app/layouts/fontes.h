#pragma once

#include <QFont>

// The layouts' fonts: "MS Sans Serif" 8.25 point is the windows' own, and
// 8.25 point is 11 pixels at the standard density. Where a family is missing
// (Linux), the nearest sans serif of similar width stands in.
namespace Fontes {

QFont padrao(bool negrito = false);
QFont tahoma(bool negrito = false);

} // namespace Fontes
