#pragma once

#include "dialogs/kv_contad.h"

#include <QString>
#include <QStringList>

class DialogoDeslizante;
class QWidget;

// Shows a message in a fresh notice and waits until it has closed itself.
// Windows call it through this object so that tests can watch or shorten it.
class Avisos {
public:
    virtual ~Avisos() = default;
    virtual void MostrarAviso(QWidget *principal, const QString &texto);
    // An operation's notices from a dialog that goes at once, before them,
    // unless the operation was refused (the dialog stays for another try).
    // True when it went.
    bool depoisDoDialogo(DialogoDeslizante &dialogo, QWidget *principal, const QStringList &avisos,
                         bool recusado);

    int duracaoMs = KV_ContAd::DURACAO_MS;
};
