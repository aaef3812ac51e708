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
//
// A check game keeps a copy of its tickets beside the journal, "Жребикон.jnb",
// written once when the game starts, so that the game goes on when the ticket
// file is gone or has changed; line 2 may then be empty (a set that has no
// file). While tickets are keyed in, the journal keeps the set in hand instead:
//
//   line 1   "Жребикон: несохранённые билеты"
//   line 2   the ticket file the set came from, empty for a new set
//   line 3   the lottery: "rlb" or "gkb"
//   then     the set as its ticket file holds it
//
// The copy is laid out the same way under its own title, with the fingerprint
// the check journal names on line 2.

#include "core/LotoRules.h"
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
    Tirag tirag; // what the user did so far
    // A check game, or tickets being keyed in: then these are they.
    bool zagruzka = false;
    const Loto::Kind *kind = &Loto::ZolotoyKlyuch();
    BiletFileData bilety;
};

// The copy of the tickets a check game is played on.
struct BiletyCopy {
    QByteArray fingerprint; // the check journal's line 3
    const Loto::Kind *kind = &Loto::ZolotoyKlyuch();
    BiletFileData bilety;
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

// The journal of tickets being keyed in: tickets 0..count-1 of bilety.
QByteArray EncodeZagruzka(const QString &biletFile, const Loto::Kind &kind, const QString &tiragTitle,
                          const std::vector<BILETCls> &bilety, qint32 count);

QByteArray EncodeCopy(const QByteArray &fingerprint, const Loto::Kind &kind, const QString &tiragTitle,
                      const std::vector<BILETCls> &bilety, qint32 count);
std::variant<BiletyCopy, FileParseError> ParseCopy(const QByteArray &bytes);

} // namespace ZhurnalFile
