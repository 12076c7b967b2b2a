#pragma once

#include "CommandIo.h"

#include <string>
#include <vector>

namespace lumivane::ctl {

extern const char* const kWallHelp;

// "wall make|show|send ...": video walls in enlarge setting files (.esf).
int wallCommand(const CommandIo& io, const std::vector<std::string>& words);

} // namespace lumivane::ctl
