#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <functional>

class QWidget;

// The icon in the notification area: added once, it brings the window back
// on a left click (or a double click) and on a right click, with no menu.
class IconeBandeja : public QObject {
    Q_OBJECT
public:
    IconeBandeja(const QIcon &icone, std::function<void()> restaurar, QObject *parent);

    static bool disponivel() { return QSystemTrayIcon::isSystemTrayAvailable(); }

    // Adds the icon; adding again makes no second one.
    void adicionar();
    void remover();
    bool presente() const { return m_icone && m_icone->isVisible(); }
    QSystemTrayIcon *icone() const { return m_icone; }
    // Hides the window into the notification area; where there is none, it
    // is minimised as usual instead, so that it can always come back.
    void esconder(QWidget &janela);
    // The window back, in front.
    static void trazer(QWidget &janela);
    // The tooltip, kept while the icon is away.
    void setDica(const QString &dica);
    QString dica() const { return m_dica; }

    // A click on the icon, as the notification area reports it.
    void aoAtivar(QSystemTrayIcon::ActivationReason motivo);

private:
    QIcon m_imagem;
    std::function<void()> m_restaurar;
    QSystemTrayIcon *m_icone = nullptr;
    QString m_dica = QStringLiteral("Marvessa Fonelo");
};
