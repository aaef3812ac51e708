#pragma once
// The prize by ticket number: which loaded ticket a keyed-in winning number
// goes to. Leading X's stand for positions that do not count; everything after
// the first other character, an X included, must equal the ticket number at
// the same position, and whatever the ticket number has beyond it is ignored.

#include "core/BiletStore.h"

#include <QString>

namespace PrizMatch
{

// The winning number as it is matched and shown back to the user: upper-cased
// throughout, so a typed x counts as X (and Cyrillic letters become capitals too).
QString Normalised(const QString &typed);

// Index of the first ticket, 0..BiletCount-1, whose number fits the typed
// winning number; -1 when none does. A text of X's alone (or an empty one)
// leaves nothing to compare and awards nothing.
qint32 FindBilet(const BiletStore &store, const QString &typed);

} // namespace PrizMatch
