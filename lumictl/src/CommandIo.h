#pragma once

#include "CommandLine.h"
#include "PanelRegistry.h"

#include <ostream>
#include <string>
#include <vector>

namespace lumivane::ctl {

// What a lumictl command works with: its command line, its output streams and the panel store.
struct CommandIo
{
    const CommandLine& line;
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal;
    PanelRegistry& registry;
};

using IoCommand = int (*)(const CommandIo&, const std::vector<std::string>&);

// Runs a command written for CommandIo from lumictl's own command context.
template <IoCommand command, typename Context>
int withIo(Context& context, const std::vector<std::string>& words)
{
    return command(CommandIo{context.line, context.out, context.err, context.errIsTerminal, context.registry}, words);
}

// Tells a running server that shared data changed (a server that does not run reads it when it starts).
void tellServer(int message);

} // namespace lumivane::ctl
