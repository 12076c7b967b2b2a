#pragma once

#include "CommandItem.h"
#include "InputModes.h"

namespace lumivane {

// Switches the monitor on `link` to the input `index`: for the ZR-1190 family through "IAVD", for the
// others after checking the shared terminals (multi-window off, terminal-select and slot commands when
// the connectors must change) with "INPS". Returns the first failing status (0 when all succeeded);
// `reportText` (kCommandTextSize bytes) names the command that failed.
int32_t switchInput(LinkHandle link, const char* modelName, int32_t modelFlags, InputModeIndex index,
                    char* reportText);

// A Custom item that switches each monitor of a run to `*index` (the pointer must outlive the run).
CommandItem inputSwitchItem(const InputModeIndex* index);

} // namespace lumivane
