#include "chrome/lista_escolhas.h"

#include "chrome/usar_acessivel.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace {

// One item of the list, as assistive technology reads it: by its row, since
// the list is filled anew for each group it shows.
class ItemAcessivel : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ItemAcessivel(ListaEscolhas *lista, int linha) : m_lista(lista), m_linha(linha) {}

    QListWidgetItem *item() const { return m_lista ? m_lista->item(m_linha) : nullptr; }
    bool titulo() const { return ListaEscolhas::titulo(item()); }

    bool isValid() const override { return item() != nullptr; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        return m_lista ? m_lista->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *parent() const override
    {
        return m_lista ? QAccessible::queryAccessibleInterface(m_lista.data()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        const QListWidgetItem *i = item();
        if (!i)
            return {};
        if (t == QAccessible::Name) {
            const QString falado = i->data(Qt::AccessibleTextRole).toString();
            return falado.isEmpty() ? i->text() : falado;
        }
        if (t == QAccessible::Description)
            return i->data(Qt::AccessibleDescriptionRole).toString();
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        const QListWidgetItem *i = item();
        if (!i)
            return {};
        const QRect r = m_lista->visualItemRect(i);
        return QRect(m_lista->viewport()->mapToGlobal(r.topLeft()), r.size());
    }

    // A check box: Qt's AT-SPI bridge tells no "checkable" state, and a
    // list item would not be read as checked or not.
    QAccessible::Role role() const override
    {
        return titulo() ? QAccessible::Heading : QAccessible::CheckBox;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        const QListWidgetItem *i = item();
        if (!i) {
            s.invalid = true;
            return s;
        }
        if (!m_lista->viewport()->rect().intersects(m_lista->visualItemRect(i)))
            s.invisible = s.offscreen = true;
        s.disabled = !(i->flags() & Qt::ItemIsEnabled);
        if (titulo())
            return s;
        s.focusable = s.selectable = true;
        s.selected = i->isSelected();
        s.focused = m_lista->hasFocus() && m_lista->currentItem() == i;
        s.checkable = true;
        s.checked = i->checkState() == Qt::Checked;
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ActionInterface && !titulo())
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }

    QStringList actionNames() const override
    {
        return titulo() ? QStringList() : QStringList{toggleAction()};
    }
    void doAction(const QString &acao) override
    {
        QListWidgetItem *i = item();
        if (acao == toggleAction() && i && !titulo() && (i->flags() & Qt::ItemIsEnabled))
            i->setCheckState(i->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
    QStringList keyBindingsForAction(const QString &acao) const override
    {
        return acao == toggleAction() ? QStringList{QStringLiteral("Space")} : QStringList();
    }

private:
    QPointer<ListaEscolhas> m_lista;
    int m_linha;
};

// The list, whose children are its items, each made once and kept while
// the list lives.
class ListaAcessivel : public QAccessibleWidget {
public:
    explicit ListaAcessivel(ListaEscolhas *lista) : QAccessibleWidget(lista, QAccessible::List)
    {
        // Filled anew (another group shown): new items, which no screen
        // reader has kept a name or role of.
        // Heard only while this interface lives: the list's model may still
        // speak as the list goes, after it.
        QAbstractItemModel *modelo = lista->model();
        const auto ouvir = [&](auto sinal) {
            QObject::connect(modelo, sinal, &m_ouvinte, [this] { esquecer(); });
        };
        ouvir(&QAbstractItemModel::modelReset);
        ouvir(&QAbstractItemModel::rowsInserted);
        ouvir(&QAbstractItemModel::rowsRemoved);
    }
    ~ListaAcessivel() override { esquecer(); }

    ListaEscolhas *lista() const { return static_cast<ListaEscolhas *>(widget()); }

    int childCount() const override { return lista()->count(); }
    QAccessibleInterface *child(int i) const override
    {
        if (i < 0 || i >= lista()->count())
            return nullptr;
        if (const auto id = m_itens.constFind(i); id != m_itens.cend())
            return QAccessible::accessibleInterface(*id);
        auto *item = new ItemAcessivel(lista(), i);
        m_itens.insert(i, QAccessible::registerAccessibleInterface(item));
        return item;
    }
    int indexOfChild(const QAccessibleInterface *c) const override
    {
        for (auto it = m_itens.cbegin(); it != m_itens.cend(); ++it) {
            if (QAccessible::accessibleInterface(*it) == c)
                return it.key() < lista()->count() ? it.key() : -1;
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint p = lista()->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex i = lista()->indexAt(p);
        return i.isValid() ? child(i.row()) : nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        return lista()->hasFocus() ? child(lista()->currentRow()) : nullptr;
    }

private:
    void esquecer()
    {
        for (const QAccessible::Id id : std::as_const(m_itens))
            QAccessible::deleteAccessibleInterface(id);
        m_itens.clear();
    }

    mutable QHash<int, QAccessible::Id> m_itens;
    QObject m_ouvinte;
};

} // namespace

ListaEscolhas::ListaEscolhas(QWidget *parent) : ListaSelecaoUnica(parent)
{
    usarAcessivel<ListaEscolhas, ListaAcessivel>();
    // Checked or unchecked, told as it happens.
    connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (!QAccessible::isActive() || titulo(item))
            return;
        QAccessibleInterface *lista = QAccessible::queryAccessibleInterface(this);
        QAccessibleInterface *filho = lista ? lista->child(row(item)) : nullptr;
        if (!filho)
            return;
        QAccessible::State mudou;
        mudou.checked = true;
        QAccessibleStateChangeEvent ev(filho, mudou);
        QAccessible::updateAccessibility(&ev);
    });
}

bool ListaEscolhas::titulo(const QListWidgetItem *item)
{
    return item && !(item->flags() & (Qt::ItemIsUserCheckable | Qt::ItemIsSelectable));
}
