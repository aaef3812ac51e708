// zhrebikon-check: replays a saved draw against a ticket file without any
// window and prints what the program would have announced and listed.
#include "tools/CheckCommand.h"

#include <QFile>
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QFile::decodeName(argv[i]);

    const auto to = [](std::FILE *stream) {
        return [stream](QByteArrayView text) {
            std::fwrite(text.data(), 1, static_cast<std::size_t>(text.size()), stream);
        };
    };
    const int code = Check::Main(args, to(stdout), to(stderr));
    // Output that never arrived (a full disk, a closed pipe) is no success.
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? code : Check::kExitFile;
}
