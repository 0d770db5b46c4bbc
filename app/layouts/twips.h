#pragma once

#include <QPoint>
#include <QRect>
#include <QtMath>

// The layouts are measured in twips; Qt places widgets in logical pixels,
// 15 twips each.
namespace Twips {

inline constexpr int POR_PIXEL = 15;

inline int px(double twips)
{
    return qRound(twips / POR_PIXEL);
}

inline QPoint ponto(int left, int top)
{
    return {px(left), px(top)};
}

inline QRect rect(int left, int top, int width, int height)
{
    return {px(left), px(top), px(width), px(height)};
}

inline int twips(int pixels)
{
    return pixels * POR_PIXEL;
}

} // namespace Twips
