#pragma once

#include "CommandIo.h"

#include <string>
#include <vector>

namespace lumivane::ctl {

extern const char* const kStatusHelp;

// Exit statuses of "status" beyond 0, 1 and 2.
inline constexpr int kExitNoServer = 3;     // no server runs (the last state it wrote is still printed)
inline constexpr int kExitNoStatusFile = 4; // the server runs but has written no status file yet

// "status [TARGET...] [--json]": the monitors' state as the running server last wrote it.
int statusCommand(const CommandIo& io, const std::vector<std::string>& words);

} // namespace lumivane::ctl
