#pragma once
// The ticket list: one row per ticket of the set, with a selection bar and,
// during a draw, the statistics of each ticket beside its number, painted from
// the game's ListStats as they change.
//
// Rows keep only what is shown in them; paintEvent draws the visible rows from
// that state, so a set of any size costs a few bytes per row beyond its text.
// Every operation leaves the state that drawing into a kept picture of all rows
// would leave, so what the user sees is the same.

#include "core/ListStats.h"
#include "core/ProgramState.h"

#include <QFontMetrics>
#include <QImage>
#include <QWidget>
#include <array>
#include <limits>
#include <optional>
#include <vector>

class QScrollBar;
class QWheelEvent;
class ListPicture;

class ListBilet : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(qint32 ListIndex READ ListIndex WRITE SetListIndex)
    Q_PROPERTY(qint32 LineWidth READ LineWidth WRITE SetLineWidth)

public:
    // Pixel height of one row.
    static constexpr int kRowHeight = 15;
    // Rows the keys treat as one page; the row below it is only partly visible.
    static constexpr qint32 kPageRows = 10;
    // Width of the scroll bar at the right edge.
    static constexpr int kScrollWidth = 17;
    // Left edges of the statistics columns.
    static constexpr int kStatsLeft = 70;
    static constexpr int kCountX = 72;
    static constexpr int kPlusX = 89;
    static constexpr int kAwaitedX = 94;
    static constexpr int kLiderX = 113;

    // How the selected row is outlined.
    enum class Frame {
        None,   // the bar alone, as a changed ticket number leaves it
        Yellow, // the focus frame
        Navy,   // outlined in the bar's own colour: no visible frame
    };

    // What one row shows.
    struct RowView {
        QString text;                  // the ticket number as listed
        bool selected = false;         // carries the navy bar
        Frame frame = Frame::None;     // outline of the selected row; None for the others
        std::optional<qint32> count;   // match count at x 72
        bool plus = false;             // "+" at x 89: hit by the latest number
        std::optional<qint32> awaited; // number the ticket waits for, at x 94
        bool lider = false;            // "Лидер" at x 113
    };

    // The list shows the tickets of state.store, which counts them;
    // state.RegimState decides whether numbers are shortened.
    explicit ListBilet(ProgramState &state, QWidget *parent = nullptr);
    ~ListBilet() override;

    // Empties the list and its statistics; no key or mouse input reaches it until a row is added.
    void Clear();
    // Lists the next ticket of the store not listed yet; nothing when every one is.
    void Add();
    // Moves the bar to the store's CurBilet and shows that ticket's changed number whole.
    void NewNomer();

    // The selected row, 0-based; 0 while the list is empty.
    qint32 ListIndex() const { return listIndex_; }
    // Moves the bar to row index 0..BiletCount-1 without scrolling; other values are ignored.
    void SetListIndex(qint32 index);
    // Width of the number column: the bar spans x 0..LineWidth.
    qint32 LineWidth() const { return lineWidth_; }
    // Rows added from now on are shortened to it; the bar of every row follows at once.
    void SetLineWidth(qint32 width);

    // What row i 0..BiletCount-1 shows; any other i throws std::out_of_range.
    RowView Row(qint32 i) const;
    // Index of the first visible row.
    qint32 ScrollValue() const;
    // Scrolls, if need be, so that row is in view; the selection stays.
    void ShowRow(qint32 row);
    QScrollBar *ScrollBar() const { return vscroll_; }
    // The area the rows are drawn in; it takes the keys, the mouse and the focus,
    // and is disabled while the list is empty.
    QWidget *Picture() const;
    // The rows as they appear in the control's area at 100 %, without the scroll bar.
    QImage RenderVisible() const;
    // Draws the list zoom times as large (1 to 2), sharp; the owner sizes the
    // control to match. Rows, columns and the mouse keep their pixels at 1.
    void SetZoom(qreal zoom);

signals:
    // The user chose the selected row (double click or Enter).
    void DblClick();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    friend class ListPicture;

    struct Stroka {
        QString text;
        // The statistics area was erased after the text was drawn, so it cuts off
        // whatever of the text reached past x 69.
        bool textUnderStats = false;
    };

    // The game's statistics changed in these rows (or in every row).
    void StatsChanged(ListStats::Change change, const std::vector<qint32> &rows);

    bool Exists(qint32 t) const { return t >= 0 && std::size_t(t) < rows_.size(); }
    QString FittedText(const QString &nomer) const;
    // Advance of a Latin, Greek or Cyrillic character in the list's font; -1 for any other.
    double Advance(QChar c) const;

    void UnselectStroka();
    void SelectStroka();
    void SetSelectionFrame(Frame frame);
    // Tells screen readers that the selection moved from the row told last to the selected one.
    void TellSelection();
    void SetScroll();
    void SetValue(qint64 value);
    bool ScrollShown() const;
    qint32 RowAt(double y) const;

    void UpdateRow(qint32 row);
    // The control's size in the pixels its rows are laid out in (those at 100 %).
    int LogicalWidth() const { return qRound(width() / zoom_); }
    int LogicalHeight() const { return qRound(height() / zoom_); }
    void PaintRows(QPainter &p, const QRect &area) const;
    void PaintRow(QPainter &p, qint32 row, int y) const;

    // Where a key moves the selection (index -1: nowhere) and, when the list
    // scrolls, its new first row. False for a key the list does not take.
    struct KeyMove {
        qint32 index = -1;
        std::optional<qint64> scroll;
    };
    bool MoveFor(int key, KeyMove &move) const;

    // Input reaching the picture.
    void PictureKeyDown(QKeyEvent *event);
    void PictureMouseDown(QMouseEvent *event);
    void PictureMouseUp(QMouseEvent *event);
    void PictureDblClick(QMouseEvent *event);
    // The wheel scrolls three rows a notch and leaves the selection where it is.
    void PictureWheel(QWheelEvent *event);
    void PictureFocus(QFocusEvent *event, Frame frame);

    ProgramState &state_;
    BiletStore &store_;
    ListPicture *picture_;
    QScrollBar *vscroll_;
    QFontMetrics metrics_; // of the list's font, which numbers are fitted and drawn in
    static constexpr double kUnknownAdvance = -2;
    mutable std::array<double, 0x500> advances_{}; // by character code, measured on first use
    std::vector<Stroka> rows_;
    qreal zoom_ = 1;
    qint32 listIndex_ = 0;
    qint32 toldSelected_ = -1; // the row screen readers were told is selected
    qint32 lineWidth_ = 69;
    Frame frame_ = Frame::None;
    bool frameOverText_ = false;

    // Mouse state: the left button went down on a row (a click is due on release),
    // and the last press, for telling the second press of a double click.
    bool clickPending_ = false;
    bool doublePress_ = false;
    int wheelRest_ = 0; // eighths of a degree not yet scrolled
    quint64 lastPressTime_ = 0;
    QPointF lastPressPos_;
    Qt::MouseButton lastPressButton_ = Qt::NoButton;
};
