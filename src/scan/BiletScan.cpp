#include "scan/BiletScan.h"

#include "scan/DigitModel.h"
#include "scan/Glyphs.h"
#include "scan/Grids.h"
#include "scan/LineOcr.h"
#include "scan/NomerLine.h"

#include <QFileInfo>
#include <QImageReader>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

namespace Scan
{
namespace
{

// Cells are read at this height in pixels, whatever the picture's size.
constexpr int kCellHeight = 48;
// Cells lower than this in the picture are small print.
constexpr double kSmallCell = 30;
// Below this, the ticket's own print tells its digits better than the model.
constexpr double kOwnPrintCell = 40;

double Norm(cv::Point2f p)
{
    return std::hypot(p.x, p.y);
}

// The picture inside a quadrilateral, straightened to the given size; the
// quadrilateral may be given in a region of the picture beyond its edges.
cv::Mat Straighten(const cv::Mat &rgb, const Quad &quad, cv::Size size)
{
    const std::vector<cv::Point2f> target{
        {0, 0}, {float(size.width), 0}, {float(size.width), float(size.height)}, {0, float(size.height)}};
    const std::vector<cv::Point2f> corners(quad.begin(), quad.end());
    cv::Mat flat;
    cv::warpPerspective(rgb, flat, cv::getPerspectiveTransform(corners, target), size, cv::INTER_LINEAR,
                        cv::BORDER_REPLICATE);
    return flat;
}

// The brightest channel: dark print stays dark, coloured print turns light.
cv::Mat Brightness(const cv::Mat &rgb)
{
    std::vector<cv::Mat> channels;
    cv::split(rgb, channels);
    return cv::max(cv::max(channels[0], channels[1]), channels[2]);
}

// A field straightened, in the brightness of its print.
struct FlatField {
    cv::Mat v;
    int cellWidth = kCellHeight;
    bool sharpened = false;
    double pictureHeight = kCellHeight; // of a cell, in the picture
};

FlatField Flatten(const cv::Mat &rgb, const Quad &quad, bool sharpen)
{
    const double along = Norm(Along(quad)) / 9, across = Norm(Across(quad)) / 3;
    FlatField flat;
    flat.pictureHeight = across;
    flat.cellWidth = std::clamp(int(std::lround(kCellHeight * along / std::max(1.0, across))),
                                kCellHeight / 2, kCellHeight * 2);
    flat.v = Brightness(Straighten(rgb, quad, cv::Size(9 * flat.cellWidth, 3 * kCellHeight)));
    // Small print blurred by the lens runs its strokes together and fills
    // the hollows of its digits; sharpened back by what a blur of a pixel
    // and a bit of the picture takes away, the digits come apart again.
    flat.sharpened = across < kSmallCell || sharpen;
    if (flat.sharpened) {
        cv::Mat v, blurred;
        flat.v.convertTo(v, CV_32F);
        cv::GaussianBlur(v, blurred, cv::Size(0, 0), 1.2 * kCellHeight / std::max(1.0, across));
        cv::addWeighted(v, 1.7, blurred, -0.7, 0, v);
        v.convertTo(flat.v, CV_8U);
    }
    return flat;
}

cv::Mat CellOf(const FlatField &field, int row, int col, double margin)
{
    const int mx = int(field.cellWidth * margin), my = int(kCellHeight * margin);
    return field.v(cv::Rect(col * field.cellWidth + mx, row * kCellHeight + my, field.cellWidth - 2 * mx,
                            kCellHeight - 2 * my));
}

// How much dark print a cell holds against its own paper. Only what is
// nearly as dark as the field's darkest print counts: a coloured picture in an
// empty cell covers more paper than a thin 1 but is far lighter.
double InkAmount(const cv::Mat &cell, int darkest)
{
    int histogram[256] = {};
    for (int y = 0; y < cell.rows; ++y)
        for (int x = 0; x < cell.cols; ++x)
            ++histogram[cell.at<std::uint8_t>(y, x)];
    int paper = 255;
    for (int v = 255, seen = 0; v >= 0; --v) {
        seen += histogram[v];
        if (seen >= 0.08 * cell.total()) {
            paper = v;
            break;
        }
    }
    // Over half the way from the paper to the darkest print: a large mid-green
    // star beside thin pale print reached two fifths of the way, and over a
    // whole cell outweighed the numbers of its row.
    const int least = std::max(30, (paper - darkest) * 11 / 20);
    double sum = 0;
    for (int v = 0; v < 256; ++v)
        sum += histogram[v] * std::max(0, paper - v - least);
    return sum / cell.total();
}

// The print of a filled cell cut into its digits.
struct CellPrint {
    int row = 0, col = 0;
    bool found = false;  // a units digit is there
    bool merged = false; // two digits ran together and were cut apart
    bool extra = false;  // more characters than the number has
    Features units{};
    int unitsShape = -1;    // 3 or 5 where the units' ink plainly says which
    double unitsWaist = -1; // how pinched the units are about their middle (Waist)
    bool hasTens = false;
    Features tens{};
    cv::Mat unitsInk, tensInk; // the digits' ink as cut, to be measured again
};

// The ink of a cell without the grid's lines that reach into it where the
// grid was found a little off or printed askew: a line runs across nearly
// the whole cell, or down it, which no stroke of a number does.
cv::Mat WithoutLines(const cv::Mat &ink)
{
    cv::Mat solid = ink > 0.4, across, down, lines;
    cv::morphologyEx(solid, across, cv::MORPH_OPEN,
                     cv::getStructuringElement(cv::MORPH_RECT, cv::Size(std::max(3, ink.cols * 7 / 10), 1)));
    // A line across reaches a side of the cell. A long stroke across its
    // middle that reaches neither side is the crossbars of two 4s run
    // together: taken out, "44" was read as 41.
    cv::Mat labels, stats, centroids;
    const int margin = std::max(1, ink.cols / 20);
    const int pieces = cv::connectedComponentsWithStats(across, labels, stats, centroids, 8);
    for (int i = 1; i < pieces; ++i) {
        const int left = stats.at<int>(i, cv::CC_STAT_LEFT), width = stats.at<int>(i, cv::CC_STAT_WIDTH);
        if (left > margin && left + width < ink.cols - margin)
            across.setTo(0, labels == i);
    }
    cv::morphologyEx(solid, down, cv::MORPH_OPEN,
                     cv::getStructuringElement(cv::MORPH_RECT, cv::Size(1, std::max(3, ink.rows * 19 / 20))));
    cv::dilate(across | down, lines, cv::Mat());
    cv::Mat clean = ink.clone();
    clean.setTo(0, lines);
    return clean;
}

// The ink of a piece cut from a glyph, without the empty margins the cut left.
cv::Mat Trimmed(const cv::Mat &ink)
{
    std::vector<cv::Point> points;
    cv::findNonZero(ink > 0.4, points);
    if (points.empty())
        return ink.clone();
    return ink(cv::boundingRect(points)).clone();
}

// Where to cut two digits that truly touch. The column fixes the tens digit,
// so the cut is where the left piece looks most like it and the right piece
// most like some digit; the least ink is no guide, as the hollow of a 0 or an
// 8 holds less ink than the joint.
int TouchingCut(const cv::Mat &both, int col)
{
    const DigitModel &model = DigitModel::Builtin();
    const unsigned tens = col == 8 ? (1u << 8 | 1u << 9) : 1u << col;
    const int from = both.cols * 3 / 8, to = both.cols * 5 / 8;
    const int step = std::max(1, (to - from) / 10);
    int cut = both.cols / 2;
    float best = 1e9f;
    for (int x = from; x <= to; x += step) {
        const std::array<float, 10> left =
            model.Nearest(GlyphFeatures(Trimmed(both(cv::Rect(0, 0, x, both.rows)))), tens);
        const std::array<float, 10> right =
            model.Nearest(GlyphFeatures(Trimmed(both(cv::Rect(x, 0, both.cols - x, both.rows)))));
        const float cost =
            *std::min_element(left.begin(), left.end()) + *std::min_element(right.begin(), right.end());
        if (cost < best) {
            best = cost;
            cut = x;
        }
    }
    return cut;
}

CellPrint CutCell(const cv::Mat &cellV, int row, int col)
{
    CellPrint print;
    print.row = row;
    print.col = col;
    const cv::Mat ink = WithoutLines(InkMap(cellV));
    std::vector<Glyph> glyphs = GlyphsOf(ink, 0.22, col == 0 ? 1 : 2);
    if (glyphs.empty())
        return print;
    // Between two digits lies paper. Print left there is a thin stroke of
    // the units that blur parted from the rest and that was dropped with the
    // specks: the stem alone of a bold 4 is a 1, and 44 was read as 41.
    const bool parted = glyphs.size() == 2 && [&] {
        const cv::Rect &tens = glyphs[0].box, &units = glyphs[1].box;
        const int top = std::min(tens.y, units.y), bottom = std::max(tens.br().y, units.br().y);
        if (units.x - tens.br().x < 1)
            return false;
        const cv::Rect gap(tens.br().x, top, units.x - tens.br().x, bottom - top);
        return cv::countNonZero(ink(gap) > 0.4) >= 4;
    }();
    // No digit is much wider than tall: a shape that is holds both digits of
    // the number run together, and whatever else was found beside it is a
    // stray mark (what is left of a grid line, a speck), never its units.
    bool stray = false;
    if (col > 0 && glyphs.size() > 1) {
        // As tall as the print around it, too: a low wide smudge is no number.
        // A shape no wider than another digit beside it is one wide digit (a
        // bold serif 4), whatever its height.
        int tallest = 0;
        for (const Glyph &g : glyphs)
            tallest = std::max(tallest, g.ink.rows);
        const auto wide = std::find_if(glyphs.begin(), glyphs.end(), [&](const Glyph &g) {
            const bool twin = std::any_of(glyphs.begin(), glyphs.end(), [&](const Glyph &other) {
                return &other != &g && other.ink.rows >= 0.8 * tallest && other.ink.cols >= 0.7 * g.ink.cols;
            });
            return g.ink.cols >= 1.1 * g.ink.rows && g.ink.rows >= 0.8 * tallest && !twin;
        });
        if (wide != glyphs.end()) {
            glyphs = {*wide};
            stray = true;
        }
    }
    // Two shapes need not be two digits: a thin stroke of a 0 can break,
    // leaving its left half joined to the tens digit. A shape as wide as
    // tall beside a much narrower one is more than one digit, and the pair
    // is cut anew; two wide shapes are two wide digits (a bold 4 and a 3).
    const auto narrower = [](const Glyph &a, const Glyph &b) { return a.ink.cols < b.ink.cols; };
    if (col > 0 && glyphs.size() == 2 &&
        std::max(glyphs[0].ink.cols, glyphs[1].ink.cols) >
            0.95 * std::max(glyphs[0].ink.rows, glyphs[1].ink.rows) &&
        std::min(glyphs[0], glyphs[1], narrower).ink.cols <
            0.6 * std::max(glyphs[0], glyphs[1], narrower).ink.cols) {
        const cv::Rect span = glyphs[0].box | glyphs[1].box;
        cv::Mat both(span.size(), CV_32F, cv::Scalar(0));
        for (const Glyph &g : glyphs) {
            cv::Mat into = both(g.box - span.tl());
            cv::max(into, g.ink, into);
        }
        glyphs = {Glyph{span, both}};
    }
    if (col > 0 && glyphs.size() == 1) {
        // Two digits run together.
        const cv::Mat both = glyphs[0].ink;
        if (both.cols < 0.75 * both.rows)
            return print;
        const int cut = TouchingCut(both, col);
        glyphs = {Glyph{{}, Trimmed(both(cv::Rect(0, 0, cut, both.rows)))},
                  Glyph{{}, Trimmed(both(cv::Rect(cut, 0, both.cols - cut, both.rows)))}};
        print.merged = true;
    }
    // The digits of a number are of one height: a piece much lower than the
    // other is a stray mark or a broken stroke, not to be trusted.
    if (glyphs.size() >= 2 &&
        std::min(glyphs[glyphs.size() - 1].ink.rows, glyphs[glyphs.size() - 2].ink.rows) <
            0.75 * std::max(glyphs[glyphs.size() - 1].ink.rows, glyphs[glyphs.size() - 2].ink.rows))
        stray = true;
    print.found = true;
    print.extra = stray || parted || glyphs.size() > (col == 0 ? 1u : 2u);
    print.unitsInk = glyphs.back().ink;
    print.units = GlyphFeatures(print.unitsInk);
    print.unitsShape = ThreeOrFive(print.unitsInk);
    print.unitsWaist = Waist(print.unitsInk);
    if (col > 0) {
        print.hasTens = true;
        print.tensInk = glyphs[glyphs.size() - 2].ink;
        print.tens = GlyphFeatures(print.tensInk);
    }
    return print;
}

// A narrow typeface prints every digit nearly as narrow as a 1 of most
// typefaces, and the model takes its 3s, 4s and 8s for 1s. The ticket's own
// tens digits from 2 up, whose values the columns fix, tell how wide its
// digits are (those of a narrow face touch, and count as they were cut
// apart): where they are narrower or wider than the model's by more than a
// tenth, every glyph is read drawn out to the model's width. A face a
// seventh narrower, read as it printed, had its 8s and 9s taken for 1s. The
// stroke that tells a 3 from a 5 is still judged on the print as it stands.
constexpr double kWidthTolerance = 1.1;
void ToModelWidth(std::vector<CellPrint> &prints)
{
    std::vector<double> widths;
    for (const CellPrint &p : prints)
        if (p.found && p.hasTens && !p.extra && p.col >= 2 && p.tensInk.rows > 0)
            widths.push_back(double(p.tensInk.cols) / p.tensInk.rows);
    if (widths.size() < 6)
        return;
    std::nth_element(widths.begin(), widths.begin() + std::ptrdiff_t(widths.size() / 2), widths.end());
    static const double typical = DigitModel::Builtin().TypicalWidth(0x3fc); // 2 to 9
    const double factor = typical / std::max(0.05, widths[widths.size() / 2]);
    if (typical <= 0 || (factor < kWidthTolerance && factor > 1 / kWidthTolerance))
        return;
    const auto drawnOut = [&](const cv::Mat &ink) {
        cv::Mat out;
        cv::resize(ink, out, cv::Size(std::max(1, int(std::lround(ink.cols * factor))), ink.rows), 0, 0,
                   cv::INTER_LINEAR);
        return out;
    };
    for (CellPrint &p : prints) {
        if (!p.found)
            continue;
        p.units = GlyphFeatures(drawnOut(p.unitsInk));
        if (p.hasTens)
            p.tens = GlyphFeatures(drawnOut(p.tensInk));
    }
}

float FeatureDistance(const Features &a, const Features &b)
{
    float sum = 0;
    for (int i = 0; i < kFeatureSize; ++i)
        sum += (a[i] - b[i]) * (a[i] - b[i]);
    return std::sqrt(sum);
}

// Digits of the ticket's own typeface whose value is known: a tens digit is
// fixed by its column, and a units digit read beyond doubt teaches the rest.
class OwnDigits
{
public:
    // In small print the model's glyphs are furthest from the ticket's, and
    // the ticket's own digits outweigh it even where they have not shown the
    // digit it reads.
    explicit OwnDigits(bool smallPrint = false) : m_smallPrint(smallPrint) {}
    bool smallPrint() const { return m_smallPrint; }

