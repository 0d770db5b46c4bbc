#include "chrome/icone_bandeja.h"

#include <QWidget>

IconeBandeja::IconeBandeja(const QIcon &icone, std::function<void()> restaurar, QObject *parent)
    : QObject(parent), m_imagem(icone), m_restaurar(std::move(restaurar))
{
}

void IconeBandeja::adicionar()
{
    if (!m_icone) {
        m_icone = new QSystemTrayIcon(m_imagem, this);
        m_icone->setObjectName(QStringLiteral("DadosIcone"));
        m_icone->setToolTip(m_dica);
        connect(m_icone, &QSystemTrayIcon::activated, this, &IconeBandeja::aoAtivar);
    }
    m_icone->show();
}

void IconeBandeja::setDica(const QString &dica)
{
    m_dica = dica;
    if (m_icone)
        m_icone->setToolTip(dica);
}

void IconeBandeja::remover()
{
    delete m_icone;
    m_icone = nullptr;
}

void IconeBandeja::aoAtivar(QSystemTrayIcon::ActivationReason motivo)
{
    switch (motivo) {
    case QSystemTrayIcon::Trigger:     // left button
    case QSystemTrayIcon::DoubleClick: // its first press shows the window
    case QSystemTrayIcon::Context:     // right button
        m_restaurar();
        break;
    default:
        break;
    }
}

void IconeBandeja::esconder(QWidget &janela)
{
    if (!disponivel()) {
        janela.showMinimized();
        return;
    }
    janela.hide();
    adicionar();
}

void IconeBandeja::trazer(QWidget &janela)
{
    if (janela.isMinimized())
        janela.showNormal();
    janela.show();
    janela.raise();
    janela.activateWindow();
}
