#pragma once
// The headless checker: a ticket file is opened as "Открыть билеты" opens it,
// a draw file as "Открыть тираж" does, and the whole replay runs through the
// game engine at once, with no timer and no window. Questions are answered No;
// every message box is kept. What the window would show at the end comes back
// as a report, which can be written as JSON or as text for a person.

#include "core/IgraReport.h"
#include "core/Tirag.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace Check
{

// The winners list: a line is a prefix ("(Приз)  " or a tour's) and a
// ticket's number. A large set can have hundreds of thousands of lines, so a
// line is two integers and the texts are the game's own, shared.
class Winners
{
public:
    void Add(const QString &prefix, qint32 ticket, const QString &number);
    // Room for the numbers of a set of count tickets, taken at once: growing
    // step by step would briefly hold two copies, the peak of a large check.
    void Reserve(std::size_t count) { numbers_.reserve(count); }
    void clear();
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    const QString &Prefix(std::size_t i) const { return prefixes_[items_[i].prefix]; }
    // Index of line i's ticket in the set.
    qint32 Ticket(std::size_t i) const { return items_[i].ticket; }
    // Line i's ticket number text.
    const QString &Number(std::size_t i) const;

private:
    struct Item {
        std::uint32_t prefix; // index into prefixes_
        qint32 ticket;
    };
    std::vector<QString> prefixes_;
    std::vector<Item> items_;
    std::vector<QString> numbers_; // by ticket
};

// The message boxes, in the order shown. A full draw on a large set shows a
// box per jackpot, so the texts are kept end to end as UTF-8 and each title
// once.
class Messages
{
public:
    void Add(const QString &title, const QString &text);
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    const QString &Title(std::size_t i) const { return titles_[items_[i].title]; }
    // Box i's text, UTF-8.
    std::string_view Text(std::size_t i) const;

private:
    struct Item {
        std::uint32_t title; // index into titles_
        std::uint32_t end;   // where its text ends in texts_
    };
    std::vector<QString> titles_;
    std::vector<Item> items_;
    std::string texts_;
};

// The window at the end of the replay.
struct Report {
    QString game;     // lottery kind and draw title of the ticket set
    QString draw;     // title of the replayed draw
    QString warning;  // said when the draw is another than the tickets'; else empty
    qint32 moves = 0; // numbers drawn
    qint32 tour = 1;  // tour the game ended in, 1..3
    Winners winners;
    Messages messages;                              // every box, in the order shown
    QString undrawn;                                // the undrawn numbers as the caption lists them
    std::vector<qint32> sequence;                   // the draw as the game recorded it, markers included
    std::vector<qint32> counts;                     // count column of the ticket list, by ticket
    std::vector<qint32> leaders;                    // tickets marked as leaders, ascending
    std::vector<std::pair<qint32, qint32>> awaited; // (ticket, number) still shown, by ticket
    IgraReport paper; // the same game as a report to keep, when asked for (--report; never in the JSON)
};

// A file that could not be opened or read: the program's message for it.
struct Failure {
    QString message;
};

// Replays the draw file against the ticket file. The kind of lottery comes
// from the ticket file's name; paths may name folders. withPaper: the report
// to keep (paper) is made too.
std::variant<Report, Failure> Run(const QString &biletPath, const QString &tiragPath, bool withPaper = false);

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
std::variant<Report, Failure> RunDraw(const QString &biletPath, const ResultDraw &draw,
                                      bool withPaper = false);

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
