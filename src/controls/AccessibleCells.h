#pragma once
// Screen readers see a drawn control (the board, the card, the ticket list) as
// the cells it shows: each cell a child with its text and its place. The
// control says what its cells are; the accessibility layer asks as it reads.

#include <QAccessibleWidget>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

// What a drawn control shows, cell by cell.
struct AccessibleCellSource {
    std::function<int()> count;
    std::function<QString(int)> text; // what cell i shows, in words
    std::function<QRect(int)> rect;   // where, in the widget's coordinates
    // Whether the control has something to read; unset: while it is enabled.
    std::function<bool()> available = {};
    // The selected cell (-1: none), for a control whose cells are chosen; unset: none are.
    std::function<int()> current = {};
};

// Gives the widget its cells for screen readers; the widget must outlive
// nothing that the source refers to.
void SetAccessibleCells(QWidget *widget, AccessibleCellSource source);

// Installed once, before the drawn controls are made: they show their cells
// to screen readers. The ticket list's rows take the keyboard in a picture of
// their own; a screen reader finds the selected row there, so the keyboard
// always stands on a named row.
void InstallAccessibleCells();
