#include "controls/AccessibleCells.h"

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
    QAccessible::State state() const override { return {}; }

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

QAccessibleInterface *Factory(const QString &key, QObject *object)
{
    // The drawn controls, whether their cells are told yet or not.
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget && (key == QLatin1String("Surface") || key == QLatin1String("ListBilet")))
        return new CellsAccessible(widget);
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
