#pragma once

#include "ModelCode.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumivane {

// The console-wide input number: 0 "---", 1 to 13 the inputs of the QX series (PC DVI ... AV Video
// (D-SUB)), 101 to 107 "INPUT1" to "INPUT7" of the ZR-1190 family. Schedules store the same numbers.
using InputModeIndex = int;

inline constexpr InputModeIndex kNoInput = 0;
inline constexpr InputModeIndex kLastSeriesInput = 13;
inline constexpr InputModeIndex kDsubComponentInput = 12;
inline constexpr InputModeIndex kDsubVideoInput = 13;
inline constexpr InputModeIndex kFirstZrInput = 101;
inline constexpr InputModeIndex kLastZrInput = 107;

// Terminal ids of our own for the D-SUB connector's video modes; before any model database call they
// become component (257) in slot 1 and composite video (256) in slot 2.
inline constexpr int32_t kTerminalDsubComponent = 265;
inline constexpr int32_t kTerminalDsubVideo = 266;

// "---", "PC DVI", ..., "INPUT1" ... "INPUT7"; empty for any other index.
std::string inputModeName(InputModeIndex index);

// The terminal id of an index; nullopt for 0 and indexes without one.
std::optional<int32_t> inputTerminal(InputModeIndex index);
// The same from the kind-3 column (the plasma series shares one input between composite and S-Video).
std::optional<int32_t> inputTerminalForKind3(InputModeIndex index);

// The inputs the model offers, in index order: every input for a model not known (kind 0), 101 to 107
// for kind 6, else the indexes whose terminal the model lists, then 12 and 13 on models with D-SUB AV
// modes.
std::vector<InputModeIndex> selectableInputs(ModelCode model);

// The monitor's input number for an index, 0 when the model has none. `slot`, when given, receives the
// D-SUB slot of the input (1 or 2 for indexes 12 and 13, else 0).
int32_t inputNumberFromIndex(ModelCode model, InputModeIndex index, int32_t* slot = nullptr);
// The index of the monitor's input number and D-SUB slot ("SLDS", 0 when not read); 0 when not found.
InputModeIndex inputIndexFromNumber(ModelCode model, int32_t number, int32_t slot = 0);

// A PC-side input shown with the PC picture pages: a terminal of its own that reports a resolution and
// is not a video terminal.
bool isPcInput(InputModeIndex index);

// Index tests.
bool isZrInputIndex(InputModeIndex index);
// Composite video inputs: 9, 10 and 13.
bool isCompositeVideoIndex(InputModeIndex index);
// Composite and S-Video inputs: 8, 9, 10 and 13.
bool isAnalogVideoIndex(InputModeIndex index);

} // namespace lumivane
