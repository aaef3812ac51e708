#pragma once
// The command line of zhrebikon-check:
//
//     zhrebikon-check [--json] [--report REPORT.pdf|.csv] [--results] TICKETS_FILE DRAW_FILE
//
// Exit status 0 when the draw was replayed, 1 when a file cannot be opened or
// read (the program's message on standard error), 2 for wrong usage.

#include "tools/Checker.h"

#include <QStringList>

namespace Check
{

enum ExitCode : int {
    kExitOk = 0,
    kExitFile = 1,
    kExitUsage = 2,
};

// Runs the checker for the arguments (without the program name); what belongs
// on standard output and standard error goes to out and err, UTF-8. Returns
// the exit status.
int Main(const QStringList &args, const Sink &out, const Sink &err);

} // namespace Check
