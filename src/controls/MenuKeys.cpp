#include "controls/MenuKeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace
{

// The mnemonic letter of a caption ("Со&хранить" → Х), upper case; null without one.
QChar MnemonicOf(const QString &text)
{
    const QKeySequence mnemonic = QKeySequence::mnemonic(text);
    if (mnemonic.isEmpty())
        return {};
    return QChar(mnemonic[0].key()).toUpper();
}

// The enabled, visible action of the list whose mnemonic is letter.
QAction *ActionFor(const QList<QAction *> &actions, QChar letter)
{
    for (QAction *a : actions)
        if (a->isVisible() && a->isEnabled() && MnemonicOf(a->text()) == letter)
            return a;
    return nullptr;
}

} // namespace

MenuKeys::MenuKeys(QMenuBar *menuBar) : QObject(menuBar), menuBar_(menuBar)
{
    qApp->installEventFilter(this);
}

MenuKeys::~MenuKeys()
{
    qApp->removeEventFilter(this);
}

QChar MenuKeys::RussianLetterOf(int latinKey)
{
    // The Russian layout (ЙЦУКЕН) over the keys of the US one.
    static const QString kLetters = QStringLiteral("ФИСВУАПРШОЛДЬТЩЗЙКЫЕГМЦЧНЯ");
    if (latinKey >= Qt::Key_A && latinKey <= Qt::Key_Z)
        return kLetters.at(latinKey - Qt::Key_A);
    switch (latinKey) {
    case Qt::Key_BracketLeft:
        return QChar(0x0425); // Х
    case Qt::Key_BracketRight:
        return QChar(0x042A); // Ъ
    case Qt::Key_Semicolon:
        return QChar(0x0416); // Ж
    case Qt::Key_Apostrophe:
        return QChar(0x042D); // Э
    case Qt::Key_Comma:
        return QChar(0x0411); // Б
    case Qt::Key_Period:
        return QChar(0x042E); // Ю
    case Qt::Key_QuoteLeft:
        return QChar(0x0401); // Ё
    default:
        return {};
    }
}

bool MenuKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    auto *widget = qobject_cast<QWidget *>(watched);
    // Only keys typed in this window, or in an open menu of its own.
    if (!widget)
        return false;
    auto *menu = qobject_cast<QMenu *>(widget);
    if (!menu && widget->window() != menuBar_->window())
        return false;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;

    if (key->key() == Qt::Key_F10 && mods == Qt::NoModifier && !menu) {
        for (QAction *a : menuBar_->actions()) {
            if (a->isVisible() && a->isEnabled()) {
                menuBar_->setFocus(Qt::ShortcutFocusReason);
                menuBar_->setActiveAction(a);
                return true;
            }
        }
        return false;
    }

    const QChar letter = RussianLetterOf(key->key());
    if (letter.isNull())
        return false;
    if (menu) {
        // In an open menu of this window a bare Latin key chooses the item of its Cyrillic letter.
        if (mods != Qt::NoModifier || !menuBar_->actions().contains(menu->menuAction()))
            return false;
        QAction *a = ActionFor(menu->actions(), letter);
        if (!a)
            return false;
        menu->setActiveAction(a);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &enter);
        return true;
    }
    if (mods != Qt::AltModifier)
        return false;
    // The letter of a menu that is off opens nothing, and types nothing either.
    for (QAction *a : menuBar_->actions()) {
        if (a->isVisible() && MnemonicOf(a->text()) == letter) {
            if (a->isEnabled())
                menuBar_->setActiveAction(a);
            return true;
        }
    }
    return false;
}
