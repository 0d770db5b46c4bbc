#pragma once

#include "layouts/controle.h"

#include <QColor>
#include <QPalette>
#include <QString>
#include <span>

class QWidget;

// The small windows' controls, in twips, front to back.
namespace LayoutDialogos {

struct Janela {
    const char *nome;
    int largura, altura;
    // The colour behind the shared picture: a named system colour (role) or
    // a fixed one.
    QPalette::ColorRole papelFundo;
    QRgb corFundo;
    std::span<const Controle> controles;
    // What screen readers call the window when it opens.
    const char16_t *titulo = u"";
    // Where Tab goes, round, in the order the eye reads the window.
    std::span<const char *const> ordemTab = {};
};

extern const Janela Adiciona;
extern const Janela Atualiza;
extern const Janela ContDel;
extern const Janela ContAd;
extern const Janela About;
extern const Janela Sincroniza;
extern const Janela Versoes;
extern const Janela Procura;
extern const Janela ConfirmaSincronizacao;
extern const Janela Padroniza;
extern const Janela Duplicados;
extern const Janela Imprime;

inline constexpr QRgb COR_DICA = 0xC0FFFF;
inline constexpr QRgb COR_BOTAO = 0x335762;
inline constexpr QRgb COR_FACE = 0xF7FAFB;
inline constexpr QRgb COR_LINHA = 0x9EC2CD;
inline constexpr QRgb COR_SOBRE = 0x1951B9;
inline constexpr int RAIO_FACE = 135;

// The window's own look: its size and the colour behind its picture.
void prepararJanela(const Janela &janela, QWidget *w);
QColor corDeFundo(const Janela &janela, const QWidget *w);

} // namespace LayoutDialogos
