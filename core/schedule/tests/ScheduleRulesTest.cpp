#include "ScheduleRules.h"

#include <gtest/gtest.h>

using namespace lumivane;

namespace {

// One schedule keeps to one family: its entries' inputs and its monitors must agree, whichever is set
// first.
TEST(ScheduleRules, ASchedulesInputsAndMonitorsStayInOneFamily)
{
    const int main = monitorFamilies({"QX-T988", "QX-A32"});
    const int zr = monitorFamilies({"Brela"});
    EXPECT_EQ(kQxFamily, main);
    EXPECT_EQ(kBothFamilies, monitorFamilies({"QX-T988", "Brela"}));

    // An entry's input against the other entries (283) and the schedule's monitors (284, 285).
    EXPECT_EQ(0, entryInputProblem(0, kBothFamilies, kBothFamilies)); // no input: nothing to check
    EXPECT_EQ(283, entryInputProblem(101, kQxFamily, zr));
    EXPECT_EQ(283, entryInputProblem(3, kZrFamily, main));
    EXPECT_EQ(284, entryInputProblem(101, kNoFamily, kBothFamilies));
    EXPECT_EQ(285, entryInputProblem(3, kNoFamily, zr));
    EXPECT_EQ(0, entryInputProblem(101, kZrFamily, zr));

    // Assigning: main-series inputs never reach a ZR-1190; ZR-1190 inputs only a selection of ZR-1190s.
    EXPECT_EQ(285, assignProblem(kQxFamily, kBothFamilies));
    EXPECT_EQ(284, assignProblem(kZrFamily, kBothFamilies));
    EXPECT_EQ(284, assignProblem(kZrFamily, main));
    EXPECT_EQ(0, assignProblem(kZrFamily, zr));
    EXPECT_EQ(0, assignProblem(kNoFamily, kBothFamilies));
}

TEST(ScheduleRules, RowsShowAndSortAsTheOperatorReadsThem)
{
    const ST_SCHEDULE_EVERY offOnly{0, 0, 0, 1, 6, 0, 0, 0x3E};
    const ST_SCHEDULE_EVERY early{1, 5, 0, 1, 22, 0, 0, 0x01};
    EXPECT_EQ((std::vector<std::string>{"X", "O", "O", "O", "O", "O", "X", "-", "06:00", ""}), everyRowTexts(offOnly));
    // A missing on-time sorts before any present one, however early.
    EXPECT_TRUE(everyLess(offOnly, early, EveryColumn::On));
    EXPECT_FALSE(everyLess(early, offOnly, EveryColumn::On));
    EXPECT_FALSE(everyLess(offOnly, early, EveryColumn::Monday));
    EXPECT_TRUE(everyLess(early, offOnly, EveryColumn::Monday));

    const ST_SCHEDULE_ESPECIAL newYear{0, 0, 0, 0, 0, 0, 0, 2027, 1, 1, 2027, 1, 1};
    const ST_SCHEDULE_ESPECIAL christmas{0, 0, 0, 0, 0, 0, 0, 2026, 12, 24, 2026, 12, 26};
    EXPECT_TRUE(especialLess(christmas, newYear, EspecialColumn::From));
    EXPECT_EQ("2026/12/24", especialRowTexts(christmas)[0]);

    EXPECT_EQ("Lobby && Hall", doubledAmpersands("Lobby & Hall"));
}

TEST(ScheduleRules, StoredIntervalsSelectTheirListEntry)
{
    const std::vector<int> intervals = monitoringIntervals();
    ASSERT_EQ(26u, intervals.size());
    const auto shown = [&](int stored) { return intervals[monitoringIntervalPosition(stored)]; };
    EXPECT_EQ(15, shown(1));
    EXPECT_EQ(30, shown(45));
    EXPECT_EQ(60, shown(90));
    EXPECT_EQ(1440, shown(1440));
    EXPECT_EQ(1440, shown(100000)); // a hand-edited file never selects past the list
}

} // namespace
