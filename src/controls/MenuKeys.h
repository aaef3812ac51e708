#pragma once
// The menus' mnemonics are Cyrillic letters ("&Файл"). With a Latin keyboard
// layout active, Alt and the key that carries "Ф" sends Alt+A, which no menu
// answers, and the letter lands in the entry box. MenuKeys reads such a key
// as the Cyrillic letter the same key carries on the Russian layout, so
// Alt+A opens "Файл" and, in an open menu, A chooses its "Ф" item, whichever
// layout is active. F10 opens the first menu, as on Windows and GTK desktops.

#include <QChar>
#include <QObject>

class QMenuBar;

class MenuKeys : public QObject
{
public:
    // Watches the keys of the whole application for the window whose menu bar this is.
    explicit MenuKeys(QMenuBar *menuBar);
    ~MenuKeys() override;

    // The Cyrillic letter that the Latin key (Qt::Key_A..Key_Z and the
    // punctuation keys of the Russian layout's letters) carries on the Russian
    // layout; a null QChar for any other key.
    static QChar RussianLetterOf(int latinKey);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMenuBar *menuBar_;
};
