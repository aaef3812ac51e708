#include "TicketArt.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <random>

namespace TicketArt
{
namespace
{

double Uniform(QRandomGenerator &rng, double from, double to)
{
    return from + rng.generateDouble() * (to - from);
}

int Pick(QRandomGenerator &rng, int count)
{
    return int(rng.bounded(quint32(count)));
}

template <typename T> const T &PickOf(QRandomGenerator &rng, const std::vector<T> &items)
{
    return items[std::size_t(Pick(rng, int(items.size())))];
}

QStringList Installed(const QStringList &wanted)
{
    const QStringList families = QFontDatabase::families();
    QStringList found;
    for (const QString &family : wanted)
        if (families.contains(family))
            found << family;
    return found;
}

QString Digits(QRandomGenerator &rng, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'0' + Pick(rng, 10));
    return text;
}

// Everything that makes one design of ticket differ from another.
struct Design {
    QString numberFamily, textFamily;
    bool numberBold = true;
    int numberSpacing = 100; // per cent
    double numberSize = 0.6; // of the cell height
    QColor numberColour, textColour, titleColour;
    double cellAspect = 1.1;
    QColor lineColour;
    double lineWidth = 2, frameWidth = 3;
    QColor paper, cellTint;
    bool tintAll = false;
    int decoration = 0;
    QColor decorationColour;
    double gap = 1.0; // between the fields, in cell heights; 0: one grid of six rows
    int nomerSlot = 0, tiragSlot = 1, priceSlot = -1;
    int nomerAlign = 0, tiragAlign = 0;
    QString nomerPrefix, tiragPrefix;
    bool barcode = false;
    bool border = false;
    QString title;
};

const std::vector<QColor> kDarkInks{QColor(0, 0, 0),    QColor(20, 25, 60), QColor(45, 20, 15),
                                    QColor(30, 30, 30), QColor(10, 40, 25), QColor(60, 10, 30)};
const std::vector<QColor> kLineColours{QColor(0, 0, 0),     QColor(200, 30, 30),  QColor(30, 60, 180),
                                       QColor(20, 130, 60), QColor(120, 40, 150), QColor(230, 120, 20),
                                       QColor(80, 80, 80),  QColor(0, 120, 150)};
const std::vector<QColor> kPapers{QColor(255, 255, 255), QColor(255, 250, 232), QColor(255, 240, 240),
                                  QColor(236, 245, 255), QColor(255, 252, 215), QColor(238, 250, 236)};
const std::vector<QColor> kBright{QColor(240, 60, 60),   QColor(250, 180, 40),  QColor(80, 160, 250),
                                  QColor(90, 200, 90),   QColor(230, 110, 200), QColor(255, 140, 0),
                                  QColor(180, 200, 255), QColor(255, 200, 200)};

Design RandomDesign(QRandomGenerator &rng, bool heldOut)
{
    const QStringList fonts = heldOut ? HeldOutFonts() : ModelFonts();
    Design d;
    // As many draws whatever is installed, so that a seed gives the same
    // design once a typeface is fixed.
    const auto family = [&] {
        const int at = Pick(rng, std::max(1, int(fonts.size())));
        return fonts.isEmpty() ? QStringLiteral("DejaVu Sans") : fonts[at];
    };
    d.numberFamily = family();
    d.textFamily = family();
    d.numberBold = rng.generateDouble() < 0.7;
    d.numberSize = Uniform(rng, 0.48, 0.7);
    d.numberColour = PickOf(rng, kDarkInks);
    d.textColour = PickOf(rng, kDarkInks);
    d.titleColour = PickOf(rng, kLineColours);
    d.cellAspect = Uniform(rng, 0.95, 1.35);
    d.lineColour = PickOf(rng, kLineColours);
    d.lineWidth = Uniform(rng, 1.2, 3.5);
    d.frameWidth = d.lineWidth * Uniform(rng, 1.0, 2.2);
    d.paper = PickOf(rng, kPapers);
    d.cellTint = PickOf(rng, kBright).lighter(Pick(rng, 2) ? 100 : 125);
    d.cellTint.setAlpha(Pick(rng, 2) ? 40 : 70);
    d.tintAll = rng.generateDouble() < 0.3;
    // Half the decorations are kept for judging, never seen while tuning.
    const int kinds = 4;
    d.decoration = Pick(rng, kinds) + (heldOut ? kinds : 0);
    if (rng.generateDouble() < 0.15)
        d.decoration = -1;
    d.decorationColour = PickOf(rng, kBright);
    d.gap = rng.generateDouble() < 0.15 ? 0 : Uniform(rng, 0.35, 1.6);
    // Where the lines go: 0, 1 above the grid (near, far), 2, 3 below, 4 between the fields.
    std::vector<int> places{0, 1, 2, 3};
    if (d.gap >= 0.7)
        places.push_back(4);
    std::shuffle(places.begin(), places.end(), std::mt19937(rng.generate()));
    d.nomerSlot = places[0];
    d.tiragSlot = places[1];
    d.priceSlot = rng.generateDouble() < 0.5 ? places[2] : -1;
    d.nomerAlign = Pick(rng, 3);
    d.tiragAlign = Pick(rng, 3);
    d.nomerPrefix =
        std::vector<QString>{QStringLiteral("Билет № "), QStringLiteral("№ "), QString(),
                             QStringLiteral("БИЛЕТ №"), QStringLiteral("Номер билета ")}[Pick(rng, 5)];
    d.tiragPrefix = std::vector<QString>{QStringLiteral("Тираж № "), QStringLiteral("ТИРАЖ №"),
                                         QStringLiteral("Тираж ")}[Pick(rng, 3)];
    d.barcode = rng.generateDouble() < 0.5;
    d.border = rng.generateDouble() < 0.5;
    d.title = std::vector<QString>{QStringLiteral("РУССКОЕ ЛОТО"), QStringLiteral("ЗОЛОТОЙ КЛЮЧ"),
                                   QStringLiteral("Лото"), QStringLiteral("ЖИЛИЩНАЯ ЛОТЕРЕЯ")}[Pick(rng, 4)];
    return d;
}

void Decorate(QPainter &p, const QRectF &cell, const Design &d, QRandomGenerator &rng)
{
    QColor c = d.decorationColour;
    p.save();
    p.setClipRect(cell.adjusted(2, 2, -2, -2));
    p.setPen(QPen(c, std::max(1.0, cell.height() / 40)));
    p.setBrush(Qt::NoBrush);
    const QPointF m = cell.center();
    const double r = cell.height() * Uniform(rng, 0.22, 0.38);
    switch (d.decoration) {
    case 0: // hatching
        for (double x = cell.left() - cell.height(); x < cell.right(); x += cell.height() / 6)
            p.drawLine(QPointF(x, cell.bottom()), QPointF(x + cell.height(), cell.top()));
        break;
    case 1: // dots
        p.setBrush(c);
        for (double y = cell.top() + 5; y < cell.bottom(); y += cell.height() / 5)
            for (double x = cell.left() + 5; x < cell.right(); x += cell.height() / 5)
                p.drawEllipse(QPointF(x, y), cell.height() / 30, cell.height() / 30);
        break;
    case 2: // a ball
        p.setBrush(c.lighter(130));
        p.drawEllipse(m, r, r);
        break;
    case 3: // a diamond
    {
        c.setAlpha(150);
        p.setBrush(c);
        p.drawPolygon(
            QPolygonF{{m.x(), m.y() - r}, {m.x() + r, m.y()}, {m.x(), m.y() + r}, {m.x() - r, m.y()}});
        break;
    }
    case 4: // a star
    {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const double a = i * M_PI / 5 - M_PI / 2, rr = i % 2 ? r * 0.45 : r;
            star << QPointF(m.x() + rr * std::cos(a), m.y() + rr * std::sin(a));
        }
        p.setBrush(c);
        p.drawPolygon(star);
        break;
    }
    case 5: // a chequer
        c.setAlpha(90);
        for (double y = cell.top(); y < cell.bottom(); y += cell.height() / 4)
            for (double x = cell.left(); x < cell.right(); x += cell.height() / 4)
                if (int((x - cell.left()) / (cell.height() / 4) + (y - cell.top()) / (cell.height() / 4)) % 2)
                    p.fillRect(QRectF(x, y, cell.height() / 4, cell.height() / 4), c);
        break;
    case 6: // the lottery's letters
    {
        QFont f(d.textFamily);
        f.setPixelSize(int(cell.height() * 0.3));
        f.setItalic(true);
        p.setFont(f);
        p.drawText(cell, Qt::AlignCenter, QStringLiteral("ЛОТО"));
        break;
    }
    case 7: // a four-leaf clover
        p.setBrush(c);
        for (int i = 0; i < 4; ++i) {
            const double a = i * M_PI / 2 + M_PI / 4;
            p.drawEllipse(QPointF(m.x() + r * 0.45 * std::cos(a), m.y() + r * 0.45 * std::sin(a)), r * 0.42,
                          r * 0.42);
        }
        break;
    default:
        break;
    }
    p.restore();
}

