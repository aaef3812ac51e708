#pragma once
// Finding the playing fields of tickets in a picture: the grid lines of a
// field join into one connected shape whatever way the paper lies, so every
// large shape is tried as a quadrilateral of 9 columns and 3 (or, for two
// fields printed together, 6) rows.

#include <opencv2/core.hpp>

#include <array>
#include <vector>

namespace Scan
{

// Four corners; the first side runs along the field's columns. Clockwise on
// screen.
using Quad = std::array<cv::Point2f, 4>;

// One field of 9 x 3 cells.
struct Field {
    Quad quad;
};

// The same quadrilateral seen from the other side of the table.
Quad Turned(const Quad &quad);

// Its middle, and its mean sides along the columns and across the rows.
cv::Point2f Centre(const Quad &q);
cv::Point2f Along(const Quad &q);
cv::Point2f Across(const Quad &q);

// Whether a point lies inside the quadrilateral.
bool Inside(const Quad &quad, cv::Point2f point);

// Every field in an RGB picture. A grid of 6 rows gives both its fields.
std::vector<Field> FindFields(const cv::Mat &rgb);

// The fields without those that hold a smaller one inside them: the frames
// of tickets printed side by side on a sheet may pass for a grid around the
// fields inside them, and a real field holds no other field.
std::vector<Field> WithoutEnclosing(const std::vector<Field> &fields);

// How well the quadrilateral holds a grid of 9 columns and the given rows in a
// picture of ink (255) on paper (0): the share of inner lines found, 0..1.
double GridScore(const cv::Mat &ink, const Quad &quad, int rows);

// The slice of a quadrilateral between two fractions of its rows (0..1).
Quad RowSlice(const Quad &quad, double from, double to);

} // namespace Scan
