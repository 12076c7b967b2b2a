// The status window's rules, without a screen: which monitors a group shows, what each column says, the
// order of the columns' sorts and what the context menu offers.
#include "EngineTestSupport.h"
#include "ServerTexts.h"
#include "StatusList.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace lumivane;
using namespace lumivane::test;

namespace {

ServerPanel monitor(int number, int group, const char* name)
{
    ServerPanel panel;
    panel.data = PanelRegistry::newMonitorDefaults();
    panel.data.nPanelNo = number;
    panel.data.nGroupNo = group;
    panel.data.bUse = 1;
    std::strncpy(panel.data.szName, name, sizeof panel.data.szName - 1);
    std::strncpy(panel.data.szModel, "QX-T988", sizeof panel.data.szModel - 1);
    return panel;
}

void checked(ServerPanel& panel, std::time_t when, uint32_t flags, int power)
{
    panel.state.hasStatus = true;
    panel.state.lastCheck = when;
    panel.state.statusFlags = flags;
    panel.state.power = power;
}

TESSERA_GROUP_DATA group(int number, int parent)
{
    TESSERA_GROUP_DATA data{};
    data.nGroupNo = number;
    data.nParentNo = parent;
    return data;
}

std::vector<int> numbersOf(const std::vector<StatusRow>& rows)
{
    std::vector<int> numbers;
    for (const StatusRow& row : rows)
        numbers.push_back(row.number());
    return numbers;
}

class StatusListTest : public ::testing::Test
{
protected:
    void SetUp() override { useUtc(); }
    const std::time_t m_now = localTime(2026, 12, 8, 9, 30);
};

TEST_F(StatusListTest, GroupsShowTheirSubgroupsAndTheRootShowsEveryMonitorInUse)
{
    // Group 1 holds group 2; group 3 is beside them. Monitor 4 is not in use.
    const std::vector<TESSERA_GROUP_DATA> groups{group(1, 0), group(2, 1), group(3, 0)};
    std::vector<ServerPanel> live{monitor(1, 0, "[001]"), monitor(2, 1, "[002]"), monitor(3, 2, "[003]"),
                                  monitor(4, 3, "[004]"), monitor(5, 3, "[005]")};
    live[3].data.bUse = 0;

    EXPECT_EQ(numbersOf(statusRows(live, groupsUnder(0, groups), {}, m_now)), (std::vector<int>{1, 2, 3, 5}));
    EXPECT_EQ(numbersOf(statusRows(live, groupsUnder(1, groups), {}, m_now)), (std::vector<int>{2, 3}));
    EXPECT_EQ(numbersOf(statusRows(live, groupsUnder(3, groups), {}, m_now)), (std::vector<int>{5}));
}

TEST_F(StatusListTest, AMonitorNeverCheckedShowsNothingButItsNextAction)
{
    ServerPanel panel = monitor(1, 0, "[001] Hall");
    panel.data.bSchedule = 1;
    panel.data.nScheduleNo = 7;
    ScheduleEvent switchOn;
    switchOn.time = localTime(2026, 12, 8, 18, 5);
    switchOn.powerOn = 1;
    const NextActionLookup next = [&](int scheduleId) {
        return scheduleId == 7 ? std::optional(switchOn) : std::nullopt;
    };

    const StatusRow row = statusRows({panel}, {0}, next, m_now).at(0);
    EXPECT_EQ(row.status, "(Not Get, yet)");
    EXPECT_EQ(row.image, statusImages::kNotYet);
    EXPECT_EQ(row.input, "---");
    EXPECT_EQ(row.signal, "---");
    EXPECT_EQ(row.monitoringTime, "---");
    EXPECT_EQ(row.schedule, "18:05");
    EXPECT_EQ(row.scheduleImage, statusImages::kPowerOn);

    // The same monitor without its schedule switch: no action, however the schedule stands.
    panel.data.bSchedule = 0;
    EXPECT_EQ(statusRows({panel}, {0}, next, m_now).at(0).schedule, "(No schedule)");
}

TEST_F(StatusListTest, ColumnsFollowTheStateOfTheLastCheck)
{
    ServerPanel on = monitor(1, 0, "on");
    checked(on, m_now - 60, 0, 1);
    on.state.inputId = 2;
    on.state.signalText = "1920x1080";
    ServerPanel off = monitor(2, 0, "off");
    checked(off, localTime(2026, 12, 7, 23, 50), 0, 0);
    off.state.signalText = "stale";
    ServerPanel broken = monitor(3, 0, "broken");
    checked(broken, m_now, kConnectionErrorFlags, 1);

    const std::vector<StatusRow> rows = statusRows({on, off, broken}, {0}, {}, m_now);
    EXPECT_EQ(rows[0].status, "Power On");
    EXPECT_EQ(rows[0].image, statusImages::kPowerOn);
    EXPECT_NE(rows[0].input, "---");
    EXPECT_EQ(rows[0].signal, "1920x1080");
    EXPECT_EQ(rows[0].monitoringTime, "09:29");
    // Off: no input or signal, whatever an earlier check left; checked yesterday: the date.
    EXPECT_EQ(rows[1].image, statusImages::kPowerOff);
    EXPECT_EQ(rows[1].signal, "---");
    EXPECT_EQ(rows[1].monitoringTime, "2026/12/07");
    EXPECT_EQ(rows[2].status, "Connection Error");
    EXPECT_EQ(rows[2].image, statusImages::kConnectionError);
    EXPECT_EQ(rows[2].input, "---");
}

TEST_F(StatusListTest, SortsPutMonitorsWithoutStateFirstAndReverse)
{
    ServerPanel never = monitor(1, 0, "b");
    ServerPanel error = monitor(2, 0, "a");
    checked(error, m_now - 10, 0x0010, 1);
    ServerPanel on = monitor(3, 0, "c");
    checked(on, m_now - 20, 0, 1);
    ServerPanel off = monitor(4, 0, "d");
    checked(off, m_now - 30, 0, 0);
    std::vector<StatusRow> rows = statusRows({never, error, on, off}, {0}, {}, m_now);

    sortStatusRows(rows, StatusColumn::Status, true);
    EXPECT_EQ(numbersOf(rows), (std::vector<int>{1, 4, 3, 2}));
    sortStatusRows(rows, StatusColumn::Status, false);
    EXPECT_EQ(numbersOf(rows), (std::vector<int>{2, 3, 4, 1}));
    sortStatusRows(rows, StatusColumn::MonitoringTime, true);
    EXPECT_EQ(numbersOf(rows), (std::vector<int>{1, 4, 3, 2}));
    sortStatusRows(rows, StatusColumn::Name, true);
    EXPECT_EQ(numbersOf(rows), (std::vector<int>{2, 1, 3, 4}));
}

TEST_F(StatusListTest, ContextMenuOffersBrowseOnlyToAnAdministratorForOneLanMonitor)
{
    ServerPanel lan = monitor(1, 0, "lan");
    lan.data.nInterface = 1;
    lan.data.nMonitorID = 0;
    ServerPanel chained = lan;
    chained.data.nMonitorID = 2; // behind another monitor, without a MAC address: no page of its own
    ServerPanel serial = monitor(2, 0, "serial");

    EXPECT_TRUE(statusMenuState({&lan}, 1, false, false, false).browse);
    EXPECT_FALSE(statusMenuState({&lan}, 2, false, false, false).browse);
    EXPECT_FALSE(statusMenuState({&lan}, 3, false, false, false).browse);
    EXPECT_FALSE(statusMenuState({&chained}, 1, false, false, false).browse);
    std::strcpy(chained.data.szMACAddress, "00-11-22-33-44-55");
    EXPECT_TRUE(statusMenuState({&chained}, 1, false, false, false).browse);
    EXPECT_FALSE(statusMenuState({&serial}, 1, false, false, false).browse);

    const StatusMenuState two = statusMenuState({&lan, &serial}, 1, false, false, false);
    EXPECT_FALSE(two.browse);
    EXPECT_FALSE(two.property);
    EXPECT_TRUE(two.commands);
    EXPECT_FALSE(statusMenuState({&lan}, 1, true, false, false).property);
    EXPECT_FALSE(statusMenuState({&lan}, 1, false, true, false).commands);
    EXPECT_FALSE(statusMenuState({&lan}, 1, false, false, true).commands);
    EXPECT_EQ(browseAddress(lan.data), "http://" + ipAddressText(lan.data.dwIPAddress) + "/");
}

} // namespace
