// Local days, a setting of the system clock, and the tray icon's state.
#include "EngineTestSupport.h"
#include "ServerEngine.h"

#include <gtest/gtest.h>

using namespace lumivane;
using namespace lumivane::test;

namespace {

TEST(ClockTest, LocalDaysAndTimesOfDay)
{
    useUtc();
    const std::time_t monday = localTime(2024, 3, 4, 15, 30, 12);
    EXPECT_EQ(weekdayOf(monday), 1);
    EXPECT_EQ(localDateOf(monday), (LocalDate{2024, 3, 4}));
    EXPECT_EQ(localTimeOnDay(monday, 0, 0), localTime(2024, 3, 4, 0, 0));
    EXPECT_EQ(localTimeOnDay(monday, 23, 59), localTime(2024, 3, 4, 23, 59));
    EXPECT_LT((LocalDate{2024, 2, 29}), (LocalDate{2024, 3, 1}));
}

TEST(ClockTest, AJumpOfTheWallClockAgainstTheSteadyClockIsAChange)
{
    ClockJumpDetector detector(std::chrono::milliseconds(2000));
    EXPECT_FALSE(detector.check(1'000'000, 500));              // the first reading only starts
    EXPECT_FALSE(detector.check(1'001'000, 1'500));            // both moved 1 s
    EXPECT_FALSE(detector.check(1'003'500, 2'500));            // 1.5 s apart: a late timer, no change
    EXPECT_TRUE(detector.check(1'004'500 + 3'600'000, 3'500)); // set an hour on
    EXPECT_FALSE(detector.check(1'005'500 + 3'600'000, 4'500));
    EXPECT_TRUE(detector.check(900'000, 5'500)); // set back
}

TEST(TrayStateTest, TheRunningPartBlinks)
{
    const TrayState polling{true, true, true, false};
    EXPECT_EQ(polling.icon(false), 528);
    EXPECT_EQ(polling.icon(true), 533);
    const TrayState scheduling{true, true, false, true};
    EXPECT_EQ(scheduling.icon(true), 532);
    const TrayState pending{false, true, false, false};
    EXPECT_EQ(pending.icon(true), 533);
    EXPECT_EQ(TrayState().icon(false), 534);
}

} // namespace
