#pragma once

#include <QPixmap>
#include <QString>

// The pictures of the windows, by the name of the control that shows them.
namespace Imagens {

// "fundo" (main window background), "imgPainel", "imMarca", "Image1" (list
// pattern), "imgAdiciona", "imgAtualiza", "imgDeleta", "imgRefresh", "imgAbout",
// "imgFecha", "imgMinimiza", "imgAvanca", "imgAvancaDisable", "imgRetorna",
// "imgRetornaDisable", "fundoDialogo", and the tabs by their objectName
// ("lblAB" ... "lbl09"). A null pixmap for an unknown name.
QPixmap imagem(const QString &nome);

} // namespace Imagens
