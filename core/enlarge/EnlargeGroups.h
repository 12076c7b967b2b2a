#pragma once

#include "EnlargeLayout.h"

#include <optional>
#include <vector>

namespace lumivane {

// Group mode: rectangles of placed monitors become enlarge groups of their own. A rectangle is first
// pending (cells in state Pending), then executed into a numbered group (state Grouped).

bool hasPendingRectangle(const EnlargeLayout& layout);

// Turns the pending rectangle into a group numbered one above the highest group so far; selects the next
// empty cell. False when nothing is pending.
bool executePendingRectangle(EnlargeLayout& layout);

// Dissolves the pending rectangle, else the group of the selected cell; the cells' adjustments go back to
// 0 and the wall counts as not sent. False when there was nothing to dissolve.
bool cancelRectangleOrGroup(EnlargeLayout& layout);

// The cells of group `number`, last cell first.
std::vector<int> groupCells(const EnlargeLayout& layout, int32_t number);

// The order group mode sends in: every placed monitor in cell order, one alone when in no group, else its
// whole group at its first cell (last cell first). Pending cells are in no group yet.
std::vector<std::vector<int>> groupModeBatches(const EnlargeLayout& layout);

// Presses and releases on cells span a pending rectangle between two placed, free cells, at most 5 × 5.
class GroupRectangleEditor
{
public:
    explicit GroupRectangleEditor(EnlargeLayout& layout) : m_layout(layout) {}

    // Selects the cell. In group mode a press on a placed cell is a first corner; while a rectangle is
    // pending, a press on an empty cell or one other than its first corner dissolves it.
    void press(int index);
    // Spans the rectangle from the pressed corner to this cell; true when a new rectangle is pending.
    bool release(int index);

private:
    bool span(int first, int second);

    EnlargeLayout& m_layout;
    std::optional<int> m_pressed;
    std::optional<int> m_firstCorner;
};

} // namespace lumivane
