#include "EnlargeAdjustment.h"

#include "CommandText.h"
#include "ModelClasses.h"

namespace lumivane {
namespace {

// The command for a new pair of values; only the value that changed is sent. In portrait the monitor's
// vertical axis is the wall's horizontal one and its horizontal the wall's vertical, reversed.
ShiftChange change(const EnlargeLayout& layout, int32_t h, int32_t v, bool horizontalChanged)
{
    ShiftChange result{h, v, {}};
    if (horizontalChanged)
        result.command = settingCommand(layout.isPortrait() ? "EPSV" : "EPSH", h);
    else
        result.command = layout.isPortrait() ? settingCommand("EPSH", -v) : settingCommand("EPSV", v);
    return result;
}

} // namespace

bool adjustmentAllowed(const EnlargeLayout& layout, int index)
{
    if (!layout.isCell(index) || !layout.sent() || !layout.groupMode())
        return false;
    const WallCell& cell = layout.cell(index);
    return cell.monitor && cell.group.ENST == CellGroupRecord::Grouped && isClassA(cell.monitor->model);
}

bool arrowEnabled(const EnlargeLayout& layout, int index, ShiftArrow arrow)
{
    const WallCell& cell = layout.cell(index);
    const int32_t h = cell.shiftH;
    const int32_t v = cell.shiftV;
    if (layout.isPortrait()) {
        const int n = layout.rows();
        switch (arrow) {
        case ShiftArrow::Left:
            return !(index < n && h <= 0);
        case ShiftArrow::Right:
            return !(index >= layout.cellCount() - n && h >= 0);
        case ShiftArrow::Down:
            return !(index % n == 0 && v <= 0);
        case ShiftArrow::Up:
            return !(index % n == n - 1 && v >= 0);
        }
        return true;
    }
    const int row = index / layout.columns();
    const int column = index % layout.columns();
    switch (arrow) {
    case ShiftArrow::Down:
        return !(row == 0 && v <= 0);
    case ShiftArrow::Up:
        return !(row == layout.rows() - 1 && v >= 0);
    case ShiftArrow::Right:
        return !(column == 0 && h >= 0);
    case ShiftArrow::Left:
        return !(column == layout.columns() - 1 && h <= 0);
    }
    return true;
}

ShiftChange arrowStep(const EnlargeLayout& layout, int index, ShiftArrow arrow)
{
    const WallCell& cell = layout.cell(index);
    switch (arrow) {
    case ShiftArrow::Up:
        return change(layout, cell.shiftH, cell.shiftV + 1, false);
    case ShiftArrow::Down:
        return change(layout, cell.shiftH, cell.shiftV - 1, false);
    case ShiftArrow::Left:
        return change(layout, cell.shiftH - 1, cell.shiftV, true);
    case ShiftArrow::Right:
        return change(layout, cell.shiftH + 1, cell.shiftV, true);
    }
    return change(layout, cell.shiftH, cell.shiftV, true);
}

ShiftChange typedShift(const EnlargeLayout& layout, int index, bool horizontal, int32_t value)
{
    const WallCell& cell = layout.cell(index);
    return horizontal ? change(layout, value, cell.shiftV, true) : change(layout, cell.shiftH, value, false);
}

void applyShift(EnlargeLayout& layout, int index, const ShiftChange& change)
{
    WallCell& cell = layout.cell(index);
    cell.shiftH = change.shiftH;
    cell.shiftV = change.shiftV;
    layout.markChanged();
}

} // namespace lumivane
