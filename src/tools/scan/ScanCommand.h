#pragma once
// The command line of zhrebikon-scan:
//
//     zhrebikon-scan [--json] IMAGE...
//
// Reads the tickets in each picture. Exit status 0 when every picture could be
// read (a picture without a ticket gives none), 1 when a file could not be
// read (its error says why), 2 for wrong usage.

#include "scan/BiletScan.h"

#include <QByteArrayView>
#include <QStringList>
#include <functional>

namespace ScanTool
{

enum ExitCode : int {
    kExitOk = 0,
    kExitFile = 1,
    kExitUsage = 2,
};

// Where a piece of output goes, UTF-8.
using Sink = std::function<void(QByteArrayView)>;

// One picture as read.
struct Entry {
    QString file; // as given on the command line
    Scan::FileResult result;
};

// All pictures as one JSON object: {"images": [{"file", "error", "tickets"}]}.
QByteArray ToJson(const std::vector<Entry> &entries);
// The same for a person to read.
QString ToText(const std::vector<Entry> &entries);

// Runs the tool for the arguments (without the program name). Returns the exit status.
int Main(const QStringList &args, const Sink &out, const Sink &err);

} // namespace ScanTool
