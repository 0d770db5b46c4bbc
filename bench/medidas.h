#pragma once

#include <QList>
#include <algorithm>

// What the benchmarks report of repeated timings.
namespace Medidas {

// The middle value (the upper one of an even count).
inline double mediana(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace Medidas