    void Add(int digit, const Features &features) { m_known[digit].push_back(features); }
    // The waist of the 8s the last column's tens print (a 9 of 90 among them
    // moves their middle little).
    void AddEightWaist(double waist)
    {
        if (waist >= 0)
            m_eightWaists.push_back(waist);
    }
    std::optional<double> EightWaist() const
    {
        if (m_eightWaists.empty())
            return std::nullopt;
        std::vector<double> sorted = m_eightWaists;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }

    // The nearest own glyph of each digit; a large value where none is known.
    std::array<float, 10> Nearest(const Features &features) const
    {
        std::array<float, 10> nearest;
        nearest.fill(1e9f);
        for (int d = 0; d < 10; ++d)
            for (const Features &known : m_known[d])
                nearest[d] = std::min(nearest[d], FeatureDistance(features, known));
        return nearest;
    }

private:
    std::array<std::vector<Features>, 10> m_known;
    std::vector<double> m_eightWaists;
    bool m_smallPrint = false;
};

// Small print blurs a 3 and a 5 alike in everything but the stroke that
// parts them (shape, from ThreeOrFive): where the model hesitates between the
// two, that stroke decides. Gives the doubtful reading that overrules the
// model's digit, or nothing where it stands.
std::optional<DigitVote> SettleThreeOrFive(const Features &features, int shape, int digit,
                                           unsigned allowed = 0x3ff)
{
    if ((digit != 3 && digit != 5) || shape < 0 || shape == digit || !(allowed & (1u << shape)))
        return std::nullopt;
    const std::array<float, 10> nearest = DigitModel::Builtin().Nearest(features, allowed);
    if (std::abs(nearest[3] - nearest[5]) >= 0.1f)
        return std::nullopt;
    return DigitVote{shape, true, nearest[shape]};
}

// A bold 0 blurred, or a slashed one, fills its hollow and the model takes
// it for an 8 (50 read as 58 in cells of 189 px). Its sides run straight or
// bulge where an 8 is pinched between its loops: a units digit read as an 8,
// the model near enough a 0 too, whose waist is clearly fuller than the
// ticket's own 8s' is a 0, still in doubt. Print so blurred that its own 8s
// show no waist tells nothing. A ticket whose 8s are all in doubt has none
// to compare: there only a digit with no waist at all is a 0, as no 8 of any
// face, blurred or bold, is that full about its middle.
bool ZeroForEight(const Features &features, double waist, const OwnDigits &own)
{
    const std::optional<double> eights = own.EightWaist();
    if (eights ? waist < 0.9 || waist < *eights + 0.08 : waist < 0.98)
        return false;
    const std::array<float, 10> nearest = DigitModel::Builtin().Nearest(features, 1u | 1u << 8);
    return nearest[0] - nearest[8] < 0.2f;
}

struct DigitRead {
    int digit = -1;
    bool doubtful = true;
    float distance = 1.0f;
};

// Reads a digit by the built-in model and checks it against the ticket's own
// print: where that print knows the digit better, its reading wins and the
// person is asked; where both agree clearly, the model's hesitation is lifted.
DigitRead ReadDigit(const Features &features, unsigned allowed, const OwnDigits &own)
{
    const DigitModel &model = DigitModel::Builtin();
    const DigitVote vote = model.Classify(features, allowed);
    DigitRead read{vote.digit, vote.doubtful, vote.distance};
    const std::array<float, 10> mine = own.Nearest(features);
    int best = -1, second = -1;
    for (int d = 0; d < 10; ++d) {
        if (!(allowed & (1u << d)) || mine[d] > 1e8f)
            continue;
        if (best < 0 || mine[d] < mine[best]) {
            second = best;
            best = d;
        } else if (second < 0 || mine[d] < mine[second]) {
            second = d;
        }
    }
    if (best < 0)
        return read;
    // Clear: much nearer one own digit than any other, and near it.
    const bool clear = second >= 0 && mine[best] < 0.7f * mine[second] && mine[best] < 0.35f;
    if (best == vote.digit) {
        // The ticket's own print lifts the model's doubt only where it knows
        // the digit the model hesitated over as well: a blurred 5 on a ticket
        // that has shown no 5 lies nearest its own 3s, and 65 was read as 63.
        bool knowsOther = true;
        if (vote.doubtful) {
            const std::array<float, 10> theirs = model.Nearest(features, allowed);
            int other = -1;
            for (int d = 0; d < 10; ++d)
                if (d != vote.digit && (allowed & (1u << d)) && (other < 0 || theirs[d] < theirs[other]))
                    other = d;
            knowsOther = other < 0 || mine[other] < 1e8f;
        }
        if (clear && knowsOther)
            read.doubtful = false;
        return read;
    }
    // Where they disagree, the guess is the own digit when it is the nearer
    // of the two and stands apart from the ticket's other digits, and the
    // person is asked: in small blurred print the model took the 4s of 24,
    // 54 and 84 for 6s where the ticket's own 4s told them.
    const std::array<float, 10> theirs = model.Nearest(features, allowed);
    const bool apart = second < 0 || mine[best] < 0.85f * mine[second];
    // The ticket's own print lies nearer its glyphs than any other typeface
    // does: against a digit the ticket has not shown (a 3 where the tens
    // show no 3), its nearer own digit proves nothing, and the model stands,
    // unless the print is small.
    const bool shown = vote.digit >= 0 && mine[vote.digit] < 1e8f;
    if (vote.digit < 0 || (apart && (shown || own.smallPrint()) && mine[best] < theirs[vote.digit])) {
        read.digit = best;
        read.distance = std::min(read.distance, mine[best]);
        read.doubtful = true;
    }
    // A digit the ticket has not shown yet (a units 0, a 9) is no
    // disagreement with its print; one it has shown otherwise is.
    if (shown)
        read.doubtful = true;
    return read;
}

struct CellRead {
    int nomer = 0;
    bool doubtful = true;
    float distance = 1.0f; // how far the units digit was from every known glyph
};

// Reads the number of a filled cell: the column gives the tens, the digits
// read the units; the tens digit, when printed, only confirms.
CellRead ReadCell(const CellPrint &print, const OwnDigits &own)
{
    CellRead read;
    const int col = print.col;
    read.nomer = col == 0 ? 1 : col * 10;
    if (!print.found)
        return read;
    const unsigned allowed = col == 0 ? 0x3fe : 0x3ff;
    DigitRead units = ReadDigit(print.units, allowed, own);
    if (units.digit < 0)
        return read;
    if (const auto settled = SettleThreeOrFive(print.units, print.unitsShape, units.digit, allowed))
        units = {settled->digit, settled->doubtful, settled->distance};
    if (units.digit == 8 && (allowed & 1u) && ZeroForEight(print.units, print.unitsWaist, own))
        units = {0, true, units.distance};
    read.distance = units.distance;
    read.doubtful = units.doubtful || print.merged || print.extra;
    read.nomer = col == 0 ? units.digit : col * 10 + units.digit;
    if (col == 0)
        return read;
    // 80 and 90 share the last column; only the tens digit tells them apart.
    const unsigned tensAllowed = col == 8 && units.digit == 0 ? (1u << 8 | 1u << 9) : 0x3ff;
    const DigitRead tens = ReadDigit(print.tens, tensAllowed, own);
    if (col == 8 && units.digit == 0 && tens.digit == 9)
        read.nomer = 90;
    const int expected = read.nomer == 90 ? 9 : col;
    read.doubtful = read.doubtful || tens.doubtful || tens.digit != expected;
    read.distance = std::max(read.distance, tens.distance);
    return read;
}

// Reads the filled cells of a ticket together: first the tens digits teach
// the ticket's typeface, then every cell is read with it, and the units read
// beyond doubt teach it the digits the tens never show before a last reading.
std::vector<CellRead> ReadCells(const std::vector<CellPrint> &prints, bool learn, bool smallPrint)
{
    OwnDigits own(smallPrint);
    const OwnDigits none;
    if (!learn) {
        std::vector<CellRead> reads;
        for (const CellPrint &print : prints)
            reads.push_back(ReadCell(print, none));
        return reads;
    }
    for (const CellPrint &print : prints) {
        if (!print.found || !print.hasTens || print.merged || print.extra)
            continue;
        // The last column's tens is 8, or 9 for 90 alone.
        if (print.col == 8) {
            own.AddEightWaist(Waist(print.tensInk));
            const DigitRead units = ReadDigit(print.units, 0x3ff, none);
            if (units.digit <= 0 || units.doubtful)
                continue;
        }
        own.Add(print.col, print.tens);
    }
    std::vector<CellRead> reads;
    for (const CellPrint &print : prints)
        reads.push_back(ReadCell(print, own));
    OwnDigits more = own;
    for (std::size_t i = 0; i < prints.size(); ++i)
        if (prints[i].found && !reads[i].doubtful)
            more.Add(reads[i].nomer % 10, prints[i].units);
    for (std::size_t i = 0; i < prints.size(); ++i)
        reads[i] = ReadCell(prints[i], more);
    return reads;
}

// A ticket read one way up: its cells and how plausible the reading is.
struct Reading {
    ScannedBilet bilet;
    double cost = 0;
    // How wide the numbers of the first column print against those of the
    // last: 0 when either has none.
    double firstToLast = 0;
    bool sharpened = false; // both fields' print was sharpened before reading
};

// How wide the print of a cell is, as a share of the cell: the spread of its
// ink from side to side, which neither blur nor a speck changes much.
double PrintWidth(const cv::Mat &cellV)
{
    const cv::Mat ink = WithoutLines(InkMap(cellV));
    cv::Mat columns;
    cv::reduce(ink.mul(ink), columns, 0, cv::REDUCE_SUM, CV_64F);
    double mass = 0, first = 0, second = 0;
    for (int x = 0; x < columns.cols; ++x) {
        const double m = columns.at<double>(0, x);
        mass += m;
        first += m * x;
        second += m * x * x;
    }
    if (mass <= 0)
        return 0;
    const double mean = first / mass;
    return std::sqrt(std::max(0.0, second / mass - mean * mean)) / ink.cols;
}

// Reads both fields, upper first, the way up they are given; with learn, the
// ticket's own print helps to read its digits.
Reading ReadFields(const cv::Mat &rgb, const Quad &upper, const Quad &lower, bool learn, bool sharpen = false)
{
    Reading reading;
    const FlatField fields[2] = {Flatten(rgb, upper, sharpen), Flatten(rgb, lower, sharpen)};
    reading.sharpened = fields[0].sharpened && fields[1].sharpened;
    // The print of the numbers: the darkest tone within the cells of either
    // field. Their lines are left out: a black grid around thin brown print
    // set the bar for ink where the print never reached, and large pale
    // pictures outweighed it.
    int darkest = 255;
    for (const FlatField &field : fields) {
        std::vector<cv::Mat> cells;
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 9; ++col)
                cells.push_back(CellOf(field, row, col, 0.12).clone().reshape(1, 1));
        cv::Mat sorted;
        cv::hconcat(cells, sorted);
        const int at = int(sorted.total() / 200);
        std::nth_element(sorted.begin<std::uint8_t>(), sorted.begin<std::uint8_t>() + at,
                         sorted.end<std::uint8_t>());
        darkest = std::min<int>(darkest, sorted.at<std::uint8_t>(0, at));
    }
    std::vector<CellPrint> prints;
    double widths[2] = {}; // of the first column's numbers and the last's
    int counts[2] = {};
    for (int row = 0; row < 6; ++row) {
        const FlatField &field = fields[row / 3];
        std::array<std::pair<double, int>, 9> ink;
        for (int col = 0; col < 9; ++col)
            ink[col] = {InkAmount(CellOf(field, row % 3, col, 0.12), darkest), col};
        std::sort(ink.begin(), ink.end(), std::greater<>());
        // Five numbers to a row: the five inkiest cells hold them. A cell
        // whose ink is not clearly on its side of the line between them (dim
        // light, blur, dark pictures) is for the person to look at. A cell
        // taken for empty is questioned at far less ink than a third of the
        // faintest number's: on clear print an empty cell, pictures and all,
        // stays under a fifth of it, while in small blurred print a thin "1"
        // alone in its cell can lose to a decorated empty one.
        const double fifth = ink[4].first, sixth = ink[5].first;
        for (int k = 0; k < 9; ++k) {
            const int col = ink[k].second;
            const bool unclear = k < 5 ? ink[k].first < 1.5 * sixth : ink[k].first > 0.3 * fifth;
            if (unclear)
                reading.bilet.doubtful.push_back({row, col});
        }
        // A large picture in an empty cell can outweigh a thin number
        // ("1"): a cell without a digit in it gives way to the inkiest of
        // the others that has one, and the person is asked about both. A
        // cell without ink is no number, whatever picture in it is cut like
        // a digit: a blurred number is better kept where it stands.
        const auto cut = [&](int col) { return CutCell(CellOf(field, row % 3, col, 0.06), row, col); };
        std::vector<CellPrint> rowPrints;
        int next = 5;
        for (int k = 0; k < 5; ++k) {
            CellPrint print = cut(ink[k].second);
            while (!print.found && next < 9 && ink[next].first > 0.1 * fifth) {
                CellPrint other = cut(ink[next].second);
                ++next;
                if (other.found) {
                    reading.bilet.doubtful.push_back({row, print.col});
                    reading.bilet.doubtful.push_back({row, other.col});
                    print = other;
                }
            }
            rowPrints.push_back(print);
        }
        // A large dark picture can hold more ink than a small number beside
        // it (a lone "4" beside a big star). Where the ink does not tell
        // them apart, a cell whose print reads plainly as a number takes the
        // place of one whose print reads as none, and both stay in question.
        const auto plain = [&](const CellPrint &p) {
            return p.found && !p.merged && !p.extra && !ReadCell(p, OwnDigits{}).doubtful;
        };
        for (int k = 5; k < 9 && ink[k].first > 0.3 * fifth; ++k) {
            const int col = ink[k].second;
            if (std::any_of(rowPrints.begin(), rowPrints.end(), [&](const CellPrint &p) { return p.col == col; }))
                continue;
            const CellPrint other = cut(col);
            if (!plain(other))
                continue;
            for (int j = 4; j >= 0 && ink[j].first < 1.5 * sixth; --j) {
                auto chosen = std::find_if(rowPrints.begin(), rowPrints.end(),
                                           [&](const CellPrint &p) { return p.col == ink[j].second; });
                if (chosen != rowPrints.end() && !plain(*chosen)) {
                    reading.bilet.doubtful.push_back({row, chosen->col});
                    reading.bilet.doubtful.push_back({row, col});
                    *chosen = other;
                    break;
                }
            }
        }
        for (const CellPrint &print : rowPrints) {
            if (print.col == 0 || print.col == 8) {
                widths[print.col / 8] += PrintWidth(CellOf(field, row % 3, print.col, 0.12));
                ++counts[print.col / 8];
            }
            prints.push_back(print);
        }
    }
    if (counts[0] > 0 && counts[1] > 0 && widths[1] > 0)
        reading.firstToLast = (widths[0] / counts[0]) / (widths[1] / counts[1]);
    // Which way up is told by the model as it stands: a face the ticket's
    // own print reshapes could fit either way.
    if (learn)
        ToModelWidth(prints);
    const bool smallPrint = std::min(fields[0].pictureHeight, fields[1].pictureHeight) < kOwnPrintCell;
    const std::vector<CellRead> reads = ReadCells(prints, learn, smallPrint);
    for (std::size_t i = 0; i < prints.size(); ++i) {
        const CellRead &read = reads[i];
        const int row = prints[i].row, col = prints[i].col;
        reading.bilet.cells[row][col] = read.nomer;
        reading.cost += read.distance + (read.doubtful ? 0.3 : 0.0);
        if (read.doubtful)
            reading.bilet.doubtful.push_back({row, col});
    }
    // Thirty different numbers: a repeat is a misread on one side or the other.
    for (int col = 0; col < 9; ++col) {
        for (int a = 0; a < 6; ++a) {
            for (int b = a + 1; b < 6; ++b) {
                const int n = reading.bilet.cells[a][col];
                if (n != 0 && n == reading.bilet.cells[b][col]) {
                    reading.bilet.doubtful.push_back({a, col});
                    reading.bilet.doubtful.push_back({b, col});
                }
            }
        }
    }
    auto &doubtful = reading.bilet.doubtful;
    const auto tidy = [&] {
        std::sort(doubtful.begin(), doubtful.end(),
                  [](Cell a, Cell b) { return std::pair(a.row, a.col) < std::pair(b.row, b.col); });
        doubtful.erase(std::unique(doubtful.begin(), doubtful.end()), doubtful.end());
    };
    tidy();
    // A field the reader doubts most of was likely placed a little off its
    // lines (a frame broken by pictures that touch it), and then the cells
    // it took for empty are no surer than its numbers: all of it is for the
    // person to look at.
    for (int field = 0; field < 2; ++field) {
        const auto inField = std::count_if(doubtful.begin(), doubtful.end(),
                                           [&](Cell c) { return c.row / 3 == field; });
        if (2 * inField > 27)
            for (int row = 3 * field; row < 3 * field + 3; ++row)
                for (int col = 0; col < 9; ++col)
                    doubtful.push_back({row, col});
    }
    tidy();
    reading.bilet.corners = {QPointF(upper[0].x, upper[0].y), QPointF(upper[1].x, upper[1].y),
                             QPointF(lower[2].x, lower[2].y), QPointF(lower[3].x, lower[3].y)};
    return reading;
}

// A run of digits printed on one line around the grid.
struct DigitRun {
    QString digits;
    bool doubtful = false;
    bool wordBefore = false; // letters precede it on its line ("Тираж № 1234")
    bool wordAfter = false;  // letters follow it ("100 руб.")
    double distance = 0;     // from the grid, in cells
};

// The recogniser reads best at about thirty pixels to a digit.
constexpr double kLineDigit = 30;

// A printed line with digits in it, cut out for the recogniser.
struct TextLine {
    cv::Mat picture;     // digits kLineDigit pixels high
    cv::Mat level;       // as straightened, shade and colour taken out
    int digitHeight = 1; // in level
    double distance = 0; // from the grid, in cells
};

// Number lines are read at twice the cells' scale: their print is small.
constexpr int kLineCell = 2 * kCellHeight;

// A printed character of a number line, or several run together.
struct Mark {
    cv::Rect box;
    int digit = -1; // -1: a letter, a sign or a picture
    bool doubtful = true;
};

// Reads a mark's ink as digits: one, or several when they ran together in print.
void ReadMark(const cv::Mat &ink, const cv::Rect &box, std::vector<Mark> &into)
{
    const DigitModel &model = DigitModel::Builtin();
    const auto classify = [&](const cv::Rect &part, Mark &mark) {
        const Features features = GlyphFeatures(ink(part));
        DigitVote vote = model.Classify(features);
        const int shape = vote.digit == 3 || vote.digit == 5 ? ThreeOrFive(Trimmed(ink(part))) : -1;
        if (const auto settled = SettleThreeOrFive(features, shape, vote.digit))
            vote = *settled;
        if (vote.digit >= 0 && vote.distance < 1.6f * model.farDistance()) {
            mark.digit = vote.digit;
            mark.doubtful = vote.doubtful;
        }
        return vote.distance;
    };
    Mark whole{box};
    if (box.width <= 0.95 * box.height) {
        classify(box, whole);
        into.push_back(whole);
        return;
    }
    // Digits that ran together: cut where the least ink lies near each even
    // share of the width, for every count of digits that fits, and keep the
    // cut whose pieces are all clearly digits and nearest to known ones.
    cv::Mat columns;
    cv::reduce(ink(box), columns, 0, cv::REDUCE_SUM, CV_32F);
    std::vector<Mark> best;
    double bestDistance = 1e9;
    for (int parts = 2; parts <= 6; ++parts) {
        const double share = double(box.width) / parts / box.height;
        if (share < 0.42 || share > 0.95)
            continue;
        std::vector<int> cuts{0};
        for (int k = 1; k < parts; ++k) {
            const int at = k * box.width / parts, reach = std::max(1, box.width / (parts * 5));
            int cut = at;
            for (int x = std::max(1, at - reach); x <= std::min(box.width - 2, at + reach); ++x)
                if (columns.at<float>(0, x) < columns.at<float>(0, cut))
                    cut = x;
            cuts.push_back(cut);
        }
        cuts.push_back(box.width);
        std::vector<Mark> pieces;
        double total = 0;
        for (int k = 0; k < parts; ++k) {
            Mark piece{cv::Rect(box.x + cuts[k], box.y, cuts[k + 1] - cuts[k], box.height)};
            if (piece.box.width < 2)
                break;
            total += classify(piece.box, piece);
            if (piece.digit < 0)
                break;
            pieces.push_back(piece);
        }
        if (int(pieces.size()) == parts && total / parts < bestDistance) {
            bestDistance = total / parts;
            best = pieces;
        }
    }
    if (best.empty())
        into.push_back(whole);
    else
        into.insert(into.end(), best.begin(), best.end());
}

// The digit runs in a strip around the grid, straightened; a line's distance
// from the grid is distanceAtTop + distanceStep * its height in the strip, in cells.
// With betweenFields, the strip reaches a little into both fields, and
// print its top or bottom edge cuts is the cells' own.
void FindRuns(const cv::Mat &stripV, double distanceAtTop, double distanceStep, std::vector<DigitRun> &runs,
              std::vector<TextLine> &lines, bool betweenFields = false)
{
    // Print is what is clearly darker than the paper, measured against the
    // darkest print around it: thin strokes stay whole, paper stays paper.
    const cv::Mat around = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(kLineCell / 3, kLineCell / 3));
    cv::Mat paper, print, middle, contrast, dark;
    cv::dilate(stripV, paper, around);
    cv::erode(stripV, print, around);
    cv::addWeighted(paper, 0.62, print, 0.38, 0, middle);
    cv::subtract(paper, print, contrast);
    dark = (stripV < middle) & (contrast > 50);
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(dark, labels, stats, centroids, 8, CV_32S);
    std::vector<cv::Rect> boxes;
    for (int i = 1; i < count; ++i) {
        const cv::Rect box(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP),
                           stats.at<int>(i, cv::CC_STAT_WIDTH), stats.at<int>(i, cv::CC_STAT_HEIGHT));
        if (betweenFields && (box.y <= 0 || box.br().y >= stripV.rows))
            continue;
        if (box.height >= 0.1 * kLineCell && box.height <= 0.8 * kLineCell)
            boxes.push_back(box);
    }
    // The ink of every character against its own surroundings.
    cv::Mat ink(stripV.size(), CV_32F, cv::Scalar(0));
    for (const cv::Rect &box : boxes) {
        cv::Rect around = box;
        around -= cv::Point(3, 3);
        around += cv::Size(6, 6);
        around &= cv::Rect(0, 0, stripV.cols, stripV.rows);
        cv::Mat local = InkMap(stripV(around));
        cv::Mat keep = dark(around) > 0;
        cv::dilate(keep, keep, cv::Mat());
        cv::Mat target = ink(around);
        local.copyTo(target, keep);
    }
    // Lines: boxes whose middles lie within each other's height.
    std::sort(boxes.begin(), boxes.end(), [](const cv::Rect &a, const cv::Rect &b) { return a.x < b.x; });
    std::vector<bool> used(boxes.size(), false);
    for (std::size_t seed = 0; seed < boxes.size(); ++seed) {
        if (used[seed])
            continue;
        const cv::Rect first = boxes[seed];
        double middle = first.y + first.height / 2.0, height = first.height;
        // A tall mark at the start of a line (the edge of a frame, a bar of
        // a picture) would make the line its own height and leave out the
        // print's shorter characters: where most marks beside it are
        // clearly lower, the line takes their height and their middle.
        std::vector<double> nearHeights, nearMiddles;
        for (std::size_t j = seed + 1; j < boxes.size(); ++j) {
            const cv::Rect &b = boxes[j];
            if (!used[j] && std::abs(b.y + b.height / 2.0 - middle) < 0.35 * height) {
                nearHeights.push_back(b.height);
                nearMiddles.push_back(b.y + b.height / 2.0);
            }
        }
        if (nearHeights.size() >= 3) {
            std::vector<double> sorted = nearHeights;
            std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
            const double usual = sorted[sorted.size() / 2];
            if (usual < 0.7 * height) {
                std::vector<double> middles;
                for (std::size_t k = 0; k < nearHeights.size(); ++k)
                    if (std::abs(nearHeights[k] - usual) < 0.25 * usual + 1)
                        middles.push_back(nearMiddles[k]);
                std::nth_element(middles.begin(), middles.begin() + middles.size() / 2, middles.end());
                middle = middles[middles.size() / 2];
                height = usual;
            }
        }
        std::vector<Mark> line;
        std::vector<cv::Rect> members;
        for (std::size_t j = seed; j < boxes.size(); ++j) {
            const cv::Rect &b = boxes[j];
            if (!used[j] && std::abs(b.y + b.height / 2.0 - middle) < 0.35 * height &&
                std::abs(b.height - height) < 0.5 * height + 2) {
                used[j] = true;
                members.push_back(b);
            }
        }
        // Pieces of one broken character lie over each other.
        std::vector<cv::Rect> characters;
        for (const cv::Rect &b : members) {
            if (!characters.empty()) {
                cv::Rect &last = characters.back();
                const int overlap = std::min(last.br().x, b.br().x) - std::max(last.x, b.x);
                if (overlap > 0.5 * std::min(last.width, b.width)) {
                    last |= b;
                    continue;
                }
            }
            characters.push_back(b);
        }
        for (const cv::Rect &b : characters)
            ReadMark(ink, b, line);
        // Digits of one number stand on one line and are of one height; a
        // raised small mark (the o of the number sign) is no digit.
        std::vector<int> heights;
        for (const Mark &mark : line)
            if (mark.digit >= 0)
                heights.push_back(mark.box.height);
        // Small blurred print runs a whole number into one or two shapes,
        // too long to cut into digits here: the recogniser reads the line.
        // Such a shape is of the height of small print and no longer than a
        // number of twelve digits; frame lines and barcodes are not.
        const bool runTogether = std::any_of(line.begin(), line.end(), [](const Mark &m) {
            return m.box.width > 3 * m.box.height && m.box.width < 10 * m.box.height &&
                   m.box.height < 0.4 * kLineCell;
        });
        if (heights.empty() && runTogether)
            for (const Mark &mark : line)
                heights.push_back(mark.box.height);
        if (heights.empty())
            continue;
        std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
        const int usual = heights[heights.size() / 2];
        for (Mark &mark : line)
            if (mark.digit >= 0 && (mark.box.height < 0.82 * usual || mark.box.height > 1.25 * usual))
                mark.digit = -1;
        const double lineDistance = distanceAtTop + distanceStep * (middle / kLineCell);
        if (runTogether ||
            std::count_if(line.begin(), line.end(), [](const Mark &m) { return m.digit >= 0; }) >= 3) {
            cv::Rect box = line.front().box;
            for (const Mark &m : line)
                box |= m.box;
            box.x -= usual / 2;
            box.width += usual;
            box.y -= usual / 3;
            box.height += 2 * (usual / 3);
            const cv::Rect wanted = box;
            box &= cv::Rect(0, 0, stripV.cols, stripV.rows);
            // Shade and colour taken out: the print against its own paper.
            cv::Mat paper, level, picture;
            cv::dilate(stripV(box), paper, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(usual, usual)));
            cv::divide(stripV(box), paper, level, 255.0);
            // A line at the edge of the strip would have its print touch
            // the picture's border, and the recogniser misreads print it
            // sees no paper around (a 2 became a 7): paper of the line's own
            // tone is added where the strip cut the margin short.
            if (box != wanted)
                cv::copyMakeBorder(level, level, box.y - wanted.y, wanted.br().y - box.br().y,
                                   box.x - wanted.x, wanted.br().x - box.br().x, cv::BORDER_CONSTANT,
                                   cv::Scalar(Percentile(level, 0.5)));
            const double scale = kLineDigit / std::max(1, usual);
            cv::resize(level, picture, cv::Size(), scale, scale, cv::INTER_CUBIC);
            lines.push_back({picture, level, std::max(1, usual), lineDistance});
        }
        for (std::size_t a = 0; a < line.size();) {
            if (line[a].digit < 0) {
                ++a;
                continue;
            }
            std::size_t b = a + 1;
            // A space between words is wider than the gap between digits.
            while (b < line.size() && line[b].digit >= 0 &&
                   line[b].box.x - line[b - 1].box.br().x <= 0.3 * usual + 1)
                ++b;
            const std::size_t next = b;
            // Letters that look a little like digits stand at the ends of a
            // word; the number itself is read with confidence.
            std::size_t first = a, sure = 0;
            for (std::size_t k = a; k < b; ++k)
                sure += !line[k].doubtful;
            if (sure * 5 >= (b - a) * 3) {
                while (first < b && line[first].doubtful)
                    ++first;
                while (b > first && line[b - 1].doubtful)
                    --b;
            }
            if (first < b) {
                DigitRun run;
                for (std::size_t k = first; k < b; ++k) {
                    run.digits += QChar(u'0' + line[k].digit);
                    run.doubtful = run.doubtful || line[k].doubtful;
                }
                run.wordBefore = first > 0;
                run.wordAfter = b < line.size() && (line[b].digit < 0 || line[b].doubtful) &&
                                line[b].box.x - line[b - 1].box.br().x < 2 * height;
                run.distance = distanceAtTop + distanceStep * (middle / kLineCell);
                runs.push_back(run);
            }
            a = next;
        }
    }
}

