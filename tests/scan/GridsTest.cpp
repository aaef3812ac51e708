// Finding the fields of small, blurred tickets: where print touches the frame
// or the thin lines break apart, the field is still found where it lies.
#include "scan/Grids.h"
#include "TicketArt.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <cmath>
#include <functional>

namespace
{

using TicketArt::Level;

double Distance(QPointF a, QPointF b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

double Distance(cv::Point2f a, QPointF b)
{
    return Distance(QPointF(a.x, a.y), b);
}

// A field of 9 x 3 cells of the given size drawn at (x, y) in thin lines of
// the given colour, numbers in some cells, then blurred as a poor lens does.
struct DrawnField {
    QImage image;
    std::array<QPointF, 4> corners;
};

// Cells are as wide as high unless widthShare says otherwise.
DrawnField DrawField(double cell, QColor lines, double blur, const std::function<void(QPainter &)> &extra,
                     double widthShare = 1)
{
    DrawnField drawn;
    const double height = cell;
    cell *= widthShare;
    drawn.image = QImage(int(cell * 13), int(height * 7), QImage::Format_RGB888);
    drawn.image.fill(QColor(250, 248, 240));
    const QPointF at(cell * 2, height * 2);
    {
        QPainter p(&drawn.image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(lines, std::max(1.0, height / 18)));
        for (int col = 0; col <= 9; ++col)
            p.drawLine(at + QPointF(col * cell, 0), at + QPointF(col * cell, 3 * height));
        for (int row = 0; row <= 3; ++row)
            p.drawLine(at + QPointF(0, row * height), at + QPointF(9 * cell, row * height));
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(int(height * 0.55));
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::black);
        for (int row = 0; row < 3; ++row)
            for (int col = (row * 2) % 4; col < 9; col += 2)
                p.drawText(QRectF(at + QPointF(col * cell, row * height), QSizeF(cell, height)),
                           Qt::AlignCenter, QString::number(col * 10 + row + 3));
        extra(p);
    }
    drawn.corners = {at, at + QPointF(9 * cell, 0), at + QPointF(9 * cell, 3 * height),
                     at + QPointF(0, 3 * height)};
    cv::Mat mat(drawn.image.height(), drawn.image.width(), CV_8UC3, drawn.image.bits(),
                std::size_t(drawn.image.bytesPerLine()));
    cv::GaussianBlur(mat, mat, cv::Size(0, 0), blur);
    return drawn;
}

// The corners of the one field found in the picture agree with the drawn ones,
// whichever corner the finder put first.
void ExpectOneFieldAt(const DrawnField &drawn, double tolerance)
{
    const cv::Mat mat(drawn.image.height(), drawn.image.width(), CV_8UC3,
                      const_cast<uchar *>(drawn.image.constBits()), std::size_t(drawn.image.bytesPerLine()));
    const std::vector<Scan::Field> fields = Scan::FindFields(mat);
    ASSERT_EQ(fields.size(), 1u);
    double best = 1e9;
    for (int first = 0; first < 4; ++first) {
        double worst = 0;
        for (int k = 0; k < 4; ++k)
            worst = std::max(worst, Distance(fields[0].quad[(first + k) % 4], drawn.corners[k]));
        best = std::min(best, worst);
    }
    EXPECT_LT(best, tolerance);
}

TEST(Grids, PrintTouchingTheFrameDoesNotPullTheFieldAskew)
{
    // A word printed against the frame below its left end, and a blot on the
    // frame's upper right, join the field's shape: its outline is no longer
    // a quadrilateral of the frame, but the frame's lines still are.
    const double cell = 20;
    const DrawnField drawn = DrawField(cell, QColor(150, 90, 170), 1.3, [&](QPainter &p) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(int(cell * 0.9));
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QPointF(cell * 0.6, cell * 5.75), QStringLiteral("ЛОТО"));
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(cell * 11.2, cell * 1.9), cell * 0.4, cell * 0.3);
    });
    ExpectOneFieldAt(drawn, 0.15 * cell);
}

TEST(Grids, FieldsOfWideCellsAreFound)
{
    // Cells half as wide again as they are high, and a photo taken at a
    // slant that shortens the field across its rows: a field 5-6 times as
    // long as it is high is still a field.
    for (const double widthShare : {1.0, 1.5, 1.9}) {
        SCOPED_TRACE(widthShare);
        const DrawnField drawn = DrawField(
            24, QColor(120, 60, 140), 0.8, [](QPainter &) {}, widthShare);
        ExpectOneFieldAt(drawn, 0.15 * 24);
    }
}

TEST(Grids, TheOtherFieldOfALoneFieldIsLookedForBesideIt)
{
    // Pale lines broken by blur and pictures: one field's lines join into a
    // shape, the other's do not, but they are there beside it.
    TicketArt::ShotOptions options;
    options.level = Level::SmallBlurred;
    const TicketArt::Shot shot = TicketArt::MakeShot(60008, options);
    const QImage rgb = shot.image.convertToFormat(QImage::Format_RGB888);
    const cv::Mat mat(rgb.height(), rgb.width(), CV_8UC3, const_cast<uchar *>(rgb.constBits()),
                      std::size_t(rgb.bytesPerLine()));
    const std::vector<Scan::Field> fields = Scan::FindFields(mat);
    ASSERT_EQ(fields.size(), 2u);
    // Between them the fields span the ticket's grid from corner to corner.
    const auto &truth = shot.tickets[0].corners;
    const double size = Distance(truth[0], truth[2]);
    for (const QPointF &corner : truth) {
        double nearest = 1e9;
        for (const Scan::Field &f : fields)
            for (const cv::Point2f &p : f.quad)
                nearest = std::min(nearest, Distance(p, corner));
        EXPECT_LT(nearest, 0.04 * size);
    }
}

} // namespace
