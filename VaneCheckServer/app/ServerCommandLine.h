#pragma once

#include <string>
#include <vector>

namespace lumivane {

// The server's command line (the console starts it with " /show %d"):
//  - "show", after "/" or "-" and compared without regard to case, asks for the status window at start; the
//    next plain parameter is the authority level it opens with (0 or none: the operator logs in first).
//    A plain parameter counts as that level only right after the switch.
//  - "--headless" runs the engine without any window.
//  - "--help" or "-h" asks for the usage only: nothing is started.
struct ServerCommandLine
{
    bool show = false;
    int showAuthority = 0;
    bool headless = false;
    bool help = false;

    static ServerCommandLine parse(const std::vector<std::string>& arguments); // without the program name
    static ServerCommandLine parse(int argc, char** argv);
};

} // namespace lumivane
