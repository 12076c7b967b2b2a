#include "EnlargeGroups.h"

#include <algorithm>
#include <set>

namespace lumivane {
namespace {

// Group colours repeat after this many groups.
constexpr int32_t kGroupColours = 10;

void dissolve(EnlargeLayout& layout, bool (*inside)(const CellGroupRecord&, int32_t), int32_t number)
{
    for (int i = 0; i < layout.cellCount(); ++i) {
        WallCell& cell = layout.cell(i);
        if (inside(cell.group, number)) {
            cell.group.reset();
            cell.shiftH = 0;
            cell.shiftV = 0;
        }
    }
}

bool isPending(const CellGroupRecord& group, int32_t)
{
    return group.ENST == CellGroupRecord::Pending;
}

bool isInGroup(const CellGroupRecord& group, int32_t number)
{
    return group.ENST == CellGroupRecord::Grouped && group.EGRP == number;
}

} // namespace

bool hasPendingRectangle(const EnlargeLayout& layout)
{
    for (int i = 0; i < layout.cellCount(); ++i)
        if (layout.cell(i).group.ENST == CellGroupRecord::Pending)
            return true;
    return false;
}

bool executePendingRectangle(EnlargeLayout& layout)
{
    if (!hasPendingRectangle(layout))
        return false;
    int32_t highest = 0;
    for (int i = 0; i < layout.cellCount(); ++i)
        if (layout.cell(i).group.ENST == CellGroupRecord::Grouped)
            highest = std::max(highest, layout.cell(i).group.EGRP);
    const int32_t number = highest + 1;
    for (int i = 0; i < layout.cellCount(); ++i) {
        CellGroupRecord& group = layout.cell(i).group;
        if (group.ENST != CellGroupRecord::Pending)
            continue;
        group.EGRP = number;
        group.ENRG = 1;
        group.ENST = CellGroupRecord::Grouped;
        group.ENCR = number % kGroupColours;
    }
    if (const std::optional<int> next = layout.nextFreeCell())
        layout.select(next);
    layout.markEdited();
    return true;
}

bool cancelRectangleOrGroup(EnlargeLayout& layout)
{
    if (hasPendingRectangle(layout)) {
        dissolve(layout, isPending, 0);
    } else {
        const std::optional<int> selected = layout.selected();
        if (!selected || layout.cell(*selected).group.ENST != CellGroupRecord::Grouped)
            return false;
        dissolve(layout, isInGroup, layout.cell(*selected).group.EGRP);
    }
    layout.markEdited();
    return true;
}

std::vector<int> groupCells(const EnlargeLayout& layout, int32_t number)
{
    std::vector<int> cells;
    for (int i = layout.cellCount() - 1; i >= 0; --i)
        if (isInGroup(layout.cell(i).group, number))
            cells.push_back(i);
    return cells;
}

std::vector<std::vector<int>> groupModeBatches(const EnlargeLayout& layout)
{
    std::vector<std::vector<int>> batches;
    std::set<int32_t> groupsTaken;
    for (int i = 0; i < layout.cellCount(); ++i) {
        const WallCell& cell = layout.cell(i);
        if (!cell.holdsMonitor())
            continue;
        if (cell.group.ENST != CellGroupRecord::Grouped)
            batches.push_back({i});
        else if (groupsTaken.insert(cell.group.EGRP).second)
            batches.push_back(groupCells(layout, cell.group.EGRP));
    }
    return batches;
}

void GroupRectangleEditor::press(int index)
{
    m_layout.select(index);
    m_pressed.reset();
    if (!m_layout.groupMode() || !m_layout.isCell(index))
        return;
    const bool placed = m_layout.cell(index).holdsMonitor();
    if (hasPendingRectangle(m_layout) && (!placed || m_firstCorner != index))
        dissolve(m_layout, isPending, 0);
    if (placed)
        m_pressed = index;
}

bool GroupRectangleEditor::release(int index)
{
    const std::optional<int> pressed = m_pressed;
    m_pressed.reset();
    if (!pressed || *pressed == index || !m_layout.isCell(index) || !m_layout.cell(index).holdsMonitor())
        return false;
    if (!span(*pressed, index))
        return false;
    m_firstCorner = pressed;
    return true;
}

bool GroupRectangleEditor::span(int first, int second)
{
    const EnlargeLayout& l = m_layout;
    const int top = std::min(l.positionRowOf(first), l.positionRowOf(second));
    const int bottom = std::max(l.positionRowOf(first), l.positionRowOf(second));
    const int left = std::min(l.positionColumnOf(first), l.positionColumnOf(second));
    const int right = std::max(l.positionColumnOf(first), l.positionColumnOf(second));
    const int width = right - left + 1;
    const int height = bottom - top + 1;
    if (width > kLargestGroupSide || height > kLargestGroupSide)
        return false;
    auto indexAt = [&l](int row, int column) { return row * l.positionColumns() + column; };
    for (int row = top; row <= bottom; ++row)
        for (int column = left; column <= right; ++column) {
            const WallCell& cell = l.cell(indexAt(row, column));
            // Cells of the rectangle being replaced count as free.
            if (!cell.holdsMonitor() || cell.group.ENST == CellGroupRecord::Grouped)
                return false;
        }
    dissolve(m_layout, isPending, 0);
    int running = 0;
    for (int row = top; row <= bottom; ++row)
        for (int column = left; column <= right; ++column) {
            CellGroupRecord& group = m_layout.cell(indexAt(row, column)).group;
            group.ENST = CellGroupRecord::Pending;
            group.ENRG = 1;
            group.ENPS = running++;
            group.EHID = column - left;
            group.EVID = row - top;
            group.EHMN = left;
            group.EHMX = right;
            group.EVMN = top;
            group.EVMX = bottom;
            group.EHRG = width;
            group.EVRG = height;
        }
    return true;
}

} // namespace lumivane
