#pragma once
// Printed digits as the reader sees them: a patch of paper becomes an ink map,
// the ink map a row of glyphs, a glyph a feature vector that the digit model
// compares with the glyphs it was made from. The model maker uses these same
// functions, so what it learnt is what the reader measures.

#include <opencv2/core.hpp>

#include <array>
#include <vector>

namespace Scan
{

// The value below which the given share of an 8-bit patch's pixels lie.
int Percentile(const cv::Mat &gray, double share);

// Ink of a patch: 1 where it is as dark as its darkest print, 0 on its paper.
// The patch is the brightest channel of the colour picture, so coloured lines
// and pictures stay light and only dark print counts. An evenly coloured patch
// gives an all-zero map.
cv::Mat InkMap(const cv::Mat &brightness);

// One printed character: where it lies in the patch and its ink alone.
struct Glyph {
    cv::Rect box;
    cv::Mat ink; // CV_32F, box-sized, other characters' ink removed
};

// The characters of a patch from left to right. Specks, and strokes that run
// along the patch's edge (grid lines caught at the border), are left out;
// minHeight is the smallest height of a character as a share of the patch;
// expected, when not 0, is how many characters the patch holds.
std::vector<Glyph> GlyphsOf(const cv::Mat &ink, double minHeight, int expected = 0);

// Tells a 3 from a 5 by the one stroke that parts them: a 5 comes down the
// left side from its top bar to its bowl, where a 3 is open. Gives 3 or 5 when
// the glyph's ink says so plainly, -1 when it does not. Small blurred print
// runs the two together in every other feature.
int ThreeOrFive(const cv::Mat &ink);

// How narrow a glyph is about its middle against its widest above and below
// it: an 8 is pinched between its loops, a 0 is not, slashed or blurred
// bold. -1 for a glyph too small to tell.
double Waist(const cv::Mat &ink);

inline constexpr int kFeatureSize = 128 + 64 + 1;
using Features = std::array<float, kFeatureSize>;

// Describes a glyph by its stroke directions, its shape and its width, all
// independent of its size and contrast.
Features GlyphFeatures(const cv::Mat &ink);

// Where among the features the glyph's width for its height lies, and the
// width a value there stands for.
inline constexpr int kWidthFeature = 192;
inline float WidthOf(float feature)
{
    return feature * 3.0f;
}

} // namespace Scan
