#pragma once

#include "CommandIo.h"

#include <string>
#include <vector>

namespace lumivane::ctl {

// "monitors info TARGET...": asks each monitor for its model, serial number, MAC address (LAN) and
// expansion board, stores what it reported and prints it. A ZR-1190 gets its power-on command enabled
// instead. Tells a running server when anything was stored.
int monitorInformation(const CommandIo& io, const std::vector<std::string>& words);

// "monitors edit MONITOR [options]": changes the monitor as the registration form would, with the form's
// checks and messages; an invalid value changes nothing (status 2). Tells a running server.
int editMonitor(const CommandIo& io, const std::vector<std::string>& words);

} // namespace lumivane::ctl
