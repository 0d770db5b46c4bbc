#pragma once

#include <QRect>
#include <QString>

#include "twips.h"

// Where each control of the main window stands, in twips, front to back.
namespace LayoutPrincipal {

inline constexpr int LARGURA = 2925;
inline constexpr int ALTURA = 4500;

struct Controle {
    const char *nome;
    int left, top, width, height;
    QRect pixels() const { return Twips::rect(left, top, width, height); }
};

inline constexpr Controle CONTROLES[] = {
    {"txtFone", 240, 2990, 2450, 210},
    {"lstContatos", 230, 575, 2460, 1975},
    {"txtMail", 240, 3230, 2435, 210},
    {"lblAB", 225, 3555, 330, 195},
    {"lblCD", 585, 3555, 330, 195},
    {"lblEF", 940, 3560, 330, 195},
    {"lblGH", 1305, 3560, 330, 195},
    {"lblIJ", 1665, 3560, 330, 195},
    {"lblKL", 2030, 3560, 330, 195},
    {"lblMN", 2390, 3555, 330, 195},
    {"lblOP", 225, 3790, 330, 195},
    {"lblQR", 585, 3790, 330, 195},
    {"lblST", 940, 3790, 330, 195},
    {"lblUV", 1305, 3790, 330, 195},
    {"lblWX", 1665, 3790, 330, 195},
    {"lblYZ", 2030, 3790, 330, 195},
    {"lbl09", 2390, 3790, 330, 195},
    {"lblTotalContatos", 1200, 2630, 615, 255},
    {"imgRefresh", 2100, 4125, 240, 240},
    {"Shape2", 120, 3205, 2685, 30},
    {"imgAbout", 2380, 4125, 240, 240},
    {"imMarca", 200, 145, 1395, 360},
    {"imgPainel", 195, 545, 2515, 2045},
    {"imgFecha", 2375, 130, 300, 405},
    {"imgMinimiza", 2090, 130, 300, 405},
    {"imgDeleta", 790, 2600, 240, 240},
    {"imgAtualiza", 530, 2600, 240, 240},
    {"imgAdiciona", 260, 2600, 240, 240},
    {"lblContatos", 170, 555, 735, 255},
    {"Shape3", 195, 2955, 2535, 530},
    {"Shape4", 200, 3545, 2535, 485},
    {"imgRetorna", 1905, 2615, 375, 210},
    {"imgRetornaDisable", 1905, 2615, 375, 210},
    {"imgAvanca", 2315, 2615, 375, 210},
    {"imgAvancaDisable", 2315, 2615, 375, 210},
    {"lblDataHoje", 240, 4155, 1875, 195},
};

// The pressed look of the picture buttons and tabs: fixed places in twips
// while a mouse button is held, and once it is let go.
struct Efeito {
    const char *nome;
    int pressionadoLeft, pressionadoTop;
    int soltoLeft, soltoTop;
};

inline constexpr Efeito EFEITOS[] = {
    {"imgAdiciona", 275, 2615, 260, 2600}, {"imgAtualiza", 545, 2615, 530, 2600},
    {"imgDeleta", 805, 2615, 790, 2600},   {"imgRetorna", 1920, 2630, 1905, 2615},
    {"imgAvanca", 2330, 2630, 2315, 2615}, {"imgRefresh", 2110, 4135, 2100, 4125},
    {"imgAbout", 2395, 4135, 2380, 4125},  {"lblAB", 245, 3575, 230, 3560},
    {"lblCD", 600, 3575, 585, 3560},       {"lblEF", 950, 3575, 940, 3560},
    {"lblGH", 1325, 3575, 1310, 3560},     {"lblIJ", 1680, 3575, 1665, 3560},
    {"lblKL", 2045, 3575, 2030, 3560},     {"lblMN", 2380, 3575, 2390, 3560},
    {"lblOP", 245, 3805, 230, 3790},       {"lblQR", 600, 3805, 585, 3790},
    {"lblST", 940, 3805, 940, 3790},       {"lblUV", 1315, 3805, 1300, 3790},
    {"lblWX", 1675, 3805, 1665, 3790},     {"lblYZ", 2045, 3805, 2030, 3790},
    {"lbl09", 2390, 3805, 2380, 3790},
};

inline const Controle *controle(const QString &nome)
{
    for (const Controle &c : CONTROLES) {
        if (nome == QLatin1String(c.nome))
            return &c;
    }
    return nullptr;
}

} // namespace LayoutPrincipal
