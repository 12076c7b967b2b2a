#pragma once

#include "CommandItem.h"
#include "InputModes.h"
#include "ModelCode.h"

namespace lumivane {

// What a monitor must change before it takes an input of the QX series.
struct TerminalCheck
{
    int32_t windows = 0;       // the "MWIN" value; 0 where the model has no multi-window mode
    bool changeNeeded = false; // the input's terminal-select or slot command differs from the monitor's
};

// Reads the multi-window mode and the terminal-select and slot values the model has ("MWIN", "DVSL" and
// "BNSL" with the expansion board only, "HDSL", "SLDS") and decides whether the input `index` needs its
// terminal commands. Returns the first failing status (0 when every query succeeded).
int32_t checkTerminals(LinkHandle link, ModelCode model, InputModeIndex index, TerminalCheck& check);

// Sends the input's terminal-select command and then its slot command, each only when the model accepts
// it. `reportText` (kCommandTextSize bytes, may be null) names the command that was sent last.
int32_t sendTerminalCommands(LinkHandle link, ModelCode model, InputModeIndex index, char* reportText);

// The model's input number for a QX-series index, from the tables of an unknown model when the model
// has none; 0 when neither knows the index.
int32_t seriesInputNumber(ModelCode model, InputModeIndex index);

// The number the input switch sends for `index` to a monitor of that model ("IAVD" for the ZR-1190
// family, else "INPS"); 0 when the monitor has no such input and nothing would be sent.
int32_t inputNumberFor(const char* modelName, int32_t modelFlags, InputModeIndex index);

// Switches the monitor on `link` to the input `index`: for the ZR-1190 family through "IAVD", for the
// others after checking the shared terminals (multi-window off, terminal-select and slot commands when
// the connectors must change) with "INPS". Returns the first failing status (0 when all succeeded);
// `reportText` (kCommandTextSize bytes) names the command that failed.
int32_t switchInput(LinkHandle link, const char* modelName, int32_t modelFlags, InputModeIndex index, char* reportText);

// A Custom item that switches each monitor of a run to `*index` (the pointer must outlive the run).
CommandItem inputSwitchItem(const InputModeIndex* index);

} // namespace lumivane
