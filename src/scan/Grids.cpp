#include "scan/Grids.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

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
    const double along = (Length(quad[0], quad[1]) + Length(quad[2], quad[3])) / 2;
    // Thin lines survive only when the field is not shrunk.
    const int kWidth = std::clamp(int(along), 180, 720);
    // Corners found on a blurred photo may be a little off: lines are looked
    // for within a fifth of a cell of where they belong.
    const int slack = std::max(3, kWidth / 45);
    const double across = (Length(quad[1], quad[2]) + Length(quad[3], quad[0])) / 2;
    const int height = std::clamp(int(std::lround(kWidth * across / along)), 12, 2 * kWidth);
    const std::vector<cv::Point2f> target{
        {0, 0}, {float(kWidth), 0}, {float(kWidth), float(height)}, {0, float(height)}};
    const std::vector<cv::Point2f> corners(quad.begin(), quad.end());
    cv::Mat flat;
    cv::warpPerspective(ink, flat, cv::getPerspectiveTransform(corners, target), cv::Size(kWidth, height),
                        cv::INTER_LINEAR, cv::BORDER_CONSTANT, cv::Scalar(0));
    // Profiles leave out the frame's edges, which every rectangle has.
    const cv::Rect inner(kWidth / 30, height / 20, kWidth - 2 * (kWidth / 30), height - 2 * (height / 20));
    cv::Mat columns, lines;
    cv::reduce(flat(cv::Rect(0, inner.y, kWidth, inner.height)), columns, 0, cv::REDUCE_AVG, CV_64F);
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

namespace
{

// The fields among the shapes of an ink picture drawn at the given scale.
void FieldsIn(const cv::Mat &ink, double scale, std::vector<Field> &fields)
{
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
        // Cells are about square: a field of 3 rows is 2-5 times as wide as high.
        if (ratio >= 1.6 && ratio <= 5.2)
            three = GridScore(ink, quad, 3);
        if (ratio >= 0.8 && ratio <= 2.6)
            six = GridScore(ink, quad, 6);
        if (std::max(three, six) < 0.85)
            continue;
        for (auto &corner : quad)
            corner *= 1.0 / scale;
        // Six rows hold lines where three rows do, and more.
        if (six < 0.85) {
            fields.push_back({quad});
        } else {
            fields.push_back({RowSlice(quad, 0, 0.5)});
            fields.push_back({RowSlice(quad, 0.5, 1)});
        }
    }
}

} // namespace

std::vector<Field> FindFields(const cv::Mat &rgb)
{
    std::vector<Field> fields;
    if (rgb.empty())
        return fields;
    // Lines are found on a picture of a modest size; the cells are read later
    // from the full one.
    // A small picture is enlarged, so that blurred lines stay lines.
    double scale = std::min(2.0, 1400.0 / std::max(rgb.cols, rgb.rows));
    if (scale >= 1 && scale < 1.2)
        scale = 1;
    cv::Mat small = rgb;
    if (scale != 1)
        cv::resize(rgb, small, cv::Size(), scale, scale, scale < 1 ? cv::INTER_AREA : cv::INTER_CUBIC);
    // The darkest channel: a grid printed in colour is as dark as a black one.
    std::vector<cv::Mat> channels;
    cv::split(small, channels);
    cv::Mat dark = cv::min(cv::min(channels[0], channels[1]), channels[2]);
    const int longSide = std::max(small.cols, small.rows);
    const int block = std::max(15, longSide / 60) | 1;
    // Lines are told from paper against their neighbourhood. Thin pale lines
    // of a small blurred picture fall apart there; they are looked for again
    // with a lower bar and wider joins.
    const auto ink = [&](int bar, int join) {
        cv::Mat found;
        cv::adaptiveThreshold(dark, found, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY_INV, block,
                              bar);
        cv::morphologyEx(found, found, cv::MORPH_CLOSE,
                         cv::getStructuringElement(cv::MORPH_RECT, cv::Size(join, join)));
        return found;
    };
    FieldsIn(ink(7, 3), scale, fields);
    if (fields.size() < 2) {
        std::vector<Field> again;
        FieldsIn(ink(4, 5), scale, again);
        if (again.size() > fields.size())
            fields = std::move(again);
    }
    return fields;
}

} // namespace Scan
