#pragma once
// The numbers in a printed line as the recogniser read it. A long number is
// now and then cut by a space the print does not have ("№428 14571"), or
// read with a sign glued to it that may be a digit misread; every way the
// line's digits may make one number is offered, and the reader picks the one
// its own reading of the glyphs confirms.

#include "scan/LineOcr.h"

#include <opencv2/core.hpp>

#include <vector>

namespace Scan
{

struct NumberCandidate {
    QString digits;
    qsizetype at = 0;    // where it begins in the line's text
    float least = 0;     // the lowest certainty among its digits, 0 when it may be longer
    bool joined = false; // pieces the recogniser set apart by a space
    double weight = 1;   // its share of the reading's vote
};

// Runs of ASCII digits of from..to digits in a line, and runs one space apart
// joined together when the whole fits; each run once, in the line's order.
// A recogniser of Latin print reads the number sign as "N2" where another
// reads "N°": with signRead, a run glued to an N is offered as read and
// without its first digit, each with half the weight; so is a run after a
// sign with letters glued to it that look like digits ("Ne&35975"), as read
// and with those letters read as the digits, and a run ending in a bracket
// or a bar that may be a last 1, as read and with the 1.
std::vector<NumberCandidate> NumberCandidates(const LineText &line, int from, int to, bool signRead = false);

// Where the word of the draw ("Тираж") ends in a read line, or -1 when the
// line has none. Small print is read a letter off now and then ("Тираю",
// "Тораж", "Тир»"), and such a word still names the draw.
qsizetype DrawWordEnd(const QString &text);

// The line with its grey tones pulled towards the print: pale, blurred
// strokes come out whole.
cv::Mat Darkened(const cv::Mat &line);

// The line with a lens's blur of the given width taken back out, as far as
// the given number of rounds can: print blurred until an 8 fills and looks
// like a 5 comes apart again.
cv::Mat Deblurred(const cv::Mat &line, double blur, int rounds);

// Whether two numbers read are of as many digits and differ in no more than
// a third of them: readings of one number with a few digits slipped.
bool SlipsApart(const QString &one, const QString &other);

// A number (the ticket's, the draw's) chosen from several readings of the
// lines around a ticket. The recogniser's mistakes change with the picture
// it is given (its size, its contrast), so each reading votes once for every
// number it found; the number the glyph reader read wins whenever a reading
// confirms it, and only such a number is sure, when no other has more votes.
class NomerVotes
{
public:
    // One reading of a line distance cells from the grid, its votes counting
    // weight times. The reading of Russian print alone takes a 3 for a 5 as
    // the glyph reader may: it votes, but confirms nothing. A piece of a
    // number the reading also offers joined whole votes for the whole only.
    void Add(const std::vector<NumberCandidate> &reading, double distance, bool confirms = true,
             double weight = 1);
    // Whether a reading that may confirm found exactly these digits.
    bool Confirms(const QString &digits) const;
    // The number the readings and the glyph reader (its digits, and
    // whether it was sure of every one) make most likely; empty when
    // neither found one. Unconfirmed, its length is that of the number the
    // most readings a few slips apart back, and it is put together digit by
    // digit from the readings a few slips apart from the likeliest of that
    // length.
    NumberCandidate Choose(const QString &glyphs, bool glyphsSure, bool *doubtful) const;

private:
    struct Vote {
        NumberCandidate candidate;
        double votes = 0;
        double distance = 0;
        bool confirms = false;
    };
    std::vector<Vote> m_votes;
};

} // namespace Scan
