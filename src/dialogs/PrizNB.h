#pragma once
// "Приз по номеру билета": keys in a winning ticket number on a small keypad,
// X standing for a position that does not count. The direction is chosen
// before the first key: "Проверка слева" writes the number from its first
// position on, "Проверка справа" from its last position backwards. The dialog
// only asks; the caller looks the number up among the tickets and awards.

#include <QDialog>
#include <QString>

#include <array>

class QLineEdit;
class QPushButton;
class QRadioButton;

class PrizNB : public QDialog
{
    Q_OBJECT
public:
    explicit PrizNB(QWidget *parent = nullptr);

    // Opens a fresh dialog modally; the winning number as upper-cased on "OK",
    // or an empty string when the user cancelled or confirmed an empty box.
    static QString Ask(QWidget *parent);

    // The winning number of a dialog that was accepted, upper-cased; empty otherwise.
    QString Pattern() const;

    // The controls, reachable for the window and for tests.
    std::array<QPushButton *, 12> Knopka{}; // 0..9 the digits, 10 "X", 11 "<" (removes a character)
    std::array<QRadioButton *, 2> Storona{}; // 0 "Проверка слева", 1 "Проверка справа"
    QLineEdit *TxtNB = nullptr;              // the winning number; may also be typed into
    QPushButton *OK = nullptr;               // "OK", the default button
    QPushButton *kNo = nullptr;              // "Отмена"

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The two titles are drawn on the dialog itself, not held by labels.
    void paintEvent(QPaintEvent *event) override;

private:
    // A keypad key: a digit or X adds its character on the chosen side, "<" takes one away there.
    void Knopka_Click(int index);
    // What "OK" and Enter do: close, keeping the upper-cased number unless the box is empty.
    void OK_Click();
    bool FromRight() const;

    int zoom_ = 100; // the print size, in percent
};
