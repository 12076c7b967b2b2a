#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace lumivane {

// Splits a command line into arguments without a shell: blanks and tabs separate arguments, double quotes
// group (and are removed), nothing is expanded. An unclosed quote runs to the end of the line.
std::vector<std::string> splitCommandLine(std::string_view line);

// Starts the program `arguments[0]` (a path, not searched in PATH) with `arguments`, in a session of its
// own so that it outlives the starter, and does not wait for it; a background thread reaps it when it ends.
// False with the cause in `error` when the program cannot be started.
bool spawnDetached(const std::vector<std::string>& arguments, std::string& error, pid_t* childId = nullptr);

} // namespace lumivane
