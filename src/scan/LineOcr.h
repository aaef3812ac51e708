#pragma once
// The lines printed around the grid ("Тираж № 1234", "Билет № 0123456789")
// read by Tesseract, character by character with its confidence.

#include <QString>
#include <opencv2/core.hpp>

#include <vector>

namespace Scan
{

struct LineText {
    QString text;                 // words separated by single spaces
    std::vector<float> certainty; // 0..100 for each character of text (100 for spaces)
};

// Reads one line of dark print on light paper (8-bit brightness). Each thread
// keeps its own recognisers. Empty when Tesseract or its Russian data is
// missing. With latinFirst the recogniser of Latin print leads, which takes
// fewer digits for others (a 3 for a 5) but reads Russian words worse; without
// its data the Russian one reads alone.
LineText ReadLine(const cv::Mat &line, bool latinFirst = false);

// Reads one line with the recogniser of other languages ("deu", "ita"):
// each mistakes other digits for others in small print. Empty when their
// data is missing.
LineText ReadLineIn(const cv::Mat &line, const char *languages);

} // namespace Scan
