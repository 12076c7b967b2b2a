#include "EnlargeLayout.h"

#include "ModelClasses.h"

#include <algorithm>

namespace lumivane {

const GroupRecordKey kGroupRecordKeys[15] = {
    {"POSV", &CellGroupRecord::POSV}, {"POSH", &CellGroupRecord::POSH}, {"ENST", &CellGroupRecord::ENST},
    {"ENRG", &CellGroupRecord::ENRG}, {"ENPS", &CellGroupRecord::ENPS}, {"ENCR", &CellGroupRecord::ENCR},
    {"EHID", &CellGroupRecord::EHID}, {"EVID", &CellGroupRecord::EVID}, {"EHMN", &CellGroupRecord::EHMN},
    {"EHMX", &CellGroupRecord::EHMX}, {"EVMN", &CellGroupRecord::EVMN}, {"EVMX", &CellGroupRecord::EVMX},
    {"EHRG", &CellGroupRecord::EHRG}, {"EVRG", &CellGroupRecord::EVRG}, {"EGRP", &CellGroupRecord::EGRP},
};

void CellGroupRecord::reset()
{
    const int32_t row = POSV;
    const int32_t column = POSH;
    *this = CellGroupRecord{};
    POSV = row;
    POSH = column;
}

bool supportsWallSize(ModelCode model, int h, int v)
{
    const int kind = model.kind();
    if (kind == 3)
        return h <= 4 && v <= 4;
    if (kind == 6 || kind == 8)
        return false;
    if (kind == 7 && (model.variant() == 5 || model.variant() == 8))
        return false;
    if (h == v)
        return true;
    const bool squareOnly = (kind >= 1 && kind <= 4) || kind == 100;
    return !squareOnly;
}

bool offersGroupMode(ModelCode model)
{
    return isKind7Variant6(model);
}

EnlargeLayout::EnlargeLayout()
{
    recreate(kDefaultWallSize, kDefaultWallSize, WallOrientation::Landscape);
}

void EnlargeLayout::recreate(int h, int v, WallOrientation orientation)
{
    m_h = std::max(1, h);
    m_v = std::max(1, v);
    m_orientation = orientation;
    m_bezelH = kDefaultBezel;
    m_bezelV = kDefaultBezel;
    m_groupMode = false;
    m_cells.assign(static_cast<size_t>(m_h * m_v), WallCell{});
    for (int i = 0; i < cellCount(); ++i) {
        m_cells[static_cast<size_t>(i)].group.POSV = positionRowOf(i);
        m_cells[static_cast<size_t>(i)].group.POSH = positionColumnOf(i);
    }
    m_selected = 0;
    m_changed = false;
    m_sent = false;
}

DrawnPlace EnlargeLayout::drawnPlace(int index) const
{
    if (isPortrait())
        return {m_h - 1 - index / m_v, index % m_v};
    return {index % m_h, index / m_h};
}

std::optional<int> EnlargeLayout::cellAtDrawn(int column, int row) const
{
    if (column < 0 || column >= m_h || row < 0 || row >= m_v)
        return std::nullopt;
    if (isPortrait())
        return (m_h - 1 - column) * m_v + row;
    return row * m_h + column;
}

std::optional<int> EnlargeLayout::cellAtPoint(int x, int y, int cellWidth, int cellHeight) const
{
    if (x < 0 || y < 0 || cellWidth <= 0 || cellHeight <= 0)
        return std::nullopt;
    return cellAtDrawn(x / cellWidth, y / cellHeight);
}

int EnlargeLayout::clampBezel(int value)
{
    return std::clamp(value, 0, kLargestBezel);
}

void EnlargeLayout::setBezels(int h, int v)
{
    m_bezelH = clampBezel(h);
    m_bezelV = clampBezel(v);
}

std::optional<int> EnlargeLayout::cellOf(int32_t panelNo) const
{
    for (int i = 0; i < cellCount(); ++i)
        if (cell(i).monitor && cell(i).monitor->panelNo == panelNo)
            return i;
    return std::nullopt;
}

bool EnlargeLayout::anyMonitorPlaced() const
{
    return std::any_of(m_cells.begin(), m_cells.end(), [](const WallCell& c) { return c.holdsMonitor(); });
}

void EnlargeLayout::select(std::optional<int> index)
{
    m_selected = index && isCell(*index) ? index : std::nullopt;
}

std::optional<int> EnlargeLayout::nextFreeCell() const
{
    const int from = m_selected.value_or(-1);
    for (int i = from + 1; i < cellCount(); ++i)
        if (!cell(i).holdsMonitor())
            return i;
    for (int i = 0; i < from && i < cellCount(); ++i)
        if (!cell(i).holdsMonitor())
            return i;
    return std::nullopt;
}

EnlargeLayout::AssignOutcome EnlargeLayout::assign(const WallMonitor& monitor)
{
    AssignOutcome outcome;
    if (!m_selected)
        return outcome;
    const int target = *m_selected;
    const std::optional<int> oldCell = cellOf(monitor.panelNo);
    if (m_groupMode) {
        if ((oldCell && !cell(*oldCell).group.isFree()) || !cell(target).group.isFree())
            return outcome;
        if (!offersGroupMode(monitor.model))
            return outcome;
    }
    if (!supportsWallSize(monitor.model, m_h, m_v))
        return outcome;

    const bool firstMonitor = !anyMonitorPlaced();
    WallCell& into = cell(target);
    if (into.monitor && into.monitor->panelNo != monitor.panelNo)
        outcome.displacedPanel = into.monitor->panelNo;
    if (oldCell && *oldCell != target)
        emptyCell(cell(*oldCell));
    if (firstMonitor && offersGroupMode(monitor.model))
        m_groupMode = true;
    into.monitor = monitor;
    outcome.placed = true;
    if (const std::optional<int> next = nextFreeCell())
        m_selected = next;
    markEdited();
    return outcome;
}

std::optional<int32_t> EnlargeLayout::removeSelected()
{
    if (!m_selected)
        return std::nullopt;
    WallCell& c = cell(*m_selected);
    if (!c.monitor || !c.group.isFree())
        return std::nullopt;
    const int32_t panelNo = c.monitor->panelNo;
    emptyCell(c);
    markEdited();
    return panelNo;
}

void EnlargeLayout::place(int index, const WallMonitor& monitor)
{
    cell(index).monitor = monitor;
}

void EnlargeLayout::emptyCell(WallCell& c)
{
    c.monitor.reset();
    c.shiftH = 0;
    c.shiftV = 0;
    c.group.reset();
}

void EnlargeLayout::markEdited()
{
    m_changed = true;
    m_sent = false;
}

} // namespace lumivane