// The line with its blur taken out: a lens's blur of a tenth of a digit's
// height fills the hollows of 8s and 3s.
cv::Mat DeblurredLine(const TextLine &line)
{
    return Deblurred(line.picture, 0.1 * kLineDigit, 10);
}

// The line again smaller, darker, and with its blur taken out: the
// recogniser's slips change with the picture it is given.
std::array<cv::Mat, 3> OtherPictures(const TextLine &line)
{
    cv::Mat smaller;
    const double scale = 20.0 / line.digitHeight;
    cv::resize(line.level, smaller, cv::Size(), scale, scale, cv::INTER_AREA);
    return {smaller, Darkened(line.picture), DeblurredLine(line)};
}

// Recognisers of Latin print (German, Italian, Polish) vote on a number as a
// panel of their own. Ours read the line five ways, and their slips agree:
// each of the panel's votes counts half as much again, so that where ours
// are split it decides.
constexpr double kOtherReadersWeight = 1.5;

// The panel reads a line as it stands and with its blur taken out, each of
// its recognisers named voting for the numbers numbersIn finds in what it
// read. It confirms nothing. Blurred 8s that all of ours take for 5s come
// apart on the sharper picture.
template <typename NumbersIn>
void PanelVotes(const TextLine &line, std::initializer_list<const char *> asItStands,
                std::initializer_list<const char *> sharper, NomerVotes &votes, NumbersIn numbersIn)
{
    for (const char *languages : asItStands)
        votes.Add(numbersIn(ReadLineIn(line.picture, languages)), line.distance, false, kOtherReadersWeight);
    const cv::Mat deblurred = DeblurredLine(line);
    for (const char *languages : sharper)
        votes.Add(numbersIn(ReadLineIn(deblurred, languages)), line.distance, false, kOtherReadersWeight);
}

