#pragma once
// Keys as a fast typist sends them: all queued at once, before the program has
// handled any, and each handed by the event loop to the window that has the
// keyboard when its turn comes, as the display server does.

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>

namespace TestSupport
{

class Typist : public QObject
{
public:
    Typist() = default;
    // Every key to this window, as when the display has not yet given the
    // keyboard to a box that opened over it.
    explicit Typist(QWindow *window) : fixed_(window) {}

    // keys: digits, '\n' for Enter, ' ' for Space; each is pressed and released.
    void Type(const QString &keys)
    {
        for (QChar ch : keys) {
            QCoreApplication::postEvent(this, new Stroke(ch, true));
            QCoreApplication::postEvent(this, new Stroke(ch, false));
            queued_ += 2;
        }
    }
    // Every key queued has been handed to a window.
    bool Done() const { return queued_ == 0; }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != Stroke::kType)
            return QObject::event(event);
        const auto *stroke = static_cast<Stroke *>(event);
        --queued_;
        QWindow *window = fixed_ ? fixed_ : QGuiApplication::focusWindow();
        if (!window)
            return true; // nobody has the keyboard: the key is lost, as on a display
        const QChar ch = stroke->ch;
        const int code = ch == QLatin1Char('\n')  ? int(Qt::Key_Return)
                         : ch == QLatin1Char(' ') ? int(Qt::Key_Space)
                                                  : int(Qt::Key_0) + ch.digitValue();
        const QString text = ch == QLatin1Char('\n') ? QStringLiteral("\r") : QString(ch);
        QKeyEvent key(stroke->press ? QEvent::KeyPress : QEvent::KeyRelease, code, Qt::NoModifier, text);
        QCoreApplication::sendEvent(window, &key);
        return true;
    }

private:
    struct Stroke : QEvent {
        static constexpr QEvent::Type kType = QEvent::Type(QEvent::User + 716);
        Stroke(QChar c, bool p) : QEvent(kType), ch(c), press(p) {}
        QChar ch;
        bool press;
    };
    QWindow *fixed_ = nullptr;
    int queued_ = 0;
};

} // namespace TestSupport
