#pragma once
// A box holding what the photo reader was not sure of (a ticket or draw
// number) is marked in the gold of the card's doubtful cells, its text kept
// readable on it.

class QWidget;

namespace DoubtMark
{

// Marks the box, or gives it back the desktop's look.
void Set(QWidget *box, bool doubtful);

} // namespace DoubtMark