// The ticket number and the draw number printed above, between and below the fields.
void ReadNumberLines(const cv::Mat &rgb, const Quad &upper, const Quad &lower, ScannedBilet &bilet)
{
    constexpr double kAbove = 2.6, kSide = 0.4;
    const double cellWidth = Norm(Along(upper)) / 9, cellHeight = Norm(Across(upper)) / 3;
    const int width = int(std::lround(kLineCell * (9 + 2 * kSide) * cellWidth / std::max(1.0, cellHeight)));
    // A strip in the frame of a field: rows from..to of it, 3 rows being the field.
    const auto strip = [&](const Quad &field, double from, double to) {
        const std::vector<cv::Point2f> unit{{0, 0}, {9, 0}, {9, 3}, {0, 3}};
        const std::vector<cv::Point2f> corners(field.begin(), field.end());
        const cv::Mat h = cv::getPerspectiveTransform(unit, corners);
        std::vector<cv::Point2f> box{{float(-kSide), float(from)},
                                     {float(9 + kSide), float(from)},
                                     {float(9 + kSide), float(to)},
                                     {float(-kSide), float(to)}},
            out;
        cv::perspectiveTransform(box, out, h);
        const int height = std::max(1, int(std::lround((to - from) * kLineCell)));
        return Brightness(Straighten(rgb, {out[0], out[1], out[2], out[3]}, cv::Size(width, height)));
    };
    std::vector<DigitRun> runs;
    std::vector<TextLine> lines;
    FindRuns(strip(upper, -kAbove, 0), kAbove, -1, runs, lines);
    FindRuns(strip(lower, 3, 3 + kAbove), 0, 1, runs, lines);
    // Between the fields, when they lie apart.
    const double gap = Norm(Centre(lower) - Centre(upper)) / std::max(1.0, cellHeight) - 3;
    // The strip takes in a little of each field: where the fields were found
    // a little off, or the photo's slant makes the gap narrower at one end,
    // a line filling the gap would lose the tops or feet of its digits.
    if (gap > 0.3)
        FindRuns(strip(upper, 3 - 0.12, 3 + gap + 0.12), 0, 0, runs, lines, true);

    const DigitRun *nomer = nullptr, *tirag = nullptr;
    for (const DigitRun &run : runs) {
        const auto size = run.digits.size();
        // Mostly ones: a barcode's bars.
        if (size >= 4 && 2 * run.digits.count(QLatin1Char('1')) > size)
            continue;
        if (size >= 6 && size <= 12 && !run.wordAfter &&
            (!nomer || size > nomer->digits.size() ||
             (size == nomer->digits.size() && run.distance < nomer->distance)))
            nomer = &run;
        if (size >= 1 && size <= 5 && run.wordBefore && !run.wordAfter &&
            (!tirag || run.distance < tirag->distance))
            tirag = &run;
    }
    if (nomer) {
        bilet.nomer = nomer->digits;
        bilet.nomerDoubtful = true;
    }
    if (tirag) {
        bilet.tirag = tirag->digits;
        bilet.tiragDoubtful = true;
    }
    // The recogniser reads whole lines; where it and the glyph reader agree,
    // the number is sure.
    double tiragDistance = 1e9;
    bool tiragFound = false;
    const QString glyphNomer = nomer ? nomer->digits : QString();
    const QString glyphTirag = tirag ? tirag->digits : QString();
    NomerVotes nomerVotes;
    // The lines that may hold the ticket number, with every number read in each.
    struct NumberLine {
        const TextLine *line;
        std::vector<QString> numbers;
    };
    std::vector<NumberLine> numberLines;
    for (const TextLine &line : lines) {
        const LineText words = ReadLine(line.picture);
        const QString lower = words.text.toLower();
        const qsizetype drawWord = DrawWordEnd(words.text);
        const bool price = lower.contains(QStringLiteral("цена")) || lower.contains(QStringLiteral("руб"));
        if (drawWord < 0 && price)
            continue;
        // The numbers are read again with Latin print leading, which mistakes
        // fewer digits for others; it may find the draw word the first
        // reading missed.
        const LineText latin = ReadLine(line.picture, true);
        qsizetype from = DrawWordEnd(latin.text);
        if (drawWord < 0 && from < 0) {
            // A line of neither the draw nor the price may hold the ticket
            // number. Each reading votes for the numbers it found; unless
            // one confirms what the glyph reader read, the line is read
            // three times more, as the recogniser errs differently on each.
            NumberLine read{&line, {}};
            const auto vote = [&](const std::vector<NumberCandidate> &numbers, bool confirms) {
                nomerVotes.Add(numbers, line.distance, confirms);
                for (const NumberCandidate &c : numbers)
                    read.numbers.push_back(c.digits);
            };
            vote(NumberCandidates(latin, 6, 12, true), true);
            vote(NumberCandidates(words, 6, 12, true), false);
            if (glyphNomer.isEmpty() || !nomerVotes.Confirms(glyphNomer))
                for (const cv::Mat &picture : OtherPictures(line))
                    vote(NumberCandidates(ReadLine(picture, true), 6, 12, true), true);
            numberLines.push_back(read);
            continue;
        }
        // The draw number: the first number after the word, as read with
        // Latin print leading (the word itself it may read in Latin
        // letters), and as read at first; unless what the glyph reader read
        // is confirmed, the line is read three times more and the readings
        // vote, as for the ticket number.
        if (from < 0)
            from = latin.text.indexOf(QLatin1Char(' '));
        const auto firstAfter = [](const LineText &read, qsizetype at, bool signRead = false) {
            std::vector<NumberCandidate> first;
            if (at < 0)
                return first;
            const std::vector<NumberCandidate> numbers = NumberCandidates(read, 1, 6, signRead);
            for (auto c = numbers.begin(); c != numbers.end(); ++c) {
                if (c->joined || c->at < at)
                    continue;
                // The number sign read as a lone digit ("Тираж 9 1297"):
                // the draw is the longer number after it.
                if (first.empty() && c->digits.size() == 1 &&
                    std::any_of(c + 1, numbers.end(), [&](const NumberCandidate &n) {
                        return !n.joined && n.at > c->at && n.digits.size() >= 3;
                    }))
                    continue;
                // A number glued to the sign comes in two halves.
                first.push_back(*c);
                if (c->weight == 1 || first.size() == 2)
                    break;
            }
            return first;
        };
        NomerVotes drawVotes;
        drawVotes.Add(firstAfter(latin, from), line.distance);
        drawVotes.Add(firstAfter(words, drawWord), line.distance, false);
        if (!glyphTirag.isEmpty() && !drawVotes.Confirms(glyphTirag)) {
            for (const cv::Mat &picture : OtherPictures(line)) {
                const LineText again = ReadLine(picture, true);
                const qsizetype word = DrawWordEnd(again.text);
                drawVotes.Add(firstAfter(again, word >= 0 ? word : again.text.indexOf(QLatin1Char(' '))),
                              line.distance);
            }
        }
        // The panel of other recognisers votes too; the draw word it reads
        // in Latin letters, if at all. On the sharper picture the Italian
        // recogniser took a 3 of a draw for a 5 where the others read it
        // right; with the German and Polish ones there, 6 draw numbers of 333
        // on pictures of held-out typefaces went right and none wrong.
        if (glyphTirag.isEmpty() || !drawVotes.Confirms(glyphTirag))
            PanelVotes(line, {"deu", "ita", "pol"}, {"deu", "pol"}, drawVotes, [&](const LineText &other) {
                return firstAfter(other, other.text.indexOf(QLatin1Char(' ')), true);
            });
        bool drawDoubtful = true;
        const NumberCandidate c = drawVotes.Choose(glyphTirag, tirag && !tirag->doubtful, &drawDoubtful);
        if (!c.digits.isEmpty() && (!tiragFound || line.distance < tiragDistance)) {
            tiragFound = true;
            tiragDistance = line.distance;
            bilet.tirag = c.digits;
            bilet.tiragDoubtful = drawDoubtful;
        }
    }
    // Recognisers of other languages take other digits for others: where
    // ours read a 5 for a 3, they mostly do not. Unless a number is
    // confirmed already, they read the line the leading number came from.
    bool doubtful = true;
    if (glyphNomer.isEmpty() || !nomerVotes.Confirms(glyphNomer)) {
        const QString leading = nomerVotes.Choose(glyphNomer, nomer && !nomer->doubtful, &doubtful).digits;
        for (const NumberLine &read : numberLines) {
            if (leading.isEmpty() || std::none_of(read.numbers.begin(), read.numbers.end(),
                                                  [&](const QString &n) { return SlipsApart(n, leading); }))
                continue;
            // The Polish recogniser reads only the sharper picture: on the
            // line as it stands it added nothing the other two did not. On
            // pictures of held-out typefaces this put 12 ticket numbers of
            // 323 right and 2 wrong; a 3 the panel tells from a 5 on the
            // print as it stands is still told.
            PanelVotes(*read.line, {"deu", "ita"}, {"deu", "ita", "pol"}, nomerVotes,
                       [](const LineText &other) { return NumberCandidates(other, 6, 12, true); });
        }
    }
    const NumberCandidate chosen = nomerVotes.Choose(glyphNomer, nomer && !nomer->doubtful, &doubtful);
    if (!chosen.digits.isEmpty()) {
        bilet.nomer = chosen.digits;
        bilet.nomerDoubtful = doubtful;
    }
}

