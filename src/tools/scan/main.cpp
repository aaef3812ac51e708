// zhrebikon-scan: reads the tickets in photos and scans of paper tickets and
// prints their numbers, for a person or as JSON.
#include "tools/CommandLine.h"
#include "tools/scan/ScanCommand.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    // Pictures are decoded by Qt's image plugins, found through the
    // application object; no screen is needed.
    QCoreApplication app(argc, argv);
    return CommandLine::Run(argc, argv, ScanTool::Main, ScanTool::kExitFile);
}
