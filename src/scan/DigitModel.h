#pragma once
// The digit model: glyphs of the digits 0-9 drawn in many typefaces and spoilt
// as a phone spoils them, kept as feature vectors and learnt by a small
// network. A glyph is read by the network and by the vote of its nearest known
// glyphs; it is doubtful when they disagree, when the vote is split or when
// even the nearest is far from it (a typeface, a blot or a picture the model
// never saw).

#include "scan/DigitNet.h"
#include "scan/Glyphs.h"

#include <array>
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

    DigitModel(std::vector<std::uint8_t> prototypes, std::vector<std::uint8_t> digits, float farDistance,
               DigitNet net = {});

    // The model built into the program.
    static const DigitModel &Builtin();

    // Reads a glyph; only digits whose bit is set in allowed can win. The
    // nearest prototypes name the digit; it is doubtful unless the network
    // names it too and is sure, and the glyph is near a known one.
    DigitVote Classify(const Features &features, unsigned allowed = 0x3ff) const;

    // How far the glyph is from the nearest known glyph of each digit
    // (a large value for digits not allowed).
    std::array<float, 10> Nearest(const Features &features, unsigned allowed = 0x3ff) const;

    // Quantises features as the model stores them.
    static void Quantise(const Features &features, std::vector<std::uint8_t> &into);

    // How wide the glyphs of the given digits it knows are for their
    // height, in the middle of its typefaces; 0 when it knows none.
    float TypicalWidth(unsigned digits) const;

    int size() const { return static_cast<int>(m_digits.size()); }
    float farDistance() const { return m_far; }

private:
    std::vector<std::uint8_t> m_prototypes; // size() x kFeatureSize, 0..255 for 0..1
    std::vector<std::uint8_t> m_digits;
    float m_far;
    DigitNet m_net;
};

} // namespace Scan