// Reads a ticket from its two fields, deciding which way up it lies.
ScannedBilet ReadTicket(const cv::Mat &rgb, const Quad &first, const Quad &second)
{
    // Which way up is told by the built-in model alone: the ticket's own
    // print would teach either reading to agree with itself.
    const Reading one = ReadFields(rgb, first, second, false);
    const Reading other = ReadFields(rgb, Turned(second), Turned(first), false);
    bool turned = other.cost < one.cost;
    // Numbers of one digit stand in the first column alone, numbers of two
    // in the last: where the one's print is clearly narrower than the
    // other's, or wider, that tells better than the shapes of small blurred
    // digits do.
    if (one.firstToLast > 0 && one.firstToLast < 0.75)
        turned = false;
    else if (one.firstToLast > 1.33)
        turned = true;
    const auto read = [&](bool sharpen) {
        return turned ? ReadFields(rgb, Turned(second), Turned(first), true, sharpen)
                      : ReadFields(rgb, first, second, true, sharpen);
    };
    Reading reading = read(false);
    // A lens that blurs print of any size fills the hollows of its digits
    // as it does small print's: where many cells are in doubt, the fields
    // are read again sharpened, and the plainer reading is kept.
    if (reading.bilet.doubtful.size() >= 6 && !reading.sharpened) {
        Reading sharper = read(true);
        if (sharper.cost < reading.cost)
            reading = std::move(sharper);
    }
    ScannedBilet bilet = std::move(reading.bilet);
    if (turned)
        ReadNumberLines(rgb, Turned(second), Turned(first), bilet);
    else
        ReadNumberLines(rgb, first, second, bilet);
    return bilet;
}

