// Arbitrary bytes into the settings file reader. Whatever it makes of them must
// be written and read back to the very same settings.

#include "FuzzCheck.h"
#include "io/SaveINIM.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const Settings settings = SettingsFile::Decode(bytes);
    Require(SettingsFile::Decode(SettingsFile::Encode(settings)) == settings);
    return 0;
}
