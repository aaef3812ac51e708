#include "controls/AccessibleCells.h"

#include "controls/ListBilet.h"

#include <QAccessible>
#include <QHash>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace
{

QHash<const QWidget *, AccessibleCellSource> &Sources()
{
    static QHash<const QWidget *, AccessibleCellSource> sources;
    return sources;
}

class CellsAccessible;

// One cell: a child with no object of its own.
class CellAccessible : public QAccessibleInterface
{
public:
    CellAccessible(CellsAccessible *parent, int index) : parent_(parent), index_(index) {}

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

private:
    CellsAccessible *parent_;
    int index_;
};

// The control: its children are its cells.
class CellsAccessible : public QAccessibleWidget
{
public:
    explicit CellsAccessible(QWidget *widget) : QAccessibleWidget(widget, QAccessible::List) {}
    ~CellsAccessible() override
    {
        for (QAccessible::Id id : ids_)
            QAccessible::deleteAccessibleInterface(id);
    }

    const AccessibleCellSource *Source() const
    {
        const auto it = Sources().constFind(widget());
        return it == Sources().cend() ? nullptr : &it.value();
    }
    int childCount() const override
    {
        const AccessibleCellSource *s = Source();
        return s ? s->count() : 0;
    }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        while (int(ids_.size()) <= index) {
            auto *cell = new CellAccessible(const_cast<CellsAccessible *>(this), int(ids_.size()));
            ids_.push_back(QAccessible::registerAccessibleInterface(cell));
        }
        return QAccessible::accessibleInterface(ids_[std::size_t(index)]);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        // The keyboard's place stands for the selected cell.
        if (child && child->object() && child->object() == KeyboardWidget())
            return Current();
        for (std::size_t i = 0; i < ids_.size(); ++i)
            if (QAccessible::accessibleInterface(ids_[i]) == child)
                return int(i);
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const AccessibleCellSource *s = Source();
        if (!s)
            return nullptr;
        const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
        for (int i = 0; i < s->count(); ++i)
            if (s->rect(i).contains(local))
                return child(i);
        return nullptr;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const AccessibleCellSource *source = Source();
        if (source && source->available)
            s.disabled = !source->available();
        return s;
    }
    QAccessibleInterface *focusChild() const override
    {
        QWidget *keyboard = KeyboardWidget();
        if (keyboard && keyboard->hasFocus())
            return QAccessible::queryAccessibleInterface(keyboard);
        return QAccessibleWidget::focusChild();
    }

    // Whether the control's cells are chosen, and the chosen one (-1: none).
    bool Choosable() const
    {
        const AccessibleCellSource *s = Source();
        return s && s->current;
    }
    int Current() const
    {
        const AccessibleCellSource *s = Source();
        return s && s->current ? s->current() : -1;
    }
    // The widget that takes the keys for the cells (the list's picture).
    QWidget *KeyboardWidget() const
    {
        auto *list = qobject_cast<ListBilet *>(widget());
        return list ? list->Picture() : nullptr;
    }

    QString CellText(int index) const
    {
        const AccessibleCellSource *s = Source();
        return s && index < s->count() ? s->text(index) : QString();
    }
    QRect CellRect(int index) const
    {
        const AccessibleCellSource *s = Source();
        if (!s || index >= s->count())
            return {};
        const QRect r = s->rect(index);
        return QRect(widget()->mapToGlobal(r.topLeft()), r.size());
    }

private:
    mutable std::vector<QAccessible::Id> ids_;
};

bool CellAccessible::isValid() const
{
    return parent_->isValid() && index_ < parent_->childCount();
}

QWindow *CellAccessible::window() const
{
    return parent_->window();
}

QAccessibleInterface *CellAccessible::parent() const
{
    return parent_;
}

QString CellAccessible::text(QAccessible::Text t) const
{
    return t == QAccessible::Name ? parent_->CellText(index_) : QString();
}

QRect CellAccessible::rect() const
{
    return parent_->CellRect(index_);
}

QAccessible::State CellAccessible::state() const
{
    QAccessible::State s;
    s.disabled = parent_->state().disabled;
    if (!parent_->Choosable())
        return s;
    s.selectable = true;
    s.focusable = true;
    if (index_ == parent_->Current()) {
        s.selected = true;
        QWidget *keyboard = parent_->KeyboardWidget();
        s.focused = keyboard && keyboard->hasFocus();
    }
    return s;
}

// The list's picture, which has the keyboard while the list is used: to a
// screen reader it is the selected row, so that the keyboard lands on a row
// with its name, and moving the selection moves it.
class SelectedCellAccessible : public QAccessibleWidget
{
public:
    explicit SelectedCellAccessible(QWidget *picture) : QAccessibleWidget(picture, QAccessible::ListItem) {}

    CellsAccessible *List() const
    {
        return dynamic_cast<CellsAccessible *>(
            QAccessible::queryAccessibleInterface(widget()->parentWidget()));
    }
    QString text(QAccessible::Text t) const override
    {
        const CellsAccessible *list = List();
        if (t != QAccessible::Name || !list)
            return QAccessibleWidget::text(t);
        const int current = list->Current();
        return current >= 0 ? list->CellText(current) : list->text(QAccessible::Name);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const CellsAccessible *list = List();
        s.selectable = true;
        s.selected = list && list->Current() >= 0;
        return s;
    }
    QRect rect() const override
    {
        const CellsAccessible *list = List();
        const int current = list ? list->Current() : -1;
        return current >= 0 ? list->CellRect(current) : QAccessibleWidget::rect();
    }
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
};

QAccessibleInterface *Factory(const QString &key, QObject *object)
{
    // The drawn controls, whether their cells are told yet or not.
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (key == QLatin1String("Surface") || key == QLatin1String("ListBilet"))
        return new CellsAccessible(widget);
    if (auto *list = qobject_cast<ListBilet *>(widget->parentWidget()); list && list->Picture() == widget)
        return new SelectedCellAccessible(widget);
    return nullptr;
}

} // namespace

void SetAccessibleCells(QWidget *widget, AccessibleCellSource source)
{
    Sources().insert(widget, std::move(source));
    QObject::connect(widget, &QObject::destroyed, [widget] { Sources().remove(widget); });
}

void InstallAccessibleCells()
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}
