#pragma once

#include "core/IgraShow.h"

#include <QString>
#include <array>

// The fixed rules of both lotteries: number range, ticket layout and the
// names and titles derived from the lottery kind.
namespace Loto
{

// Highest lottery number; numbers run 1..90 and 0 means "no number".
inline constexpr int kMaxNomer = 90;
// Numbers on one ticket.
inline constexpr int kNomeraPerBilet = 30;
// Rows on one ticket, three per playing field.
inline constexpr int kStroki = 6;
// Columns of a row.
inline constexpr int kColumns = 9;
// Cells of a ticket picture: rows x columns.
inline constexpr int kKletki = kStroki * kColumns;
// Numbers in one row.
inline constexpr int kNomeraPerStroka = 5;
// Longest ticket number: the ticket-number box takes no more, and a ticket file
// holding a longer one is damaged. Twenty characters fill the list's column.
inline constexpr int kNomerMaxLength = 20;

// Markers among the numbers of a draw: a tour change, the end of the game, and
// a prize by ticket number (the entry after it is the ticket's index).
inline constexpr qint32 kMarkerTur = 91;
inline constexpr qint32 kMarkerEnd = 93;
inline constexpr qint32 kMarkerPriz = 94;

// Per number 1..90 what its cell is: free, on the card, or drawn in a tour. Element 0 is unused.
using KletkaTable = std::array<Kletka, kMaxNomer + 1>;
// Calls f(n) for every number 1..90 not drawn yet, ascending.
template <class F> void ForEachUndrawn(const KletkaTable &nomerColor, F f)
{
    for (int n = 1; n <= kMaxNomer; ++n)
        if (!IsDrawn(nomerColor[static_cast<std::size_t>(n)]))
            f(n);
}

// Throws: n is no lottery number.
[[noreturn]] void NotANomer(int n);
// Column 0..8 a number 1..90 is printed in; 90 shares column 8 with the eighties.
// Anything else throws.
inline int ColumnOfNomer(int n)
{
    if (n < 1 || n > kMaxNomer)
        NotANomer(n);
    // Column 8 runs from 80 to 90 inclusive, so 90 does not get a column of its own.
    return n == kMaxNomer ? kColumns - 1 : n / 10;
}
// Row 0..5 of a stored position 0..29.
int StrokaOfPosition(int k);
// Cell 0..53 of (row 0..5, column 0..8) on the ticket picture.
int KletkaIndex(int stroka, int column);

// A lottery the program knows: what it is called, the endings of its two
// kinds of file, and whether the end of a game looks for the jackpot.
struct Kind {
    QString name;           // as the user sees it
    QString biletExtension; // of a ticket file, with the dot
    QString tiragExtension; // of a draw file, with the dot
    bool jackpot;           // a ticket covered just as the game ends wins "КУБЫШКА"
};
// "Русское лото": tickets in .rlb, draws in .rlt, the jackpot looked for.
const Kind &RusLoto();
// "Золотой ключ": .gkb and .gkt, no jackpot.
const Kind &ZolotoyKlyuch();
// Both, "Русское лото" first.
std::array<const Kind *, 2> Kinds();
// The kind of a ticket set by its file's name: "Русское лото" when the name
// ends in "rlb" (any case), else "Золотой ключ".
const Kind &KindOfBiletFile(const QString &fileName);
// What a file holds by the extension of its name (any case): the program
// opens ticket files and draw files of either kind and nothing else.
struct FileKind {
    bool bilety = false;        // a ticket file
    bool tirag = false;         // a draw file
    const Kind *kind = nullptr; // of which lottery, when it opens
    bool Opens() const { return bilety || tirag; }
};
FileKind KindOfFile(const QString &fileName);
// Title of a ticket set from the draw number, kept exactly as typed.
QString MakeTiragTitle(const QString &drawNumber);
// Whether a draw titled tiragTitle is of another draw than a ticket set titled
// biletTitle: both "Тираж" and a number, the numbers different. A simulator's
// draw, or a title of any other shape, is never another draw.
bool OtherTirag(const QString &biletTitle, const QString &tiragTitle);
// The draw's number of a title "Тираж" + digits, leading zeros dropped; empty for any other title.
QString TiragNumber(const QString &title);
// What is said of such a draw.
QString OtherTiragText(const QString &biletTitle, const QString &tiragTitle);
// Title of the game: lottery name and draw title.
QString MakeGameTitle(const Kind &kind, const QString &tiragTitle);
// A number as shown to the user: a space stands where a minus sign would be.
QString NomerText(qint64 n);

// A Latin digit 0-9: the only digits numbers are typed with.
inline bool IsLatinDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
// A key that typed one Latin digit.
inline bool IsDigitKey(const QString &typed)
{
    return typed.size() == 1 && IsLatinDigit(typed.at(0));
}

// The program's version, as the package and --version give it.
inline const char *const kVersion = ZHR_VERSION;

} // namespace Loto
