#pragma once
// A small network that reads a glyph's features as a digit: one hidden layer
// of rectified units and a softmax over the ten digits. It is trained by the
// model maker on the same glyphs the prototypes come from; the reader trusts a
// digit only when the network and the nearest prototypes agree.

#include "scan/Glyphs.h"

#include <array>
#include <vector>

namespace Scan
{

class DigitNet
{
public:
    static constexpr int kHidden = 96;
    static constexpr int kWeights = kHidden * kFeatureSize + kHidden + 10 * kHidden + 10;

    DigitNet() = default;
    explicit DigitNet(std::vector<float> weights);

    bool empty() const { return m_w.size() != std::size_t(kWeights); }
    // Probability of each digit.
    std::array<float, 10> Probabilities(const Features &features) const;
    // One step of stochastic gradient descent on a labelled glyph.
    void Learn(const Features &features, int digit, float rate);
    // Random small weights to start from.
    static DigitNet Fresh(unsigned seed);

    const std::vector<float> &weights() const { return m_w; }

private:
    void Forward(const Features &features, std::array<float, kHidden> &hidden,
                 std::array<float, 10> &out) const;

    std::vector<float> m_w; // hidden weights, hidden biases, output weights, output biases
};

} // namespace Scan
