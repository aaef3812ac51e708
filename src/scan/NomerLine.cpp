#include "scan/NomerLine.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>

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

// Latin letters the recogniser puts for the Cyrillic ones they look like,
// the draw word's among them ("Tupaж").
QChar AsCyrillic(QChar c)
{
    static const char16_t latin[] = u"abcehkmnoprtuxy";
    static const char16_t cyrillic[] = u"авсенкмпоргтиху";
    for (int i = 0; latin[i]; ++i)
        if (c == QChar(latin[i]))
            return QChar(cyrillic[i]);
    return c;
}

// The digit a letter or sign stands for where the recogniser read a digit
// glued to the number sign as one ("Ne&35975" for "№835975"); 0 for none.
char16_t DigitLookalike(QChar c)
{
    static const char16_t letters[] = u"SsOoDQB&IlZzGbgqT$";
    static const char16_t digits[] = u"550000881122669975";
    for (int i = 0; letters[i]; ++i)
        if (c == QChar(letters[i]))
            return digits[i];
    return 0;
}

// Where the line has a number sign read in Latin letters ("N", "Ne", "Neo",
// "WP") with a letter or two glued to it that look like digits and digits
// after them, the line with those letters read as the digits: the recogniser
// took the sign and the number's first digit for one word. Sets digitsAt to
// where the digits that were read as digits begin; the line as it was, and
// -1, when it has none.
LineText SignLettersAsDigits(const LineText &line, qsizetype *digitsAt)
{
    LineText out = line;
    *digitsAt = -1;
    const QString &text = line.text;
    for (qsizetype p = 0; p < text.size(); ++p) {
        if (!QStringView(u"NW").contains(text[p]) || (p > 0 && text[p - 1] != QLatin1Char(' ')))
            continue;
        qsizetype q = p + 1;
        while (q < text.size() && q < p + 3 && QStringView(u"eo°ºP").contains(text[q]))
            ++q;
        qsizetype r = q;
        while (r < text.size() && r < q + 2 && DigitLookalike(text[r]))
            ++r;
        const qsizetype at = r < text.size() && text[r] == QLatin1Char(' ') ? r + 1 : r;
        if (r == q || at >= text.size() || !IsDigit(text[at]))
            continue;
        for (qsizetype k = q; k < r; ++k) {
            out.text[k] = QChar(DigitLookalike(text[k]));
            if (std::size_t(k) < out.certainty.size())
                out.certainty[std::size_t(k)] = 0;
        }
        *digitsAt = at;
        return out;
    }
    return out;
}

} // namespace

qsizetype DrawWordEnd(const QString &text)
{
    QString lower = text.toLower();
    for (QChar &c : lower)
        c = AsCyrillic(c);
    for (qsizetype i = 0; i < lower.size();) {
        if (!lower[i].isLetter()) {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < lower.size() && lower[j].isLetter())
            ++j;
        const QString word = lower.mid(i, j - i);
        // Two letters of it may be misread, where its first one is read.
        const int misread = word.startsWith(QChar(u'т')) && word.size() >= 4 && word.size() <= 6 ? 2 : 1;
        if (word.startsWith(QStringLiteral("тир")) || Edits(word, QStringLiteral("тираж")) <= misread)
            return j;
        i = j;
    }
    return -1;
}

std::vector<NumberCandidate> NumberCandidates(const LineText &line, int from, int to, bool signRead)
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
            const bool afterN = runs[a].from >= 1 && text[runs[a].from - 1] == QLatin1Char('N');
            if (signRead && afterN && found.digits.size() > from) {
                found.weight = 0.5;
                NumberCandidate rest = found;
                rest.digits.remove(0, 1);
                rest.at += 1;
                candidates.push_back(rest);
            }
            candidates.push_back(found);
            // A last 1 the recogniser took for a bracket or a bar glued to
            // the number ("5151320291)" for 51513202911): the number is
            // offered with it and without it, each with half the weight.
            const qsizetype after = runs[b].to;
            if (signRead && found.digits.size() < to && after < text.size() &&
                QStringView(u")]|!lI").contains(text[after]) &&
                (after + 1 == text.size() || text[after + 1] == QLatin1Char(' '))) {
                NumberCandidate &asRead = candidates.back();
                asRead.weight /= 2;
                NumberCandidate withOne = asRead;
                withOne.digits += QLatin1Char('1');
                candidates.push_back(withOne);
            }
        }
    }
    // The digits after a sign read with a digit glued to it are the number
    // or its end: each way gets half the vote, as for a sign read as "N2".
    qsizetype digitsAt = -1;
    const LineText rewritten = signRead ? SignLettersAsDigits(line, &digitsAt) : LineText{};
    if (digitsAt >= 0) {
        for (NumberCandidate &c : candidates)
            if (c.at == digitsAt)
                c.weight = 0.5;
        for (NumberCandidate c : NumberCandidates(rewritten, from, to)) {
            if (c.at >= digitsAt ||
                std::any_of(candidates.begin(), candidates.end(),
                            [&](const NumberCandidate &n) { return n.digits == c.digits; }))
                continue;
            c.weight = 0.5;
            candidates.push_back(c);
        }
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const NumberCandidate &a, const NumberCandidate &b) { return a.at < b.at; });
    }
    return candidates;
}

