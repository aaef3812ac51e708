// zhrebikon-check: replays a saved draw against a ticket file without any
// window and prints what the program would have announced and listed.
#include "tools/CheckCommand.h"
#include "tools/CommandLine.h"

int main(int argc, char **argv)
{
    return CommandLine::Run(argc, argv, Check::Main, Check::kExitFile);
}
