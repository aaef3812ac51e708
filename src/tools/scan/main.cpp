// zhrebikon-scan: reads the tickets in photos and scans of paper tickets and
// prints their numbers, for a person or as JSON.
#include "tools/scan/ScanCommand.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char **argv)
{
    // Pictures are decoded by Qt's image plugins, found through the
    // application object; no screen is needed.
    QCoreApplication app(argc, argv);
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QFile::decodeName(argv[i]);
    const auto to = [](std::FILE *stream) {
        return [stream](QByteArrayView text) {
            std::fwrite(text.data(), 1, static_cast<std::size_t>(text.size()), stream);
        };
    };
    const int code = ScanTool::Main(args, to(stdout), to(stderr));
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? code : ScanTool::kExitFile;
}
