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
};

// Runs of ASCII digits of from..to digits in a line, and runs one space apart
// joined together when the whole fits; each run once, in the line's order.
std::vector<NumberCandidate> NumberCandidates(const LineText &line, int from, int to);

// Where the word of the draw ("Тираж") ends in a read line, or -1 when the
// line has none. Small print is read a letter off now and then ("Тираю",
// "Тораж", "Тир»"), and such a word still names the draw.
qsizetype DrawWordEnd(const QString &text);

// The line again with its print made black and its paper white, for a
// second reading when the first one is not confirmed.
cv::Mat Stretched(const cv::Mat &line);

} // namespace Scan