cv::Mat Darkened(const cv::Mat &line)
{
    if (line.empty())
        return line.clone();
    // Tones from a tenth to nine tenths spread over the whole range, then
    // every grey made darker, as by a gamma of 0.6.
    cv::Mat table(1, 256, CV_8U);
    for (int v = 0; v < 256; ++v) {
        const double share = std::clamp((v / 255.0 - 0.1) / 0.8, 0.0, 1.0);
        table.at<std::uint8_t>(v) = cv::saturate_cast<std::uint8_t>(255.0 * std::pow(share, 1 / 0.6));
    }
    cv::Mat out;
    cv::LUT(line, table, out);
    return out;
}

cv::Mat Deblurred(const cv::Mat &line, double blur, int rounds)
{
    if (line.empty())
        return line.clone();
    // Richardson-Lucy on the print's darkness, the paper being nought: each
    // round blurs the estimate as the lens did and corrects it by how far
    // that falls from the picture. The one added keeps the paper off zero.
    cv::Mat seen;
    line.convertTo(seen, CV_32F, -1.0, 256.0);
    cv::Mat estimate = seen.clone(), blurred, ratio;
    for (int round = 0; round < rounds; ++round) {
        cv::GaussianBlur(estimate, blurred, cv::Size(), blur);
        cv::divide(seen, cv::max(blurred, 1e-3), ratio);
        cv::GaussianBlur(ratio, ratio, cv::Size(), blur);
        estimate = estimate.mul(ratio);
    }
    cv::Mat out;
    estimate.convertTo(out, CV_8U, -1.0, 256.0);
    return out;
}

void NomerVotes::Add(const std::vector<NumberCandidate> &reading, double distance, bool confirms,
                     double weight)
{
    // A reading gives each number it found at most one vote.
    std::vector<std::pair<QString, double>> counted;
    for (const NumberCandidate &c : reading) {
        auto seen =
            std::find_if(counted.begin(), counted.end(), [&](const auto &n) { return n.first == c.digits; });
        if (seen == counted.end())
            seen = counted.insert(counted.end(), {c.digits, 0.0});
        // A piece of a number the same reading also read whole, the
        // pieces set apart by a space, is that number's vote, not its own.
        const bool piece = std::any_of(reading.begin(), reading.end(), [&](const NumberCandidate &whole) {
            return whole.joined && whole.at <= c.at && whole.digits.size() > c.digits.size() &&
                   whole.digits.endsWith(c.digits);
        });
        const double share = piece ? 0.0 : std::min(c.weight, 1.0 - seen->second);
        if (share <= 0)
            continue;
        seen->second += share;
        auto vote = std::find_if(m_votes.begin(), m_votes.end(),
                                 [&](const Vote &v) { return v.candidate.digits == c.digits; });
        if (vote == m_votes.end()) {
            m_votes.push_back({c, 0, distance, false});
            vote = m_votes.end() - 1;
        }
        vote->votes += share * weight;
        if (confirms && (!vote->confirms || c.least > vote->candidate.least)) {
            vote->confirms = true;
            vote->candidate.least = c.least;
        }
        vote->distance = std::min(vote->distance, distance);
    }
}

bool NomerVotes::Confirms(const QString &digits) const
{
    return std::any_of(m_votes.begin(), m_votes.end(),
                       [&](const Vote &v) { return v.confirms && v.candidate.digits == digits; });
}

bool SlipsApart(const QString &one, const QString &other)
{
    if (one.size() != other.size())
        return false;
    qsizetype differ = 0;
    for (qsizetype i = 0; i < one.size(); ++i)
        differ += one[i] != other[i];
    return 3 * differ <= one.size();
}

