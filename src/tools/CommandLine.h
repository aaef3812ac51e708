#pragma once
// What the two command-line tools share: telling their arguments apart, and
// the way from main() to a tool's Main with standard output and error.

#include <QByteArrayView>
#include <QFile>
#include <QStringList>
#include <cstdio>
#include <functional>

namespace CommandLine
{

// Where a piece of output goes, UTF-8.
using Sink = std::function<void(QByteArrayView)>;

struct Arguments {
    enum class Asked { Run, Help, Version, Unknown };
    QStringList files; // what is no option, everything after "--", and "-" (standard input)
    QStringList flags; // the tool's own options that were given
    Asked asked = Asked::Run;
    QString unknown; // the option no tool knows, when asked is Unknown
};

// The first of --help (-h), --version or an option not in known ends the reading.
inline Arguments Parse(const QStringList &args, const QStringList &known)
{
    Arguments a;
    bool optionsOver = false;
    for (const QString &arg : args) {
        if (optionsOver || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            a.files << arg;
        } else if (arg == QLatin1String("--")) {
            optionsOver = true;
        } else if (known.contains(arg)) {
            a.flags << arg;
        } else {
            a.asked = arg == QLatin1String("--help") || arg == QLatin1String("-h") ? Arguments::Asked::Help
                      : arg == QLatin1String("--version")                          ? Arguments::Asked::Version
                                                          : Arguments::Asked::Unknown;
            a.unknown = arg;
            break;
        }
    }
    return a;
}

using ToolMain = std::function<int(const QStringList &args, const Sink &out, const Sink &err)>;

// Runs a tool's Main on the program's arguments. Output that never arrived (a
// full disk, a closed pipe) is no success: then the status is outputLost.
inline int Run(int argc, char **argv, const ToolMain &main, int outputLost)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QFile::decodeName(argv[i]);
    const auto to = [](std::FILE *stream) {
        return [stream](QByteArrayView text) {
            std::fwrite(text.data(), 1, static_cast<std::size_t>(text.size()), stream);
        };
    };
    const int code = main(args, to(stdout), to(stderr));
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? code : outputLost;
}

} // namespace CommandLine
