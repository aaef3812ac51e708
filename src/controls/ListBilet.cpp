#include "controls/ListBilet.h"

#include "controls/Fonts.h"
#include "controls/Surface.h"
#include "controls/VbColor.h"
#include "core/LotoRules.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace
{

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kNavy(0, 0, 128);
const QColor kLightYellow(255, 255, 127);

// The text x of the row's number.
constexpr int kTextX = 2;
// Scroll steps in rows: arrows move ten rows, clicks beside the thumb fifteen.
constexpr int kArrowStep = 10;
constexpr int kPageStep = 15;

// A number printed on the list: the sign's place, the digits, a trailing blank.
QString ListNumber(qint32 n)
{
    return Loto::NomerText(n) + QLatin1Char(' ');
}

} // namespace

// The drawing area under the scroll bar. It only passes what reaches it on to the list.
class ListPicture : public QWidget
{
public:
    explicit ListPicture(ListBilet &list) : QWidget(&list), list_(list)
    {
        setObjectName(QStringLiteral("ListPicture"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter p(this);
        if (list_.zoom_ == 1) {
            list_.PaintRows(p, event->rect());
            return;
        }
        // Drawn at the larger size, not enlarged: text and lines stay sharp.
        p.scale(list_.zoom_, list_.zoom_);
        list_.PaintRows(p, QRectF(QRectF(event->rect()).topLeft() / list_.zoom_,
                                  QRectF(event->rect()).size() / list_.zoom_)
                               .toAlignedRect());
    }
    void keyPressEvent(QKeyEvent *event) override { list_.PictureKeyDown(event); }
    void mousePressEvent(QMouseEvent *event) override { list_.PictureMouseDown(event); }
    void mouseReleaseEvent(QMouseEvent *event) override { list_.PictureMouseUp(event); }
    void mouseDoubleClickEvent(QMouseEvent *event) override { list_.PictureDblClick(event); }
    void wheelEvent(QWheelEvent *event) override { list_.PictureWheel(event); }
    void focusInEvent(QFocusEvent *event) override
    {
        QWidget::focusInEvent(event);
        list_.PictureFocus(event, ListBilet::Frame::Yellow);
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        QWidget::focusOutEvent(event);
        list_.PictureFocus(event, ListBilet::Frame::Navy);
    }

private:
    ListBilet &list_;
};

ListBilet::ListBilet(ProgramState &state, QWidget *parent)
    : QWidget(parent), state_(state), store_(state.store), picture_(nullptr), vscroll_(nullptr),
      metrics_(font())
{
    setObjectName(QStringLiteral("ListBilet1"));
    QFont listFont = Fonts::Make(8, false);
    // Every listed number is measured against the column; without kerning and
    // optional shaping that takes a third of the time, and digits look the same.
    listFont.setKerning(false);
    listFont.setStyleStrategy(QFont::PreferNoShaping);
    setFont(listFont);
    metrics_ = QFontMetrics(font());
    advances_.fill(kUnknownAdvance);

    picture_ = new ListPicture(*this);
    picture_->setGeometry(rect());
    setFocusProxy(picture_);

    vscroll_ = new QScrollBar(Qt::Vertical, this);
    vscroll_->setObjectName(QStringLiteral("VScroll1"));
    // A click on the bar hands the focus straight to the rows: the bar never keeps it.
    vscroll_->setFocusPolicy(Qt::ClickFocus);
    vscroll_->setFocusProxy(picture_);
    vscroll_->setGeometry(width() - kScrollWidth, 0, kScrollWidth, height());
    vscroll_->hide();
    // Scrolling only moves the rows; the selection stays where it is.
    connect(vscroll_, &QScrollBar::valueChanged, picture_, [this] { picture_->update(); });

    state_.stats.Observe(
        [this](ListStats::Change change, const std::vector<qint32> &rows) { StatsChanged(change, rows); });
    Clear();
}

ListBilet::~ListBilet()
{
    state_.stats.Observe(nullptr);
}

void ListBilet::Clear()
{
    // Rows go first so that the focus leaving the disabled list finds nothing to outline.
    std::vector<Stroka>().swap(rows_);
    state_.stats.Clear();
    listIndex_ = 0;
    toldSelected_ = -1;
    frame_ = Frame::None;
    frameOverText_ = false;
    clickPending_ = false;
    doublePress_ = false;
    lastPressButton_ = Qt::NoButton;
    picture_->setEnabled(false);
    vscroll_->hide();
    picture_->update();
}

void ListBilet::Add()
{
    const qint32 t = qint32(rows_.size());
    if (t >= store_.BiletCount())
        return; // every ticket of the set is listed already
    const BILETCls &bilet = store_.Bilet(t);
    QString text = state_.RegimState == Rezhim::Zagruzka ? bilet.Nomer : FittedText(bilet.Nomer);
    if (t == 0)
        picture_->setEnabled(true);
    rows_.push_back(Stroka{std::move(text)});
    if (t == 0) {
        // The first row gets the bar outlined in its own colour: no focus frame,
        // unless the empty list had been handed the focus already.
        SelectStroka();
        SetSelectionFrame(picture_->hasFocus() ? Frame::Yellow : Frame::Navy);
    } else {
        UpdateRow(t);
    }
    SetScroll();
}

void ListBilet::NewNomer()
{
    const qint32 cur = store_.CurBilet();
    // A ticket still being keyed in has no row yet.
    if (!Exists(cur))
        return;
    const bool moved = cur != listIndex_;
    if (moved)
        UnselectStroka();
    listIndex_ = cur;
    Stroka &row = rows_[std::size_t(cur)];
    row.text = store_.Bilet(cur).Nomer;
    row.textUnderStats = false;
    // The bar is filled afresh, which wipes any frame around it.
    frame_ = Frame::None;
    frameOverText_ = false;
    UpdateRow(cur);
    if (moved)
        TellSelection();
}

void ListBilet::StatsChanged(ListStats::Change change, const std::vector<qint32> &rows)
{
    switch (change) {
    case ListStats::Change::Rows: {
        // Only the rows in view are repainted.
        const qint64 first = ScrollValue();
        const qint64 last = first + LogicalHeight() / kRowHeight;
        for (qint32 row : rows)
            if (row >= first && row <= last && Exists(row))
                UpdateRow(row);
        return;
    }
    case ListStats::Change::Start:
        // Each row's statistics area is erased over its text.
        for (Stroka &r : rows_)
            r.textUnderStats = true;
        break;
    case ListStats::Change::All:
        break;
    }
    picture_->update();
}

void ListBilet::SetListIndex(qint32 index)
{
    if (!Exists(index))
        return;
    UnselectStroka();
    listIndex_ = index;
    SelectStroka();
    // Set from outside, the frame tells the truth about the focus.
    SetSelectionFrame(picture_->hasFocus() ? Frame::Yellow : Frame::Navy);
}

void ListBilet::SetLineWidth(qint32 width)
{
    lineWidth_ = width;
    picture_->update();
}

ListBilet::RowView ListBilet::Row(qint32 i) const
{
    if (!Exists(i))
        throw std::out_of_range("ListBilet: no such row");
    const Stroka &row = rows_[std::size_t(i)];
    RowView view;
    view.text = row.text;
    view.selected = i == listIndex_;
    view.frame = view.selected ? frame_ : Frame::None;
    const ListStats::Row &stats = state_.stats.At(i);
    if (stats.HasCount())
        view.count = stats.count;
    view.plus = stats.plus;
    if (stats.awaited != 0)
        view.awaited = stats.awaited;
    view.lider = stats.lider;
    return view;
}

QWidget *ListBilet::Picture() const
{
    return picture_;
}

qint32 ListBilet::ScrollValue() const
{
    return vscroll_->value();
}

QImage ListBilet::RenderVisible() const
{
    QImage image(LogicalWidth(), LogicalHeight(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter p(&image);
    PaintRows(p, image.rect());
    return image;
}

QString ListBilet::FittedText(const QString &nomer) const
{
    // Leading characters go first, so the end of the number stays readable.
    // With kerning and optional shaping off, the width of plain Latin or Cyrillic
    // text is the sum of its characters' advances (exact multiples of 1/64 pixel),
    // so each tail is one subtraction away from the previous one.
    double width = 0;
    bool summable = true;
    for (QChar c : nomer) {
        const double advance = Advance(c);
        if (advance < 0) {
            summable = false;
            break;
        }
        width += advance;
    }
    if (summable) {
        qsizetype drop = 0;
        while (drop < nomer.size() && qRound(width) > lineWidth_)
            width -= Advance(nomer.at(drop++));
        return drop == 0 ? nomer : nomer.mid(drop);
    }
    QString text = nomer;
    while (!text.isEmpty() && metrics_.horizontalAdvance(text) > lineWidth_) {
        const bool pair = text.size() > 1 && text.at(0).isHighSurrogate() && text.at(1).isLowSurrogate();
        text.remove(0, pair ? 2 : 1);
    }
    return text;
}

double ListBilet::Advance(QChar c) const
{
    const char16_t code = c.unicode();
    if (code >= advances_.size())
        return -1;
    double &advance = advances_[code];
    if (advance == kUnknownAdvance) {
        switch (c.category()) {
        // These combine with their neighbours or draw nothing of their own.
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Other_PrivateUse:
        case QChar::Other_NotAssigned:
            advance = -1;
            break;
        default:
            advance = QFontMetricsF(font()).horizontalAdvance(c);
            break;
        }
    }
    return advance;
}

void ListBilet::UnselectStroka()
{
    rows_[std::size_t(listIndex_)].textUnderStats = false;
    frame_ = Frame::None;
    frameOverText_ = false;
    UpdateRow(listIndex_);
}

void ListBilet::SelectStroka()
{
    rows_[std::size_t(listIndex_)].textUnderStats = false;
    // The frame is drawn before the text, so the text lies over it.
    frame_ = Frame::Yellow;
    frameOverText_ = false;
    UpdateRow(listIndex_);
    TellSelection();
}

void ListBilet::TellSelection()
{
    const qint32 left = toldSelected_;
    toldSelected_ = listIndex_;
    if (!QAccessible::isActive() || !Exists(listIndex_) || left == listIndex_)
        return;
    // Told once the selection has moved, so that each row says what it is now,
    // with the statistics it shows now.
    const auto tell = [this](QAccessible::Event what, qint32 row) {
        QAccessibleEvent name(this, QAccessible::NameChanged);
        name.setChild(row);
        QAccessible::updateAccessibility(&name);
        QAccessibleEvent event(this, what);
        event.setChild(row);
        QAccessible::updateAccessibility(&event);
    };
    if (Exists(left))
        tell(QAccessible::SelectionRemove, left);
    tell(QAccessible::SelectionAdd, listIndex_);
    // The keyboard stands on the selected row: a screen reader follows it there.
    if (picture_->hasFocus()) {
        QAccessibleEvent name(picture_, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&name);
        QAccessibleEvent focus(picture_, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

void ListBilet::SetSelectionFrame(Frame frame)
{
    frame_ = frame;
    frameOverText_ = true;
    UpdateRow(listIndex_);
}

void ListBilet::SetScroll()
{
    const qint32 count = qint32(rows_.size());
    const qint64 overflow = qint64{kRowHeight} * count - LogicalHeight();
    if (overflow > 0) {
        vscroll_->setRange(0, std::max(0, count - kPageRows));
        vscroll_->setPageStep(kPageStep);
        vscroll_->setSingleStep(kArrowStep);
        vscroll_->show();
    } else {
        // Nothing to scroll: the rows stay at the top, where no hidden bar can move them.
        vscroll_->setRange(0, 0);
        vscroll_->hide();
    }
    if (listIndex_ > ScrollValue() + kPageRows)
        SetValue(qint64{listIndex_} - (kPageRows - 1));
}

void ListBilet::SetValue(qint64 value)
{
    vscroll_->setValue(int(std::clamp<qint64>(value, 0, std::numeric_limits<int>::max())));
}

bool ListBilet::ScrollShown() const
{
    return !vscroll_->isHidden();
}

qint32 ListBilet::RowAt(double y) const
{
    const qint64 pictureY = qint64{Surface::RoundPixel(y)} + qint64{kRowHeight} * ScrollValue();
    // Below the last row the pointer is off the rows: the control shows only background there.
    if (pictureY < 0 || pictureY >= qint64{kRowHeight} * qint64(rows_.size()))
        return -1;
    return qint32(pictureY / kRowHeight);
}

void ListBilet::UpdateRow(qint32 row)
{
    const qint64 top = (qint64{row} - ScrollValue()) * kRowHeight;
    if (top + kRowHeight <= 0 || top >= LogicalHeight())
        return;
    picture_->update(QRectF(0, top * zoom_, width(), kRowHeight * zoom_).toAlignedRect());
}

void ListBilet::PaintRows(QPainter &p, const QRect &area) const
{
    p.fillRect(area, VbColor::ToQColor(VbColor::WindowBackground, palette()));
    if (rows_.empty() || area.isEmpty())
        return;
    p.setFont(font());
    const qint64 value = ScrollValue();
    const qint64 first = value + std::max(area.top(), 0) / kRowHeight;
    const qint64 last = std::min<qint64>(qint64(rows_.size()) - 1, value + area.bottom() / kRowHeight);
    for (qint64 r = first; r <= last; ++r)
        PaintRow(p, qint32(r), int((r - value) * kRowHeight));
}

void ListBilet::PaintRow(QPainter &p, qint32 r, int y) const
{
    const Stroka &row = rows_[std::size_t(r)];
    const bool selected = r == listIndex_;
    const int barRight = std::max(lineWidth_, 0);
    const int ascent = metrics_.ascent();
    auto text = [&](int x, const QString &s, const QColor &color) {
        p.setPen(color);
        p.drawText(QPoint(x, y + 1 + ascent), s);
    };
    auto outline = [&] {
        const QColor color = frame_ == Frame::Yellow ? kLightYellow : kNavy;
        p.fillRect(0, y, barRight + 1, 1, color);
        p.fillRect(0, y + kRowHeight - 1, barRight + 1, 1, color);
        p.fillRect(0, y, 1, kRowHeight, color);
        p.fillRect(barRight, y, 1, kRowHeight, color);
    };
    const bool framed = selected && frame_ != Frame::None;

    p.fillRect(0, y, barRight + 1, kRowHeight, selected ? kNavy : kWhite);
    if (framed && !frameOverText_)
        outline();
    const QColor textColor = selected ? kWhite : kBlack;
    if (row.textUnderStats)
        text(kTextX, row.text, textColor);
    const ListStats::Row &stats = state_.stats.At(r);
    // A row with a count has its statistics area erased white.
    if (stats.HasCount()) {
        p.fillRect(kStatsLeft, y, LogicalWidth() - kStatsLeft, kRowHeight, kWhite);
        text(kCountX, ListNumber(stats.count), kBlack);
    }
    if (stats.plus)
        text(kPlusX, QStringLiteral("+"), kBlack);
    if (stats.awaited != 0)
        text(kAwaitedX, ListNumber(stats.awaited), kBlack);
    if (stats.lider)
        text(kLiderX, QStringLiteral("Лидер"), kBlack);
    if (!row.textUnderStats)
        text(kTextX, row.text, textColor);
    if (framed && frameOverText_)
        outline();
}

void ListBilet::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        metrics_ = QFontMetrics(font());
        advances_.fill(kUnknownAdvance);
    }
    QWidget::changeEvent(event);
}

void ListBilet::SetZoom(qreal zoom)
{
    zoom_ = std::clamp<qreal>(zoom, 1, 2);
    QFont scrollFont = font();
    scrollFont.setPointSizeF(font().pointSizeF() * zoom_);
    vscroll_->setFont(scrollFont);
    resizeEvent(nullptr);
    picture_->update();
}

void ListBilet::resizeEvent(QResizeEvent *)
{
    picture_->setGeometry(rect());
    const int scrollWidth = qRound(kScrollWidth * zoom_);
    vscroll_->setGeometry(width() - scrollWidth, 0, scrollWidth, height());
    if (!rows_.empty())
        SetScroll();
}

bool ListBilet::MoveFor(int key, KeyMove &move) const
{
    const qint32 last = qint32(rows_.size()) - 1;
    const qint64 value = ScrollValue();
    const qint64 maximum = vscroll_->maximum();
    // From a selection scrolled out of view, Up and Down start at the top of the page.
    const bool outsidePage = listIndex_ < value || qint64{listIndex_} > value + kPageRows;
    move = KeyMove{};
    switch (key) {
    case Qt::Key_Up:
        if (listIndex_ == 0)
            break;
        if (outsidePage)
            move.index = qint32(value);
        else if ((move.index = listIndex_ - 1) < value)
            move.scroll = value - 1;
        break;
    case Qt::Key_Down:
        if (listIndex_ == last)
            break;
        if (outsidePage)
            move.index = qint32(value);
        else if ((move.index = listIndex_ + 1) > value + kPageRows - 1)
            move.scroll = value + 1;
        break;
    case Qt::Key_PageUp:
        if (listIndex_ == 0 || !ScrollShown())
            break;
        move.scroll = value >= kPageRows ? value - kPageRows : 0;
        move.index = qint32(*move.scroll);
        break;
    case Qt::Key_PageDown:
        if (listIndex_ == last || !ScrollShown())
            break;
        if (value + kPageRows <= maximum) {
            move.scroll = value + kPageRows;
            move.index = qint32(*move.scroll + kPageRows - 1);
        } else {
            move.scroll = maximum;
            move.index = last;
        }
        break;
    case Qt::Key_Home:
        move.index = 0;
        if (ScrollShown())
            move.scroll = 0;
        break;
    case Qt::Key_End:
        move.index = last;
        if (ScrollShown() && maximum >= 0)
            move.scroll = maximum;
        break;
    default:
        return false;
    }
    return true;
}

void ListBilet::PictureKeyDown(QKeyEvent *event)
{
    KeyMove move;
    if (rows_.empty()) {
        event->ignore();
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit DblClick();
    } else if (!MoveFor(event->key(), move)) {
        event->ignore();
    } else {
        event->accept();
        if (move.index < 0)
            return;
        UnselectStroka();
        listIndex_ = move.index;
        if (move.scroll)
            SetValue(*move.scroll);
        SelectStroka();
    }
}

void ListBilet::PictureMouseDown(QMouseEvent *event)
{
    event->accept();
    const QStyleHints *hints = QGuiApplication::styleHints();
    const QPointF global = event->globalPosition();
    const bool secondOfDouble =
        event->button() == Qt::LeftButton && lastPressButton_ == Qt::LeftButton &&
        event->timestamp() - lastPressTime_ < quint64(hints->mouseDoubleClickInterval()) &&
        std::abs(global.x() - lastPressPos_.x()) <= hints->mouseDoubleClickDistance() &&
        std::abs(global.y() - lastPressPos_.y()) <= hints->mouseDoubleClickDistance();
    clickPending_ = false;
    if (secondOfDouble) {
        // The second press of a double click is not a new selection: the first
        // click may have scrolled the list, and the same pointer position now
        // lies over the next row.
        doublePress_ = true;
        lastPressButton_ = Qt::NoButton;
        return;
    }
    doublePress_ = false;
    lastPressButton_ = event->button();
    lastPressTime_ = event->timestamp();
    lastPressPos_ = global;

    const qint32 row = RowAt(event->position().y() / zoom_);
    if (row < 0)
        return;
    if (row != listIndex_) {
        UnselectStroka();
        listIndex_ = row;
        SelectStroka();
    }
    clickPending_ = event->button() == Qt::LeftButton;
}

void ListBilet::PictureMouseUp(QMouseEvent *event)
{
    event->accept();
    const bool click = clickPending_ && event->button() == Qt::LeftButton && !doublePress_ &&
                       rect().contains(event->position().toPoint()) &&
                       RowAt(event->position().y() / zoom_) >= 0;
    clickPending_ = false;
    doublePress_ = false;
    // A click on the partly visible row under the page brings it fully into view.
    if (click && qint64{listIndex_} == qint64{ScrollValue()} + kPageRows)
        SetValue(qint64{ScrollValue()} + 1);
}

void ListBilet::PictureDblClick(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && RowAt(event->position().y() / zoom_) >= 0)
        emit DblClick();
}

void ListBilet::ShowRow(qint32 row)
{
    if (!Exists(row) || !ScrollShown())
        return;
    const qint64 value = ScrollValue();
    if (row < value)
        SetValue(row);
    else if (qint64{row} > value + kPageRows - 1)
        SetValue(qint64{row} - (kPageRows - 1));
}

void ListBilet::PictureWheel(QWheelEvent *event)
{
    event->accept();
    constexpr int kNotch = 120;
    constexpr int kRowsPerNotch = 3;
    wheelRest_ += event->angleDelta().y();
    const int notches = wheelRest_ / kNotch;
    wheelRest_ -= notches * kNotch;
    if (notches != 0 && ScrollShown())
        SetValue(qint64{ScrollValue()} - qint64{kRowsPerNotch} * notches);
}

void ListBilet::PictureFocus(QFocusEvent *event, Frame frame)
{
    // The selected row's statistics changed while the keyboard was elsewhere:
    // a screen reader reads them afresh as the keyboard arrives.
    if (event->gotFocus() && QAccessible::isActive()) {
        QAccessibleEvent name(picture_, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&name);
    }
    // A menu popping up leaves the frame as it is; an empty list has no row to outline.
    if (rows_.empty() || event->reason() == Qt::PopupFocusReason)
        return;
    SetSelectionFrame(frame);
}
