#include "EnlargeGroupSend.h"

#include "EnlargeGroups.h"

namespace lumivane {
namespace {

void sendGroup(const EnlargeLayout& layout, const std::vector<int>& cells, WallCheckLink& link, const CheckPrompt& ask,
               const std::function<void(int cell)>& sendCell)
{
    std::vector<WallMonitor> monitors;
    for (const int cell : cells)
        monitors.push_back(*layout.cell(cell).monitor);
    if (!groupInputCheck(monitors, link, ask))
        return;
    for (size_t i = 0; i < cells.size(); ++i) {
        const WallMonitor* next = i + 1 < monitors.size() ? &monitors[i + 1] : nullptr;
        const CheckOutcome outcome = monitorCheck(monitors[i], next, link, ask);
        if (outcome == CheckOutcome::Abort)
            return;
        if (outcome == CheckOutcome::Proceed)
            sendCell(cells[i]);
    }
}

} // namespace

bool sendGroupModeWall(const EnlargeLayout& layout, WallCheckLink& link, const CheckPrompt& ask,
                       const std::function<void(int cell)>& sendCell)
{
    if (hasPendingRectangle(layout))
        return false;
    for (const std::vector<int>& batch : groupModeBatches(layout)) {
        if (layout.cell(batch.front()).group.ENST == CellGroupRecord::Grouped)
            sendGroup(layout, batch, link, ask, sendCell);
        else
            sendCell(batch.front());
    }
    return true;
}

} // namespace lumivane
