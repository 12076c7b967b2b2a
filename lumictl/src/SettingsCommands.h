#pragma once

#include "CommandLine.h"
#include "PanelRegistry.h"

#include <ostream>
#include <string>
#include <vector>

namespace lumivane::ctl {

extern const char* const kSettingsHelp;

// What "lumictl settings" works with.
struct SettingsIo
{
    const CommandLine& line;
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal;
    PanelRegistry& registry;
};

// "settings save MONITOR FILE" and "settings load FILE TARGET... [--force]".
int settingsCommand(const SettingsIo& io, const std::vector<std::string>& words);

// The same for lumictl's own command context.
template <typename Context> int settingsCommand(Context& context, const std::vector<std::string>& words)
{
    return settingsCommand(SettingsIo{context.line, context.out, context.err, context.errIsTerminal, context.registry},
                           words);
}

} // namespace lumivane::ctl
