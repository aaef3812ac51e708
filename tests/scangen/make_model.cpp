// Makes the reader's digit model: the digits drawn in every model typeface,
// spoilt like photos, measured as the reader measures them, and boiled down
// to a few prototypes per digit. Writes src/scan/DigitModelData.inc; run it
// through scripts/make-digit-model.sh.
#include "TicketArt.h"
#include "scan/DigitModel.h"
#include "scan/DigitNet.h"
#include "scan/Glyphs.h"

#include <QFile>
#include <QGuiApplication>

#include <opencv2/core.hpp>

#include <algorithm>
#include <cstdio>
#include <random>

namespace
{

struct Sample {
    Scan::Features features;
    int digit;
};

constexpr int kCellHeight = 48;

// The glyphs of one drawn cell, labelled, as the reader would cut them.
void Measure(const QImage &cell, int nomer, std::vector<Sample> &into)
{
    const cv::Mat all(cell.height(), cell.width(), CV_8U, const_cast<uchar *>(cell.constBits()),
                      std::size_t(cell.bytesPerLine()));
    const int mx = int(cell.width() * 0.06), my = int(cell.height() * 0.06);
    const cv::Mat inner = all(cv::Rect(mx, my, cell.width() - 2 * mx, cell.height() - 2 * my));
    const auto glyphs = Scan::GlyphsOf(Scan::InkMap(inner), 0.22, int(QString::number(nomer).size()));
    const QString digits = QString::number(nomer);
    // A cell cut into more or fewer pieces than it has digits teaches nothing.
    if (glyphs.size() != std::size_t(digits.size()))
        return;
    for (std::size_t i = 0; i < glyphs.size(); ++i)
        into.push_back({Scan::GlyphFeatures(glyphs[i].ink), digits[int(i)].digitValue()});
}

std::vector<Sample> Draw(const QStringList &families, quint32 seed, int variants)
{
    QRandomGenerator rng(seed);
    std::vector<Sample> samples;
    for (const QString &family : families) {
        for (bool bold : {false, true}) {
            for (int digit = 0; digit < 10; ++digit) {
                for (int v = 0; v < variants; ++v) {
                    int nomer = int(rng.bounded(1, 9)) * 10 + digit;
                    if (digit > 0 && v % 4 == 0)
                        nomer = digit;
                    else if (digit == 0 && v % 5 == 0)
                        nomer = 90;
                    Measure(TicketArt::DrawCellForModel(rng, family, bold, nomer, kCellHeight), nomer,
                            samples);
                }
            }
        }
    }
    return samples;
}

// A few prototypes per digit: the centres of its samples' clusters.
std::pair<std::vector<std::uint8_t>, std::vector<std::uint8_t>> Prototypes(const std::vector<Sample> &samples,
                                                                           int perDigit)
{
    std::vector<std::uint8_t> prototypes, digits;
    for (int digit = 0; digit < 10; ++digit) {
        cv::Mat data;
        for (const Sample &s : samples)
            if (s.digit == digit)
                data.push_back(
                    cv::Mat(1, Scan::kFeatureSize, CV_32F, const_cast<float *>(s.features.data())));
        if (data.rows == 0)
            continue;
        const int k = std::min(perDigit, data.rows);
        cv::Mat labels, centres;
        cv::setRNGSeed(digit + 1);
        cv::kmeans(data, k, labels,
                   cv::TermCriteria(cv::TermCriteria::COUNT + cv::TermCriteria::EPS, 30, 1e-4), 1,
                   cv::KMEANS_PP_CENTERS, centres);
        for (int i = 0; i < centres.rows; ++i) {
            Scan::Features f;
            std::copy_n(centres.ptr<float>(i), Scan::kFeatureSize, f.begin());
            Scan::DigitModel::Quantise(f, prototypes);
            digits.push_back(std::uint8_t(digit));
        }
    }
    return {prototypes, digits};
}

// The network learnt from the samples, shuffled the same way every time.
Scan::DigitNet Train(std::vector<Sample> samples)
{
    Scan::DigitNet net = Scan::DigitNet::Fresh(7);
    std::mt19937 shuffle(11);
    constexpr int kRounds = 30;
    for (int round = 0; round < kRounds; ++round) {
        std::shuffle(samples.begin(), samples.end(), shuffle);
        const float rate = 0.03f * (1.0f - 0.9f * round / kRounds);
        for (const Sample &s : samples)
            net.Learn(s.features, s.digit, rate);
    }
    return net;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.inc\n", argv[0]);
        return 2;
    }
    const QStringList fonts = TicketArt::ModelFonts();
    if (fonts.size() < 10) {
        std::fprintf(stderr, "only %d model typefaces are installed\n", int(fonts.size()));
        return 1;
    }
    constexpr int kPerDigit = 200;
    constexpr int kVariants = 16;
    // The far distance is measured on typefaces the trial model never saw.
    QStringList trial, unseen;
    for (int i = 0; i < fonts.size(); ++i)
        (i % 4 == 1 ? unseen : trial) << fonts[i];
    const auto trialSamples = Draw(trial, 1, kVariants);
    const auto unseenSamples = Draw(unseen, 2, kVariants / 2);
    auto [trialProtos, trialDigits] = Prototypes(trialSamples, kPerDigit);
    const Scan::DigitModel nearestOnly(trialProtos, trialDigits, 1e9f);
    std::vector<float> distances;
    int right = 0;
    for (const Sample &s : unseenSamples) {
        const Scan::DigitVote vote = nearestOnly.Classify(s.features);
        if (vote.digit == s.digit) {
            ++right;
            distances.push_back(vote.distance);
        }
    }
    std::sort(distances.begin(), distances.end());
    const float far = distances.empty() ? 1.0f : distances[std::size_t(0.97 * (distances.size() - 1))];
    std::fprintf(stderr, "unseen typefaces, nearest prototypes: %d of %d glyphs right, far distance %.3f\n",
                 right, int(unseenSamples.size()), far);
    const Scan::DigitModel trialModel(trialProtos, trialDigits, far, Train(trialSamples));
    int netRight = 0, silent = 0, doubtful = 0;
    for (const Sample &s : unseenSamples) {
        const Scan::DigitVote vote = trialModel.Classify(s.features);
        netRight += vote.digit == s.digit;
        silent += vote.digit != s.digit && !vote.doubtful;
        doubtful += vote.doubtful;
    }
    std::fprintf(stderr, "with the network: %d right, %d wrong without doubt, %d doubtful\n", netRight,
                 silent, doubtful);

