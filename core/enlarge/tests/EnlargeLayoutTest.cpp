// The wall layout: which monitors a size takes, placing and taking out monitors, and where cells are drawn.
#include "EnlargeLayout.h"

#include <gtest/gtest.h>

using namespace lumivane;

namespace {

const ModelCode kKind3 = ModelCode::of(3, 1);
const ModelCode kGroupFamily = ModelCode::of(7, 6);
const ModelCode kOtherKind7 = ModelCode::of(7, 9);

WallMonitor monitor(int32_t panelNo, ModelCode model = kOtherKind7)
{
    return {panelNo, "[" + std::to_string(panelNo) + "] wall", model};
}

} // namespace

TEST(EnlargeLayoutTest, ModelTestDecidesWhichMonitorsASizeTakes)
{
    EnlargeLayout layout;
    layout.recreate(5, 5, WallOrientation::Landscape);
    EXPECT_FALSE(layout.assign(monitor(1, kKind3)).placed) << "kind 3 stops at 4 x 4";
    EXPECT_FALSE(layout.cell(0).holdsMonitor());
    layout.recreate(4, 4, WallOrientation::Landscape);
    EXPECT_TRUE(layout.assign(monitor(1, kKind3)).placed);

    EXPECT_FALSE(supportsWallSize(ModelCode::of(6, 1), 2, 2));
    EXPECT_FALSE(supportsWallSize(ModelCode::of(7, 5), 2, 2));
    EXPECT_FALSE(supportsWallSize(ModelCode::of(2, 1), 3, 2)) << "kinds 1 to 4 only make square walls";
    EXPECT_TRUE(supportsWallSize(ModelCode::of(2, 1), 3, 3));
    EXPECT_TRUE(supportsWallSize(kOtherKind7, 3, 2));
}

TEST(EnlargeLayoutTest, AssigningMovesMonitorsAndSelectsTheNextFreeCell)
{
    EnlargeLayout layout;
    layout.recreate(3, 2, WallOrientation::Landscape);
    EXPECT_FALSE(layout.isNewSize(3, 2));
    EXPECT_FALSE(layout.isNewSize(1, 1));
    EXPECT_TRUE(layout.isNewSize(2, 2));
    layout.markChanged();
    EXPECT_FALSE(layout.wouldLoseWork()) << "an empty layout needs no save question";
    EXPECT_TRUE(layout.assign(monitor(10)).placed);
    EXPECT_TRUE(layout.wouldLoseWork());
    EXPECT_EQ(layout.selected(), 1);
    EXPECT_TRUE(layout.changed());

    layout.select(4);
    layout.assign(monitor(11));
    EXPECT_EQ(layout.selected(), 5) << "the first empty cell after the selected one";
    layout.assign(monitor(12));
    EXPECT_EQ(layout.selected(), 1) << "then the first one before it";

    layout.select(4);
    const EnlargeLayout::AssignOutcome outcome = layout.assign(monitor(10));
    EXPECT_EQ(outcome.displacedPanel, 11);
    EXPECT_FALSE(layout.cell(0).holdsMonitor()) << "a monitor shows one part of the picture only";
    EXPECT_EQ(layout.cellOf(10), 4);
    EXPECT_EQ(layout.cellOf(11), std::nullopt);

    layout.markSent();
    layout.select(4);
    EXPECT_EQ(layout.removeSelected(), 10);
    EXPECT_FALSE(layout.sent()) << "the monitors no longer show what was sent";
    EXPECT_FALSE(layout.removeSelected().has_value());
}

TEST(EnlargeLayoutTest, GroupModeTakesOnlyItsFamilyAndKeepsGroupedCells)
{
    EnlargeLayout layout;
    layout.recreate(2, 2, WallOrientation::Landscape);
    layout.assign(monitor(1, kGroupFamily));
    EXPECT_TRUE(layout.groupMode()) << "the first monitor of the family turns group mode on";
    EXPECT_FALSE(layout.assign(monitor(2, kOtherKind7)).placed);

    layout.cell(0).group.ENST = CellGroupRecord::Grouped;
    layout.select(0);
    EXPECT_FALSE(layout.assign(monitor(3, kGroupFamily)).placed) << "a grouped cell keeps its monitor";
    EXPECT_FALSE(layout.removeSelected().has_value());
    layout.select(1);
    EXPECT_FALSE(layout.assign(monitor(1, kGroupFamily)).placed) << "a grouped monitor stays in its group";
    EXPECT_EQ(layout.cellOf(1), 0);
}

TEST(EnlargeLayoutTest, PortraitCellsRunDownEachColumnFromTheRight)
{
    EnlargeLayout layout;
    layout.recreate(3, 2, WallOrientation::Portrait);
    EXPECT_EQ(layout.positionColumns(), 2);
    EXPECT_EQ(layout.positionRows(), 3);
    const int cellSize = 100;
    // Drawn as three columns of two cells: 0 and 1 at the right, 4 and 5 at the left.
    EXPECT_EQ(layout.cellAtPoint(250, 10, cellSize, cellSize), 0);
    EXPECT_EQ(layout.cellAtPoint(250, 150, cellSize, cellSize), 1);
    EXPECT_EQ(layout.cellAtPoint(150, 10, cellSize, cellSize), 2);
    EXPECT_EQ(layout.cellAtPoint(10, 199, cellSize, cellSize), 5);
    EXPECT_EQ(layout.cellAtPoint(300, 10, cellSize, cellSize), std::nullopt);
    EXPECT_EQ(layout.cellAtPoint(-1, 10, cellSize, cellSize), std::nullopt);
    EXPECT_EQ(layout.positionColumnOf(5), 1);
    EXPECT_EQ(layout.positionRowOf(5), 2);

    layout.recreate(3, 2, WallOrientation::Landscape);
    EXPECT_EQ(layout.cellAtPoint(250, 10, cellSize, cellSize), 2);
    EXPECT_EQ(layout.cellAtPoint(10, 150, cellSize, cellSize), 3);
    EXPECT_EQ(layout.cellAtPoint(10, 200, cellSize, cellSize), std::nullopt);
    for (int i = 0; i < layout.cellCount(); ++i) {
        const DrawnPlace place = layout.drawnPlace(i);
        EXPECT_EQ(layout.cellAtDrawn(place.column, place.row), i);
    }
}

TEST(EnlargeLayoutTest, BezelsOutsideTheRangeTakeTheNearestEnd)
{
    EnlargeLayout layout;
    layout.setBezels(150, -5);
    EXPECT_EQ(layout.bezelH(), 100);
    EXPECT_EQ(layout.bezelV(), 0);
}