// Pairs fields into tickets: the two fields of a ticket are alike in size, lie
// the same way and one follows the other across its rows.
std::vector<std::pair<Quad, Quad>> PairFields(std::vector<Field> fields)
{
    struct Candidate {
        double distance;
        std::size_t a, b;
        Quad upper;
    };
    std::vector<Candidate> candidates;
    for (std::size_t a = 0; a < fields.size(); ++a) {
        for (std::size_t b = 0; b < fields.size(); ++b) {
            if (a == b)
                continue;
            // Which way round each field's corners were found is chance: the
            // upper field's rows run towards the lower one.
            Quad qa = fields[a].quad;
            const Quad &qb = fields[b].quad;
            if ((Centre(qb) - Centre(qa)).dot(Across(qa)) < 0)
                qa = Turned(qa);
            const cv::Point2f along = Along(qa), across = Across(qa);
            const double width = Norm(along), height = Norm(across);
            // The shift between the centres in the field's own sides: a photo
            // taken at a slant leans the rows, and the partner lies along
            // them, not square to the columns.
            const cv::Point2f shift = Centre(qb) - Centre(qa);
            const double det = double(along.x) * across.y - double(along.y) * across.x;
            if (std::abs(det) < 1e-6)
                continue;
            const double sideways = (double(shift.x) * across.y - double(shift.y) * across.x) / det * width;
            const double down = (double(along.x) * shift.y - double(along.y) * shift.x) / det * height;
            const double widthRatio = Norm(Along(qb)) / width;
            const double parallel = std::abs(Along(qb).dot(along)) / (Norm(Along(qb)) * width);
            if (down > 0.95 * height && down < 3.5 * height && std::abs(sideways) < 0.15 * width &&
                widthRatio > 0.85 && widthRatio < 1.18 && parallel > 0.97)
                candidates.push_back({down, a, b, qa});
        }
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate &x, const Candidate &y) { return x.distance < y.distance; });
    std::vector<bool> taken(fields.size(), false);
    std::vector<std::pair<Quad, Quad>> pairs;
    for (const Candidate &c : candidates) {
        if (taken[c.a] || taken[c.b])
            continue;
        taken[c.a] = taken[c.b] = true;
        Quad upper = c.upper, lower = fields[c.b].quad;
        // Both fields' corners in the same order.
        if (Along(lower).dot(Along(upper)) < 0)
            lower = Turned(lower);
        pairs.emplace_back(upper, lower);
    }
    return pairs;
}

