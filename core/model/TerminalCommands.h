#pragma once

#include "InputModes.h"
#include "ModelCode.h"

#include <optional>
#include <string>

namespace lumivane {

// What switches a monitor's shared connectors to an input, besides the input command itself: a
// terminal-select command ("DVSL%04d", "BNSL%04d" or "HDSL%04d") and a D-SUB slot command ("SLDS%04d").
// Either may be empty. Whether the model accepts each is the availability table's business.
struct TerminalCommands
{
    std::string terminalCommand;
    std::string slotCommand;
};

// nullopt when the index has no terminal (above 13, 0) or the input needs neither command.
std::optional<TerminalCommands> terminalCommandsFor(ModelCode model, InputModeIndex index);

} // namespace lumivane
