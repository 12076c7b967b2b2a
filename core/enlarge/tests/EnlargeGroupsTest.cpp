// Group mode: rectangles spanned by press and release, executed into numbered groups, dissolved again,
// the order they are sent in, and fine-tuning a grouped cell.
#include "EnlargeGroups.h"
#include "EnlargeAdjustment.h"

#include <gtest/gtest.h>

using namespace lumivane;

namespace {

EnlargeLayout groupFamilyWall(int h, int v, WallOrientation orientation = WallOrientation::Landscape)
{
    EnlargeLayout layout;
    layout.recreate(h, v, orientation);
    for (int i = 0; i < layout.cellCount(); ++i) {
        layout.select(i);
        layout.assign(WallMonitor{100 + i, "m", ModelCode::of(7, 6)});
    }
    return layout;
}

bool drag(GroupRectangleEditor& editor, int from, int to)
{
    editor.press(from);
    return editor.release(to);
}

} // namespace

TEST(EnlargeGroupsTest, RectanglesBecomeNumberedGroupsOfFreePlacedCells)
{
    EnlargeLayout layout = groupFamilyWall(4, 3);
    ASSERT_TRUE(layout.groupMode());
    GroupRectangleEditor editor(layout);
    ASSERT_TRUE(drag(editor, 6, 1)) << "corners in either order";
    const CellGroupRecord& corner = layout.cell(6).group;
    EXPECT_EQ(corner.ENST, CellGroupRecord::Pending);
    EXPECT_EQ(corner.ENPS, 3);
    EXPECT_EQ(corner.EHID, 1);
    EXPECT_EQ(corner.EVID, 1);
    EXPECT_EQ(corner.EHMN, 1);
    EXPECT_EQ(corner.EVMX, 1);
    EXPECT_EQ(corner.EHRG, 2);
    ASSERT_TRUE(executePendingRectangle(layout));
    EXPECT_EQ(layout.cell(1).group.EGRP, 1);
    EXPECT_EQ(layout.cell(6).group.ENST, CellGroupRecord::Grouped);

    EXPECT_FALSE(drag(editor, 4, 2)) << "cells 1, 5 and 6 are already grouped";
    EXPECT_FALSE(hasPendingRectangle(layout));
    layout.select(7);
    layout.removeSelected();
    EXPECT_FALSE(drag(editor, 11, 3)) << "cell 7 between them is empty";
    ASSERT_TRUE(drag(editor, 8, 11));
    ASSERT_TRUE(executePendingRectangle(layout));
    EXPECT_EQ(layout.cell(10).group.EGRP, 2);
    EXPECT_EQ(layout.cell(10).group.ENCR, 2);

    layout.cell(5).shiftH = 4;
    layout.select(5);
    ASSERT_TRUE(cancelRectangleOrGroup(layout));
    EXPECT_TRUE(layout.cell(5).group.isFree());
    EXPECT_EQ(layout.cell(5).group.EGRP, -1);
    EXPECT_EQ(layout.cell(5).shiftH, 0);
    EXPECT_EQ(layout.cell(9).group.EGRP, 2) << "the other group stays";
    ASSERT_TRUE(drag(editor, 0, 1));
    executePendingRectangle(layout);
    EXPECT_EQ(layout.cell(0).group.EGRP, 3) << "numbers go on above the highest group";

    EXPECT_EQ(groupModeBatches(layout),
              (std::vector<std::vector<int>>{{1, 0}, {2}, {3}, {4}, {5}, {6}, {11, 10, 9, 8}}));
}

TEST(EnlargeGroupsTest, RectangleIsAtMostFiveCellsEachWayAndAClickElsewhereDissolvesIt)
{
    EnlargeLayout layout = groupFamilyWall(6, 1);
    GroupRectangleEditor editor(layout);
    EXPECT_FALSE(drag(editor, 0, 5));
    ASSERT_TRUE(drag(editor, 0, 4));
    editor.press(0);
    EXPECT_FALSE(editor.release(0)) << "releasing on the first corner makes no rectangle";
    EXPECT_TRUE(hasPendingRectangle(layout)) << "and a click on it keeps the pending one";
    editor.press(5);
    EXPECT_FALSE(hasPendingRectangle(layout));
    EXPECT_FALSE(executePendingRectangle(layout));
}

TEST(EnlargeGroupsTest, PictureMovesOnlyInsideTheWallAndTurnsWithPortrait)
{
    EnlargeLayout layout = groupFamilyWall(3, 3);
    GroupRectangleEditor editor(layout);
    drag(editor, 0, 8);
    executePendingRectangle(layout);
    EXPECT_FALSE(adjustmentAllowed(layout, 0)) << "only a sent wall is fine-tuned";
    layout.markSent();
    EXPECT_TRUE(adjustmentAllowed(layout, 0));

    EXPECT_FALSE(arrowEnabled(layout, 0, ShiftArrow::Down));
    EXPECT_FALSE(arrowEnabled(layout, 0, ShiftArrow::Right));
    EXPECT_TRUE(arrowEnabled(layout, 0, ShiftArrow::Up));
    EXPECT_TRUE(arrowEnabled(layout, 0, ShiftArrow::Left));
    const ShiftChange up = arrowStep(layout, 0, ShiftArrow::Up);
    EXPECT_EQ(up.command, "EPSV0001");
    applyShift(layout, 0, up);
    EXPECT_TRUE(arrowEnabled(layout, 0, ShiftArrow::Down));
    EXPECT_FALSE(arrowEnabled(layout, 8, ShiftArrow::Up));
    EXPECT_FALSE(arrowEnabled(layout, 8, ShiftArrow::Left));

    layout.recreate(3, 2, WallOrientation::Portrait);
    layout.cell(3).shiftV = 2;
    EXPECT_EQ(arrowStep(layout, 3, ShiftArrow::Up).command, "EPSH-003");
    EXPECT_EQ(arrowStep(layout, 3, ShiftArrow::Left).command, "EPSV-001");
    EXPECT_EQ(typedShift(layout, 3, false, -7).command, "EPSH0007");
    EXPECT_FALSE(arrowEnabled(layout, 1, ShiftArrow::Left)) << "cells 0 and 1 stand at the right edge";
    EXPECT_FALSE(arrowEnabled(layout, 4, ShiftArrow::Right));
    EXPECT_FALSE(arrowEnabled(layout, 4, ShiftArrow::Down));
    EXPECT_FALSE(arrowEnabled(layout, 5, ShiftArrow::Up));
}
