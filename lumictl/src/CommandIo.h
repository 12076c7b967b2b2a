#pragma once

#include "CommandItem.h"
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

// One run over `monitors` with the --on-error policy, progress on a terminal; true when every command of
// every monitor succeeded (also for no items).
bool runWithPolicy(const CommandIo& io, std::vector<CommandItem>& items, const std::vector<TESSERA_PANEL_DATA>& monitors);

// Tells a running server that shared data changed (a server that does not run reads it when it starts).
void tellServer(int message);

} // namespace lumivane::ctl
