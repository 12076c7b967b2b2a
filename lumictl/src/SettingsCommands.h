#pragma once

#include "CommandIo.h"

#include <string>
#include <vector>

namespace lumivane::ctl {

extern const char* const kSettingsHelp;

// "settings save MONITOR FILE" and "settings load FILE TARGET... [--force]".
int settingsCommand(const CommandIo& io, const std::vector<std::string>& words);

} // namespace lumivane::ctl
