// Today's actions from the schedules: which entries apply, past actions, order, invalid entries.
#include "TodayActions.h"
#include "CMailScheduleList.h"
#include "CScheduleStore.h"
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

using namespace lumivane;
using namespace lumivane::test;

namespace {

constexpr int kMonday = 1 << 1;
constexpr int kTuesday = 1 << 2;

ST_SCHEDULE_EVERY weekly(int onHour, int onMinute, int offHour, int offMinute, int dayMask, int inputId = 0)
{
    ST_SCHEDULE_EVERY entry;
    entry.onValid = onHour >= 0;
    entry.onHour = std::max(onHour, 0);
    entry.onMinute = onMinute;
    entry.offValid = offHour >= 0;
    entry.offHour = std::max(offHour, 0);
    entry.offMinute = offMinute;
    entry.dayMask = dayMask;
    entry.inputId = inputId;
    return entry;
}

ST_SCHEDULE_ESPECIAL selectedDays(LocalDate from, LocalDate to, int onHour = -1, int onMinute = 0)
{
    ST_SCHEDULE_ESPECIAL entry;
    entry.onValid = onHour >= 0;
    entry.onHour = std::max(onHour, 0);
    entry.onMinute = onMinute;
    entry.fromYear = from.year;
    entry.fromMonth = from.month;
    entry.fromDay = from.day;
    entry.toYear = to.year;
    entry.toMonth = to.month;
    entry.toDay = to.day;
    return entry;
}

class TodayActionsTest : public ::testing::Test
{
protected:
    void SetUp() override { useUtc(); }

    // Builds for Monday 2024/03/04 at `hour`:`minute`:`second`.
    std::vector<ScheduleEvent> build(int hour, int minute, int second = 0, bool skipPast = true)
    {
        m_now = localTime(2024, 3, 4, hour, minute, second);
        buildTodayActions(
            m_data, [](int id) { return id != 99; }, m_now, skipPast, m_plan, m_problems);
        return m_plan.events();
    }
    std::time_t at(int hour, int minute) const { return localTime(2024, 3, 4, hour, minute); }

    ScheduleData m_data;
    DayPlan m_plan;
    std::vector<std::string> m_problems;
    std::time_t m_now = 0;
};

TEST_F(TodayActionsTest, WeeklyEntriesOfTodaysWeekdayGiveSortedActions)
{
    m_data.schedules.push_back(
        {1, "Office", {weekly(8, 30, 19, 0, kMonday | kTuesday, 3), weekly(7, 0, -1, 0, kTuesday)}, {}});
    m_data.schedules.push_back({2, "Hall", {weekly(6, 15, -1, 0, 0x7F)}, {}});
    m_data.schedules.push_back({99, "Unused", {weekly(5, 0, -1, 0, 0x7F)}, {}});

    const std::vector<ScheduleEvent> events = build(0, 0, 0);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].time, at(6, 15));
    EXPECT_EQ(events[0].scheduleId, 2);
    EXPECT_EQ(events[1].time, at(8, 30));
    EXPECT_EQ(events[1].powerOn, 1);
    EXPECT_EQ(events[1].inputId, 3);
    EXPECT_EQ(events[2].time, at(19, 0));
    EXPECT_EQ(events[2].powerOn, 0);
    EXPECT_EQ(events[2].inputId, 0);
    EXPECT_TRUE(m_problems.empty());
}

TEST_F(TodayActionsTest, ASelectedDaysEntryForTodaySuppressesTheWeeklyOnesOfItsScheduleOnly)
{
    // A holiday term without any time, and a term that does not hold today.
    m_data.schedules.push_back(
        {1,
         "Office",
         {weekly(8, 0, 19, 0, 0x7F)},
         {selectedDays({2024, 3, 1}, {2024, 3, 4}), selectedDays({2024, 3, 5}, {2024, 3, 9}, 9)}});
    m_data.schedules.push_back({2, "Hall", {weekly(8, 0, -1, 0, 0x7F)}, {}});
    std::vector<ScheduleEvent> events = build(0, 0);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].scheduleId, 2);

    // A one-day term with a time replaces the weekly ones.
    m_data.schedules[0].especial = {selectedDays({2024, 3, 4}, {2024, 3, 4}, 10, 45)};
    events = build(0, 0);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].scheduleId, 2);
    EXPECT_EQ(events[1].time, at(10, 45));
    EXPECT_EQ(events[1].scheduleId, 1);
}

TEST_F(TodayActionsTest, AHolidayTermWithABadTimeStillKeepsTheWeeklyPowerOnAway)
{
    m_data.schedules.push_back(
        {1, "Office", {weekly(8, 0, 19, 0, 0x7F)}, {selectedDays({2024, 3, 1}, {2024, 3, 8}, 25)}});
    const std::vector<ScheduleEvent> events = build(0, 0);
    EXPECT_TRUE(events.empty()) << "neither the weekly entry nor the broken time runs on the holiday";
    ASSERT_EQ(m_problems.size(), 1u);
    EXPECT_NE(m_problems[0].find("1,25:00,,0,2024/03/01,2024/03/08"), std::string::npos) << m_problems[0];
}

