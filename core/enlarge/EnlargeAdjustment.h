#pragma once

#include "EnlargeLayout.h"

#include <string>

namespace lumivane {

// Fine-tuning the picture position of one cell of a sent wall, one step per arrow.

enum class ShiftArrow
{
    Up,
    Down,
    Left,
    Right,
};

// Whether the selected cell's picture may be moved: the wall was sent in group mode, the cell is in an
// executed group, holds a monitor, and the monitor's model takes position adjustments.
bool adjustmentAllowed(const EnlargeLayout& layout, int index);

// Whether an arrow may move the cell further: not outwards past the wall's edge.
bool arrowEnabled(const EnlargeLayout& layout, int index, ShiftArrow arrow);

// A new adjustment of a cell and the command that sends it to the cell's monitor.
struct ShiftChange
{
    int32_t shiftH = 0;
    int32_t shiftV = 0;
    std::string command;
};

// One step of an arrow: Up and Down change the vertical value, Left and Right the horizontal one.
ShiftChange arrowStep(const EnlargeLayout& layout, int index, ShiftArrow arrow);

// A value typed into the horizontal or vertical edit.
ShiftChange typedShift(const EnlargeLayout& layout, int index, bool horizontal, int32_t value);

// Stores a change once the monitor has taken it (an adjustment that failed to send is not stored).
void applyShift(EnlargeLayout& layout, int index, const ShiftChange& change);

} // namespace lumivane
