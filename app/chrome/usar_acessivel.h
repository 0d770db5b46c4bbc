#pragma once

#include <QAccessible>

// What screen readers are shown of every widget of a class: the interface
// Qt's accessibility makes for it, its factory installed once.
template <typename Widget, typename Interface> void usarAcessivel()
{
    static const bool instalada = [] {
        QAccessible::installFactory(
            [](const QString &classe, QObject *objeto) -> QAccessibleInterface * {
                if (classe != QLatin1String(Widget::staticMetaObject.className()))
                    return nullptr;
                return new Interface(static_cast<Widget *>(objeto));
            });
        return true;
    }();
    Q_UNUSED(instalada);
}
