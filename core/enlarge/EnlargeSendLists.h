#pragma once

#include "CommandItem.h"
#include "EnlargeLayout.h"

#include <vector>

namespace lumivane {

// The command lists that send a wall to its monitors, run with runCommandList.

// Normal mode: one run over the placed monitors. The per-monitor items read their values from arrays
// this object owns, one entry per monitor in run order, so it must outlive the run and cannot move.
class NormalModeSendList
{
public:
    // `cells`: the cell of each monitor of the run, in run order.
    NormalModeSendList(const EnlargeLayout& layout, const std::vector<int>& cells);
    NormalModeSendList(const NormalModeSendList&) = delete;
    NormalModeSendList& operator=(const NormalModeSendList&) = delete;

    // Size ("EMAG" for a square wall, else "EMHV"), place ("EPOS" / "EPHV"), "BEZH", "BEZV", "EPSH",
    // "EPSV".
    std::vector<CommandItem>& items() { return m_items; }

private:
    std::vector<int32_t> m_places;
    std::vector<int32_t> m_shiftsH;
    std::vector<int32_t> m_shiftsV;
    std::vector<CommandItem> m_items;
};

// The size command of a wall in normal mode: "EMAG%04d" with H − 1 when square, else "EMHV%04d" with the
// position columns × 10 + position rows.
std::string wallSizeCommand(const EnlargeLayout& layout);

// The place of a cell in normal mode: "EPOS%04d" with the index when square, else "EPHV%04d" with
// (column + 1) × 10 + (row + 1).
std::string cellPlaceCommand(const EnlargeLayout& layout, int index);

// The adjustments as the monitor takes them: in portrait its horizontal is the wall's vertical, negated,
// and its vertical the wall's horizontal.
struct MonitorShift
{
    int32_t h = 0;
    int32_t v = 0;
};
MonitorShift monitorShift(const EnlargeLayout& layout, int index);

// One monitor as group mode sends it: orientation, enlarge on or off, (grouped) the group's size, place
// and the adjustments, the bezel on, bezel widths, and which of its edges get a bezel. Every command but
// the size is left out when `model` does not accept it.
std::vector<CommandItem> groupModeMonitorList(const EnlargeLayout& layout, int index, ModelCode model);

// Enlarge cleared on a monitor that takes no part in the wall.
std::vector<CommandItem> clearEnlargeList(WallOrientation orientation, ModelCode model);

// ID indication on one monitor: empty when the monitor has no way to show it. "ON" gives the group-mode
// family its name up to and including the first "]" as a text display, other models the identification
// query "IDCK0000" (whose reply is not used); "OFF" clears the family's text display.
std::vector<CommandItem> idIndicationList(const WallMonitor& monitor, bool on);

} // namespace lumivane
