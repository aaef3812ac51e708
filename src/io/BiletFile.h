#pragma once
// The tickets file (.rlb, .gkb): Windows-1251 text, one value a line, CR LF
// line ends.
//
//   line 1            the draw title, verbatim
//   line 2            the highest ticket index (count - 1) as " N"
//   per ticket        its number text verbatim, then its 30 numbers, one a line
//   last              an empty line
//
// Reading turns the bytes into a whole ticket set or names the first line that
// spoils it; the window applies a set only once it has been read completely,
// so a damaged file never leaves half a set behind.

#include "core/BILETCls.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <variant>
#include <vector>

// Why a file could not be read. line is 1-based: the line at fault, or the line
// after the last one when the file ends too early.
struct FileParseError {
    int line = 0;
    QString reason; // Russian, lower case, no final dot: "ожидалось число от 1 до 90"
};

// The user's message for a file that could not be read:
// "Файл «Тираж1234.rlb» повреждён: строка 5, ожидалось число от 1 до 90."
QString DescribeParseError(const QString &fileName, const FileParseError &e);

// Pieces both file readers share.
namespace FileText
{

// Hands out a file's lines one at a time without copying them. A line ends at
// LF, and a CR right before the LF belongs to the line end, so files with CR LF
// and with bare LF read alike. Text after the last LF is a line of its own.
class LineReader
{
public:
    explicit LineReader(QByteArrayView bytes) : bytes_(bytes) {}

    // The next line without its line end; nothing once the file is used up.
    std::optional<QByteArrayView> Next();
    // The next line when it is just a number of one or two digits ended by LF
    // or CR LF, as the program writes a ticket's numbers: read in place, in a
    // few instructions. Nothing, and nothing consumed, when the line is
    // anything else; Next then reads it the long way.
    std::optional<qint32> NextSmallNumber()
    {
        const char *p = bytes_.data() + pos_;
        const qsizetype left = bytes_.size() - pos_;
        if (left < 2 || p[0] < '0' || p[0] > '9')
            return std::nullopt;
        qint32 value = p[0] - '0';
        qsizetype i = 1;
        if (p[1] >= '0' && p[1] <= '9') {
            value = value * 10 + (p[1] - '0');
            i = 2;
        }
        if (i < left && p[i] == '\r')
            ++i;
        if (i >= left || p[i] != '\n')
            return std::nullopt;
        pos_ += i + 1;
        ++line_;
        return value;
    }
    // Number (from 1) of the line Next returned last; 0 before the first call.
    qint64 LineNumber() const { return line_; }
    qsizetype BytesLeft() const { return bytes_.size() - pos_; }

private:
    QByteArrayView bytes_;
    qsizetype pos_ = 0;
    qint64 line_ = 0;
};

// A whole decimal number with an optional sign; spaces and tabs around it are
// allowed. Nothing when the text is anything else. Values too long for 32 bits
// come back as some value outside the 32-bit range, never wrapped into it.
std::optional<qint64> ParseInteger(QByteArrayView text);

// The error for a line; numbers past the range of int (files of billions of
// lines) are reported as the largest int.
FileParseError ErrorAt(qint64 line, const QString &reason);

// A file's text without the UTF-8 byte-order mark an editor may have put in
// front. Such a file was saved as UTF-8, and its lines are read as UTF-8.
struct Text {
    QByteArrayView bytes;
    bool utf8 = false;
};
Text WithoutBom(QByteArrayView bytes);

// A line of spaces and tabs only, or an empty one.
bool IsBlank(QByteArrayView line);

// The longest title line (of a ticket file, a draw file, a journal). The
// program's titles are a few words; a longer line is not a title but damage,
// and is refused before it is decoded.
inline constexpr qsizetype kMaxTitleBytes = 1000;
// The reason given for such a line.
QString TooLongReason();

// One line of text in the file's encoding (Windows-1251 unless it was marked as UTF-8).
QString Decode(QByteArrayView line, bool utf8);

} // namespace FileText

struct BiletFileData {
    QString TiragTitle;
    // At least one. Every ticket is laid out as printed: 30 different numbers
    // 1..90, each row five of them in five different columns, left to right,
    // and a number of at most Loto::kNomerMaxLength characters.
    std::vector<BILETCls> Bilety;
};

namespace BiletFile
{

// The whole set, or the first fault. Bare LF line ends are accepted too, and
// so are blank lines after the last ticket; anything else there is a fault,
// since line 2 then counts fewer tickets than the file holds. On a fault, kept (when
// given) receives the title and the tickets read whole before it, so that a
// file cut short can still be offered in part.
std::variant<BiletFileData, FileParseError> Parse(const QByteArray &bytes, BiletFileData *kept = nullptr);

// The file's bytes for tickets 0..count-1 of bilety (count is cut to the
// vector's size). The save commands refuse an empty set, and so does Parse:
// a file of zero tickets does not read back.
QByteArray Encode(const QString &tiragTitle, const std::vector<BILETCls> &bilety, qint32 count);

} // namespace BiletFile
