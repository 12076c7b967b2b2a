// lumiwatch: the monitoring server. This build carries the headless shell only; started without
// "--headless" (as the console does, with " /show N") it runs headless all the same, so that schedules
// and monitoring go on.
#include "HeadlessShell.h"
#include "ServerCommandLine.h"

#include <cstdio>

int main(int argc, char** argv)
{
    const lumivane::ServerCommandLine commandLine = lumivane::ServerCommandLine::parse(argc, argv);
    if (commandLine.help) {
        std::printf("usage: lumiwatch --headless      the monitoring server without windows (the system service)\n"
                    "       lumiwatch [/show N]       with its status window (N: the authority to open it with)\n"
                    "The data folder is $LUMIVANE_DATA_DIR when set, else /var/lib/Kairo/Lumivane.\n");
        return 0;
    }
    if (!commandLine.headless)
        std::fprintf(stderr, "lumiwatch: no window shell in this build; running without windows.\n");
    return lumivane::runHeadless(commandLine);
}
