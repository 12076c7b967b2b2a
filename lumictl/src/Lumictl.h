#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace lumivane::ctl {

// Runs one lumictl command line (without the program name) and gives the exit status: 0 everything
// succeeded, 1 something failed, 2 a usage error or a bad value (nothing changed).
int runLumictl(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
               bool errIsTerminal = false);

} // namespace lumivane::ctl
