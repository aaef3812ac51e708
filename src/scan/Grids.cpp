#include "scan/Grids.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace Scan
{
namespace
{

double Length(cv::Point2f a, cv::Point2f b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

// Four corners of a convex shape, when it has them.
bool QuadOf(const std::vector<cv::Point> &hull, Quad &quad)
{
    const double perimeter = cv::arcLength(hull, true);
    std::vector<cv::Point> corners;
    for (double share = 0.01; share <= 0.12; share += 0.005) {
        cv::approxPolyDP(hull, corners, share * perimeter, true);
        if (corners.size() <= 4)
            break;
    }
    if (corners.size() != 4 || !cv::isContourConvex(corners))
        return false;
    for (int i = 0; i < 4; ++i)
        quad[i] = cv::Point2f(corners[i]);
    // Clockwise on screen (y grows downwards).
    double area = 0;
    for (int i = 0; i < 4; ++i)
        area += quad[i].x * quad[(i + 1) % 4].y - quad[(i + 1) % 4].x * quad[i].y;
    if (area < 0)
        std::reverse(quad.begin(), quad.end());
    // The first side along the columns: the longer pair of sides.
    if (Length(quad[0], quad[1]) + Length(quad[2], quad[3]) <
        Length(quad[1], quad[2]) + Length(quad[3], quad[0]))
        std::rotate(quad.begin(), quad.begin() + 1, quad.end());
    return true;
}

// Share of the expected lines found in a profile of ink along one direction.
double LinesFound(const std::vector<double> &profile, int parts, int slack)
{
    const int n = static_cast<int>(profile.size());
    std::vector<double> sorted = profile;
    std::nth_element(sorted.begin(), sorted.begin() + n / 2, sorted.end());
    const double typical = sorted[std::size_t(n / 2)];
    int found = 0;
    for (int k = 1; k < parts; ++k) {
        const int at = k * n / parts;
        double best = 0;
        for (int i = std::max(0, at - slack); i <= std::min(n - 1, at + slack); ++i)
            best = std::max(best, profile[i]);
        // A line crosses most of the field and stands out of what lies around
        // it: of the field as a whole, or, where pictures or numbers fill the
        // cells, of the paper that borders it on both sides within the cells.
        const int half = n / (2 * parts);
        double before = 1, after = 1;
        for (int i = std::max(0, at - half); i < at - slack / 2; ++i)
            before = std::min(before, profile[i]);
        for (int i = at + slack / 2 + 1; i <= std::min(n - 1, at + half); ++i)
            after = std::min(after, profile[i]);
        if (best >= 0.45 && (best >= typical + 0.2 || std::max(before, after) <= best - 0.25))
            ++found;
    }
    // Cells are partly paper: a solid blot is not a grid.
    double middles = 0;
    for (int k = 0; k < parts; ++k)
        middles += profile[std::min(n - 1, (2 * k + 1) * n / (2 * parts))];
    if (middles / parts > 0.8)
        return 0;
    return double(found) / (parts - 1);
}

// A quadrilateral of an ink picture straightened into a rectangle as wide
// as it is long (thin lines survive only when it is not shrunk), within
// 180-720 pixels, and as high as its sides give.
cv::Mat Flat(const cv::Mat &ink, const Quad &quad)
{
    const double along = (Length(quad[0], quad[1]) + Length(quad[2], quad[3])) / 2;
    const double across = (Length(quad[1], quad[2]) + Length(quad[3], quad[0])) / 2;
    const int width = std::clamp(int(along), 180, 720);
    const int height = std::clamp(int(std::lround(width * across / std::max(1.0, along))), 12, 2 * width);
    const std::vector<cv::Point2f> target{
        {0, 0}, {float(width), 0}, {float(width), float(height)}, {0, float(height)}};
    const std::vector<cv::Point2f> corners(quad.begin(), quad.end());
    cv::Mat flat;
    cv::warpPerspective(ink, flat, cv::getPerspectiveTransform(corners, target), cv::Size(width, height),
                        cv::INTER_LINEAR, cv::BORDER_CONSTANT, cv::Scalar(0));
    return flat;
}

} // namespace

Quad Turned(const Quad &quad)
{
    return {quad[2], quad[3], quad[0], quad[1]};
}

Quad RowSlice(const Quad &quad, double from, double to)
{
    const std::vector<cv::Point2f> unit{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const std::vector<cv::Point2f> corners(quad.begin(), quad.end());
    const cv::Mat h = cv::getPerspectiveTransform(unit, corners);
    std::vector<cv::Point2f> slice{{0, float(from)}, {1, float(from)}, {1, float(to)}, {0, float(to)}}, out;
    cv::perspectiveTransform(slice, out, h);
    return {out[0], out[1], out[2], out[3]};
}

double GridScore(const cv::Mat &ink, const Quad &quad, int rows)
{
    const cv::Mat flat = Flat(ink, quad);
    const int width = flat.cols, height = flat.rows;
    // Corners found on a blurred photo may be a little off: lines are looked
    // for within a fifth of a cell of where they belong.
    const int slack = std::max(3, width / 45);
    // Profiles leave out the frame's edges, which every rectangle has.
    const cv::Rect inner(width / 30, height / 20, width - 2 * (width / 30), height - 2 * (height / 20));
    cv::Mat columns, lines;
    cv::reduce(flat(cv::Rect(0, inner.y, width, inner.height)), columns, 0, cv::REDUCE_AVG, CV_64F);
    cv::reduce(flat(cv::Rect(inner.x, 0, inner.width, height)), lines, 1, cv::REDUCE_AVG, CV_64F);
    std::vector<double> across9(columns.begin<double>(), columns.end<double>());
    std::vector<double> acrossRows(lines.begin<double>(), lines.end<double>());
    for (double &v : across9)
        v /= 255;
    for (double &v : acrossRows)
        v /= 255;
    const double columnLines = LinesFound(across9, 9, slack);
    const double rowLines = LinesFound(acrossRows, rows, std::max(3, height / (rows * 5)));
    return std::min(columnLines, rowLines);
}

cv::Point2f Centre(const Quad &q)
{
    return (q[0] + q[1] + q[2] + q[3]) * 0.25f;
}

cv::Point2f Along(const Quad &q)
{
    return ((q[1] - q[0]) + (q[2] - q[3])) * 0.5f;
}

cv::Point2f Across(const Quad &q)
{
    return ((q[3] - q[0]) + (q[2] - q[1])) * 0.5f;
}

bool Inside(const Quad &quad, cv::Point2f point)
{
    const std::vector<cv::Point2f> outline(quad.begin(), quad.end());
    return cv::pointPolygonTest(outline, point, false) > 0;
}

namespace
{

// A straight line through two points.
struct Line {
    cv::Point2f a, b;
};

cv::Point2f Meet(const Line &p, const Line &q)
{
    const cv::Point2f r = p.b - p.a, s = q.b - q.a;
    const float cross = r.x * s.y - r.y * s.x;
    if (std::abs(cross) < 1e-6f)
        return (p.b + q.a) * 0.5f;
    const float t = ((q.a - p.a).x * s.y - (q.a - p.a).y * s.x) / cross;
    return p.a + r * t;
}

// The ink on a field's inner lines exactly where they belong.
double ExactLineInk(const cv::Mat &ink, const Quad &quad, int rows)
{
    constexpr int kCell = 16;
    const std::vector<cv::Point2f> target{
        {0, 0}, {9 * kCell, 0}, {9 * kCell, float(rows * kCell)}, {0, float(rows * kCell)}};
    const std::vector<cv::Point2f> corners(quad.begin(), quad.end());
    cv::Mat flat, columns, lines;
    cv::warpPerspective(ink, flat, cv::getPerspectiveTransform(corners, target),
                        cv::Size(9 * kCell, rows * kCell), cv::INTER_AREA, cv::BORDER_CONSTANT,
                        cv::Scalar(0));
    cv::reduce(flat, columns, 0, cv::REDUCE_AVG, CV_64F);
    cv::reduce(flat, lines, 1, cv::REDUCE_AVG, CV_64F);
    double sum = 0;
    for (int k = 1; k < 9; ++k)
        sum += columns.at<double>(0, k * kCell - 1) + columns.at<double>(0, k * kCell);
    for (int k = 1; k < rows; ++k)
        sum += lines.at<double>(k * kCell - 1, 0) + lines.at<double>(k * kCell, 0);
    return sum;
}

// The quadrilateral moved onto the field's own frame. An outline found from
// the field's shape is pulled askew by print that touches the frame, or by a
// frame line that broke apart; the frame's sides still run straight, each
// along a line of ink. Near each side a few such lines are taken (the
// paper's edge or a line of print may lie there too), and the four that
// hold the most of the field's inner lines between them win. Gives the
// share of inner lines found, as GridScore does.
double FitGrid(const cv::Mat &ink, Quad &quad, int rows)
{
    const double along = (Length(quad[0], quad[1]) + Length(quad[2], quad[3])) / 2;
    const double across = (Length(quad[1], quad[2]) + Length(quad[3], quad[0])) / 2;
    if (along < 20 || across < 8)
        return 0;
    // The field and a margin of half a cell around it, straightened at a
    // size where a cell is some twenty pixels wide.
    constexpr int kCell = 20;
    const int width = 9 * kCell, height = std::max(rows * 6, int(std::lround(width * across / along)));
    const int margin = kCell / 2;
    const std::vector<cv::Point2f> target{{float(margin), float(margin)},
                                          {float(margin + width), float(margin)},
                                          {float(margin + width), float(margin + height)},
                                          {float(margin), float(margin + height)}};
    const std::vector<cv::Point2f> corners(quad.begin(), quad.end());
    const cv::Mat toFlat = cv::getPerspectiveTransform(corners, target);
    cv::Mat flat;
    cv::warpPerspective(ink, flat, toFlat, cv::Size(width + 2 * margin + 1, height + 2 * margin + 1),
                        cv::INTER_AREA, cv::BORDER_CONSTANT, cv::Scalar(0));
    // The lines of most ink between two points within the margin of a
    // side's ends, sampled away from the corners.
    const auto candidates = [&](bool horizontal, int at) {
        const int length = horizontal ? width : height;
        struct Candidate {
            double ink;
            int from, to;
        };
        std::vector<Candidate> all;
        for (int from = at - margin; from <= at + margin; ++from) {
            for (int to = at - margin; to <= at + margin; ++to) {
                double sum = 0;
                int samples = 0;
                for (int t = length / 20; t <= length - length / 20; t += 2) {
                    const int side = int(std::lround(from + (to - from) * double(t) / length));
                    sum += horizontal ? flat.at<std::uint8_t>(side, margin + t)
                                      : flat.at<std::uint8_t>(margin + t, side);
                    ++samples;
                }
                all.push_back({sum / std::max(1, samples), from, to});
            }
        }
        // The best slant for each place of the line's middle; of those, the
        // places that hold more ink than their neighbours within a fifth
        // of a cell, most ink first.
        std::vector<Candidate> byMiddle(std::size_t(4 * margin + 1), Candidate{-1, 0, 0});
        for (const Candidate &c : all) {
            Candidate &slot = byMiddle[std::size_t(c.from + c.to - 2 * (at - margin))];
            if (c.ink > slot.ink)
                slot = c;
        }
        std::vector<Candidate> peaks;
        const int near = std::max(1, 2 * kCell / 5);
        for (int i = 0; i < int(byMiddle.size()); ++i) {
            bool peak = byMiddle[std::size_t(i)].ink >= 0;
            for (int j = std::max(0, i - near); peak && j <= std::min(int(byMiddle.size()) - 1, i + near);
                 ++j)
                peak = byMiddle[std::size_t(j)].ink < byMiddle[std::size_t(i)].ink ||
                       (byMiddle[std::size_t(j)].ink == byMiddle[std::size_t(i)].ink && j >= i);
            if (peak)
                peaks.push_back(byMiddle[std::size_t(i)]);
        }
        std::sort(peaks.begin(), peaks.end(),
                  [](const Candidate &a, const Candidate &b) { return a.ink > b.ink; });
        std::vector<Line> lines;
        for (const Candidate &c : peaks) {
            const float start = float(margin), end = float(margin + length);
            lines.push_back(horizontal ? Line{{start, float(c.from)}, {end, float(c.to)}}
                                       : Line{{float(c.from), start}, {float(c.to), end}});
            if (lines.size() == 3)
                break;
        }
        return lines;
    };
    const std::vector<Line> tops = candidates(true, margin), bottoms = candidates(true, margin + height);
    const std::vector<Line> lefts = candidates(false, margin), rights = candidates(false, margin + width);
    const cv::Mat back = toFlat.inv();
    const std::vector<Line> *sides[4] = {&tops, &rights, &bottoms, &lefts};
    const auto quadOf = [&](const std::array<std::size_t, 4> &pick) {
        const Line &top = (*sides[0])[pick[0]], &right = (*sides[1])[pick[1]];
        const Line &bottom = (*sides[2])[pick[2]], &left = (*sides[3])[pick[3]];
        std::vector<cv::Point2f> fitted{Meet(top, left), Meet(top, right), Meet(bottom, right),
                                        Meet(bottom, left)},
            inImage;
        cv::perspectiveTransform(fitted, inImage, back);
        return Quad{inImage[0], inImage[1], inImage[2], inImage[3]};
    };
    // Every choice of the four sides is weighed by the ink exactly on its
    // inner lines; the likeliest few are judged as any field is. Lines are
    // looked for a little off where they belong, so of outlines that find
    // as many, the one they lie exactly in is better.
    std::vector<std::pair<double, Quad>> choices;
    std::array<std::size_t, 4> pick{};
    for (pick[0] = 0; pick[0] < tops.size(); ++pick[0])
        for (pick[1] = 0; pick[1] < rights.size(); ++pick[1])
            for (pick[2] = 0; pick[2] < bottoms.size(); ++pick[2])
                for (pick[3] = 0; pick[3] < lefts.size(); ++pick[3]) {
                    const Quad q = quadOf(pick);
                    choices.emplace_back(ExactLineInk(ink, q, rows), q);
                }
    const std::size_t judged = std::min<std::size_t>(choices.size(), 8);
    std::partial_sort(choices.begin(), choices.begin() + std::ptrdiff_t(judged), choices.end(),
                      [](const auto &a, const auto &b) { return a.first > b.first; });
    std::pair<double, double> best{-1, -1};
    Quad chosen = quad;
    for (std::size_t i = 0; i < judged; ++i) {
        const std::pair<double, double> found{GridScore(ink, choices[i].second, rows), choices[i].first};
        if (found > best) {
            best = found;
            chosen = choices[i].second;
        }
    }
    quad = chosen;
    return best.first;
}

// How unbroken the lines across a straightened field are at the given
// shares of its height: the share of its width where ink lies on each, on
// the mean. A grid's line runs from side to side; a row of print through the
// middles of cells breaks off between its characters and its cells.
double Wholeness(const cv::Mat &flat, std::initializer_list<double> shares)
{
    const int slack = std::max(2, flat.rows / 30), margin = flat.cols / 30;
    double sum = 0;
    for (const double share : shares) {
        const int y = int(std::lround(share * flat.rows));
        const int top = std::max(0, y - slack), bottom = std::min(flat.rows, y + slack + 1);
        cv::Mat most;
        const cv::Rect band(margin, top, flat.cols - 2 * margin, bottom - top);
        cv::reduce(flat(band), most, 0, cv::REDUCE_MAX);
        sum += cv::countNonZero(most > 127) / double(most.cols);
    }
    return sum / double(shares.size());
}

// The fields among the shapes of an ink picture drawn at the given scale;
// with misses, also the outlines shaped like a field of three rows in which
// no grid was found.
void FieldsIn(const cv::Mat &ink, double scale, std::vector<Field> &fields, std::vector<Quad> *misses = nullptr)
{
    // Fields whose outline was moved onto lines: such a fit may also turn a
    // frame drawn around the whole ticket into a field, which the true
    // fields inside it give away.
    std::vector<bool> fittedFields(fields.size(), false);
    const int longSide = std::max(ink.cols, ink.rows);
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(ink, labels, stats, centroids, 8, CV_32S);
    const int smallest = std::max(60, longSide / 14);
    for (int i = 1; i < count; ++i) {
        const cv::Rect box(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP),
                           stats.at<int>(i, cv::CC_STAT_WIDTH), stats.at<int>(i, cv::CC_STAT_HEIGHT));
        if (std::max(box.width, box.height) < smallest || std::min(box.width, box.height) < 12)
            continue;
        std::vector<std::vector<cv::Point>> contours;
        cv::findContours(labels(box) == i, contours, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_SIMPLE, box.tl());
        std::vector<cv::Point> points, hull;
        for (const auto &contour : contours)
            points.insert(points.end(), contour.begin(), contour.end());
        cv::convexHull(points, hull);
        Quad quad;
        if (!QuadOf(hull, quad))
            continue;
        const double along = Length(quad[0], quad[1]) + Length(quad[2], quad[3]);
        const double across = Length(quad[1], quad[2]) + Length(quad[3], quad[0]);
        const double ratio = along / std::max(1.0, across);
        double three = 0, six = 0;
        bool moved = false;
        // Cells are about square, or up to half as wide again, and a photo
        // taken at a slant shortens a field across its rows more than along:
        // a field of 3 rows is 2-6.5 times as wide as high. Two fields
        // printed as one grid are kept to a narrower range, as the middles
        // of a single field's cells may pass for the lines of six rows.
        if (ratio >= 1.6 && ratio <= 6.5)
            three = GridScore(ink, quad, 3);
        if (ratio >= 0.8 && ratio <= 2.6)
            six = GridScore(ink, quad, 6);
        // An outline that holds some of the lines may be askew: the lines
        // themselves tell where the field lies.
        for (int rows : {3, 6}) {
            double &score = rows == 3 ? three : six;
            if (score < 0.85 && score >= 0.25) {
                // Twice: a corner far off comes nearer with each fit.
                Quad fitted = quad;
                double fittedScore = FitGrid(ink, fitted, rows);
                if (fittedScore > score && fittedScore < 0.85)
                    fittedScore = FitGrid(ink, fitted, rows);
                // The fit mends an outline that is a little off; one that
                // moves a corner by most of a cell found other lines.
                const double cell = std::max(Length(quad[0], quad[1]), Length(quad[2], quad[3])) / 9;
                bool near = true;
                for (int k = 0; k < 4; ++k)
                    near = near && Length(fitted[k], quad[k]) < 0.75 * cell;
                if (near && fittedScore > std::max(three, six)) {
                    moved = true;
                    quad = fitted;
                    (rows == 3 ? six : three) = 0;
                    score = fittedScore;
                }
            }
        }
        // The middles of a single field's cells, full of print, may pass
        // for the lines of six rows; but its own lines run unbroken from
        // side to side where the print does not.
        bool two = false;
        if (six >= 0.85) {
            const cv::Mat flat = Flat(ink, quad);
            two = Wholeness(flat, {1.0 / 6, 0.5, 5.0 / 6}) > 0.8 * Wholeness(flat, {1.0 / 3, 2.0 / 3});
        }
        for (auto &corner : quad)
            corner *= 1.0 / scale;
        if (std::max(three, six) < 0.85) {
            if (misses && ratio >= 1.6 && ratio <= 6.5)
                misses->push_back(quad);
            continue;
        }
        // Six rows hold lines where three rows do, and more.
        if (!two) {
            fields.push_back({quad});
        } else {
            fields.push_back({RowSlice(quad, 0, 0.5)});
            fields.push_back({RowSlice(quad, 0.5, 1)});
        }
        fittedFields.resize(fields.size(), moved);
    }
    std::vector<Field> kept;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const bool holdsAnother =
            fittedFields[i] && std::any_of(fields.begin(), fields.end(), [&](const Field &f) {
                return &f != &fields[i] && Inside(fields[i].quad, Centre(f.quad));
            });
        if (!holdsAnother)
            kept.push_back(fields[i]);
    }
    fields = std::move(kept);
}

// Whether one of two outlines lies over the other: the middle of either
// within the other.
bool Overlap(const Quad &a, const Quad &b)
{
    return Inside(a, Centre(b)) || Inside(b, Centre(a));
}

// Whether two fields of three rows could be the two fields of one ticket: as
// wide, lying the same way, one beside the other across its rows.
bool Partners(const Quad &a, const Quad &b)
{
    const cv::Point2f along = Along(a), across = Across(a), otherAlong = Along(b);
    const double width = std::hypot(along.x, along.y), height = std::hypot(across.x, across.y);
    const double otherWidth = std::hypot(otherAlong.x, otherAlong.y);
    if (width < 1 || height < 1 || otherWidth < 1)
        return false;
    const cv::Point2f shift = Centre(b) - Centre(a);
    const double down = std::abs(shift.dot(across)) / height, sideways = std::abs(shift.dot(along)) / width;
    return down > 0.9 * height && down < 3.6 * height && sideways < 0.2 * width && otherWidth > 0.8 * width &&
           otherWidth < 1.25 * width && std::abs(along.dot(otherAlong)) / (width * otherWidth) > 0.96;
}

// A field found alone: the ticket's other field lies beside it across its
// rows, as wide and lying the same way, where its lines may have broken
// apart too much to join into one shape. Its lines are looked for there, in
// steps along the way from the lone field, on either side of it.
void FindPartners(const cv::Mat &ink, double scale, std::vector<Field> &fields)
{
    const std::size_t found = fields.size();
    for (std::size_t i = 0; i < found; ++i) {
        bool paired = false;
        for (std::size_t j = 0; j < fields.size() && !paired; ++j)
            paired = j != i && Partners(fields[i].quad, fields[j].quad);
        if (paired)
            continue;
        Quad lone = fields[i].quad;
        for (auto &corner : lone)
            corner *= float(scale);
        const cv::Point2f across = Across(lone);
        Quad best{};
        double bestScore = 0;
        for (const float side : {1.0f, -1.0f}) {
            for (float step = 1.0f; step <= 3.5f; step += 0.04f) {
                Quad moved = lone;
                for (auto &corner : moved)
                    corner += across * (side * step);
                const double score = GridScore(ink, moved, 3);
                if (score > bestScore) {
                    bestScore = score;
                    best = moved;
                }
            }
        }
        if (bestScore < 0.25)
            continue;
        // Where it lies is known to within the steps; its own lines tell exactly.
        double score = bestScore;
        Quad fitted = best;
        const double fittedScore = FitGrid(ink, fitted, 3);
        if (fittedScore >= score) {
            best = fitted;
            score = fittedScore;
        }
        if (score < 0.85 || !Partners(lone, best))
            continue;
        for (auto &corner : best)
            corner *= float(1.0 / scale);
        // Never over a field already found, nor around one.
        const bool overlaps =
            std::any_of(fields.begin(), fields.end(), [&](const Field &f) { return Overlap(f.quad, best); });
        if (!overlaps)
            fields.push_back({best});
    }
}

} // namespace

std::vector<Field> WithoutEnclosing(const std::vector<Field> &fields)
{
    std::vector<Field> kept;
    for (const Field &outer : fields) {
        const std::vector<cv::Point2f> corners(outer.quad.begin(), outer.quad.end());
        const double area = cv::contourArea(corners);
        const bool encloses = std::any_of(fields.begin(), fields.end(), [&](const Field &inner) {
            const std::vector<cv::Point2f> within(inner.quad.begin(), inner.quad.end());
            return &inner != &outer && cv::contourArea(within) < 0.5 * area &&
                   Inside(outer.quad, Centre(inner.quad));
        });
        if (!encloses)
            kept.push_back(outer);
    }
    return kept;
}

namespace
{

// The long side of the picture lines are looked for on.
constexpr double kLookSide = 1400;

// The fields found on the picture drawn at the given scale.
std::vector<Field> FieldsAtScale(const cv::Mat &rgb, double scale)
{
    std::vector<Field> fields;
    cv::Mat small = rgb;
    if (scale != 1)
        cv::resize(rgb, small, cv::Size(), scale, scale, scale < 1 ? cv::INTER_AREA : cv::INTER_CUBIC);
    // The darkest channel: a grid printed in colour is as dark as a black one.
    std::vector<cv::Mat> channels;
    cv::split(small, channels);
    const cv::Mat darkest = cv::min(cv::min(channels[0], channels[1]), channels[2]);
    const int longSide = std::max(small.cols, small.rows);
    const int block = std::max(15, longSide / 60) | 1;
    // Lines are told from paper against their neighbourhood. Thin pale lines
    // of a small blurred picture fall apart there; they are looked for again
    // with a lower bar and wider joins.
    const auto ink = [&](const cv::Mat &tone, int bar, int join) {
        cv::Mat found;
        cv::adaptiveThreshold(tone, found, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY_INV, block, bar);
        cv::morphologyEx(found, found, cv::MORPH_CLOSE,
                         cv::getStructuringElement(cv::MORPH_RECT, cv::Size(join, join)));
        return found;
    };
    std::vector<Quad> misses;
    FieldsIn(ink(darkest, 7, 3), scale, fields, &misses);
    if (fields.size() < 2) {
        std::vector<Field> again;
        FieldsIn(ink(darkest, 4, 5), scale, again);
        if (again.size() > fields.size())
            fields = std::move(again);
    }
    // A lone field's partner is looked for first in the same tones.
    if (fields.size() % 2 == 1)
        FindPartners(ink(darkest, 4, 5), scale, fields);
    // Cells tinted in a colour the lines lack (pink cells in grey-green
    // lines, beige ones on green paper) come out as dark as the lines, or
    // darker, in the darkest channel; in one of the colours the lines
    // still stand out. They are looked for there when no ticket was found,
    // and where an outline shaped like a field, apart from every field
    // found, held no grid: what is found there is kept beside the fields
    // found, never over one nor around one.
    const auto apart = [&](const Quad &quad) {
        return std::none_of(fields.begin(), fields.end(), [&](const Field &f) { return Overlap(f.quad, quad); });
    };
    std::vector<Quad> unexplained;
    std::copy_if(misses.begin(), misses.end(), std::back_inserter(unexplained), apart);
    // A field of three rows with cells taller than wide may be both fields
    // of a ticket printed as one grid, its middle line lost in the darkest
    // tone among tinted cells: where one of the colours shows the grid's six
    // rows, the two fields found there take its place.
    std::vector<std::size_t> tall;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (cv::norm(Along(fields[i].quad)) < 2.6 * cv::norm(Across(fields[i].quad)))
            tall.push_back(i);
    std::vector<bool> replaced(fields.size(), false);
    const bool anywhere = fields.size() < 2;
    if (anywhere || !unexplained.empty() || !tall.empty()) {
        const cv::Mat *tone = nullptr;
        std::size_t mostAdded = 0;
        for (const cv::Mat &colour : channels) {
            std::vector<Field> again;
            FieldsIn(ink(colour, 7, 3), scale, again);
            std::size_t added = 0;
            for (const std::size_t i : tall) {
                if (replaced[i])
                    continue;
                std::vector<const Field *> within;
                for (const Field &f : again)
                    if (Inside(fields[i].quad, Centre(f.quad)))
                        within.push_back(&f);
                if (within.size() == 2 && Partners(within[0]->quad, within[1]->quad)) {
                    replaced[i] = true;
                    fields.push_back(*within[0]);
                    fields.push_back(*within[1]);
                    added += 2;
                }
            }
            for (const Field &f : again) {
                const bool explains = std::any_of(unexplained.begin(), unexplained.end(),
                                                  [&](const Quad &miss) { return Overlap(miss, f.quad); });
                if ((anywhere || explains) && apart(f.quad)) {
                    fields.push_back(f);
                    ++added;
                }
            }
            if (added > mostAdded) {
                mostAdded = added;
                tone = &colour;
            }
        }
        if (tone && fields.size() % 2 == 1)
            FindPartners(ink(*tone, 4, 5), scale, fields);
    }
    // Fields added since the tall ones were counted replace none.
    replaced.resize(fields.size(), false);
    std::vector<Field> kept;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (!replaced[i])
            kept.push_back(fields[i]);
    return kept;
}

// The paper the fields were found on, in the picture: tickets side by side
// on a strip or a sheet lie on one piece of paper, lighter than the table
// under it, and those further from the lens have cells too small to be found
// at the scale the fields were. Empty where the paper does not stand out.
cv::Rect PaperAround(const cv::Mat &rgb, double scale, const std::vector<Field> &fields)
{
    cv::Mat small, light, paper, labels;
    cv::resize(rgb, small, cv::Size(), scale, scale, cv::INTER_AREA);
    std::vector<cv::Mat> channels;
    cv::split(small, channels);
    // Paper is light in every colour; a red or green cloth is not.
    const cv::Mat darkest = cv::min(cv::min(channels[0], channels[1]), channels[2]);
    cv::threshold(darkest, light, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU);
    // Print on the paper is closed over: three cells and more of it.
    float cell = 0;
    for (const Field &f : fields)
        cell = std::max(cell, float(cv::norm(Along(f.quad)) / 9 * scale));
    const int join = std::max(3, int(3 * cell)) | 1;
    cv::morphologyEx(light, paper, cv::MORPH_CLOSE,
                     cv::getStructuringElement(cv::MORPH_RECT, cv::Size(join, join)));
    cv::Mat stats, centroids;
    cv::connectedComponentsWithStats(paper, labels, stats, centroids, 8, CV_32S);
    cv::Rect around;
    std::vector<int> labelsSeen;
    double covered = 0;
    for (const Field &f : fields) {
        const cv::Point at(Centre(f.quad) * float(scale));
        if (!cv::Rect(0, 0, labels.cols, labels.rows).contains(at))
            continue;
        const int label = labels.at<int>(at);
        if (label == 0)
            continue;
        const cv::Rect box(stats.at<int>(label, cv::CC_STAT_LEFT), stats.at<int>(label, cv::CC_STAT_TOP),
                           stats.at<int>(label, cv::CC_STAT_WIDTH), stats.at<int>(label, cv::CC_STAT_HEIGHT));
        around = around.area() > 0 ? around | box : box;
        if (std::find(labelsSeen.begin(), labelsSeen.end(), label) == labelsSeen.end()) {
            labelsSeen.push_back(label);
            covered += stats.at<int>(label, cv::CC_STAT_AREA);
        }
    }
    // Paper that covers most of the picture is no help: it is all there is.
    // A strip lying aslant covers far less than the box around it.
    if (covered > 0.5 * labels.total())
        return {};
    return cv::Rect(int(around.x / scale), int(around.y / scale), int(around.width / scale),
                    int(around.height / scale)) &
           cv::Rect(0, 0, rgb.cols, rgb.rows);
}

// The scale a part of the picture is looked at: its long side at most
// kLookSide, never enlarged.
double LookScale(const cv::Rect &part)
{
    return std::min(1.0, kLookSide / std::max(1, std::max(part.width, part.height)));
}

// The fields found in a part of the picture drawn at the given scale, with
// their corners in the whole picture.
std::vector<Field> FieldsOfPart(const cv::Mat &rgb, const cv::Rect &part, double scale)
{
    std::vector<Field> fields = FieldsAtScale(rgb(part), scale);
    for (Field &f : fields)
        for (cv::Point2f &corner : f.quad)
            corner += cv::Point2f(float(part.x), float(part.y));
    return fields;
}

} // namespace

std::vector<Field> FindFields(const cv::Mat &rgb)
{
    if (rgb.empty())
        return {};
    // Lines are found on a picture of a modest size; the cells are read later
    // from the full one.
    // A small picture is enlarged, so that blurred lines stay lines.
    double scale = std::min(2.0, kLookSide / std::max(rgb.cols, rgb.rows));
    if (scale >= 1 && scale < 1.2)
        scale = 1;
    std::vector<Field> fields = FieldsAtScale(rgb, scale);
    // Thin pale lines of a large picture, shrunk that far, fade into the
    // paper: where no ticket showed, they are looked for on a picture twice
    // the size.
    if (fields.size() < 2 && scale < 0.6) {
        std::vector<Field> again = FieldsAtScale(rgb, 2 * scale);
        if (again.size() > fields.size())
            fields = std::move(again);
    }
    if (fields.empty() || scale >= 1)
        return fields;
    // Tickets that fill a corner of a large picture have small cells once it
    // is shrunk, and their grids are placed no closer than those cells allow:
    // the region around them is looked at again, larger, and the fields
    // found there (with any found only before) are kept.
    cv::Rect2f around;
    float reach = 0;
    for (const Field &f : fields) {
        const std::vector<cv::Point2f> corners(f.quad.begin(), f.quad.end());
        const cv::Rect2f box(cv::boundingRect(corners));
        around = around.area() > 0 ? around | box : box;
        reach = std::max(reach, float(cv::norm(Along(f.quad))));
    }
    const cv::Rect region = cv::Rect(cv::Rect2f(around.x - reach / 2, around.y - reach / 2,
                                              around.width + reach, around.height + reach)) &
                          cv::Rect(0, 0, rgb.cols, rgb.rows);
    // Other tickets on the same paper, further from the lens, are looked
    // for on all of it, larger; what is found there beside the fields
    // found so far is kept with them.
    const cv::Rect paper = PaperAround(rgb, scale, fields);
    const auto besideThePaper = [&](std::vector<Field> found) {
        // Paper reaching beyond the region looked at may hold a ticket
        // there, however little of the paper that is.
        const int beyond = int(reach / 4);
        const cv::Point end = paper.br(), inner = region.br();
        const bool above = region.y - paper.y > beyond, below = end.y - inner.y > beyond;
        const bool left = region.x - paper.x > beyond, right = end.x - inner.x > beyond;
        if (paper.area() == 0 || !(above || below || left || right))
            return found;
        // Paper too long to be looked at larger all at once (a strip of
        // three in perspective) is looked at on each side beyond the fields
        // found, reaching a field's length back over them.
        std::vector<cv::Rect> looks{paper};
        if (LookScale(paper) < 1.5 * scale) {
            const int back = int(reach);
            looks.clear();
            if (above)
                looks.emplace_back(paper.x, paper.y, paper.width, region.y + back - paper.y);
            if (below)
                looks.emplace_back(paper.x, inner.y - back, paper.width, end.y - inner.y + back);
            if (left)
                looks.emplace_back(paper.x, paper.y, region.x + back - paper.x, paper.height);
            if (right)
                looks.emplace_back(inner.x - back, paper.y, end.x - inner.x + back, paper.height);
        }
        for (cv::Rect look : looks) {
            look &= paper;
            if (look.empty() || LookScale(look) < 1.5 * scale)
                continue;
            for (const Field &f : FieldsOfPart(rgb, look, LookScale(look)))
                if (std::none_of(found.begin(), found.end(),
                                 [&](const Field &g) { return Overlap(f.quad, g.quad); }))
                    found.push_back(f);
        }
        return found;
    };
    if (region.empty() || LookScale(region) < 1.5 * scale)
        return besideThePaper(fields);
    std::vector<Field> near = FieldsOfPart(rgb, region, LookScale(region));
    if (near.empty())
        return besideThePaper(fields);
    for (const Field &f : fields)
        if (std::none_of(near.begin(), near.end(),
                         [&](const Field &n) { return Inside(n.quad, Centre(f.quad)); }))
            near.push_back(f);
    return besideThePaper(near);
}

} // namespace Scan