void DrawBarcode(QPainter &p, const QRectF &area, QRandomGenerator &rng)
{
    double x = area.left();
    while (x < area.right()) {
        const double w = Uniform(rng, 1, 4) * area.height() / 40;
        if (Pick(rng, 2))
            p.fillRect(QRectF(x, area.top(), w, area.height()), Qt::black);
        x += w;
    }
}

// One ticket on its own paper; the grid's corners in the picture come back in corners.
QImage DrawTicket(const Design &d, const Truth &truth, int cellHeight, QRandomGenerator &rng,
                  std::array<QPointF, 4> &corners)
{
    const double h = cellHeight, w = h * d.cellAspect;
    const double margin = h * 0.6, gap = d.gap * h;
    // Lines keep their share of a cell at any size the ticket is drawn.
    const double pen = h / 64;
    const double top = h * 3.2, bottom = h * 2.6;
    const QSizeF size(9 * w + 2 * margin, top + 6 * h + gap + bottom);
    QImage image(size.toSize(), QImage::Format_RGB32);
    image.fill(d.paper);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    if (d.border) {
        p.setPen(QPen(d.titleColour, h * 0.12));
        p.drawRect(QRectF(h * 0.1, h * 0.1, size.width() - h * 0.2, size.height() - h * 0.2));
    }
    QFont title(d.textFamily);
    title.setPixelSize(int(h * 0.7));
    title.setBold(true);
    p.setFont(title);
    p.setPen(d.titleColour);
    p.drawText(QRectF(margin, h * 0.2, 9 * w, h * 0.9), Qt::AlignCenter, d.title);

    QFont numbers(d.numberFamily);
    numbers.setPixelSize(int(h * d.numberSize));
    numbers.setBold(d.numberBold);
    numbers.setLetterSpacing(QFont::PercentageSpacing, d.numberSpacing);
    const double fieldTop[2] = {top, top + 3 * h + gap};
    for (int field = 0; field < 2; ++field) {
        const QRectF grid(margin, fieldTop[field], 9 * w, 3 * h);
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 9; ++col) {
                const QRectF cell(grid.left() + col * w, grid.top() + row * h, w, h);
                const int n = truth.cells[field * 3 + row][col];
                if (d.tintAll || (n == 0 && d.decoration < 0))
                    p.fillRect(cell, d.cellTint);
                if (n == 0) {
                    Decorate(p, cell, d, rng);
                } else {
                    p.setFont(numbers);
                    p.setPen(d.numberColour);
                    p.drawText(cell, Qt::AlignCenter, QString::number(n));
                }
            }
        }
        p.setPen(QPen(d.lineColour, d.lineWidth * pen));
        for (int col = 1; col < 9; ++col)
            p.drawLine(QPointF(grid.left() + col * w, grid.top()),
                       QPointF(grid.left() + col * w, grid.bottom()));
        for (int row = 1; row < 3; ++row)
            p.drawLine(QPointF(grid.left(), grid.top() + row * h),
                       QPointF(grid.right(), grid.top() + row * h));
        p.setPen(QPen(d.lineColour, d.frameWidth * pen));
        p.setBrush(Qt::NoBrush);
        p.drawRect(grid);
    }
    corners = {QPointF(margin, top), QPointF(margin + 9 * w, top),
               QPointF(margin + 9 * w, fieldTop[1] + 3 * h), QPointF(margin, fieldTop[1] + 3 * h)};

    // The printed lines in their places.
    QFont text(d.textFamily);
    text.setPixelSize(int(h * Uniform(rng, 0.3, 0.42)));
    text.setBold(Pick(rng, 2));
    p.setFont(text);
    p.setPen(d.textColour);
    const auto slotRect = [&](int slot) {
        const double lineH = h * 0.6;
        switch (slot) {
        case 0:
            return QRectF(margin, top - 0.15 * h - lineH, 9 * w, lineH);
        case 1:
            return QRectF(margin, top - 0.85 * h - lineH, 9 * w, lineH);
        case 2:
            return QRectF(margin, fieldTop[1] + 3 * h + 0.15 * h, 9 * w, lineH);
        case 3:
            return QRectF(margin, fieldTop[1] + 3 * h + 0.85 * h, 9 * w, lineH);
        default:
            return QRectF(margin, top + 3 * h + (gap - lineH) / 2, 9 * w, lineH);
        }
    };
    const Qt::Alignment aligns[3] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    p.drawText(slotRect(d.nomerSlot), aligns[d.nomerAlign] | Qt::AlignVCenter, d.nomerPrefix + truth.nomer);
    p.drawText(slotRect(d.tiragSlot), aligns[d.tiragAlign] | Qt::AlignVCenter, d.tiragPrefix + truth.tirag);
    if (d.priceSlot >= 0)
        p.drawText(slotRect(d.priceSlot), aligns[(d.nomerAlign + 1) % 3] | Qt::AlignVCenter,
                   QStringLiteral("Цена %1 руб.").arg(100 * (1 + Pick(rng, 5))));
    if (d.barcode) {
        // Where no line is printed: along the bottom edge.
        const double y = size.height() - h * 0.75;
        DrawBarcode(p, QRectF(margin + 5 * w, y, 3.5 * w, h * 0.5), rng);
    }
    p.end();
    return image;
}

