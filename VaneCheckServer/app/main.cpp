// lumiwatch: the monitoring server. On a desktop it lives in the notification area with its status window;
// with "--headless" (a PC without a desktop, or the system service) the same engine runs without windows.
#include "HeadlessShell.h"
#include "ServerCommandLine.h"
#ifdef LUMIWATCH_WITH_WINDOWS
#include "RunWithWindows.h"
#endif

#include <cstdio>
#include <cstdlib>

namespace {

bool desktopReachable()
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* platform = std::getenv("QT_QPA_PLATFORM"); // offscreen: tests and screenshots
    return (x11 && *x11) || (wayland && *wayland) || (platform && *platform);
}

} // namespace

int main(int argc, char** argv)
{
    const lumivane::ServerCommandLine commandLine = lumivane::ServerCommandLine::parse(argc, argv);
    if (commandLine.help) {
        std::printf("usage: lumiwatch --headless      the monitoring server without windows (the system service)\n"
                    "       lumiwatch [/show N]       in the notification area, with its status window (N: the\n"
                    "                                 authority to open it with; 0 asks for a log-in)\n"
                    "The data folder is $LUMIVANE_DATA_DIR when set, else /var/lib/Kairo/Lumivane.\n");
        return 0;
    }
    if (commandLine.headless)
        return lumivane::runHeadless(commandLine);
#ifdef LUMIWATCH_WITH_WINDOWS
    if (!desktopReachable()) {
        std::fprintf(stderr, "lumiwatch: no desktop to show the icon on (neither DISPLAY nor WAYLAND_DISPLAY is "
                             "set); start it with --headless to run without windows.\n");
        return 2;
    }
    return lumivane::runWithWindows(argc, argv, commandLine);
#else
    std::fprintf(stderr, "lumiwatch: built without windows; running as with --headless.\n");
    return lumivane::runHeadless(commandLine);
#endif
}
