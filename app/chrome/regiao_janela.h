#pragma once

#include <QList>
#include <QPoint>
#include <array>

// The main window's rounded outline: 22 points in pixels at 15 twips per
// pixel, clockwise from the top edge.
inline constexpr std::array<QPoint, 22> PontosContorno = {{
    {6, 0},     {189, 0},   {190, 1},   {193, 1},   {194, 2},   {195, 5}, {196, 10}, {196, 292},
    {195, 293}, {195, 296}, {193, 298}, {190, 299}, {187, 300}, {7, 300}, {6, 299},  {4, 299},
    {1, 296},   {0, 291},   {0, 6},     {1, 5},     {1, 3},     {3, 1},
}};

// The outline for a screen of tppX x tppY twips per pixel, scaled and
// offset; every coordinate rounded to the nearest integer, halves to even.
QList<QPoint> CriarRegiaoJanela(double scaleX, double scaleY, int offsetX, int offsetY,
                                int tppX = 15, int tppY = 15);
