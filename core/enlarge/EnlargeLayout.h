#pragma once

#include "ModelCode.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumivane {

// A video wall of H × V monitors as the enlarge editor builds it: grid size and orientation, bezels, and
// per cell the monitor placed there, its picture position adjustments and its group record.

enum class WallOrientation : int32_t
{
    Landscape = 0,
    Portrait = 1,
};

inline constexpr int kDefaultWallSize = 2;
inline constexpr int kDefaultBezel = 50;
inline constexpr int kLargestBezel = 100;
// A group of group mode spans at most this many cells in each direction.
inline constexpr int kLargestGroupSide = 5;

// What the editor needs to know of a monitor of the tree.
struct WallMonitor
{
    int32_t panelNo = 0;
    std::string name;
    ModelCode model;
};

// The cell's part in group mode; the members carry the names of their file keys, in file order.
struct CellGroupRecord
{
    enum State : int32_t
    {
        Free = 0,
        Pending = 1,
        Grouped = 2,
    };

    int32_t POSV = 0; // row of the cell in the grid
    int32_t POSH = 0; // column of the cell
    int32_t ENST = Free;
    int32_t ENRG = 0;  // 1 while the cell belongs to a group
    int32_t ENPS = -1; // position within the group, row by row from 0
    int32_t ENCR = -1; // colour index: group number mod 10
    int32_t EHID = -1; // column within the group
    int32_t EVID = -1; // row within the group
    int32_t EHMN = -1; // the group's first and last column, first and last row
    int32_t EHMX = -1;
    int32_t EVMN = -1;
    int32_t EVMX = -1;
    int32_t EHRG = -1; // group width and height in cells
    int32_t EVRG = -1;
    int32_t EGRP = -1; // group number, 1 upward

    // Everything but the cell's place back to "in no group".
    void reset();
    bool isFree() const { return ENST == Free; }
};

struct GroupRecordKey
{
    const char* key;
    int32_t CellGroupRecord::*value;
};

// The fifteen keys of the record in the order the enlarge setting file holds them.
extern const GroupRecordKey kGroupRecordKeys[15];

struct WallCell
{
    std::optional<WallMonitor> monitor;
    int32_t shiftH = 0; // picture position adjustments ("EPSH", "EPSV")
    int32_t shiftV = 0;
    CellGroupRecord group;

    bool holdsMonitor() const { return monitor.has_value(); }
};

// Where a cell is drawn: column from the left, row from the top.
struct DrawnPlace
{
    int column = 0;
    int row = 0;
};

// Whether a monitor of `model` can take part in a wall of h × v.
bool supportsWallSize(ModelCode model, int h, int v);

// The one model family that offers group mode.
bool offersGroupMode(ModelCode model);

class EnlargeLayout
{
public:
    EnlargeLayout();

    // Empties the layout for a grid of h × v (each at least 1) in `orientation`: empty cells, bezels 50,
    // group mode off, cell 0 selected, neither changed nor sent.
    void recreate(int h, int v, WallOrientation orientation);

    int columns() const { return m_h; }
    int rows() const { return m_v; }
    int cellCount() const { return m_h * m_v; }
    WallOrientation orientation() const { return m_orientation; }
    bool isPortrait() const { return m_orientation == WallOrientation::Portrait; }

    // Columns and rows as the commands count them: in portrait the monitors stand turned, so a row of
    // the picture runs down V cells.
    int positionColumns() const { return isPortrait() ? m_v : m_h; }
    int positionRows() const { return isPortrait() ? m_h : m_v; }
    int positionColumnOf(int index) const { return index % positionColumns(); }
    int positionRowOf(int index) const { return index / positionColumns(); }

    // Drawn grid: H columns and V rows. Landscape runs row by row from the top left; portrait starts at
    // the top of the rightmost column and runs down each column, then leftwards.
    DrawnPlace drawnPlace(int index) const;
    std::optional<int> cellAtDrawn(int column, int row) const;
    // The cell under a point of the layout view whose cells are cellWidth × cellHeight pixels from the
    // origin; none outside the grid.
    std::optional<int> cellAtPoint(int x, int y, int cellWidth, int cellHeight) const;

    int bezelH() const { return m_bezelH; }
    int bezelV() const { return m_bezelV; }
    // Stores the bezel, values outside 0..100 replaced by the nearest end.
    void setBezels(int h, int v);
    static int clampBezel(int value);

    bool groupMode() const { return m_groupMode; }
    void setGroupMode(bool on) { m_groupMode = on; }

    const WallCell& cell(int index) const { return m_cells.at(static_cast<size_t>(index)); }
    WallCell& cell(int index) { return m_cells.at(static_cast<size_t>(index)); }
    bool isCell(int index) const { return index >= 0 && index < cellCount(); }
    std::optional<int> cellOf(int32_t panelNo) const;
    bool anyMonitorPlaced() const;

    std::optional<int> selected() const { return m_selected; }
    // Selects a cell (none for an index outside the grid).
    void select(std::optional<int> index);
    // The first empty cell after the selected one, else the first empty one before it; none when full.
    std::optional<int> nextFreeCell() const;

    // Whether a change of the layout would lose work: the save question is put first.
    bool wouldLoseWork() const { return m_changed && anyMonitorPlaced(); }
    // Whether choosing h × v changes the grid: not for the current size, and a wall of one is no wall.
    bool isNewSize(int h, int v) const { return !(h == m_h && v == m_v) && !(h == 1 && v == 1); }

    bool changed() const { return m_changed; }
    void markChanged() { m_changed = true; }
    void clearChanged() { m_changed = false; }
    bool sent() const { return m_sent; }
    void markSent() { m_sent = true; }
    // Every edit of the wall: changed, and what the monitors show is no longer what was sent.
    void markEdited();

    struct AssignOutcome
    {
        bool placed = false;
        std::optional<int32_t> displacedPanel; // the monitor taken out of the cell to make room
    };
    // Places `monitor` into the selected cell; nothing happens when no cell is selected, when the model
    // cannot take part in this size, or (group mode) when the monitor is not of the group-mode family,
    // it sits in a pending or grouped cell, or the target cell is pending or grouped. A monitor placed
    // elsewhere leaves its old cell. The first monitor of the group-mode family turns group mode on.
    AssignOutcome assign(const WallMonitor& monitor);

    // Takes the monitor out of the selected cell (not out of a pending or grouped one); gives its panel.
    std::optional<int32_t> removeSelected();

    // Places a monitor without the checks of assign, as a file is loaded.
    void place(int index, const WallMonitor& monitor);

    // Takes out every monitor `isPresent` no longer knows; gives how many went.
    template <typename Predicate> int removeMissing(Predicate isPresent)
    {
        int removed = 0;
        for (WallCell& c : m_cells)
            if (c.monitor && !isPresent(c.monitor->panelNo)) {
                emptyCell(c);
                ++removed;
            }
        return removed;
    }

private:
    void emptyCell(WallCell& cell);

    int m_h = kDefaultWallSize;
    int m_v = kDefaultWallSize;
    WallOrientation m_orientation = WallOrientation::Landscape;
    int m_bezelH = kDefaultBezel;
    int m_bezelV = kDefaultBezel;
    bool m_groupMode = false;
    std::vector<WallCell> m_cells;
    std::optional<int> m_selected;
    bool m_changed = false;
    bool m_sent = false;
};

} // namespace lumivane
