#pragma once

#include "CommandIo.h"

#include <string>
#include <vector>

namespace lumivane::ctl {

extern const char* const kMailHelp;
extern const char* const kMonitoringHelp;

// "mail list|add|remove|test ..." and "mail reports list|add|remove ...".
int mailCommand(const CommandIo& io, const std::vector<std::string>& words);
// "monitoring show" and "monitoring set ...".
int monitoringCommand(const CommandIo& io, const std::vector<std::string>& words);

} // namespace lumivane::ctl