cv::Mat ToMat(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    return cv::Mat(rgb.height(), rgb.width(), CV_8UC3, const_cast<uchar *>(rgb.constBits()),
                   std::size_t(rgb.bytesPerLine()))
        .clone();
}

QImage ToImage(const cv::Mat &mat)
{
    return QImage(mat.data, mat.cols, mat.rows, int(mat.step), QImage::Format_RGB888).copy();
}

QImage Jpeg(const QImage &image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    QImage back;
    back.loadFromData(bytes, "JPG");
    return back.convertToFormat(QImage::Format_RGB888);
}

// Light that falls unevenly, a colour cast, blur and sensor noise.
void Spoil(cv::Mat &picture, QRandomGenerator &rng, double darkest, double blur, double noise)
{
    cv::Mat light(picture.size(), CV_32F);
    const double angle = Uniform(rng, 0, 2 * M_PI), spread = 1.0 - darkest;
    const cv::Point2f spot(float(Uniform(rng, 0, picture.cols)), float(Uniform(rng, 0, picture.rows)));
    const double reach = std::hypot(picture.cols, picture.rows);
    for (int y = 0; y < picture.rows; ++y) {
        auto *row = light.ptr<float>(y);
        for (int x = 0; x < picture.cols; ++x) {
            const double along =
                ((x - picture.cols / 2.0) * std::cos(angle) + (y - picture.rows / 2.0) * std::sin(angle)) /
                reach;
            const double fromSpot = std::hypot(x - spot.x, y - spot.y) / reach;
            row[x] =
                float(std::clamp(1.0 - spread * (0.5 + along) * 0.7 - spread * 0.5 * fromSpot, darkest, 1.0));
        }
    }
    std::vector<cv::Mat> channels;
    cv::split(picture, channels);
    const double cast[3] = {1.0, Uniform(rng, 0.93, 1.0), Uniform(rng, 0.82, 1.0)};
    for (int c = 0; c < 3; ++c) {
        cv::Mat f;
        channels[c].convertTo(f, CV_32F, cast[c]);
        f = f.mul(light);
        f.convertTo(channels[c], CV_8U);
    }
    cv::merge(channels, picture);
    if (blur > 0.05)
        cv::GaussianBlur(picture, picture, cv::Size(0, 0), blur);
    if (noise > 0) {
        cv::Mat grain(picture.size(), CV_16SC3);
        cv::RNG cvRng(rng.generate());
        cvRng.fill(grain, cv::RNG::NORMAL, 0, noise);
        cv::Mat wide;
        picture.convertTo(wide, CV_16SC3);
        wide += grain;
        wide.convertTo(picture, CV_8UC3);
    }
}

