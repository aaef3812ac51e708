#include "controls/QtMessenger.h"

#include "core/LotoRules.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <deque>

// The keys typed while a box that types through is on its way, open or
// closing. A display hands a key to the window that had the keyboard when it
// was typed: the window under the box, whose keys a modal box would swallow,
// or the box itself. Every key is caught first, where it reaches a window, and
// held; the first digit closes the box; once the command that showed the box
// is done, the keys held are typed into the target in the order they came.
class TypeAhead : public QObject
{
public:
    explicit TypeAhead(std::function<QWidget *()> target) : target_(std::move(target))
    {
        qApp->installEventFilter(this);
    }
    ~TypeAhead() override { qApp->removeEventFilter(this); }

    // The box is about to be shown. Keys typed before it came close it at once:
    // the user has typed past it.
    void Opened(QMessageBox &box)
    {
        box_ = &box;
        active_ = true;
        if (!held_.empty())
            QTimer::singleShot(0, &box, [&box] { box.done(QMessageBox::Ok); });
    }
    // The box has closed.
    void Closed()
    {
        box_ = nullptr;
        if (held_.empty())
            active_ = draining_;
        else
            QTimer::singleShot(0, this, [this] { Drain(); });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!active_ || event == sending_ || event->type() != QEvent::KeyPress)
            return false;
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget && !qobject_cast<QWindow *>(watched))
            return false;
        // A question or dialog opened meanwhile keeps its own keys.
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != box_)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        // Commands (Ctrl+Z, Alt+F4) are not typing.
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        const bool digit = Loto::IsDigitKey(key->text());
        if (box_ && held_.empty() && !digit) {
            // The box's own keys work on it as ever; Enter, Space or Esc that
            // reached the window under it close it too.
            const bool inBox =
                widget ? (widget == box_ || box_->isAncestorOf(widget)) : watched == box_->windowHandle();
            if (inBox)
                return false;
            const int k = key->key();
            if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Space || k == Qt::Key_Escape)
                box_->done(QMessageBox::Ok);
            return true;
        }
        held_.push_back({key->key(), key->modifiers(), key->text()});
        if (box_)
            box_->done(QMessageBox::Ok);
        return true;
    }

private:
    struct Key {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
    };

    void Drain()
    {
        if (draining_ || box_)
            return; // the loop under way, or the box that closes next, goes on with them
        if (QApplication::activeModalWidget()) {
            // Something else asks first; the keys wait for it.
            QTimer::singleShot(50, this, [this] { Drain(); });
            return;
        }
        draining_ = true;
        while (!held_.empty() && !box_) {
            const Key k = held_.front();
            held_.pop_front();
            QWidget *target = target_ ? target_() : nullptr;
            if (!target || !target->isEnabled() || !target->isVisible()) {
                held_.clear(); // nothing takes numbers any more
                break;
            }
            target->setFocus();
            QKeyEvent event(QEvent::KeyPress, k.key, k.modifiers, k.text);
            QEvent *outer = std::exchange(sending_, &event);
            QCoreApplication::sendEvent(target, &event);
            sending_ = outer;
        }
        draining_ = false;
        active_ = box_ != nullptr || !held_.empty();
    }

    std::function<QWidget *()> target_;
    std::deque<Key> held_;
    QMessageBox *box_ = nullptr;
    // The event being typed into the target, which passes.
    QEvent *sending_ = nullptr;
    bool active_ = false;
    bool draining_ = false;
};

QtMessenger::QtMessenger() = default;
QtMessenger::~QtMessenger() = default;

void QtMessenger::SetTypeThrough(std::function<QWidget *()> target)
{
    typeThrough_ = std::move(target);
    typeAhead_ = typeThrough_ ? std::make_unique<TypeAhead>(typeThrough_) : nullptr;
}

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
    if (!typeAhead_ || !typeThrough_()) {
        box.exec();
        return MsgAnswer::Ok;
    }
    typeAhead_->Opened(box);
    box.exec();
    typeAhead_->Closed();
    return MsgAnswer::Ok;
}