TEST_F(TodayActionsTest, PastActionsAreLeftOutFromSixtySecondsOn)
{
    m_data.schedules.push_back({1, "Office", {weekly(8, 0, 7, 59, 0x7F)}, {}});
    EXPECT_EQ(build(8, 0, 59).size(), 1u); // 08:00 is 59 s old: kept; 07:59 dropped
    EXPECT_EQ(m_plan.events()[0].time, at(8, 0));
    EXPECT_EQ(build(8, 1, 0).size(), 0u); // 60 s old
    EXPECT_EQ(build(8, 1, 0, false).size(), 2u);
}

TEST_F(TodayActionsTest, ActionsAtTheSameTimeKeepTheOrderOfInsertion)
{
    m_data.mailTimes.push_back({8, 0, 0x7F});
    m_data.schedules.push_back({1, "First", {weekly(8, 0, -1, 0, 0x7F)}, {}});
    m_data.schedules.push_back({2, "Second", {weekly(8, 0, -1, 0, 0x7F)}, {}});
    const std::vector<ScheduleEvent> events = build(0, 0);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, ScheduleEvent::kReportMail);
    EXPECT_EQ(events[1].scheduleId, 1);
    EXPECT_EQ(events[2].scheduleId, 2);
    EXPECT_LT(events[1].sequence, events[2].sequence);
    EXPECT_EQ(m_plan.earliest(ScheduleEvent::kScheduleAction)->scheduleId, 1);
    EXPECT_TRUE(m_plan.remove(events[2].sequence));
    EXPECT_FALSE(m_plan.remove(events[2].sequence));
    EXPECT_EQ(m_plan.nextFor(2), std::nullopt);
}

TEST_F(TodayActionsTest, ReportTimesOfOtherWeekdaysAreLeftOut)
{
    m_data.mailTimes = {{9, 0, kTuesday}, {12, 30, kMonday}};
    const std::vector<ScheduleEvent> events = build(0, 0);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].time, at(12, 30));
    EXPECT_EQ(events[0].scheduleId, 0);
}

TEST_F(TodayActionsTest, InvalidEntriesAreSkippedWithOneLineEachAndTheRestStays)
{
    ST_SCHEDULE_EVERY badTime = weekly(25, 0, 19, 0, 0x7F);
    ST_SCHEDULE_ESPECIAL badDate = selectedDays({0, 0, 0}, {0, 0, 0}, 9);
    ST_SCHEDULE_ESPECIAL february = selectedDays({2024, 2, 30}, {2024, 3, 31}, 9);
    m_data.schedules.push_back({4, "Lobby", {badTime, weekly(8, 0, -1, 0, 0x7F)}, {badDate, february}});
    m_data.mailTimes = {{7, 60, 0x7F}};

    const std::vector<ScheduleEvent> events = build(0, 0);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].time, at(8, 0));
    ASSERT_EQ(m_problems.size(), 4u);
    EXPECT_NE(m_problems[0].find("mail time"), std::string::npos);
    EXPECT_NE(m_problems[1].find("\"Lobby\" (4)"), std::string::npos);
    EXPECT_NE(m_problems[1].find("1,09:00,,0,0000/00/00,0000/00/00"), std::string::npos);
    EXPECT_NE(m_problems[2].find("2024/02/30"), std::string::npos);
    EXPECT_NE(m_problems[3].find("0,25:00,19:00,0,127"), std::string::npos);
}

TEST_F(TodayActionsTest, ReadsTheScheduleFilesOfTheSchedulesInUse)
{
    TempDataFolder data;
    CScheduleStore store;
    ASSERT_TRUE(store.AddSchedule("Office"));
    ASSERT_TRUE(store.AddSchedule("Unused"));
    store.SelectSchedule(0);
    ASSERT_TRUE(store.AddEvery(weekly(8, 0, 19, 0, 0x7F, 2)));
    ASSERT_TRUE(store.AddEspecial(selectedDays({2024, 1, 1}, {2024, 1, 2})));
    store.SelectSchedule(1);
    ASSERT_TRUE(store.AddEvery(weekly(9, 0, -1, 0, 0x7F)));
    CMailScheduleList mail;
    mail.Add(17, 0, 0x7F);
    ASSERT_TRUE(mail.Save());

    const ScheduleData read = loadScheduleData([](int id) { return id == 1; });
    ASSERT_EQ(read.schedules.size(), 2u);
    EXPECT_EQ(read.schedules[0].name, "Office");
    ASSERT_EQ(read.schedules[0].every.size(), 1u);
    EXPECT_EQ(read.schedules[0].every[0].inputId, 2);
    EXPECT_EQ(read.schedules[0].especial.size(), 1u);
    EXPECT_TRUE(read.schedules[1].every.empty()); // not in use: entries not read
    ASSERT_EQ(read.mailTimes.size(), 1u);
    EXPECT_EQ(read.mailTimes[0].hour, 17);
}

TEST_F(TodayActionsTest, MissingFilesGiveNoActions)
{
    TempDataFolder data;
    const ScheduleData read = loadScheduleData([](int) { return true; });
    EXPECT_TRUE(read.schedules.empty());
    EXPECT_TRUE(read.mailTimes.empty());
}

} // namespace
