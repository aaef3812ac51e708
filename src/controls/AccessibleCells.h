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
};

// Gives the widget its cells for screen readers; the widget must outlive
// nothing that the source refers to.
void SetAccessibleCells(QWidget *widget, AccessibleCellSource source);

// Installed once, before the drawn controls are made: they show their cells
// to screen readers.
void InstallAccessibleCells();
