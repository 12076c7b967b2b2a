#pragma once

#include "CommandLine.h"
#include "PanelRegistry.h"

#include <ostream>
#include <string>
#include <vector>

namespace lumivane::ctl {

// "monitors export FILE [MONITOR | --group GROUP]": everything, one monitor with the groups above it, or
// a group with the groups above it and everything below it, in the order of the console's tree.
int exportMonitors(const CommandLine& line, std::ostream& out, std::ostream& err, const PanelRegistry& registry,
                   const std::vector<std::string>& words);

// "monitors import FILE (--replace | --add)". A file that cannot be read or is no export: its message and
// status 2, nothing changed. Tells a running server that the monitors changed.
int importMonitors(const CommandLine& line, std::ostream& out, std::ostream& err, const PanelRegistry& registry,
                   const std::vector<std::string>& words);

} // namespace lumivane::ctl
