#pragma once

#include "chrome/dialogo_deslizante.h"

#include <QUrl>
#include <functional>

// The About window: the program, its version and author, and a link to the
// author's page that opens in the browser and leaves the window open.
class KV_About : public DialogoDeslizante {
    Q_OBJECT
public:
    static inline const QString AUTOR = QStringLiteral("Equipe Marvessa");
    static inline const QString ENDERECO =
        QStringLiteral("https://www.example.org/marvessa-fonelo");

    // abrirEndereco opens the page; by default the desktop's browser.
    KV_About(QWidget *principal, std::function<void(const QUrl &)> abrirEndereco = {});

    void lblVelquist_Click();

private:
    std::function<void(const QUrl &)> m_abrirEndereco;
};
