#include "controls/QtMessenger.h"

#include "core/LotoRules.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace
{

// Watches the keys that reach an open box: the first digit closes it and is
// kept to be typed again where it belongs.
class DigitCatcher : public QObject
{
public:
    explicit DigitCatcher(QMessageBox &box) : box_(box) { qApp->installEventFilter(this); }
    ~DigitCatcher() override { qApp->removeEventFilter(this); }

    // The digit that closed the box; empty when something else did.
    QString digit;
    int key = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !digit.isEmpty())
            return false;
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || (widget != &box_ && !box_.isAncestorOf(widget)))
            return false;
        const auto *keyEvent = static_cast<QKeyEvent *>(event);
        const QString text = keyEvent->text();
        if (!Loto::IsDigitKey(text))
            return false;
        digit = text;
        key = keyEvent->key();
        box_.done(QMessageBox::Ok);
        return true;
    }

private:
    QMessageBox &box_;
};

} // namespace

MsgAnswer QtMessenger::Show(const MessageRequest &request)
{
    QMessageBox box(parent_);
    box.setWindowTitle(request.title);
    box.setText(request.text);
    switch (request.icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Exclamation:
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    if (request.buttons == MsgButtons::YesNo) {
        QPushButton *yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
        box.setDefaultButton(request.defaultButton == MsgAnswer::No ? no : yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    if (request.buttons == MsgButtons::SaveDiscardCancel) {
        QPushButton *save = box.addButton(QStringLiteral("Сохранить"), QMessageBox::AcceptRole);
        QPushButton *discard = box.addButton(QStringLiteral("Не сохранять"), QMessageBox::DestructiveRole);
        QPushButton *cancel = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
        box.setDefaultButton(request.defaultButton == MsgAnswer::Discard  ? discard
                             : request.defaultButton == MsgAnswer::Cancel ? cancel
                                                                          : save);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == save)
            return MsgAnswer::Save;
        return box.clickedButton() == discard ? MsgAnswer::Discard : MsgAnswer::Cancel;
    }
    box.setStandardButtons(QMessageBox::Ok);
    QPointer<QWidget> target = typeThrough_ ? typeThrough_() : nullptr;
    if (!target) {
        box.exec();
        return MsgAnswer::Ok;
    }
    DigitCatcher catcher(box);
    box.exec();
    // Posted, the digit comes after whatever the command that showed the box
    // still does, and before the keys typed after it.
    if (!catcher.digit.isEmpty() && target && target->isEnabled() && target->isVisible()) {
        target->setFocus();
        QCoreApplication::postEvent(
            target, new QKeyEvent(QEvent::KeyPress, catcher.key, Qt::NoModifier, catcher.digit));
    }
    return MsgAnswer::Ok;
}
