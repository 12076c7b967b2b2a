// The commands a wall sends: sizes and places of normal mode in both orientations, the per-monitor list of
// group mode with its bezel edges, and enlarge cleared.
#include "EnlargeSendLists.h"
#include "CommandText.h"

#include <gtest/gtest.h>

using namespace lumivane;

namespace {

// What the monitor at `position` of a run receives from the items.
std::vector<std::string> sentTo(const std::vector<CommandItem>& items, size_t position)
{
    std::vector<std::string> texts;
    for (const CommandItem& item : items) {
        if (item.kind == CommandItemKind::SendPerMonitor)
            texts.push_back(formatCommand(item.text, static_cast<const int32_t*>(item.data)[position]).value());
        else
            texts.emplace_back(item.text);
    }
    return texts;
}

EnlargeLayout filledLayout(int h, int v, WallOrientation orientation)
{
    EnlargeLayout layout;
    layout.recreate(h, v, orientation);
    for (int i = 0; i < layout.cellCount(); ++i) {
        layout.select(i);
        layout.assign(WallMonitor{100 + i, "m", ModelCode::of(7, 9)});
    }
    return layout;
}

} // namespace

TEST(EnlargeSendListsTest, SquareWallSendsMagnificationAndEachCellsPosition)
{
    EnlargeLayout layout = filledLayout(3, 3, WallOrientation::Landscape);
    const std::vector<int> cells = {8, 0, 4};
    NormalModeSendList list(layout, cells);
    EXPECT_EQ(sentTo(list.items(), 0),
              (std::vector<std::string>{"EMAG0002", "EPOS0008", "BEZH0050", "BEZV0050", "EPSH0000", "EPSV0000"}));
    EXPECT_EQ(sentTo(list.items(), 1)[1], "EPOS0000");
    EXPECT_EQ(sentTo(list.items(), 2)[1], "EPOS0004");
}

TEST(EnlargeSendListsTest, OblongWallSendsColumnsAndRowsOfItsOrientation)
{
    EnlargeLayout layout = filledLayout(4, 2, WallOrientation::Landscape);
    layout.cell(5).shiftH = 3;
    layout.cell(5).shiftV = -2;
    NormalModeSendList landscape(layout, {5});
    EXPECT_EQ(sentTo(landscape.items(), 0),
              (std::vector<std::string>{"EMHV0042", "EPHV0022", "BEZH0050", "BEZV0050", "EPSH0003", "EPSV-002"}));

    // Portrait: two position columns of four rows; the monitor's axes are the wall's turned.
    EnlargeLayout portrait = filledLayout(4, 2, WallOrientation::Portrait);
    portrait.cell(5).shiftH = 3;
    portrait.cell(5).shiftV = -2;
    NormalModeSendList turned(portrait, {5});
    EXPECT_EQ(sentTo(turned.items(), 0),
              (std::vector<std::string>{"EMHV0024", "EPHV0023", "BEZH0050", "BEZV0050", "EPSH0002", "EPSV0003"}));
}

TEST(EnlargeSendListsTest, GroupModeMonitorGetsBezelsOnlyWhereItMeetsOtherMonitors)
{
    EnlargeLayout layout;
    layout.recreate(3, 3, WallOrientation::Landscape);
    layout.setBezels(20, 40);
    // A 2 x 1 group in the top row's right-hand cells 1 and 2; cell 2 is its second cell.
    CellGroupRecord& record = layout.cell(2).group;
    record.ENST = CellGroupRecord::Grouped;
    record.ENRG = 1;
    record.ENPS = 1;
    record.EHID = 1;
    record.EVID = 0;
    record.EHMN = 1;
    record.EHMX = 2;
    record.EVMN = 0;
    record.EVMX = 0;
    record.EHRG = 2;
    record.EVRG = 1;
    layout.cell(2).shiftH = -1;
    EXPECT_EQ(
        sentTo(groupModeMonitorList(layout, 2, ModelCode()), 0),
        (std::vector<std::string>{"STDR0000", "ENLG0001", "EMHV0021", "EPHV0021", "EPSH-001", "EPSV0000", "BZCO0001",
                                  "BEZH0020", "BEZV0040", "BZCT0000", "BZCB0001", "BZCR0000", "BZCL0001"}));

    // An ungrouped cell in the middle of a portrait wall: bezels on all sides, widths swapped.
    layout.recreate(3, 3, WallOrientation::Portrait);
    layout.setBezels(20, 40);
    EXPECT_EQ(sentTo(groupModeMonitorList(layout, 4, ModelCode()), 0),
              (std::vector<std::string>{"STDR0001", "ENLG0000", "BZCO0001", "BEZV0020", "BEZH0040", "BZCT0001",
                                        "BZCB0001", "BZCR0001", "BZCL0001"}));
}

TEST(EnlargeSendListsTest, ClearingSendsTheFamilyCommandsOnlyToTheFamily)
{
    EXPECT_EQ(sentTo(clearEnlargeList(WallOrientation::Portrait, ModelCode::of(7, 6)), 0),
              (std::vector<std::string>{"BZCO0000", "EMAG0000", "STDR0001"}));
    EXPECT_EQ(sentTo(clearEnlargeList(WallOrientation::Portrait, ModelCode::of(7, 9)), 0),
              (std::vector<std::string>{"EMAG0000"}));
}
