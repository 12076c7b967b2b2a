#pragma once

#include <functional>
#include <string_view>

namespace lumivane::sim {

// The one place where an emulated monitor decides whether its model supports a command at all; a
// command it does not support is answered with ERR. Called with the monitor's model name, its
// expansion-board flag and the whole command text ("MONO????", "BMOD0004").
using CommandSupport = std::function<bool(std::string_view model, bool expansionBoard, std::string_view command)>;

// The command availability table of the display control core, applied to the model as the model
// database knows it (an unknown model supports everything). When the emulator is built without the
// core's protocol library, every command is supported.
CommandSupport modelCommandSupport();

// Every command is supported.
CommandSupport everyCommandSupported();

} // namespace lumivane::sim
