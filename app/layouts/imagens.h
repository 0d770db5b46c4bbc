#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

// The pictures of the windows, by the name of the control that shows them.
namespace Imagens {

// Compiled into the program from app/layouts/imagens, made by
// gerar_imagens.sh. "fundo" (main window background), "imgPainel", "imMarca", "Image1" (list
// pattern), "imgAdiciona", "imgAtualiza", "imgDeleta", "imgRefresh", "imgAbout",
// "imgFecha", "imgMinimiza", "imgAvanca", "imgAvancaDisable", "imgRetorna",
// "imgRetornaDisable", "fundoDialogo", and the tabs by their objectName
// ("lblAB" ... "lbl09"), "mao" (hand pointer), "sobre" (About picture). Each
// also drawn at 2x (name@2x), used where a screen has more pixels per point.
// A null pixmap for an unknown name.
QPixmap imagem(const QString &nome);

// The program's icon, in all its sizes.
QIcon icone();

// The hand pointer of the label buttons and links.
QCursor mao();

} // namespace Imagens