cv::Mat Table(QRandomGenerator &rng, cv::Size size)
{
    const std::vector<cv::Scalar> tables{cv::Scalar(120, 80, 50), cv::Scalar(90, 90, 95),
                                         cv::Scalar(40, 40, 45), cv::Scalar(160, 130, 100),
                                         cv::Scalar(70, 100, 70)};
    cv::Mat table(size, CV_8UC3, PickOf(rng, tables));
    cv::Mat grain(size / 8 + cv::Size(1, 1), CV_8UC3);
    cv::RNG cvRng(rng.generate());
    cvRng.fill(grain, cv::RNG::UNIFORM, 0, 40);
    cv::resize(grain, grain, size, 0, 0, cv::INTER_LINEAR);
    table += grain;
    return table;
}

} // namespace

QStringList ModelFonts()
{
    return Installed({"DejaVu Sans",
                      "DejaVu Serif",
                      "DejaVu Sans Mono",
                      "DejaVu Sans Condensed",
                      "Liberation Sans",
                      "Liberation Serif",
                      "Liberation Mono",
                      "FreeSans",
                      "FreeSerif",
                      "FreeMono",
                      "Nimbus Sans",
                      "Nimbus Roman",
                      "Nimbus Sans Narrow",
                      "C059",
                      "P052",
                      "URW Bookman",
                      "URW Gothic",
                      "Noto Mono",
                      "Open Sans",
                      "Roboto",
                      "Roboto Condensed",
                      "Cantarell",
                      "Arimo",
                      "Tinos",
                      "Cousine",
                      "TeX Gyre Termes",
                      "TeX Gyre Pagella",
                      "TeX Gyre Bonum",
                      "TeX Gyre Schola",
                      "TeX Gyre Heros",
                      "Noto Sans",
                      "Noto Serif"});
}

