#pragma once

#include "CommandIo.h"

#include <string>
#include <vector>

namespace lumivane::ctl {

extern const char* const kSchedulesHelp;

// "schedules list|add|delete|show|weekly|date|remove-entry|assign|unassign ...".
int schedulesCommand(const CommandIo& io, const std::vector<std::string>& words);

} // namespace lumivane::ctl
