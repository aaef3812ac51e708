#include "scan/LineOcr.h"

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <map>
#include <memory>
#include <string>

// Tesseract's recogniser runs parts of a line on OpenMP threads, asked for by
// a fixed count that can exceed the processors: on two cores a line took five
// times as long. Adjusting the count to the processors free is asked of the
// OpenMP runtime Tesseract brings, when it brings one.
extern "C" {
__attribute__((weak)) void omp_set_dynamic(int dynamic);
}

namespace Scan
{
namespace
{

// Loading the recogniser takes a tenth of a second; it is done once per thread
// and language. Null when the language's data is missing.
tesseract::TessBaseAPI *Recogniser(const std::string &languages)
{
    thread_local std::map<std::string, std::unique_ptr<tesseract::TessBaseAPI>> apis;
    const auto known = apis.find(languages);
    if (known != apis.end())
        return known->second.get();
    // The setting is the thread's own, as the recognisers are.
    if (omp_set_dynamic != nullptr)
        omp_set_dynamic(1);
    auto fresh = std::make_unique<tesseract::TessBaseAPI>();
    if (fresh->Init(nullptr, languages.c_str(), tesseract::OEM_LSTM_ONLY) == 0) {
        fresh->SetPageSegMode(tesseract::PSM_SINGLE_LINE);
        // No dictionary: numbers are no words.
        fresh->SetVariable("load_system_dawg", "0");
        fresh->SetVariable("load_freq_dawg", "0");
        fresh->SetVariable("debug_file", "/dev/null");
    } else {
        fresh.reset();
    }
    return apis.emplace(languages, std::move(fresh)).first->second.get();
}

LineText ReadAs(tesseract::TessBaseAPI *api, const cv::Mat &line)
{
    LineText read;
    api->SetImage(line.data, line.cols, line.rows, 1, int(line.step));
    api->SetSourceResolution(300);
    if (api->Recognize(nullptr) != 0)
        return read;
    std::unique_ptr<tesseract::ResultIterator> it(api->GetIterator());
    if (!it)
        return read;
    do {
        if (it->IsAtBeginningOf(tesseract::RIL_WORD) && !read.text.isEmpty()) {
            read.text += QLatin1Char(' ');
            read.certainty.push_back(100.0f);
        }
        const std::unique_ptr<char[]> symbol(it->GetUTF8Text(tesseract::RIL_SYMBOL));
        if (!symbol)
            continue;
        const QString text = QString::fromUtf8(symbol.get());
        const float certainty = it->Confidence(tesseract::RIL_SYMBOL);
        for (QChar c : text) {
            read.text += c;
            read.certainty.push_back(certainty);
        }
    } while (it->Next(tesseract::RIL_SYMBOL));
    api->Clear();
    return read;
}

LineText Read(tesseract::TessBaseAPI *api, const cv::Mat &line)
{
    if (!api || line.empty() || line.type() != CV_8U)
        return {};
    LineText read = ReadAs(api, line);
    // Bold print blurred until its letters run together is found to be no
    // text at all where the recogniser looks for characters first; read as
    // one raw line it mostly comes out ("ТИРАЖ №1234" read as nothing).
    if (read.text.trimmed().isEmpty()) {
        api->SetPageSegMode(tesseract::PSM_RAW_LINE);
        read = ReadAs(api, line);
        api->SetPageSegMode(tesseract::PSM_SINGLE_LINE);
    }
    return read;
}

} // namespace

LineText ReadLine(const cv::Mat &line, bool latinFirst)
{
    tesseract::TessBaseAPI *api = latinFirst ? Recogniser("eng+rus") : nullptr;
    return Read(api ? api : Recogniser("rus"), line);
}

LineText ReadLineIn(const cv::Mat &line, const char *languages)
{
    return Read(Recogniser(languages), line);
}

} // namespace Scan