QStringList HeldOutFonts()
{
    return Installed({"PT Sans", "PT Serif", "PT Mono", "PT Sans Narrow", "Carlito", "Caladea",
                      "Linux Libertine O", "Linux Biolinum O", "Lato", "Comfortaa"});
}

Scan::Kletki RandomCells(QRandomGenerator &rng)
{
    Scan::Kletki cells{};
    std::array<std::vector<int>, 9> pools;
    for (int n = 1; n <= 90; ++n)
        pools[n == 90 ? 8 : n / 10].push_back(n);
    std::mt19937 shuffle(rng.generate());
    for (auto &pool : pools)
        std::shuffle(pool.begin(), pool.end(), shuffle);
    for (int row = 0; row < 6; ++row) {
        std::array<int, 9> cols{0, 1, 2, 3, 4, 5, 6, 7, 8};
        std::shuffle(cols.begin(), cols.end(), shuffle);
        for (int k = 0; k < 5; ++k) {
            cells[row][cols[k]] = pools[cols[k]].back();
            pools[cols[k]].pop_back();
        }
    }
    return cells;
}

Shot MakeShot(quint32 seed, const ShotOptions &options)
{
    QRandomGenerator rng(seed);
    Design design = RandomDesign(rng, options.heldOut);
    if (!options.family.isEmpty())
        design.numberFamily = design.textFamily = options.family;
    design.numberSpacing = options.numberSpacing;
    const Level level = options.level;
    int count = options.tickets;
    if (count == 0)
        count = level == Level::Sheet ? 2 + Pick(rng, 3) : level == Level::Phone && Pick(rng, 2) ? 2 + Pick(rng, 3) : 1;

    // The tickets side by side on one sheet, drawn large; larger still for a
    // phone's full-sized picture.
    const int drawCell = level == Level::Phone ? 128 : 64;
    std::vector<QImage> papers;
    std::vector<Truth> truths(static_cast<std::size_t>(count));
    std::vector<std::array<QPointF, 4>> corners(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        truths[i].cells = RandomCells(rng);
        truths[i].nomer = Digits(rng, 6 + Pick(rng, 7));
        truths[i].tirag = QString::number(1000 + Pick(rng, 700));
        papers.push_back(DrawTicket(design, truths[i], drawCell, rng, corners[i]));
    }
    const int across = count == 4 ? 2 : (count == 2 && Pick(rng, 2) ? 2 : 1);
    const int down = (count + across - 1) / across;
    const int spacing = int(drawCell * Uniform(rng, 0.2, 0.8));
    const QSize paper = papers[0].size();
    QImage sheet(across * paper.width() + (across + 1) * spacing,
                 down * paper.height() + (down + 1) * spacing, QImage::Format_RGB32);
    sheet.fill(count > 1 ? QColor(250, 250, 250) : design.paper);
    {
        QPainter p(&sheet);
        for (int i = 0; i < count; ++i) {
            const QPoint at(spacing + (i % across) * (paper.width() + spacing),
                            spacing + (i / across) * (paper.height() + spacing));
            p.drawImage(at, papers[i]);
            for (QPointF &c : corners[i])
                c += at;
        }
    }

    // Size of a cell in the picture, and how the paper lies.
    double cell = 0, tilt = 0, perspective = 0, darkest = 1, blur = 0, noise = 0, margin = 0.03;
    int quarter = 0, quality = 90;
    const bool photo = level != Level::Scan && !(level == Level::Sheet && Pick(rng, 2));
    QSize canvasSize = options.canvas;
    if (photo) {
        cell = Uniform(rng, 32, 80);
        tilt = Uniform(rng, -20, 20);
        perspective = Uniform(rng, 0.02, 0.1);
        darkest = Uniform(rng, 0.45, 0.85);
        blur = Uniform(rng, 0.4, 1.3);
        noise = Uniform(rng, 2, 7);
        quality = 60 + Pick(rng, 31);
        margin = Uniform(rng, 0.05, 0.25);
        const int r = Pick(rng, 10);
        quarter = r < 6 ? 0 : r < 8 ? 1 : 3;
    } else {
        cell = Uniform(rng, 36, 64);
        tilt = Uniform(rng, -2.5, 2.5);
        darkest = Uniform(rng, 0.9, 1.0);
        blur = Uniform(rng, 0.3, 0.7);
        noise = Uniform(rng, 1, 2.5);
        quality = 80 + Pick(rng, 16);
        quarter = Pick(rng, 4) == 0 ? 1 + 2 * Pick(rng, 2) : 0;
    }
    if (level == Level::UpsideDown)
        quarter = 2;
    if (level == Level::SmallBlurred) {
        cell = Uniform(rng, 16, 26);
        blur = Uniform(rng, 0.9, 1.6);
        quality = 50 + Pick(rng, 26);
    }
    if (level == Level::Sheet)
        cell *= 0.8;
    double fill = 0.8; // of the canvas's short side, by the sheet's long side
    if (level == Level::Phone) {
        // Held as the sheet lies best in the frame. A phone's picture at its
        // full size is soft by a pixel or two, more when a little out of
        // focus; a picture blurred beyond that is a small blurred one.
        const bool wide = (sheet.width() >= sheet.height()) != (quarter % 2 == 1);
        canvasSize = wide ? QSize(4000, 3000) : QSize(3000, 4000);
        fill = Uniform(rng, 0.4, 0.85);
        blur = Uniform(rng, 0.6, 2.0);
        // What grain a phone leaves after its own smoothing.
        noise = Uniform(rng, 1.5, 5);
        quality = 70 + Pick(rng, 26);
    }
    if (canvasSize.isValid())
        cell = 0; // set below from the canvas

    // Scale first (area averaging, as a lens does), then turn and tilt.
    cv::Mat flat = ToMat(sheet);
    double scale = cell / drawCell;
    if (canvasSize.isValid())
        scale = fill * std::min(canvasSize.width(), canvasSize.height()) /
                double(std::max(sheet.width(), sheet.height()));
    cv::Mat scaled;
    cv::resize(flat, scaled, cv::Size(), scale, scale, scale < 1 ? cv::INTER_AREA : cv::INTER_CUBIC);
    const double angle = (quarter * 90 + tilt) * M_PI / 180;
    const cv::Point2f middle(scaled.cols / 2.0f, scaled.rows / 2.0f);
    std::vector<cv::Point2f> from{
        {0, 0}, {float(scaled.cols), 0}, {float(scaled.cols), float(scaled.rows)}, {0, float(scaled.rows)}},
        to;
    const double reach = std::max(scaled.cols, scaled.rows);
    for (const cv::Point2f &p : from) {
        const cv::Point2f d = p - middle;
        cv::Point2f turned(float(d.x * std::cos(angle) - d.y * std::sin(angle)),
                           float(d.x * std::sin(angle) + d.y * std::cos(angle)));
        turned += cv::Point2f(float(Uniform(rng, -perspective, perspective) * reach),
                              float(Uniform(rng, -perspective, perspective) * reach));
        to.push_back(turned);
    }
    const cv::Rect2f bounds = cv::boundingRect(to);
    cv::Size canvas(int(bounds.width * (1 + 2 * margin)), int(bounds.height * (1 + 2 * margin)));
    if (canvasSize.isValid())
        canvas = cv::Size(canvasSize.width(), canvasSize.height());
    const cv::Point2f shift(canvas.width / 2.0f - (bounds.x + bounds.width / 2),
                            canvas.height / 2.0f - (bounds.y + bounds.height / 2));
    for (cv::Point2f &p : to)
        p += shift;
    const cv::Mat h = cv::getPerspectiveTransform(from, to);
    cv::Mat picture = photo ? Table(rng, canvas) : cv::Mat(canvas, CV_8UC3, cv::Scalar(245, 245, 245));
    cv::warpPerspective(scaled, picture, h, canvas, cv::INTER_LINEAR, cv::BORDER_TRANSPARENT);
    Spoil(picture, rng, darkest, blur, noise);

    Shot shot;
    shot.image = Jpeg(ToImage(picture), quality);
    for (int i = 0; i < count; ++i) {
        std::vector<cv::Point2f> in, out;
        for (const QPointF &c : corners[i])
            in.emplace_back(float(c.x() * scale), float(c.y() * scale));
        cv::perspectiveTransform(in, out, h);
        Truth truth = truths[i];
        for (int k = 0; k < 4; ++k)
            truth.corners[k] = QPointF(out[k].x, out[k].y);
        shot.tickets.push_back(truth);
    }
    return shot;
}

