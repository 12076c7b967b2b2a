// lumiwatch: the monitoring server. This build carries the headless shell only; started without
// "--headless" (as the console does, with " /show N") it runs headless all the same, so that schedules
// and monitoring go on.
#include "HeadlessShell.h"
#include "ServerCommandLine.h"

#include <cstdio>

int main(int argc, char** argv)
{
    const lumivane::ServerCommandLine commandLine = lumivane::ServerCommandLine::parse(argc, argv);
    if (!commandLine.headless)
        std::fprintf(stderr, "lumiwatch: no window shell in this build; running without windows.\n");
    return lumivane::runHeadless(commandLine);
}
