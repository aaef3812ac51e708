#pragma once
// The journal of a check game in hand, "Жребикон.jnl" in the work folder: what
// the user typed so far, so that a game cut short by a crash or a power cut can
// be taken up again. Windows-1251 text, CR LF line ends:
//
//   line 1   "Жребикон: незавершённая проверка"
//   line 2   the ticket file's name
//   line 3   a fingerprint of the ticket file's content (SHA-1, hexadecimal)
//   line 4   the game's title            } as in a draw file, the entries being
//   line 5   the user's actions so far   } numbers, 91 and 94 with a ticket index

#include "io/BiletFile.h"
#include "io/TiragFile.h"

#include <QByteArray>
#include <QString>
#include <variant>
#include <vector>

struct ZhurnalData {
    QString BiletFile;
    QByteArray fingerprint;
    QString RegimTitle;
    std::vector<qint32> entries;
};

namespace ZhurnalFile
{

inline const QString FileName = QStringLiteral("Жребикон.jnl");

// The fingerprint of a ticket file's bytes.
QByteArray Fingerprint(const QByteArray &biletBytes);

QByteArray Encode(const ZhurnalData &data);

// A journal is read like a draw file after its three lines; anything else is
// a damaged journal, named by its line.
std::variant<ZhurnalData, FileParseError> Parse(const QByteArray &bytes);

} // namespace ZhurnalFile