QImage MakeDecoy(quint32 seed)
{
    QRandomGenerator rng(seed);
    QImage image(1200, 900, QImage::Format_RGB32);
    image.fill(QColor(250, 248, 240));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(22);
    p.setFont(font);
    p.setPen(Qt::black);
    for (int line = 0; line < 12; ++line)
        p.drawText(60, 80 + line * 34,
                   QStringLiteral("Тираж № %1 состоится в воскресенье, 12 %2 2026 года")
                       .arg(1000 + Pick(rng, 700))
                       .arg(Pick(rng, 2) ? QStringLiteral("мая") : QStringLiteral("июня")));
    // A table, but of 4 columns and 5 rows.
    p.setPen(QPen(Qt::black, 2));
    for (int i = 0; i <= 4; ++i)
        p.drawLine(100 + i * 120, 520, 100 + i * 120, 820);
    for (int i = 0; i <= 5; ++i)
        p.drawLine(100, 520 + i * 60, 580, 520 + i * 60);
    for (int i = 0; i < 6; ++i) {
        p.setBrush(PickOf(rng, kBright));
        p.drawEllipse(QPointF(Uniform(rng, 650, 1100), Uniform(rng, 500, 820)), Uniform(rng, 20, 80),
                      Uniform(rng, 20, 80));
    }
    p.end();
    cv::Mat picture = ToMat(image);
    Spoil(picture, rng, 0.7, 0.8, 4);
    return Jpeg(ToImage(picture), 80);
}

