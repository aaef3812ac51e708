#pragma once
// The digit model: glyphs of the digits 0-9 drawn in many typefaces and spoilt
// as a phone spoils them, kept as feature vectors. A glyph is read by the vote
// of its nearest known glyphs; it is doubtful when they disagree or when even
// the nearest is far from it (a typeface, a blot or a picture the model never
// saw).

#include "scan/Glyphs.h"

#include <cstdint>
#include <vector>

namespace Scan
{

struct DigitVote {
    int digit = -1;        // -1 when no allowed digit was near
    bool doubtful = true;  // split vote or far from every known glyph
    float distance = 1e9f; // to the nearest known glyph of that digit
};

class DigitModel
{
public:
    // Neighbours that vote.
    static constexpr int kVoters = 5;

    DigitModel(std::vector<std::uint8_t> prototypes, std::vector<std::uint8_t> digits, float farDistance);

    // The model built into the program.
    static const DigitModel &Builtin();

    // Reads a glyph; only digits whose bit is set in allowed can win.
    DigitVote Classify(const Features &features, unsigned allowed = 0x3ff) const;

    // Quantises features as the model stores them.
    static void Quantise(const Features &features, std::vector<std::uint8_t> &into);

    int size() const { return static_cast<int>(m_digits.size()); }
    float farDistance() const { return m_far; }

private:
    std::vector<std::uint8_t> m_prototypes; // size() x kFeatureSize, 0..255 for 0..1
    std::vector<std::uint8_t> m_digits;
    float m_far;
};

} // namespace Scan
