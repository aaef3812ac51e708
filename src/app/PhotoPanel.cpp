#include "app/PhotoPanel.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

QPointF Along(QPointF a, QPointF b, double t)
{
    return a + (b - a) * t;
}

} // namespace

PhotoPanel::PhotoPanel(QWidget *parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("PhotoPanel"));
    setWindowTitle(QStringLiteral("Снимок билета"));
    auto *layout = new QVBoxLayout(this);
    captionLabel_ = new QLabel(this);
    captionLabel_->setObjectName(QStringLiteral("PhotoCaption"));
    captionLabel_->setWordWrap(true);
    layout->addWidget(captionLabel_);
    area_ = new QWidget(this);
    area_->setObjectName(QStringLiteral("PhotoPicture"));
    area_->setMinimumSize(240, 180);
    area_->setAccessibleName(QStringLiteral("Снимок билета"));
    area_->installEventFilter(this);
    area_->setCursor(Qt::CrossCursor);
    layout->addWidget(area_, 1);
    auto *buttons = new QHBoxLayout;
    skip_ = new QPushButton(QStringLiteral("Следующий билет (F9)"), this);
    skip_->setObjectName(QStringLiteral("PhotoSkip"));
    stop_ = new QPushButton(QStringLiteral("Закончить (Shift+F9)"), this);
    stop_->setObjectName(QStringLiteral("PhotoStop"));
    missed_ = new QPushButton(QStringLiteral("Пропущен билет (Ctrl+F9)"), this);
    missed_->setObjectName(QStringLiteral("PhotoMissed"));
    missed_->setToolTip(QStringLiteral("На снимке есть билет, которого нет среди найденных: "
                                       "после билетов снимка щёлкните четыре угла его сетки"));
    // The keyboard stays with the card: these are pressed by their keys there.
    for (QPushButton *b : {skip_, missed_, stop_})
        b->setFocusPolicy(Qt::NoFocus);
    buttons->addWidget(skip_);
    buttons->addWidget(missed_);
    buttons->addStretch(1);
    buttons->addWidget(stop_);
    layout->addLayout(buttons);
    connect(skip_, &QPushButton::clicked, this, &PhotoPanel::SkipRequested);
    connect(stop_, &QPushButton::clicked, this, &PhotoPanel::StopRequested);
    connect(missed_, &QPushButton::clicked, this, &PhotoPanel::MissedRequested);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(560, 480);
}

void PhotoPanel::Show(const QImage &preview, double scale, std::vector<Corners> grids, int current,
                      const QString &caption, bool pickCorners)
{
    preview_ = preview;
    scale_ = scale > 0 ? scale : 1.0;
    grids_ = std::move(grids);
    current_ = current;
    pickCorners_ = pickCorners;
    // A picture whose place waits for corners is already being shown them.
    missed_->setEnabled(!pickCorners);
    busy_ = false;
    clicked_.clear();
    SetCaption(caption);
    area_->update();
}

void PhotoPanel::SetCaption(const QString &caption)
{
    caption_ = caption;
    captionLabel_->setText(caption);
}

void PhotoPanel::ResetCorners()
{
    clicked_.clear();
    area_->update();
}

QRectF PhotoPanel::PictureRect() const
{
    if (preview_.isNull())
        return {};
    const QSizeF size = QSizeF(preview_.size()).scaled(QSizeF(area_->size()), Qt::KeepAspectRatio);
    return QRectF(QPointF((area_->width() - size.width()) / 2, (area_->height() - size.height()) / 2), size);
}

QPointF PhotoPanel::ViewPoint(QPointF imagePoint) const
{
    const QRectF rect = PictureRect();
    if (rect.isEmpty())
        return {};
    const double k = rect.width() / preview_.width() * scale_;
    return rect.topLeft() + imagePoint * k;
}

QPointF PhotoPanel::ImagePoint(QPointF viewPoint) const
{
    const QRectF rect = PictureRect();
    if (rect.isEmpty())
        return {};
    const double k = rect.width() / preview_.width() * scale_;
    return (viewPoint - rect.topLeft()) / k;
}

void PhotoPanel::PaintPicture()
{
    QPainter p(area_);
    p.fillRect(area_->rect(), QColor(0x40, 0x40, 0x40));
    const QRectF rect = PictureRect();
    if (rect.isEmpty())
        return;
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawImage(rect, preview_);
    for (int i = 0; i < int(grids_.size()); ++i) {
        Corners v;
        for (std::size_t k = 0; k < 4; ++k)
            v[k] = ViewPoint(grids_[std::size_t(i)][k]);
        const bool current = i == current_;
        // The ticket in hand in a strong colour with its columns; the others of a sheet faintly.
        p.setPen(QPen(current ? QColor(230, 0, 0) : QColor(0, 120, 255, 160), current ? 3 : 2));
        p.drawPolygon(v.data(), 4);
        if (!current)
            continue;
        p.setPen(QPen(QColor(230, 0, 0, 170), 1));
        for (int c = 1; c < 9; ++c)
            p.drawLine(Along(v[0], v[1], c / 9.0), Along(v[3], v[2], c / 9.0));
        // The first corner is the ticket's top left, whichever way the paper lies.
        p.setBrush(QColor(230, 0, 0));
        p.drawEllipse(v[0], 5, 5);
        p.setBrush(Qt::NoBrush);
    }
    if (!clicked_.empty()) {
        p.setPen(QPen(QColor(255, 200, 0), 2));
        p.setBrush(QColor(255, 200, 0));
        QPointF last;
        for (std::size_t k = 0; k < clicked_.size(); ++k) {
            const QPointF v = ViewPoint(clicked_[k]);
            p.drawEllipse(v, 4, 4);
            if (k > 0)
                p.drawLine(last, v);
            last = v;
        }
    }
}

bool PhotoPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == area_) {
        if (event->type() == QEvent::Paint) {
            PaintPicture();
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease && pickCorners_ && !busy_) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::RightButton && !clicked_.empty()) {
                clicked_.pop_back(); // a corner clicked wrongly is taken back
                area_->update();
                return true;
            }
            if (mouse->button() != Qt::LeftButton || !PictureRect().contains(mouse->position()))
                return true;
            clicked_.push_back(ImagePoint(mouse->position()));
            area_->update();
            if (clicked_.size() == 4) {
                Corners corners;
                std::copy(clicked_.begin(), clicked_.end(), corners.begin());
                emit CornersPicked(corners);
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PhotoPanel::closeEvent(QCloseEvent *event)
{
    // Closing the photo ends the import; the card keeps what it holds.
    event->accept();
    emit StopRequested();
}
