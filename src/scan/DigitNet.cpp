#include "scan/DigitNet.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace Scan
{
namespace
{
constexpr int kW1 = 0;
constexpr int kB1 = kW1 + DigitNet::kHidden * kFeatureSize;
constexpr int kW2 = kB1 + DigitNet::kHidden;
constexpr int kB2 = kW2 + 10 * DigitNet::kHidden;
} // namespace

DigitNet::DigitNet(std::vector<float> weights) : m_w(std::move(weights)) {}

DigitNet DigitNet::Fresh(unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<float> first(0.0f, std::sqrt(2.0f / kFeatureSize));
    std::normal_distribution<float> second(0.0f, std::sqrt(2.0f / kHidden));
    std::vector<float> w(kWeights, 0.0f);
    for (int i = kW1; i < kB1; ++i)
        w[i] = first(random);
    for (int i = kW2; i < kB2; ++i)
        w[i] = second(random);
    return DigitNet(std::move(w));
}

void DigitNet::Forward(const Features &features, std::array<float, kHidden> &hidden,
                       std::array<float, 10> &out) const
{
    for (int h = 0; h < kHidden; ++h) {
        const float *row = &m_w[kW1 + h * kFeatureSize];
        float sum = m_w[kB1 + h];
        for (int i = 0; i < kFeatureSize; ++i)
            sum += row[i] * features[i];
        hidden[h] = std::max(0.0f, sum);
    }
    float top = -1e30f;
    for (int d = 0; d < 10; ++d) {
        const float *row = &m_w[kW2 + d * kHidden];
        float sum = m_w[kB2 + d];
        for (int h = 0; h < kHidden; ++h)
            sum += row[h] * hidden[h];
        out[d] = sum;
        top = std::max(top, sum);
    }
    float total = 0;
    for (float &o : out) {
        o = std::exp(o - top);
        total += o;
    }
    for (float &o : out)
        o /= total;
}

std::array<float, 10> DigitNet::Probabilities(const Features &features) const
{
    std::array<float, 10> out{};
    if (empty()) {
        out.fill(0.1f);
        return out;
    }
    std::array<float, kHidden> hidden{};
    Forward(features, hidden, out);
    return out;
}

void DigitNet::Learn(const Features &features, int digit, float rate)
{
    std::array<float, kHidden> hidden{};
    std::array<float, 10> out{};
    Forward(features, hidden, out);
    // Cross-entropy: the output error is the probability minus the truth.
    std::array<float, 10> error{};
    for (int d = 0; d < 10; ++d)
        error[d] = out[d] - (d == digit ? 1.0f : 0.0f);
    std::array<float, kHidden> back{};
    for (int d = 0; d < 10; ++d) {
        float *row = &m_w[kW2 + d * kHidden];
        for (int h = 0; h < kHidden; ++h) {
            back[h] += error[d] * row[h];
            row[h] -= rate * (error[d] * hidden[h] + 1e-5f * row[h]);
        }
        m_w[kB2 + d] -= rate * error[d];
    }
    for (int h = 0; h < kHidden; ++h) {
        if (hidden[h] <= 0)
            continue;
        float *row = &m_w[kW1 + h * kFeatureSize];
        for (int i = 0; i < kFeatureSize; ++i)
            row[i] -= rate * (back[h] * features[i] + 1e-5f * row[i]);
        m_w[kB1 + h] -= rate * back[h];
    }
}

} // namespace Scan
