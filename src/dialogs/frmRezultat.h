#pragma once
// "Результаты тиража": the user pastes the draw's result as the lottery's
// results page shows it (or reads it from a saved text file). As the text
// changes, the dialog says what it understood: the draw it names, each tour
// with its numbers, how many numbers in all, and every problem, marked where it
// stands in the text. "OK" is possible only for a text that gives distinct
// numbers 1..90 in tours.

#include "io/ResultText.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class frmRezultat : public QDialog
{
    Q_OBJECT
public:
    // setTirag: the ticket set's draw number (digits), so that a result of
    // another draw is marked; empty when the set names none.
    explicit frmRezultat(const QString &setTirag, QWidget *parent = nullptr);

    // Opens a fresh dialog modally; the result when the user confirmed one.
    static std::optional<PublishedResult> Ask(const QString &setTirag, QWidget *parent);

    // What the text in the box says now.
    const PublishedResult &Result() const { return result_; }

    // How a text file is picked for "Из файла…" (parent, caption, filter): the
    // desktop's file dialog; an empty path when the user gave up. Tests put
    // their own in its place.
    using Picker = std::function<QString(QWidget *, const QString &, const QString &)>;
    static Picker &PickFile();

    // The controls, reachable for the window and for tests.
    QLabel *Label1 = nullptr;          // what to paste
    QPlainTextEdit *TxtText = nullptr; // the pasted result
    QLabel *LblUnderstood = nullptr;   // the draw, the tours, the count and the problems
    QPushButton *kFile = nullptr;      // "Из файла…"
    QPushButton *kOK = nullptr;        // "Проверить", the default button
    QPushButton *kNO = nullptr;        // "Отмена"

private:
    // Reads the text anew and shows what it says.
    void Reread();
    void FromFile();

    QString setTirag_;
    PublishedResult result_;
};
