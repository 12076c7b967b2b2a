#pragma once

namespace lumivane {

struct ServerCommandLine;

// The whole program with its windows: start-up, the event loop until "E&xit", SIGTERM or SIGINT, the end in
// order. Returns the exit code.
int runWithWindows(int& argc, char** argv, const ServerCommandLine& commandLine);

} // namespace lumivane
