#include "dialogs/kv_about.h"

#include "chrome/rotulo_clicavel.h"

#include <QDesktopServices>
#include <QFontMetrics>

KV_About::KV_About(QWidget *principal, std::function<void(const QUrl &)> abrirEndereco)
    : DialogoDeslizante(principal, LayoutDialogos::About, Deslizantes::About),
      m_abrirEndereco(std::move(abrirEndereco))
{
    if (!m_abrirEndereco)
        m_abrirEndereco = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    controle<QLabel>(QStringLiteral("Label3"))->setText(AUTOR);
    auto *link = controle<RotuloClicavel>(QStringLiteral("lblVelquist"));
    // The address without its scheme, in a size that fits the line; the
    // tooltip has it whole.
    const QUrl url(ENDERECO);
    QString texto = url.host() + url.path();
    if (texto.startsWith(QLatin1String("www.")))
        texto = texto.mid(4);
    link->setText(texto);
    QFont f = link->font();
    while (f.pixelSize() > 8 && QFontMetrics(f).horizontalAdvance(texto) > link->width())
        f.setPixelSize(f.pixelSize() - 1);
    link->setFont(f);
    link->setToolTip(QLatin1Char(' ') + ENDERECO + QLatin1Char(' '));
    link->setAccessibleName(ENDERECO);
    connect(link, &RotuloClicavel::clicked, this, &KV_About::lblVelquist_Click);
}

void KV_About::lblVelquist_Click()
{
    // A failure to open the page is not reported; the window stays open.
    m_abrirEndereco(QUrl(ENDERECO));
}
