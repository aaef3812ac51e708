#include "controls/Zoom.h"

#include "controls/InfoStrip.h"
#include "controls/ListBilet.h"
#include "controls/Surface.h"

#include <QLabel>
#include <QtMath>
#include <algorithm>

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
