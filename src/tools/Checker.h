#pragma once
// The headless checker: a ticket file is opened as "Открыть билеты" opens it,
// a draw file as "Открыть тираж" does, and the whole replay runs through the
// game engine at once, with no timer and no window. Questions are answered No;
// every message box is kept. What the window would show at the end comes back
// as a report, which can be written as JSON or as text for a person.

#include "core/Tirag.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <utility>
#include <variant>
#include <vector>

namespace Check
{

// One line of the winners list.
struct Winner {
    QString line;       // as the list shows it
    qint32 ticket = -1; // index of the ticket in the set
    QString number;     // the ticket's number text
};

// One message box.
struct Message {
    QString title;
    QString text;
};

// The window at the end of the replay.
struct Report {
    QString game;     // lottery kind and draw title of the ticket set
    QString draw;     // title of the replayed draw
    QString warning;  // said when the draw is another than the tickets'; else empty
    qint32 moves = 0; // numbers drawn
    qint32 tour = 1;  // tour the game ended in, 1..3
    std::vector<Winner> winners;
    std::vector<Message> messages;                  // every box, in the order shown
    QString undrawn;                                // the undrawn numbers as the caption lists them
    std::vector<qint32> sequence;                   // the draw as the game recorded it, markers included
    std::vector<qint32> counts;                     // count column of the ticket list, by ticket
    std::vector<qint32> leaders;                    // tickets marked as leaders, ascending
    std::vector<std::pair<qint32, qint32>> awaited; // (ticket, number) still shown, by ticket
};

// A file that could not be opened or read: the program's message for it.
struct Failure {
    QString message;
};

// Replays the draw file against the ticket file. The kind of lottery comes
// from the ticket file's name; paths may name folders.
std::variant<Report, Failure> Run(const QString &biletPath, const QString &tiragPath);

// The draw file a check game would save after the published result in the
// text file (pasted from a results page; "-" reads standard input) was played
// on the ticket file: its title ("Тираж" and the number the text names, or the
// ticket set's title) and its draw.
struct ResultDraw {
    QString title;
    Tirag tirag;
};
std::variant<ResultDraw, Failure> PlayResult(const QString &biletPath, const QString &textPath);

// Replays a draw (as a draw file holds it) against the ticket file, as Run does.
std::variant<Report, Failure> RunDraw(const QString &biletPath, const ResultDraw &draw);

// Takes output text piece by piece, in order.
using Sink = std::function<void(QByteArrayView)>;

// The report as one JSON object, UTF-8, keys in the order above; "warning"
// only when there is one.
void WriteJson(const Report &report, const Sink &sink);
// The messages ("title: text"), then the winners list, one a line, UTF-8.
void WriteText(const Report &report, const Sink &sink);
// The JSON, whole.
QByteArray ToJson(const Report &report);

} // namespace Check
