#include "dialogs/avisos.h"

#include "chrome/dialogo_deslizante.h"

void Avisos::MostrarAviso(QWidget *principal, const QString &texto)
{
    KV_ContAd aviso(principal, texto, duracaoMs);
    aviso.exec();
}

bool Avisos::depoisDoDialogo(DialogoDeslizante &dialogo, QWidget *principal,
                             const QStringList &avisos, bool recusado)
{
    if (!recusado)
        dialogo.fecharJa();
    for (const QString &aviso : avisos)
        MostrarAviso(principal, aviso);
    return !recusado;
}
