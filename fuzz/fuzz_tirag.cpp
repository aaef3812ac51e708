// Arbitrary bytes into the draw file reader. A draw it accepts must be one the
// program could have saved, and must save and read back to the same entries, and to the same title when the
// title is one the format can carry.

#include "FuzzCheck.h"
#include "io/Cp1251.h"
#include "io/TiragFile.h"

#include <cstdint>
#include <cstdlib>

namespace
{

// A comma ends a title, and leading spaces and a leading quote are taken as
// field syntax, so only other titles survive a save. So does a title whose
// first bytes in the code page are a UTF-8 byte-order mark.
bool TitleSurvivesSaving(const QString &title)
{
    return Cp1251::CanEncode(title) && !title.contains(QLatin1Char(',')) &&
           !title.startsWith(QLatin1Char(' ')) && !title.startsWith(QLatin1Char('"')) &&
           !Cp1251::Encode(title).startsWith("\xEF\xBB\xBF");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto result = TiragFile::Parse(bytes);
    if (const auto *e = std::get_if<FileParseError>(&result)) {
        Require(e->line >= 1 && e->line <= std::max<qsizetype>(LineCount(bytes), 1));
        Require(!e->reason.isEmpty());
        return 0;
    }

    const TiragFileData &draw = std::get<TiragFileData>(result);
    Require(SavedDraw(draw.tirag.Entries()));
    const auto reread = TiragFile::Parse(TiragFile::Encode(draw.RegimTitle, draw.tirag));
    Require(std::holds_alternative<TiragFileData>(reread));
    const TiragFileData &again = std::get<TiragFileData>(reread);
    Require(again.tirag == draw.tirag);
    if (TitleSurvivesSaving(draw.RegimTitle))
        Require(again.RegimTitle == draw.RegimTitle);
    return 0;
}
