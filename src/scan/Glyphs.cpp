#include "scan/Glyphs.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace Scan
{
namespace
{

// How many pixels of a labelled part lie within a band along the patch's border.
int AlongBorder(const cv::Mat &labels, int label, const cv::Rect &box)
{
    constexpr int kBand = 3;
    int count = 0;
    for (int y = box.y; y < box.br().y; ++y) {
        const int *row = labels.ptr<int>(y);
        const bool edgeRow = y < kBand || y >= labels.rows - kBand;
        for (int x = box.x; x < box.br().x; ++x)
            count += row[x] == label && (edgeRow || x < kBand || x >= labels.cols - kBand);
    }
    return count;
}

} // namespace

int Percentile(const cv::Mat &gray, double share)
{
    int histogram[256] = {};
    for (int y = 0; y < gray.rows; ++y) {
        const auto *row = gray.ptr<std::uint8_t>(y);
        for (int x = 0; x < gray.cols; ++x)
            ++histogram[row[x]];
    }
    const double wanted = share * gray.total();
    double seen = 0;
    for (int v = 0; v < 256; ++v) {
        seen += histogram[v];
        if (seen >= wanted)
            return v;
    }
    return 255;
}

cv::Mat InkMap(const cv::Mat &brightness)
{
    cv::Mat ink(brightness.size(), CV_32F, cv::Scalar(0));
    if (brightness.empty())
        return ink;
    const int paper = Percentile(brightness, 0.90);
    const int print = Percentile(brightness, 0.01);
    // Less contrast than this is paper texture, a shadow or a pale picture.
    if (paper - print < 24)
        return ink;
    brightness.convertTo(ink, CV_32F, -1.0 / (paper - print), double(paper) / (paper - print));
    cv::threshold(ink, ink, 1.0, 1.0, cv::THRESH_TRUNC);
    cv::threshold(ink, ink, 0.0, 0.0, cv::THRESH_TOZERO);
    return ink;
}

std::vector<Glyph> GlyphsOf(const cv::Mat &ink, double minHeight, int expected)
{
    std::vector<Glyph> glyphs;
    if (ink.empty())
        return glyphs;
    cv::Mat solid;
    // Small blurred print keeps only the middle of its strokes above half
    // ink; a lower bar keeps a thin stroke joined to its character.
    cv::compare(ink, 0.4, solid, cv::CMP_GT);
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(solid, labels, stats, centroids, 8, CV_32S);
    const int w = ink.cols, h = ink.rows;

    struct Part {
        cv::Rect box;
        std::vector<int> labels;
    };
    std::vector<Part> parts, specks;
    for (int i = 1; i < count; ++i) {
        const cv::Rect box(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP),
                           stats.at<int>(i, cv::CC_STAT_WIDTH), stats.at<int>(i, cv::CC_STAT_HEIGHT));
        const int area = stats.at<int>(i, cv::CC_STAT_AREA);
        if (area < std::max(4.0, 0.002 * w * h))
            continue;
        const bool atEdge = box.x == 0 || box.y == 0 || box.br().x >= w || box.br().y >= h;
        // A grid line caught at the border is long and thin along the edge,
        // or beside it, a pixel or two in, when the patch was cut that much
        // wide of the line.
        const bool byEdge = box.x <= 2 || box.y <= 2 || box.br().x >= w - 2 || box.br().y >= h - 2;
        const bool thin = std::min(box.width, box.height) <= 2;
        if ((atEdge && (box.width > 0.8 * w || box.height > 0.9 * h || thin)) ||
            (byEdge && thin && std::max(box.width, box.height) > 0.5 * h))
            continue;
        // So are two shorter ones meeting in a corner, where the grid was
        // found a little off: nearly all their ink lies along the border.
        if (atEdge && AlongBorder(labels, i, box) > 0.7 * area)
            continue;
        // Specks of grain and dirt are small both ways.
        if (box.height < minHeight * h && area < 0.012 * w * h) {
            specks.push_back({box, {i}});
            continue;
        }
        parts.push_back({box, {i}});
    }
    // But a small piece just under or over a character is a piece of it that
    // blur parted from the rest (a 4's stem below its bar).
    const std::size_t whole = parts.size();
    for (const Part &speck : specks) {
        const cv::Rect &s = speck.box;
        const bool ofCharacter =
            std::any_of(parts.begin(), parts.begin() + std::ptrdiff_t(whole), [&](const Part &p) {
                const int overlap = std::min(p.box.br().x, s.br().x) - std::max(p.box.x, s.x);
                const int gap = std::max(p.box.y, s.y) - std::min(p.box.br().y, s.br().y);
                return overlap > 0.5 * s.width && gap <= std::max(2, h / 10);
            });
        if (ofCharacter)
            parts.push_back(speck);
    }
    std::sort(parts.begin(), parts.end(), [](const Part &a, const Part &b) { return a.box.x < b.box.x; });
    // Pieces of one character lie over each other (a broken stroke, the dot of
    // a blot); neighbouring characters only touch.
    std::vector<Part> merged;
    for (const Part &part : parts) {
        if (!merged.empty()) {
            Part &last = merged.back();
            const int overlap = std::min(last.box.br().x, part.box.br().x) - std::max(last.box.x, part.box.x);
            if (overlap > 0.5 * std::min(last.box.width, part.box.width)) {
                last.box |= part.box;
                last.labels.insert(last.labels.end(), part.labels.begin(), part.labels.end());
                continue;
            }
        }
        merged.push_back(part);
    }
    // A grid line a few pixels in from a side, where the patch was cut that
    // far wide of it, is as thin as a line, though maybe broken, and taller
    // than the characters beside it: the digits of a number are of one height.
    // Where there are more pieces than characters, a short sliver of line
    // along a side is one too: joined to the digit beside it, a 9 became an 8.
    const bool tooMany = expected > 0 && int(merged.size()) > expected;
    const auto nearSide = [&](const cv::Rect &b, int reach) { return b.x <= reach || b.br().x >= w - reach; };
    std::vector<Part> characters;
    for (std::size_t i = 0; i < merged.size(); ++i) {
        const cv::Rect &b = merged[i].box;
        int others = 0;
        for (std::size_t j = 0; j < merged.size(); ++j)
            if (j != i)
                others = std::max(others, merged[j].box.height);
        const bool tall = nearSide(b, w / 10) && b.width <= std::max(3, b.height / 8) && b.height > 0.6 * h &&
                          others >= 0.3 * h && b.height > 1.2 * others;
        const bool sliver = tooMany && nearSide(b, 2) && b.width <= 2 && b.height >= 4 * b.width;
        if (!tall && !sliver)
            characters.push_back(merged[i]);
    }
    merged = std::move(characters);
    // A thin stroke can break a character in two side by side: when the number
    // of characters is known, the narrowest gaps join pieces until it fits.
    while (expected > 0 && int(merged.size()) > expected) {
        std::size_t narrowest = 1;
        for (std::size_t i = 1; i < merged.size(); ++i)
            if (merged[i].box.x - merged[i - 1].box.br().x <
                merged[narrowest].box.x - merged[narrowest - 1].box.br().x)
                narrowest = i;
        Part &left = merged[narrowest - 1];
        left.box |= merged[narrowest].box;
        left.labels.insert(left.labels.end(), merged[narrowest].labels.begin(),
                           merged[narrowest].labels.end());
        merged.erase(merged.begin() + std::ptrdiff_t(narrowest));
    }
    for (const Part &part : merged) {
        if (part.box.height < minHeight * h)
            continue;
        cv::Mat mask(part.box.size(), CV_8U, cv::Scalar(0));
        const cv::Mat partLabels = labels(part.box);
        for (int label : part.labels)
            mask.setTo(255, partLabels == label);
        cv::dilate(mask, mask, cv::Mat(), cv::Point(-1, -1), 1);
        cv::Mat glyphInk(part.box.size(), CV_32F, cv::Scalar(0));
        ink(part.box).copyTo(glyphInk, mask);
        glyphs.push_back({part.box, glyphInk});
    }
    return glyphs;
}

