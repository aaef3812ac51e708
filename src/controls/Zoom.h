#pragma once
// The window's print size: from 100 % to 200 % in steps of 25 %. The window's
// controls stand at fixed places; at a larger size each takes its place, its
// size and its type that many times larger, and the program's own drawing
// areas draw afresh at that size, so nothing is an enlarged picture.

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <vector>

class QDialog;

namespace Zoom
{

constexpr int kNormal = 100;
constexpr int kLargest = 200;
constexpr int kStep = 25;

// A remembered or asked-for size as one of the steps (nearest below, within bounds).
int Step(int percent);
int Larger(int percent);
int Smaller(int percent);
// The largest step at which a thing of size base at 100 % fits into space; 100 when none does.
int Fitting(QSize base, QSize space);
// A length at 100 % at a step, rounded as the controls are placed.
int Scaled(int length, int percent);
// A point at 100 % at a step, placed as the edges of the controls are.
QPoint Placed(QPoint at, int percent);

// The print size a window shows, kept on the window for the dialogs opened from it.
void SetOfWindow(QWidget *window, int percent);
// The print size of the window a widget stands in; 100 when none was set.
int OfWindow(const QWidget *widget);
// Shows a dialog built at 100 % at the print size of the window it is opened
// from (its parent's): its size, its controls' places and sizes and all the
// type grow together. A dialog of fixed places grows exactly that many times;
// one arranged by a layout grows its margins, gaps and least sizes, and is at
// least that many times its size at 100 %. Returns the step taken.
int Dialog(QDialog *dialog);

} // namespace Zoom

// The controls of one area, placed at fixed positions, scaled together.
class ZoomedPlaces
{
public:
    // Takes the child widgets of area as they stand now, at 100 %. A label that
    // is sized to its text carries the property "sizedToText" and keeps doing so.
    explicit ZoomedPlaces(QWidget *area);

    // Places, sizes and type of the area and its controls at the step.
    void Apply(int percent);
    int Percent() const { return percent_; }

private:
    struct Place {
        QPointer<QWidget> widget;
        QRect geometry;
        QFont font;
    };
    QWidget *area_;
    QSize size_;
    QFont font_;
    std::vector<Place> places_;
    int percent_ = Zoom::kNormal;
};
