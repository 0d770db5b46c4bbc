#pragma once

#include "dialogs/kv_contad.h"

#include <QString>

class QWidget;

// Shows a message in a fresh notice and waits until it has closed itself.
// Windows call it through this object so that tests can watch or shorten it.
class Avisos {
public:
    virtual ~Avisos() = default;
    virtual void MostrarAviso(QWidget *principal, const QString &texto);

    int duracaoMs = KV_ContAd::DURACAO_MS;
};
