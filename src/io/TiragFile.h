#pragma once
// The draw file (.rlt, .gkt): Windows-1251 text of two lines, each ended by
// CR LF. Line 1 is the title of the game; line 2 the draw sequence as signed
// numbers joined by commas: " 27, 5, 90, 91, 14, 93".

#include "core/Tirag.h"
#include "io/BiletFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <variant>
#include <vector>

struct TiragFileData {
    QString RegimTitle;
    Tirag tirag;
};

namespace TiragFile
{

// Line 1 gives the title: its first field, leading spaces skipped, running to
// the next double quote when it begins with one, otherwise to the first comma
// or the line end. Every later line holds numbers separated by commas, spaces
// or tabs; blank lines add nothing. A file of the title alone is an empty draw.
// The entries must be a draw the program could have saved: each number 1..90
// at most once, at most two tour changes (91), a prize as 94 followed by a
// ticket index (0 or more) and at most 10,000 of them, and the end (93) only
// as the last entry; the
// first entry that breaks this is a fault named by its line.
std::variant<TiragFileData, FileParseError> Parse(QByteArrayView bytes);

// The title line and the entries line. A title with a comma, a leading space or
// a leading double quote does not read back the same; the program's own titles
// have none of them.
QByteArray Encode(const QString &regimTitle, const Tirag &tirag);

} // namespace TiragFile
