// Arbitrary bytes into the tickets file reader. Beyond surviving them, a set it
// accepts must be tickets as printed, all the file holds, and one the program
// can use, save and read back unchanged.

#include "FuzzCheck.h"
#include "io/BiletFile.h"
#include "io/Cp1251.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    BiletFileData kept;
    const auto result = BiletFile::Parse(bytes, &kept);
    if (const auto *e = std::get_if<FileParseError>(&result)) {
        Require(e->line >= 1 && e->line <= LineCount(bytes) + 1);
        Require(!e->reason.isEmpty());
        // What a damaged file offers is whole tickets only, all before the fault.
        Require(kept.Bilety.empty() || static_cast<qint64>(kept.Bilety.size()) * 31 + 2 < e->line);
        for (const BILETCls &bilet : kept.Bilety)
            Require(PrintedTicket(bilet));
        return 0;
    }

    // Every ticket accepted is one that could be printed, and the count on
    // line 2 left nothing but blank lines unread.
    const BiletFileData &set = std::get<BiletFileData>(result);
    Require(!set.Bilety.empty());
    for (const BILETCls &bilet : set.Bilety)
        Require(PrintedTicket(bilet));
    Require(BlankAfter(bytes, 2 + 31 * static_cast<qsizetype>(set.Bilety.size())));

    const QByteArray saved =
        BiletFile::Encode(set.TiragTitle, set.Bilety, static_cast<qint32>(set.Bilety.size()));
    const auto reread = BiletFile::Parse(saved);
    Require(std::holds_alternative<BiletFileData>(reread));
    const BiletFileData &again = std::get<BiletFileData>(reread);
    Require(again.Bilety.size() == set.Bilety.size());
    // Text the code page cannot hold is written as a stand-in, so only text it
    // can hold must come back as it was.
    // A title whose bytes begin like a UTF-8 byte-order mark reads back as UTF-8.
    if (Cp1251::CanEncode(set.TiragTitle) && !Cp1251::Encode(set.TiragTitle).startsWith("\xEF\xBB\xBF"))
        Require(again.TiragTitle == set.TiragTitle);
    for (std::size_t t = 0; t < set.Bilety.size(); ++t) {
        if (Cp1251::CanEncode(set.Bilety[t].Nomer))
            Require(again.Bilety[t].Nomer == set.Bilety[t].Nomer);
        for (int k = 0; k < Loto::kNomeraPerBilet; ++k)
            Require(again.Bilety[t].NomeraList(k) == set.Bilety[t].NomeraList(k));
    }
    return 0;
}