struct RgbPicture {
    QImage keep;
    cv::Mat mat;
};

RgbPicture ToRgb(const QImage &image)
{
    RgbPicture picture;
    picture.keep = image.convertToFormat(QImage::Format_RGB888);
    picture.mat =
        cv::Mat(picture.keep.height(), picture.keep.width(), CV_8UC3,
                const_cast<uchar *>(picture.keep.constBits()), std::size_t(picture.keep.bytesPerLine()));
    return picture;
}

} // namespace

std::vector<ScannedBilet> ReadBilety(const QImage &image)
{
    std::vector<ScannedBilet> bilety;
    if (image.isNull() || image.width() < 16 || image.height() < 16)
        return bilety;
    const RgbPicture picture = ToRgb(image);
    for (const auto &[first, second] : PairFields(WithoutEnclosing(FindFields(picture.mat))))
        bilety.push_back(ReadTicket(picture.mat, first, second));
    // Reading order: by the top of each ticket, then from the left.
    const auto top = [](const ScannedBilet &b) {
        return std::min({b.corners[0].y(), b.corners[1].y(), b.corners[2].y(), b.corners[3].y()});
    };
    const auto left = [](const ScannedBilet &b) {
        return std::min({b.corners[0].x(), b.corners[1].x(), b.corners[2].x(), b.corners[3].x()});
    };
    const double rowHeight = image.height() / 8.0;
    std::sort(bilety.begin(), bilety.end(), [&](const ScannedBilet &a, const ScannedBilet &b) {
        const int ra = int(top(a) / rowHeight), rb = int(top(b) / rowHeight);
        return ra != rb ? ra < rb : left(a) < left(b);
    });
    return bilety;
}

