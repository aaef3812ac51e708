#include "controls/Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace
{

class AnnouncerAccessible : public QAccessibleWidget
{
public:
    explicit AnnouncerAccessible(Announcer *announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<const Announcer *>(widget())->Text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *Factory(const QString &key, QObject *object)
{
    if (key == QLatin1String("Announcer"))
        return new AnnouncerAccessible(static_cast<Announcer *>(object));
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget *parent) : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
    setObjectName(QStringLiteral("Announcer"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // One pixel, so that screen readers count it as shown; it paints nothing.
    resize(1, 1);
}

void Announcer::Say(const QString &text)
{
    text_ = text;
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent name(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&name);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Newer Qt says it in so many words.
    QAccessibleAnnouncementEvent said(this, text);
    QAccessible::updateAccessibility(&said);
#else
    // A notification that shows is spoken with its name.
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
#endif
}
