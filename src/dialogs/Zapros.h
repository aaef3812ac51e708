#pragma once
// "Запрос": asks which lottery a new ticket set belongs to and which draw it is
// for. The draw number is one to six digits; "OK" stays disabled while it is empty.

#include "core/LotoRules.h"

#include <QDialog>
#include <QString>

#include <array>
#include <optional>
#include <utility>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class Zapros : public QDialog
{
    Q_OBJECT
public:
    explicit Zapros(QWidget *parent = nullptr);

    // Opens a fresh dialog modally; the lottery kind (true for "Русское лото")
    // and the draw number, or nothing when the user cancelled. drawNumber is
    // offered in the box (as read from a photo) when it is one the box takes;
    // one the reader doubted is marked so that the user compares it with the
    // ticket.
    static std::optional<std::pair<const Loto::Kind *, QString>>
    Ask(QWidget *parent, const QString &drawNumber = {}, bool drawNumberDoubtful = false);

    // Marks the number in the box as read with doubt, in the colour of the
    // card's doubtful cells, and says so to a screen reader, until the user
    // edits it.
    void MarkDrawNumberDoubtful();

    // True when "Русское лото" is selected.
    bool IsRusLoto() const;
    // The draw number as typed, leading zeros kept.
    QString DrawNumber() const;
    // The answer of a dialog that has closed: kind and number if it was
    // accepted, nothing otherwise.
    std::optional<std::pair<const Loto::Kind *, QString>> Choice() const;

    // The controls, reachable for the window and for tests.
    std::array<QRadioButton *, 2> Option1{}; // 0 "Русское лото", 1 "Золотой ключ"
    QLabel *Label2 = nullptr;
    QLineEdit *TxtTIRAG = nullptr;
    QPushButton *OK = nullptr;
    QPushButton *kNO = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Decides what a key pressed in the draw number box does; true when the
    // key is consumed here and must not reach the box.
    bool FilterDrawNumberKey(const QKeyEvent &key);
};
