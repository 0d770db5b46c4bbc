#pragma once

#include <QColor>
#include <QHash>
#include <QPalette>
#include <QString>
#include <span>

class QWidget;

// The small windows' controls, in twips, front to back.
namespace LayoutDialogos {

enum class Tipo {
    Campo,  // single-line text box, no border, at most 40 characters
    Rotulo, // transparent label; takes clicks
    Botao,  // label button: bold, centred, hand pointer, tooltip
    Face,   // the rounded light face behind a label button
    Linha,  // a thin filled line
    Imagem, // a picture (texto names it), stretched to the control
    Titulo, // an opaque label: text in the window colour on cor
    Quadro, // a square in the window colour with a one-pixel border in cor
};

struct Controle {
    const char *nome;
    Tipo tipo;
    int left, top, width, height;
    const char16_t *texto = u"";
    QRgb cor = 0xFFFFFF;
    bool negrito = false;
    bool centro = false;
    const char16_t *dica = nullptr;
};

struct Janela {
    const char *nome;
    int largura, altura;
    // The colour behind the shared picture: a named system colour (role) or
    // a fixed one.
    QPalette::ColorRole papelFundo;
    QRgb corFundo;
    std::span<const Controle> controles;
};

extern const Janela Adiciona;
extern const Janela Atualiza;
extern const Janela ContDel;
extern const Janela ContAd;
extern const Janela About;

inline constexpr QRgb COR_DICA = 0xC0FFFF;
inline constexpr QRgb COR_BOTAO = 0x335762;
inline constexpr QRgb COR_FACE = 0xF7FAFB;
inline constexpr QRgb COR_LINHA = 0x9EC2CD;
inline constexpr QRgb COR_SOBRE = 0x1951B9;

// Creates the window's controls on it, back to front, each named as in the
// table; returns them by name.
QHash<QString, QWidget *> construir(const Janela &janela, QWidget *pai);

// The window's own look: its size and the colour behind its picture.
void prepararJanela(const Janela &janela, QWidget *w);
QColor corDeFundo(const Janela &janela, const QWidget *w);

} // namespace LayoutDialogos
