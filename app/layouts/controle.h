#pragma once

#include "layouts/twips.h"

#include <QPalette>
#include <QRect>
#include <QRgb>

// What a control is, in a window's layout table.
enum class TipoControle {
    Campo,    // single-line text box, no border
    Detalhe,  // read-only text box, text centred in cor on the details' dark grey
    Rotulo,   // transparent label that wraps its text; takes clicks
    Legenda,  // transparent one-line label; takes clicks
    Botao,    // label button: bold, centred, hand pointer, tooltip
    Figura,   // the picture named after the control, at its own size; takes clicks
    Imagem,   // a picture (texto names it), stretched to the control
    Titulo,   // an opaque label: text in the window colour on cor
    Forma,    // a filled shape in cor, its corners rounded by raio
    Quadro,   // a square in the window colour with a one-pixel border in cor
    Lista,    // the contact list
    Escolhas, // a list of choices to check, under headings
    Opcao,    // one of a group's choices (a radio button), text in cor
    Marca,    // a choice on its own (a check box), text in cor
};

enum class FonteControle : quint8 {
    Padrao, // "MS Sans Serif" 8.25 point
    Tahoma, // Tahoma 8.25 point
};

// One control of a window's layout: its name (the widget's objectName), its
// place in twips and its look. Tables list a window's controls front to back.
struct Controle {
    const char *nome;
    TipoControle tipo;
    int left, top, width, height;
    const char16_t *texto = u""; // caption; for a Figura, what screen readers say
    QRgb cor = 0xFFFFFF;
    bool negrito = false;
    bool centro = false;
    const char16_t *dica = nullptr; // tooltip
    FonteControle fonte = FonteControle::Padrao;
    int raio = 0;                                 // twips
    QPalette::ColorRole papel = QPalette::NoRole; // the window's colour instead of cor
    bool mao = false;                             // hand pointer

    QRect pixels() const { return Twips::rect(left, top, width, height); }
};

// A filled shape.
constexpr Controle forma(const char *nome, int left, int top, int width, int height, QRgb cor,
                         int raio = 0)
{
    Controle c{nome, TipoControle::Forma, left, top, width, height};
    c.cor = cor;
    c.raio = raio;
    return c;
}
