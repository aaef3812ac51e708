#include "controls/ClickLabel.h"

#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QMouseEvent>

namespace
{

class ClickLabelAccessible : public QAccessibleWidget
{
public:
    explicit ClickLabelAccessible(ClickLabel *label) : QAccessibleWidget(label, QAccessible::Button) {}

    ClickLabel *Label() const { return static_cast<ClickLabel *>(widget()); }
    QString text(QAccessible::Text t) const override
    {
        // The caption's leading space is its look, not its name.
        if (t == QAccessible::Name && Label()->accessibleName().isEmpty())
            return Label()->text().trimmed();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        // Pressed once the screen reader has its answer: the click may open a
        // question that waits for the user.
        if (name == pressAction() && Label()->isEnabled() && Label()->isVisible())
            QMetaObject::invokeMethod(Label(), &ClickLabel::Click, Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
};

QAccessibleInterface *Factory(const QString &key, QObject *object)
{
    if (key == QLatin1String("ClickLabel"))
        return new ClickLabelAccessible(static_cast<ClickLabel *>(object));
    return nullptr;
}

} // namespace

ClickLabel::ClickLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked();
    QLabel::mouseReleaseEvent(event);
}
