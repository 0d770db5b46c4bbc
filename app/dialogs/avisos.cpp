#include "dialogs/avisos.h"

void Avisos::MostrarAviso(QWidget *principal, const QString &texto)
{
    KV_ContAd aviso(principal, texto, duracaoMs);
    aviso.exec();
}