int ThreeOrFive(const cv::Mat &ink)
{
    // The left fifth of the glyph, from a third of its height down to above
    // its middle: a 5's stroke fills some column of every row there; a 3's
    // top arc ends above it (its ball too, in most serif faces).
    const int top = int(0.32 * ink.rows), bottom = std::max(top + 1, int(0.44 * ink.rows));
    const int width = std::max(1, int(std::ceil(0.2 * ink.cols)));
    if (ink.rows < 5 || ink.cols < 3 || bottom > ink.rows)
        return -1;
    double sum = 0;
    for (int r = top; r < bottom; ++r) {
        double darkest;
        cv::minMaxLoc(ink(cv::Rect(0, r, width, 1)), nullptr, &darkest);
        sum += darkest;
    }
    const double stroke = sum / (bottom - top);
    return stroke < 0.4 ? 3 : stroke > 0.7 ? 5 : -1;
}

double Waist(const cv::Mat &ink)
{
    if (ink.rows < 8 || ink.cols < 3)
        return -1;
    // The width of the ink from its leftmost to its rightmost stroke, row by row.
    const auto width = [&](int r) {
        int left = -1, right = -1;
        for (int c = 0; c < ink.cols; ++c)
            if (ink.at<float>(r, c) > 0.5f) {
                right = c;
                if (left < 0)
                    left = c;
            }
        return left < 0 ? 0 : right - left + 1;
    };
    const auto band = [&](double from, double to, bool narrowest) {
        int found = narrowest ? ink.cols : 0;
        for (int r = int(from * ink.rows); r < std::max(int(from * ink.rows) + 1, int(to * ink.rows)); ++r)
            found = narrowest ? std::min(found, width(r)) : std::max(found, width(r));
        return found;
    };
    const int loops = std::max(band(0.1, 0.35, false), band(0.62, 0.9, false));
    return loops > 0 ? double(band(0.35, 0.62, true)) / loops : -1;
}