NumberCandidate NomerVotes::Choose(const QString &glyphs, bool glyphsSure, bool *doubtful) const
{
    *doubtful = true;
    for (const Vote &v : m_votes) {
        if (v.confirms && v.candidate.digits == glyphs) {
            // A confirmation the other readings outvote may be two readers
            // making one slip (a 3 taken for a 5): the number is taken, but
            // the person is asked.
            const bool outvoted = std::any_of(m_votes.begin(), m_votes.end(),
                                              [&](const Vote &other) { return other.votes > v.votes; });
            // So may a reading of as many digits that differs from it: a
            // clear 3 read as a 5 by three readings was read right by one.
            const bool contested = std::any_of(m_votes.begin(), m_votes.end(), [&](const Vote &other) {
                return other.candidate.digits.size() == glyphs.size() && other.candidate.digits != glyphs;
            });
            *doubtful = v.candidate.least < 80 || outvoted || contested;
            // The glyph reader takes a digit glued to the number sign for
            // part of the sign ("№3" is one shape to it), and a reading
            // that dropped the sign's N with it confirms the rest: a number
            // a digit or two longer that ends in it and has more votes is
            // the ticket's.
            const Vote *longer = nullptr;
            for (const Vote &other : m_votes) {
                const QString &digits = other.candidate.digits;
                if (other.votes > std::max(v.votes, longer ? longer->votes : 0.0) &&
                    digits.size() > glyphs.size() && digits.size() <= glyphs.size() + 2 &&
                    digits.endsWith(glyphs))
                    longer = &other;
            }
            return longer ? longer->candidate : v.candidate;
        }
    }
    // Unconfirmed: the glyph reader votes too, less when it doubted a digit.
    // Where it doubted and read more than a number the readings found, it
    // took a sign or a letter beside the number for digits: it votes for
    // the longest such number.
    std::vector<Vote> votes = m_votes;
    if (!glyphs.isEmpty()) {
        auto same = std::find_if(votes.begin(), votes.end(),
                                 [&](const Vote &v) { return v.candidate.digits == glyphs; });
        if (same == votes.end() && !glyphsSure)
            for (auto v = votes.begin(); v != votes.end(); ++v)
                if (v->candidate.digits.size() >= 6 && glyphs.contains(v->candidate.digits) &&
                    (same == votes.end() || v->candidate.digits.size() > same->candidate.digits.size()))
                    same = v;
        if (same == votes.end()) {
            NumberCandidate own;
            own.digits = glyphs;
            same = votes.insert(votes.end(), {own, 0, 1e9, false});
        }
        same->votes += glyphsSure ? 1.0 : 0.5;
    }
    // A tie goes to the longer number, then to what the glyph reader read (a
    // reader of another kind), then to the line nearer the grid.
    const auto worse = [&](const Vote &a, const Vote &b) {
        if (a.votes != b.votes)
            return a.votes < b.votes;
        if (a.candidate.digits.size() != b.candidate.digits.size())
            return a.candidate.digits.size() < b.candidate.digits.size();
        if ((a.candidate.digits == glyphs) != (b.candidate.digits == glyphs))
            return b.candidate.digits == glyphs;
        return a.distance > b.distance;
    };
    // How many digits the number has is told by the most backed number: its
    // own votes and those of readings of as many digits that slipped on a
    // few of them ("215235579" backs "218235579"). Readings of the right
    // length mostly differ a little, while a sign or a letter taken for a
    // digit makes a number of another length. Of that length, the number
    // with the most votes of its own wins. Numbers of a few digits (a draw)
    // a slip apart are as likely other numbers: each has its own votes.
    const auto backing = [&](const Vote &a) {
        if (a.candidate.digits.size() < 6)
            return a.votes;
        double sum = 0;
        for (const Vote &v : votes)
            if (SlipsApart(v.candidate.digits, a.candidate.digits))
                sum += v.votes;
        return sum;
    };
    const auto mostBacked = std::max_element(votes.begin(), votes.end(), [&](const Vote &a, const Vote &b) {
        const double backsA = backing(a), backsB = backing(b);
        return backsA != backsB ? backsA < backsB : worse(a, b);
    });
    const qsizetype length = mostBacked == votes.end() ? -1 : mostBacked->candidate.digits.size();
    const auto best = std::max_element(votes.begin(), votes.end(), [&](const Vote &a, const Vote &b) {
        const bool aFits = a.candidate.digits.size() == length, bFits = b.candidate.digits.size() == length;
        return aFits != bFits ? bFits : worse(a, b);
    });
    if (best == votes.end())
        return {};
    // Readings of as many digits that differ from the winner in a few of
    // them have mostly slipped on other digits: each digit goes to what most
    // of them read there. Five readings of "34479588600" that each took one
    // or two of its blurred 5s, 8s and 6s for others, none alike, make it
    // whole again.
    NumberCandidate chosen = best->candidate;
    const QString &digits = chosen.digits;
    std::vector<const Vote *> near;
    for (const Vote &v : votes)
        if (SlipsApart(v.candidate.digits, digits))
            near.push_back(&v);
    QString voted = digits;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        std::array<double, 10> at{};
        for (const Vote *v : near)
            at[std::size_t(v->candidate.digits[i].unicode() - u'0')] += v->votes;
        const auto top = std::max_element(at.begin(), at.end()) - at.begin();
        if (at[std::size_t(top)] > at[std::size_t(digits[i].unicode() - u'0')])
            voted[i] = QChar(char16_t(u'0' + top));
    }
    chosen.digits = voted;
    return chosen;
}

} // namespace Scan