std::optional<ScannedBilet> ReadBiletAt(const QImage &image, const std::array<QPointF, 4> &corners)
{
    if (image.isNull())
        return std::nullopt;
    const RgbPicture picture = ToRgb(image);
    // Put the clicks in order around their middle, clockwise from the top left.
    std::vector<cv::Point2f> points;
    for (const QPointF &p : corners)
        points.emplace_back(float(p.x()), float(p.y()));
    cv::Point2f middle = (points[0] + points[1] + points[2] + points[3]) * 0.25f;
    std::sort(points.begin(), points.end(), [&](cv::Point2f a, cv::Point2f b) {
        return std::atan2(a.y - middle.y, a.x - middle.x) < std::atan2(b.y - middle.y, b.x - middle.x);
    });
    // Clockwise on screen; which corner comes first does not matter, the
    // fields are found in the straightened paper whatever way it lies.
    const Quad quad{points[0], points[1], points[2], points[3]};
    const double along = Norm(quad[1] - quad[0]), across = Norm(quad[3] - quad[0]);
    if (along < 20 || across < 20)
        return std::nullopt;
    // The paper straightened with a margin, read as a picture of its own.
    const double margin = 0.06;
    const std::vector<cv::Point2f> unit{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const cv::Mat h = cv::getPerspectiveTransform(unit, std::vector<cv::Point2f>(quad.begin(), quad.end()));
    std::vector<cv::Point2f> wide{{float(-margin), float(-margin)},
                                  {float(1 + margin), float(-margin)},
                                  {float(1 + margin), float(1 + margin)},
                                  {float(-margin), float(1 + margin)}},
        wideOut;
    cv::perspectiveTransform(wide, wideOut, h);
    const double scale = 1200.0 / std::max(along, across);
    const cv::Size size(int(along * scale * (1 + 2 * margin)), int(across * scale * (1 + 2 * margin)));
    const Quad wideQuad{wideOut[0], wideOut[1], wideOut[2], wideOut[3]};
    const cv::Mat flat = Straighten(picture.mat, wideQuad, size);
    const auto pairs = PairFields(FindFields(flat));
    if (pairs.empty())
        return std::nullopt;
    ScannedBilet bilet = ReadTicket(flat, pairs.front().first, pairs.front().second);
    // Corners back into the picture.
    const std::vector<cv::Point2f> flatCorners{
        {0, 0}, {float(size.width), 0}, {float(size.width), float(size.height)}, {0, float(size.height)}};
    const cv::Mat back = cv::getPerspectiveTransform(flatCorners, wideOut);
    std::vector<cv::Point2f> found, inImage;
    for (const QPointF &p : bilet.corners)
        found.emplace_back(float(p.x()), float(p.y()));
    cv::perspectiveTransform(found, inImage, back);
    for (int i = 0; i < 4; ++i)
        bilet.corners[i] = QPointF(inImage[i].x, inImage[i].y);
    return bilet;
}

std::optional<QImage> LoadImage(const QString &path, QString *error)
{
    const auto fail = [&](const QString &why) -> std::optional<QImage> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail(QStringLiteral("Файл «%1» не найден.").arg(path));
    if (!info.isFile())
        return fail(QStringLiteral("«%1» — не файл.").arg(path));
    if (info.size() == 0)
        return fail(QStringLiteral("Файл «%1» пуст.").arg(path));
    QImageReader reader(path);
    reader.setAutoTransform(true);
    // A picture's size is read from its header; a giant is refused before
    // any pixel is decoded, and the decoder itself is held to a limit too.
    QImageReader::setAllocationLimit(int(kMaxPixels * 4 / (1024 * 1024)) + 1);
    if (!reader.canRead())
        return fail(QStringLiteral("Файл «%1» — не снимок: такой формат изображения не известен.").arg(path));
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPixels)
        return fail(
            QStringLiteral("Снимок «%1» слишком велик (%2 × %3 точек); читаются снимки до %4 мегапикселей.")
                .arg(path)
                .arg(size.width())
                .arg(size.height())
                .arg(kMaxPixels / 1'000'000));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return fail(QStringLiteral("Снимок «%1» прочитать не возможно: файл повреждён.").arg(path));
    return image;
}

FileResult ReadFile(const QString &path)
{
    FileResult result;
    if (const auto image = LoadImage(path, &result.error))
        result.bilety = ReadBilety(*image);
    return result;
}

} // namespace Scan