    auto all = trialSamples;
    all.insert(all.end(), unseenSamples.begin(), unseenSamples.end());
    const auto [prototypes, digits] = Prototypes(all, kPerDigit);
    const Scan::DigitNet net = Train(all);
    QByteArray text = "// Made by scripts/make-digit-model.sh from the typefaces:\n// " +
                      fonts.join(QStringLiteral(", ")).toUtf8() + "\n";
    text += "constexpr float kModelFar = " + QByteArray::number(far, 'f', 4) + "f;\n";
    text += "const char kModelDigits[] =";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i % 100 == 0)
            text += "\n    \"";
        text += char('0' + digits[i]);
        if (i % 100 == 99 || i + 1 == digits.size())
            text += "\"";
    }
    text += ";\nconst char kModelPrototypes[] =";
    const QByteArray packed =
        QByteArray(reinterpret_cast<const char *>(prototypes.data()), qsizetype(prototypes.size()))
            .toBase64();
    for (qsizetype i = 0; i < packed.size(); i += 100)
        text += "\n    \"" + packed.mid(i, 100) + "\"";
    text += ";\nconst char kModelNet[] =";
    const QByteArray weights = QByteArray(reinterpret_cast<const char *>(net.weights().data()),
                                          qsizetype(net.weights().size() * sizeof(float)))
                                   .toBase64();
    for (qsizetype i = 0; i < weights.size(); i += 100)
        text += "\n    \"" + weights.mid(i, 100) + "\"";
    text += ";\n";
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::fprintf(stderr, "%d prototypes written\n", int(digits.size()));
    return 0;
}