QImage DrawCellForModel(QRandomGenerator &rng, const QString &family, bool bold, int nomer, int cellHeight)
{
    // Drawn four times larger, then shrunk to the size a photo gives it and
    // enlarged again, as the reader straightens it.
    const int big = cellHeight * 4;
    const double aspect = Uniform(rng, 0.95, 1.35);
    QImage image(int(big * aspect), big, QImage::Format_RGB32);
    image.fill(PickOf(rng, kPapers));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font(family);
    font.setPixelSize(int(big * Uniform(rng, 0.45, 0.72)));
    font.setBold(bold);
    p.setFont(font);
    p.setPen(PickOf(rng, kDarkInks));
    const QRectF where =
        QRectF(image.rect()).translated(Uniform(rng, -0.06, 0.06) * big, Uniform(rng, -0.05, 0.05) * big);
    p.drawText(where, Qt::AlignCenter, QString::number(nomer));
    // The cell's own lines, caught at its border.
    p.setPen(QPen(PickOf(rng, kLineColours), big * Uniform(rng, 0.02, 0.06)));
    const double off = Uniform(rng, -0.03, 0.03) * big;
    p.drawLine(QPointF(off, 0), QPointF(off, big));
    p.drawLine(QPointF(image.width() + off, 0), QPointF(image.width() + off, big));
    p.end();

    cv::Mat cell = ToMat(image);
    const double seen = Uniform(rng, 14, 70);
    cv::Mat small;
    cv::resize(cell, small, cv::Size(), seen / big, seen / big, cv::INTER_AREA);
    Spoil(small, rng, Uniform(rng, 0.6, 1.0), Uniform(rng, 0.0, 1.1), Uniform(rng, 0, 6));
    QImage spoilt = ToImage(small);
    if (Pick(rng, 2))
        spoilt = Jpeg(spoilt, 50 + Pick(rng, 45));
    cv::Mat back;
    cv::resize(ToMat(spoilt), back, cv::Size(int(cellHeight * aspect), cellHeight), 0, 0, cv::INTER_LINEAR);
    std::vector<cv::Mat> channels;
    cv::split(back, channels);
    cv::Mat brightness = cv::max(cv::max(channels[0], channels[1]), channels[2]);
    return QImage(brightness.data, brightness.cols, brightness.rows, int(brightness.step),
                  QImage::Format_Grayscale8)
        .copy();
}

} // namespace TicketArt
