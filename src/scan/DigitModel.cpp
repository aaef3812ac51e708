#include "scan/DigitModel.h"

#include <QByteArray>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace Scan
{
namespace
{
// Written by the model maker (scripts/make-digit-model.sh): kModelFar,
// kModelDigits (one Latin digit per glyph), kModelPrototypes and kModelNet
// (the network's weights as little-endian floats), both in Base64.
#include "scan/DigitModelData.inc"
} // namespace

DigitModel::DigitModel(std::vector<std::uint8_t> prototypes, std::vector<std::uint8_t> digits,
                       float farDistance, DigitNet net)
    : m_prototypes(std::move(prototypes)), m_digits(std::move(digits)), m_far(farDistance),
      m_net(std::move(net))
{
    if (m_prototypes.size() != m_digits.size() * kFeatureSize)
        m_digits.clear();
}

const DigitModel &DigitModel::Builtin()
{
    static const DigitModel model = [] {
        const QByteArray raw = QByteArray::fromBase64(QByteArray(kModelPrototypes));
        std::vector<std::uint8_t> prototypes(raw.begin(), raw.end());
        std::vector<std::uint8_t> digits;
        for (const char *d = kModelDigits; *d; ++d)
            digits.push_back(std::uint8_t(*d - '0'));
        const QByteArray packed = QByteArray::fromBase64(QByteArray(kModelNet));
        std::vector<float> weights(std::size_t(packed.size()) / sizeof(float));
        std::memcpy(weights.data(), packed.constData(), weights.size() * sizeof(float));
        return DigitModel(std::move(prototypes), std::move(digits), kModelFar, DigitNet(std::move(weights)));
    }();
    return model;
}

float DigitModel::TypicalWidth(unsigned digits) const
{
    std::vector<float> widths;
    for (int p = 0; p < size(); ++p)
        if (digits & (1u << m_digits[std::size_t(p)]))
            widths.push_back(WidthOf(m_prototypes[std::size_t(p) * kFeatureSize + kWidthFeature] / 255.0f));
    if (widths.empty())
        return 0;
    std::nth_element(widths.begin(), widths.begin() + std::ptrdiff_t(widths.size() / 2), widths.end());
    return widths[widths.size() / 2];
}

void DigitModel::Quantise(const Features &features, std::vector<std::uint8_t> &into)
{
    for (float f : features)
        into.push_back(std::uint8_t(std::lround(std::clamp(f, 0.0f, 1.0f) * 255.0f)));
}

std::array<float, 10> DigitModel::Nearest(const Features &features, unsigned allowed) const
{
    std::array<int, kFeatureSize> probe{};
    for (int i = 0; i < kFeatureSize; ++i)
        probe[i] = int(std::lround(std::clamp(features[i], 0.0f, 1.0f) * 255.0f));
    std::array<int, 10> best;
    best.fill(INT32_MAX);
    const int count = size();
    for (int p = 0; p < count; ++p) {
        const int digit = m_digits[p];
        if (!(allowed & (1u << digit)))
            continue;
        const std::uint8_t *proto = &m_prototypes[std::size_t(p) * kFeatureSize];
        int sum = 0;
        for (int i = 0; i < kFeatureSize && sum < best[digit]; ++i) {
            const int d = probe[i] - proto[i];
            sum += d * d;
        }
        best[digit] = std::min(best[digit], sum);
    }
    std::array<float, 10> distances;
    for (int d = 0; d < 10; ++d)
        distances[d] = best[d] == INT32_MAX ? 1e9f : std::sqrt(float(best[d])) / 255.0f;
    return distances;
}

DigitVote DigitModel::Classify(const Features &features, unsigned allowed) const
{
    std::array<int, kFeatureSize> probe{};
    for (int i = 0; i < kFeatureSize; ++i)
        probe[i] = int(std::lround(std::clamp(features[i], 0.0f, 1.0f) * 255.0f));

    // The nearest few, kept sorted.
    std::array<std::pair<int, int>, kVoters> nearest;
    nearest.fill({INT32_MAX, -1});
    const int count = size();
    for (int p = 0; p < count; ++p) {
        if (!(allowed & (1u << m_digits[p])))
            continue;
        const std::uint8_t *proto = &m_prototypes[std::size_t(p) * kFeatureSize];
        int sum = 0;
        for (int i = 0; i < kFeatureSize && sum < nearest.back().first; ++i) {
            const int d = probe[i] - proto[i];
            sum += d * d;
        }
        if (sum < nearest.back().first) {
            nearest.back() = {sum, m_digits[p]};
            std::sort(nearest.begin(), nearest.end());
        }
    }
    DigitVote vote;
    std::array<int, 10> votes{};
    for (const auto &[distance, digit] : nearest)
        if (digit >= 0)
            ++votes[digit];
    const auto best = std::max_element(votes.begin(), votes.end());
    if (*best == 0)
        return vote;
    // Ties go to the digit of the nearest voter among them.
    for (const auto &[distance, digit] : nearest) {
        if (digit >= 0 && votes[digit] == *best) {
            vote.digit = digit;
            vote.distance = std::sqrt(float(distance)) / 255.0f;
            break;
        }
    }
    vote.doubtful = *best < kVoters || vote.distance > m_far;
    if (!m_net.empty()) {
        const std::array<float, 10> p = m_net.Probabilities(features);
        int named = -1;
        float total = 0;
        for (int d = 0; d < 10; ++d) {
            if (!(allowed & (1u << d)))
                continue;
            total += p[d];
            if (named < 0 || p[d] > p[named])
                named = d;
        }
        // The prototypes read real print better; the network only warns.
        const bool sure = total > 0 && p[named] / total >= 0.9f;
        vote.doubtful = vote.doubtful || !sure || named != vote.digit;
    }
    return vote;
}

} // namespace Scan
