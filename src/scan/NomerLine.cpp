#include "scan/NomerLine.h"

#include <algorithm>

namespace Scan
{
namespace
{

bool IsDigit(QChar c)
{
    return c.isDigit() && c.unicode() <= 0x7f;
}

struct Run {
    qsizetype from = 0, to = 0; // [from, to) in the line's text
    float least = 100;
};

// Single-letter edits that turn a into b.
int Edits(const QString &a, const QString &b)
{
    std::vector<int> row(std::size_t(b.size()) + 1);
    for (std::size_t j = 0; j < row.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[std::size_t(j)];
            row[std::size_t(j)] =
                std::min({above + 1, row[std::size_t(j - 1)] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

} // namespace

qsizetype DrawWordEnd(const QString &text)
{
    const QString lower = text.toLower();
    for (qsizetype i = 0; i < lower.size();) {
        if (!lower[i].isLetter()) {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < lower.size() && lower[j].isLetter())
            ++j;
        const QString word = lower.mid(i, j - i);
        if (word.startsWith(QStringLiteral("тир")) || Edits(word, QStringLiteral("тираж")) <= 1)
            return j;
        i = j;
    }
    return -1;
}

std::vector<NumberCandidate> NumberCandidates(const LineText &line, int from, int to)
{
    const QString &text = line.text;
    std::vector<Run> runs;
    for (qsizetype i = 0; i < text.size();) {
        if (!IsDigit(text[i])) {
            ++i;
            continue;
        }
        Run run{i, i};
        while (run.to < text.size() && IsDigit(text[run.to])) {
            if (std::size_t(run.to) < line.certainty.size())
                run.least = std::min(run.least, line.certainty[std::size_t(run.to)]);
            ++run.to;
        }
        runs.push_back(run);
        i = run.to;
    }
    // Signs glued to a number may be digits misread: it may be longer.
    const auto glued = [&](qsizetype k) {
        return k >= 0 && k < text.size() && text[k] != QLatin1Char(' ') && text[k] != QChar(u'№');
    };
    std::vector<NumberCandidate> candidates;
    for (std::size_t a = 0; a < runs.size(); ++a) {
        NumberCandidate candidate;
        candidate.at = runs[a].from;
        for (std::size_t b = a; b < runs.size(); ++b) {
            // A piece further on belongs only when nothing but one space
            // stands between it and the last.
            if (b > a && !(runs[b].from == runs[b - 1].to + 1 && text[runs[b - 1].to] == QLatin1Char(' ')))
                break;
            candidate.digits += text.mid(runs[b].from, runs[b].to - runs[b].from);
            candidate.least = std::min(b == a ? 100.0f : candidate.least, runs[b].least);
            candidate.joined = b > a;
            if (candidate.digits.size() > to)
                break;
            if (candidate.digits.size() < from)
                continue;
            NumberCandidate found = candidate;
            if (glued(runs[a].from - 1) || glued(runs[b].to))
                found.least = 0;
            candidates.push_back(found);
        }
    }
    return candidates;
}

cv::Mat Stretched(const cv::Mat &line)
{
    if (line.empty())
        return line.clone();
    // The darkest print and the usual paper: most of a line is paper.
    int histogram[256] = {};
    for (int y = 0; y < line.rows; ++y)
        for (int x = 0; x < line.cols; ++x)
            ++histogram[line.at<std::uint8_t>(y, x)];
    const auto tone = [&](double share) {
        std::size_t seen = 0;
        for (int v = 0; v < 256; ++v) {
            seen += std::size_t(histogram[v]);
            if (double(seen) > share * double(line.total()))
                return v;
        }
        return 255;
    };
    const int print = tone(0.02), paper = tone(0.6);
    cv::Mat out;
    if (paper - print < 8)
        return line.clone();
    line.convertTo(out, CV_8U, 255.0 / (paper - print), -255.0 * print / (paper - print));
    return out;
}

} // namespace Scan
