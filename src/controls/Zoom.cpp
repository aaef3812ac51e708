#include "controls/Zoom.h"

#include "controls/InfoStrip.h"
#include "controls/ListBilet.h"
#include "controls/Surface.h"

#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QtMath>
#include <algorithm>
#include <climits>

namespace Zoom
{

int Step(int percent)
{
    const int step = kNormal + (std::clamp(percent, kNormal, kLargest) - kNormal) / kStep * kStep;
    return step;
}

int Larger(int percent)
{
    return Step(Step(percent) + kStep);
}

int Smaller(int percent)
{
    return Step(Step(percent) - kStep);
}

int Fitting(QSize base, QSize space)
{
    for (int percent = kLargest; percent > kNormal; percent -= kStep)
        if (Scaled(base.width(), percent) <= space.width() &&
            Scaled(base.height(), percent) <= space.height())
            return percent;
    return kNormal;
}

int Scaled(int length, int percent)
{
    return int(qCeil(length * qreal(percent) / kNormal));
}

QPoint Placed(QPoint at, int percent)
{
    const qreal zoom = percent / qreal(kNormal);
    return {qRound(at.x() * zoom), qRound(at.y() * zoom)};
}

namespace
{
const char *const kWindowPercent = "zoomPercent";

// The margins and gaps of a layout and of the layouts inside it, that many times larger.
void ScaleLayout(QLayout *layout, int percent)
{
    const QMargins m = layout->contentsMargins();
    layout->setContentsMargins(Scaled(m.left(), percent), Scaled(m.top(), percent),
                               Scaled(m.right(), percent), Scaled(m.bottom(), percent));
    if (layout->spacing() > 0)
        layout->setSpacing(Scaled(layout->spacing(), percent));
    for (int i = 0; i < layout->count(); ++i)
        if (QLayout *inner = layout->itemAt(i)->layout())
            ScaleLayout(inner, percent);
}

// A least or fixed size given at 100 %, that many times larger; what was not given stays so.
QSize ScaledLeast(QSize least, int percent)
{
    return {least.width() > 0 ? Scaled(least.width(), percent) : least.width(),
            least.height() > 0 ? Scaled(least.height(), percent) : least.height()};
}

void ZoomLaidOut(QDialog *dialog, int percent)
{
    // Sizes are asked for as they will be shown, in the desktop's style.
    dialog->ensurePolished();
    // A least size that grew past two thirds of the screen stops there, so the dialog still fits on it.
    QSize room(INT_MAX, INT_MAX);
    if (const QScreen *screen = dialog->screen())
        room = screen->availableGeometry().size() * 2 / 3;
    // The least sizes given by the dialog's maker, read before the layout sets its own.
    const QSize least = dialog->minimumSize();
    std::vector<std::pair<QWidget *, QSize>> children;
    for (QWidget *w : dialog->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        children.emplace_back(w, w->minimumSize());
    // The size it shows at 100 %: the one given, or else the one its layout asks for.
    const bool sizeGiven = dialog->testAttribute(Qt::WA_Resized);
    if (!sizeGiven)
        dialog->adjustSize();
    const QSize base = dialog->size();

    const qreal zoom = percent / qreal(kNormal);
    const auto larger = [zoom](QFont font) {
        font.setPointSizeF(font.pointSizeF() * zoom);
        return font;
    };
    for (const auto &[w, min] : children) {
        w->setFont(larger(w->font()));
        w->setMinimumSize(ScaledLeast(min, percent).boundedTo(room).expandedTo(min));
    }
    dialog->setFont(larger(dialog->font()));
    dialog->setMinimumSize(ScaledLeast(least, percent));
    ScaleLayout(dialog->layout(), percent);
    dialog->layout()->activate();
    if (!sizeGiven)
        dialog->adjustSize();
    QSize wanted =
        dialog->size().expandedTo(QSize(Scaled(base.width(), percent), Scaled(base.height(), percent)));
    // Room to spare is given up before the screen would cut the dialog off; what its controls need is not.
    if (const QScreen *screen = dialog->screen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 9 / 10);
    dialog->resize(wanted.expandedTo(dialog->minimumSizeHint()).expandedTo(dialog->minimumSize()));
}
} // namespace

void SetOfWindow(QWidget *window, int percent)
{
    window->setProperty(kWindowPercent, Step(percent));
}

int OfWindow(const QWidget *widget)
{
    if (!widget)
        return kNormal;
    const QVariant percent = widget->window()->property(kWindowPercent);
    return percent.isValid() ? Step(percent.toInt()) : kNormal;
}

int Dialog(QDialog *dialog)
{
    const int percent = OfWindow(dialog->parentWidget());
    // A dialog opened from this one takes the same size.
    SetOfWindow(dialog, percent);
    if (percent == kNormal)
        return percent;
    if (dialog->layout())
        ZoomLaidOut(dialog, percent);
    else
        ZoomedPlaces(dialog).Apply(percent);
    return percent;
}

} // namespace Zoom

ZoomedPlaces::ZoomedPlaces(QWidget *area) : area_(area), size_(area->size()), font_(area->font())
{
    for (QWidget *w : area->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        places_.push_back(Place{w, w->geometry(), w->font()});
}

void ZoomedPlaces::Apply(int percent)
{
    percent = Zoom::Step(percent);
    if (percent == percent_)
        return;
    percent_ = percent;
    const qreal zoom = percent / qreal(Zoom::kNormal);
    // Edges are scaled rather than sizes, so that controls that touch still touch.
    const auto at = [zoom](int v) { return qRound(v * zoom); };
    const auto larger = [zoom](QFont font) {
        font.setPointSizeF(font.pointSizeF() * zoom);
        return font;
    };
    area_->setFixedSize(Zoom::Scaled(size_.width(), percent), Zoom::Scaled(size_.height(), percent));
    area_->setFont(larger(font_));
    for (const Place &place : places_) {
        QWidget *w = place.widget;
        if (!w)
            continue;
        const QRect g = place.geometry;
        const QPoint topLeft(at(g.left()), at(g.top()));
        if (auto *surface = qobject_cast<Surface *>(w)) {
            // A drawing area keeps its type and its pixels at 1 and draws them larger.
            surface->move(topLeft);
            surface->SetZoom(zoom);
            continue;
        }
        auto *list = qobject_cast<ListBilet *>(w);
        auto *strip = qobject_cast<InfoStrip *>(w);
        // The list and the strip size their own type and parts.
        if (!list && !strip)
            w->setFont(larger(place.font));
        if (w->property("sizedToText").toBool()) {
            w->move(topLeft);
            w->adjustSize();
        } else {
            w->setGeometry(
                QRect(topLeft, QPoint(at(g.left() + g.width()) - 1, at(g.top() + g.height()) - 1)));
        }
        if (list)
            list->SetZoom(zoom);
        if (strip)
            strip->SetZoom(zoom);
    }
}