Features GlyphFeatures(const cv::Mat &ink)
{
    constexpr int kSide = 20;
    constexpr int kInner = 18;
    Features features{};
    if (ink.empty())
        return features;
    // The height fills the frame; a wide glyph is fitted by its width instead.
    double scale = double(kInner) / ink.rows;
    if (ink.cols * scale > kInner)
        scale = double(kInner) / ink.cols;
    const int sw = std::max(1, int(std::lround(ink.cols * scale)));
    const int sh = std::max(1, int(std::lround(ink.rows * scale)));
    cv::Mat scaled;
    cv::resize(ink, scaled, cv::Size(sw, sh), 0, 0, cv::INTER_AREA);
    cv::Mat frame(kSide, kSide, CV_32F, cv::Scalar(0));
    scaled.copyTo(frame(cv::Rect((kSide - sw) / 2, (kSide - sh) / 2, sw, sh)));
    cv::GaussianBlur(frame, frame, cv::Size(3, 3), 0.8);

    // Stroke directions in a 4 x 4 grid of blocks, 8 directions each.
    cv::Mat gx, gy;
    cv::Sobel(frame, gx, CV_32F, 1, 0, 3);
    cv::Sobel(frame, gy, CV_32F, 0, 1, 3);
    std::array<float, 128> directions{};
    constexpr float kTurn = 2.0f * float(M_PI);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const float dx = gx.at<float>(y, x), dy = gy.at<float>(y, x);
            const float magnitude = std::sqrt(dx * dx + dy * dy);
            if (magnitude < 1e-4f)
                continue;
            float angle = std::atan2(dy, dx);
            if (angle < 0)
                angle += kTurn;
            const float bin = angle / kTurn * 8.0f;
            const int b0 = int(bin) % 8, b1 = (b0 + 1) % 8;
            const float f = bin - std::floor(bin);
            const int block = (y / 5) * 4 + x / 5;
            directions[block * 8 + b0] += magnitude * (1 - f);
            directions[block * 8 + b1] += magnitude * f;
        }
    }
    const float norm =
        std::sqrt(std::inner_product(directions.begin(), directions.end(), directions.begin(), 0.0f));
    for (int i = 0; i < 128; ++i)
        features[i] = norm > 0 ? directions[i] / norm : 0;

    // The shape itself, coarsely, weighted below the directions.
    cv::Mat coarse;
    cv::resize(frame, coarse, cv::Size(8, 8), 0, 0, cv::INTER_AREA);
    for (int i = 0; i < 64; ++i)
        features[128 + i] = std::clamp(coarse.at<float>(i / 8, i % 8), 0.0f, 1.0f) * 0.35f;
    // A one is narrow in every typeface. WidthOf undoes this.
    features[kWidthFeature] = std::clamp(float(ink.cols) / ink.rows / 1.5f, 0.0f, 1.0f) * 0.5f;
    return features;
}

} // namespace Scan
