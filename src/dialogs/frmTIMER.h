#pragma once
// "Настройка": edits the two user settings, the number of moves after which
// the simulator ends its game and the pace of the replay and the simulator.
// The dialog writes into the settings it was given only when "OK" is pressed
// with an allowed maximum (81 to 89); every other way out leaves them as they were.

#include "core/ProgramState.h"

#include <QDialog>
#include <QString>

class Messenger;
class QComboBox;
class QKeyEvent;
class QLineEdit;
class QPushButton;

class frmTIMER : public QDialog
{
    Q_OBJECT
public:
    // settings: edited in place on "OK". messenger: shows the refusal of a
    // maximum out of range. Both must outlive the dialog.
    frmTIMER(Settings &settings, Messenger &messenger, QWidget *parent = nullptr);

    // Builds a fresh dialog for the current settings and shows it modally.
    static void Run(Settings &settings, Messenger &messenger, QWidget *parent);

    // The interval in milliseconds that a "Таймер" entry stands for; an index
    // outside the list counts as the nearest entry.
    static int IntervalOfIndex(int index);
    // The entry that shows an interval. Intervals without an entry of their
    // own (possible only through an edited settings file) get the nearest one:
    // anything under a second other than 500 shows "0,1 секунды", from 4000 up
    // "3 секунды", a negative one "0,1 секунды".
    static int IndexOfInterval(qint32 interval);

    // The controls, reachable for the window and for tests.
    QLineEdit *Text1 = nullptr;  // the maximum of moves, up to two characters
    QComboBox *Combo1 = nullptr; // the interval, one of five entries
    QPushButton *OK = nullptr;   // "OK", the default button
    QPushButton *No = nullptr;   // "Отмена"

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The two captions are drawn on the dialog itself, not held by labels.
    void paintEvent(QPaintEvent *event) override;

private:
    // Decides what a key pressed in Text1 does; true when the key is consumed
    // here and must not reach the box.
    bool FilterMaxHodKey(const QKeyEvent &key);
    // What "OK" does: checks the maximum, then stores both settings and closes.
    void Confirm();

    Settings &settings_;
    Messenger &messenger_;
    int zoom_ = 100; // the print size, in percent
};
