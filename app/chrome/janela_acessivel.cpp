#include "chrome/janela_acessivel.h"

#include <QAccessibleWidget>
#include <QDialog>
#include <QWidget>

namespace {

constexpr char SEM_ENFEITES[] = "marvessa_semEnfeites";
constexpr char ENFEITE[] = "marvessa_enfeite";

// Qt has no "hidden from assistive technology": the window lists its child
// controls itself and leaves the decorations out, so that neither AT-SPI
// nor UI Automation ever reaches them.
class Janela : public QAccessibleWidget {
public:
    explicit Janela(QWidget *w)
        : QAccessibleWidget(w,
                            qobject_cast<QDialog *>(w) ? QAccessible::Dialog : QAccessible::Window)
    {
    }

    QList<QWidget *> filhos() const
    {
        QList<QWidget *> out;
        for (QObject *o : widget()->children()) {
            auto *w = qobject_cast<QWidget *>(o);
            if (w && !w->isWindow() && !JanelaAcessivel::ehEnfeite(w))
                out.append(w);
        }
        return out;
    }
    int childCount() const override { return int(filhos().size()); }
    QAccessibleInterface *child(int i) const override
    {
        const QList<QWidget *> f = filhos();
        return i >= 0 && i < f.size() ? QAccessible::queryAccessibleInterface(f[i]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *filho) const override
    {
        auto *w = filho ? qobject_cast<QWidget *>(filho->object()) : nullptr;
        return w ? int(filhos().indexOf(w)) : -1;
    }
};

QAccessibleInterface *fabrica(const QString &, QObject *o)
{
    if (!o || !o->isWidgetType() || !o->property(SEM_ENFEITES).toBool())
        return nullptr;
    return new Janela(static_cast<QWidget *>(o));
}

} // namespace

namespace JanelaAcessivel {

void usar(QWidget *janela)
{
    static const bool instalada = [] {
        QAccessible::installFactory(fabrica);
        return true;
    }();
    Q_UNUSED(instalada);
    janela->setProperty(SEM_ENFEITES, true);
}

void enfeite(QWidget *w)
{
    w->setProperty(ENFEITE, true);
}

bool ehEnfeite(const QWidget *w)
{
    return w->property(ENFEITE).toBool();
}

} // namespace JanelaAcessivel
