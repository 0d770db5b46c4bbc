#pragma once

#include "layouts/controle.h"

#include <QString>

// The main window's controls: where each stands, in twips, and how it looks,
// front to back.
namespace LayoutPrincipal {

inline constexpr int LARGURA = 2925;
inline constexpr int ALTURA = 4500;

using T = TipoControle;

inline constexpr QRgb COR_DETALHE = 0xCDCBC9;
inline constexpr QRgb COR_TOTAL = 0x635F5C;
inline constexpr QRgb COR_DATA = 0x8A8582;
inline constexpr QRgb COR_QUADRO = 0x404040;

// A picture of its own size, that takes clicks: a picture button (with its
// tooltip, which screen readers say too) or a panel.
constexpr Controle figura(const char *nome, int left, int top, int width, int height,
                          const char16_t *dica = nullptr, bool mao = false)
{
    Controle c{nome, T::Figura, left, top, width, height};
    c.dica = dica;
    c.mao = mao;
    return c;
}

// A letter tab: a picture button that screen readers call by its letters.
constexpr Controle aba(const char *nome, int left, int top, const char16_t *letras)
{
    Controle c{nome, T::Figura, left, top, 330, 195};
    c.texto = letras;
    return c;
}

constexpr Controle detalhe(const char *nome, int left, int top, int width, bool negrito)
{
    Controle c{nome, T::Detalhe, left, top, width, 210};
    c.cor = COR_DETALHE;
    c.negrito = negrito;
    return c;
}

constexpr Controle legenda(const char *nome, int left, int top, int width, int height,
                           const char16_t *texto, QRgb cor, bool centro)
{
    Controle c{nome, T::Legenda, left, top, width, height, texto, cor};
    c.centro = centro;
    return c;
}

constexpr Controle lista(const char *nome, int left, int top, int width, int height)
{
    Controle c{nome, T::Lista, left, top, width, height};
    c.negrito = true;
    c.fonte = FonteControle::Tahoma;
    return c;
}

constexpr Controle legendaDoSistema(const char *nome, int left, int top, int width, int height,
                                    const char16_t *texto)
{
    Controle c{nome, T::Legenda, left, top, width, height, texto};
    c.papel = QPalette::ButtonText;
    return c;
}

inline constexpr Controle CONTROLES[] = {
    detalhe("txtFone", 240, 2990, 2450, true),
    lista("lstContatos", 230, 575, 2460, 1975),
    detalhe("txtMail", 240, 3230, 2435, false),
    aba("lblAB", 225, 3555, u"A e B"),
    aba("lblCD", 585, 3555, u"C e D"),
    aba("lblEF", 940, 3560, u"E e F"),
    aba("lblGH", 1305, 3560, u"G e H"),
    aba("lblIJ", 1665, 3560, u"I e J"),
    aba("lblKL", 2030, 3560, u"K e L"),
    aba("lblMN", 2390, 3555, u"M e N"),
    aba("lblOP", 225, 3790, u"O e P"),
    aba("lblQR", 585, 3790, u"Q e R"),
    aba("lblST", 940, 3790, u"S e T"),
    aba("lblUV", 1305, 3790, u"U e V"),
    aba("lblWX", 1665, 3790, u"W e X"),
    aba("lblYZ", 2030, 3790, u"Y e Z"),
    aba("lbl09", 2390, 3790, u"0 a 9"),
    legenda("lblTotalContatos", 1200, 2630, 615, 255, u"", COR_TOTAL, true),
    figura("imgRefresh", 2100, 4125, 240, 240, u" Atualizar programa "),
    forma("Shape2", 120, 3205, 2685, 30, 0x000000),
    figura("imgAbout", 2380, 4125, 240, 240, u" Sobre o Programa "),
    figura("imMarca", 200, 145, 1395, 360),
    figura("imgPainel", 195, 545, 2515, 2045),
    figura("imgFecha", 2375, 130, 300, 405, u" Fechar ", true),
    figura("imgMinimiza", 2090, 130, 300, 405, u" Minimizar ", true),
    figura("imgDeleta", 790, 2600, 240, 240, u" Deletar contato "),
    figura("imgAtualiza", 530, 2600, 240, 240, u" Atualizar contato "),
    figura("imgAdiciona", 260, 2600, 240, 240, u" Adicionar contato "),
    legendaDoSistema("lblContatos", 170, 555, 735, 255, u"Contatos"),
    forma("Shape3", 195, 2955, 2535, 530, COR_QUADRO, 60),
    forma("Shape4", 200, 3545, 2535, 485, 0x000000),
    figura("imgRetorna", 1905, 2615, 375, 210, u" Retornar "),
    figura("imgRetornaDisable", 1905, 2615, 375, 210),
    figura("imgAvanca", 2315, 2615, 375, 210, u" Avançar "),
    figura("imgAvancaDisable", 2315, 2615, 375, 210),
    legenda("lblDataHoje", 240, 4155, 1875, 195, u"", COR_DATA, false),
};

// Where Tab goes, round, in the order the eye reads the window: the list,
// the buttons under it, the details, the tabs, the bottom row, then the top.
inline constexpr const char *ORDEM_TECLADO[] = {
    "lstContatos", "imgAdiciona", "imgAtualiza", "imgDeleta", "imgRetorna", "imgAvanca",
    "txtFone",     "txtMail",     "lblAB",       "lblCD",     "lblEF",      "lblGH",
    "lblIJ",       "lblKL",       "lblMN",       "lblOP",     "lblQR",      "lblST",
    "lblUV",       "lblWX",       "lblYZ",       "lbl09",     "imgRefresh", "imgAbout",
    "imgMinimiza", "imgFecha",
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
