// Commands to one monitor and its check, against emulated monitors.
#include "MonitorWork.h"
#include "EngineTestSupport.h"
#include "MonitorLink.h"
#include "corvalink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace lumivane;
using namespace lumivane::test;

namespace {

class MonitorWorkTest : public ::testing::Test
{
protected:
    void SetUp() override { useUtc(); }

    void startFleet(const std::string& monitors)
    {
        std::string error;
        m_fleet = sim::Emulator::startText("data-port 0\nsearch-port none\n" + monitors, &error);
        ASSERT_TRUE(m_fleet) << error;
    }
    ServerPanel panel(const std::string& chain, const std::string& model)
    {
        ServerPanel panel = serverPanel(lanMonitor(*m_fleet, chain, model));
        panel.log.setClock(&m_clock);
        return panel;
    }
    std::vector<std::string> logLines(const ServerPanel& panel) const { return readLines(panel.log.path()); }
    std::vector<std::string> carriedOut(const std::string& monitor) const
    {
        return m_fleet->commandsCarriedOut(monitor);
    }
    int carriedOutCount(const std::string& monitor, const std::string& command) const
    {
        const std::vector<std::string> lines = carriedOut(monitor);
        return static_cast<int>(std::count(lines.begin(), lines.end(), command));
    }
    // Whether `commands` were carried out in this order (others may come between).
    bool inOrder(const std::string& monitor, const std::vector<std::string>& commands) const
    {
        const std::vector<std::string> lines = carriedOut(monitor);
        auto at = lines.begin();
        for (const std::string& command : commands) {
            at = std::find(at, lines.end(), command);
            if (at == lines.end())
                return false;
            ++at;
        }
        return true;
    }

    TempDataFolder m_data;
    ScopedEnvironment m_timeout{"LUMIVANE_LINK_TIMEOUT_MS", "1000"};
    FakeClock m_clock{localTime(2024, 3, 4, 8, 0)};
    CancelFlag m_cancel;
    WorkContext m_context{m_cancel, m_clock, 15};
    std::unique_ptr<sim::Emulator> m_fleet;
};

TEST_F(MonitorWorkTest, AFullCheckReadsPowerStatusTemperatureInputAndSignal)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 input=4 temperature=41\n");
    ServerPanel a = panel("a", "QX-T988");
    CheckMonitor(a, m_context);

    EXPECT_TRUE(a.handled);
    EXPECT_TRUE(a.state.hasStatus);
    EXPECT_FALSE(a.newError);
    EXPECT_EQ(a.state.lastCheck, m_clock.now());
    EXPECT_EQ(a.state.statusFlags, 0u);
    EXPECT_EQ(a.state.statusText, "OK. (Status = 0000)");
    EXPECT_EQ(a.state.power, 1);
    EXPECT_EQ(a.state.inputId, 2); // the model's input 4 is its HDMI terminal: "PC HDMI"
    EXPECT_EQ(a.state.temperatureText, "41");
    EXPECT_EQ(a.state.signalText, "1920x1080");
    EXPECT_EQ(a.state.workTime, -1);
    EXPECT_EQ(logLines(a), std::vector<std::string>{"2024/03/04 08:00:00: Trace: OK. (Status = 0000)"});
}

TEST_F(MonitorWorkTest, AMonitorThatIsOffIsGoodAndIsNotAskedForErrors)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 power=off status=8000\n");
    ServerPanel a = panel("a", "QX-T988");
    a.state.statusFlags = 0x8000;
    CheckMonitor(a, m_context);
    EXPECT_EQ(a.state.statusFlags, 0u);
    EXPECT_EQ(a.state.power, 0);
    EXPECT_FALSE(a.newError);
    EXPECT_EQ(a.state.statusText, "OK. (Status = ---)");
    EXPECT_EQ(carriedOut("a"), std::vector<std::string>{"POWR????"});
}

TEST_F(MonitorWorkTest, OlderAndNewerModelsDecodeTheSameStatusWordDifferently)
{
    startFleet("lan old 127.0.0.2\nmonitor old model=QX-M40 status=0010\n"
               "lan new 127.0.0.3\nmonitor new model=QX-T988 status=0010\n");
    ServerPanel older = panel("old", "QX-M40");
    ServerPanel newer = panel("new", "QX-T988");
    CheckMonitor(older, m_context);
    CheckMonitor(newer, m_context);
    EXPECT_EQ(older.state.statusFlags, 0x0010u);
    EXPECT_EQ(older.state.statusText, "Detected backlight error. (Status = 0010)");
    EXPECT_TRUE(older.newError);
    EXPECT_EQ(newer.state.statusFlags, 0x0010u);
    EXPECT_EQ(newer.state.statusText, "Detected abnormal Voltage. (Status = 0010)");
    EXPECT_EQ(logLines(newer),
              std::vector<std::string>{"2024/03/04 08:00:00: ERROR: Detected abnormal Voltage. (Status = 0010)"});
    // The older model has no "HWST"; the newer one is asked for it.
    EXPECT_EQ(carriedOutCount("old", "HWST0000"), 0);
    EXPECT_EQ(carriedOutCount("new", "HWST0000"), 1);
}

TEST_F(MonitorWorkTest, AModelWithoutHwckTakesItsStatusFromDsta)
{
    startFleet("lan e 127.0.0.2\nmonitor e model=QX-E43 status=4000\n");
    ServerPanel e = panel("e", "QX-E43");
    CheckMonitor(e, m_context);
    EXPECT_EQ(carriedOutCount("e", "DSTA????"), 1);
    EXPECT_EQ(carriedOutCount("e", "HWCK0000"), 0);
    EXPECT_EQ(e.state.statusFlags, 0x4000u);
    EXPECT_EQ(e.state.statusText, "Detected temperature sensor error. (Status = 4000)");
    EXPECT_TRUE(e.state.signalText.empty()); // no signal query on the economy series
}

TEST_F(MonitorWorkTest, AZr1190GetsTheShortCheckWithWorkingHoursInStepsOf500)
{
    startFleet("lan zr 127.0.0.2\nmonitor zr model=Brela input=3 hours=1499 status=8000\n");
    ServerPanel zr = panel("zr", "Brela");
    CheckMonitor(zr, m_context);
    EXPECT_EQ(zr.state.statusFlags, 0u);
    EXPECT_EQ(zr.state.inputId, 103);
    EXPECT_EQ(zr.state.workTime, 1000);
    EXPECT_EQ(carriedOut("zr"), (std::vector<std::string>{"POWR????", "IAVD????", "UTIM????"}));
}

TEST_F(MonitorWorkTest, ANewErrorIsRaisedOnlyWhenTheStatusChangesToABadOne)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988\n");
    ServerPanel a = panel("a", "QX-T988");
    const auto check = [&] {
        ServerPanel copy = a.workerCopy();
        CheckMonitor(copy, m_context);
        a.takeResults(copy);
        return copy.newError;
    };
    EXPECT_FALSE(check());
    m_fleet->setHardwareStatus("a", 0x8000);
    EXPECT_TRUE(check());
    EXPECT_FALSE(check());
    m_fleet->setHardwareStatus("a", 0x2000);
    EXPECT_TRUE(check());
    m_fleet->setHardwareStatus("a", 0);
    EXPECT_FALSE(check());
    EXPECT_EQ(a.state.statusFlags, 0u);
}

TEST_F(MonitorWorkTest, FaultyMonitorsGiveAConnectionErrorWithTheirMessage)
{
    startFleet("lan g 127.0.0.2\nmonitor g model=QX-T988 fault=garbage\n"
               "lan s 127.0.0.3\nmonitor s model=QX-T988 fault=silent\n"
               "lan d 127.0.0.4\nmonitor d model=QX-T988 fault=drop\n"
               "lan l 127.0.0.5 user=admin password=right\nmonitor l model=QX-T988\n");
    ServerPanel garbage = panel("g", "QX-T988");
    ServerPanel silent = panel("s", "QX-T988");
    ServerPanel dropped = panel("d", "QX-T988");
    ServerPanel denied = panel("l", "QX-T988");
    std::strcpy(denied.data.szUserName, "admin");
    std::strcpy(denied.data.szPassword, "wrong");
    for (ServerPanel* p : {&garbage, &silent, &dropped, &denied}) {
        CheckMonitor(*p, m_context);
        EXPECT_EQ(p->state.statusFlags, kConnectionErrorFlags) << p->data.szName;
        EXPECT_TRUE(p->newError);
        EXPECT_TRUE(p->handled);
    }
    EXPECT_EQ(garbage.state.statusText.rfind("Error detected. Please check IP address 127.0.0.2", 0), 0u);
    EXPECT_EQ(silent.state.statusText.rfind("Timeout! Please check IP address 127.0.0.3", 0), 0u);
    EXPECT_EQ(denied.state.statusText, "Cannot login the monitor. User name or password may be wrong.");
    EXPECT_EQ(logLines(silent).size(), 1u);
}

TEST_F(MonitorWorkTest, AMonitorThatCannotBeReachedIsTheBusyCase)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988\n");
    ServerPanel a = panel("a", "QX-T988");
    a.data.nDataPort = 1; // nothing listens there
    EXPECT_FALSE(SendCommand(a, {true, true, false, 0}, m_context));
    EXPECT_EQ(a.state.statusText, "Lumivane or another module may be accessing 127.0.0.2.");
    EXPECT_TRUE(a.commandError);
    EXPECT_TRUE(a.newError);
    EXPECT_TRUE(a.handled);

    ServerPanel again = a.workerCopy();
    EXPECT_FALSE(SendCommand(again, {true, false, false, 0}, m_context));
    EXPECT_FALSE(again.newError); // it already was in connection error
    EXPECT_TRUE(again.commandError);
}

TEST_F(MonitorWorkTest, AMonitorIdOutOfRangeIsAnErrorAndReachesNoOtherMonitor)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 id=1\n");
    ServerPanel a = panel("a", "QX-T988");
    a.data.nMonitorID = 257;
    EXPECT_FALSE(SendCommand(a, {true, true, false, 0}, m_context));
    EXPECT_EQ(a.state.statusText, "The monitor ID 257 is out of range (0 to 255).");
    CheckMonitor(a, m_context);
    EXPECT_EQ(a.state.statusText, "The monitor ID 257 is out of range (0 to 255).");
    EXPECT_TRUE(carriedOut("a").empty());
}

TEST_F(MonitorWorkTest, PowerOnWithAnInputSwitchesTheTerminalsAfterEndingMultiWindow)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 power=off board=1\n");
    {
        LinkHandle link = LinkOpen(m_fleet->portText("a").c_str(), 0);
        ASSERT_NE(link, nullptr);
        LinkSet(link, "command", "POWR0001", 0, 0, 0);
        LinkSet(link, "command", "MWIN0001", 0, 0, 0);
        LinkSet(link, "command", "POWR0000", 0, 0, 0);
        LinkClose(link);
    }
    ServerPanel a = panel("a", "QX-T988");
    a.data.nModelFlags = 1;
    // Input 4, "PC RGB (5BNC)", shares its connector: "BNSL0001" selects it.
    ASSERT_TRUE(SendCommand(a, {true, true, true, 4}, m_context));
    EXPECT_TRUE(inOrder("a", {"POWR0001", "POWR????", "MWIN????", "BNSL????", "MWIN0000", "BNSL0001", "INPS0003"}));
    EXPECT_EQ(m_fleet->value("a", "INPS"), 3);
    EXPECT_EQ(m_fleet->value("a", "MWIN"), 0);
    EXPECT_FALSE(a.handled);
    EXPECT_EQ(logLines(a), (std::vector<std::string>{"2024/03/04 08:00:00: Trace: Powered on successfully.",
                                                     "2024/03/04 08:00:00: Trace: Changed input to 3, successfully."}));

    // Now that the terminal is right, only the input command is sent.
    ASSERT_TRUE(SendCommand(a, {true, true, true, 4}, m_context));
    EXPECT_EQ(carriedOutCount("a", "BNSL0001"), 1);
    EXPECT_EQ(carriedOutCount("a", "MWIN0000"), 1);
    EXPECT_EQ(carriedOutCount("a", "INPS0003"), 2);
}

TEST_F(MonitorWorkTest, PowerOffIsSentAndLogged)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988\n");
    ServerPanel a = panel("a", "QX-T988");
    ASSERT_TRUE(SendCommand(a, {true, false, false, 7}, m_context));
    EXPECT_EQ(carriedOut("a"), std::vector<std::string>{"POWR0000"});
    EXPECT_EQ(logLines(a), std::vector<std::string>{"2024/03/04 08:00:00: Trace: Powered off successfully."});
}

TEST_F(MonitorWorkTest, AZr1190ActsOnlyOnItsOwnInputs)
{
    startFleet("lan zr 127.0.0.2\nmonitor zr model=Brela power=off input=1\n");
    ServerPanel zr = panel("zr", "Brela");
    ASSERT_TRUE(SendCommand(zr, {true, true, true, 3}, m_context)); // a QX-Series input: power only
    EXPECT_EQ(carriedOut("zr"), (std::vector<std::string>{"POWR0001", "POWR????"}));
    ASSERT_TRUE(SendCommand(zr, {true, true, true, 102}, m_context));
    EXPECT_TRUE(inOrder("zr", {"POWR0001", "POWR????", "IAVD????", "IAVD0002"}));
    EXPECT_EQ(m_fleet->value("zr", "IAVD"), 2);
}

TEST_F(MonitorWorkTest, APowerOnWhoseStateQueryKeepsFailingIsAskedFourTimesWaitingBetween)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 power=off powerup=600000\n");
    ServerPanel a = panel("a", "QX-T988");
    m_context.zrPowerWait = 20;
    EXPECT_FALSE(SendCommand(a, {true, true, true, 1}, m_context));
    EXPECT_EQ(carriedOutCount("a", "POWR????"), 4);
    EXPECT_EQ(carriedOutCount("a", "INPS0001"), 0);
    EXPECT_EQ(m_clock.slept(), std::chrono::seconds(60));
    EXPECT_EQ(a.state.statusText,
              "The monitor returns error. The setting value may be out of range, or out of condition.");
    EXPECT_EQ(logLines(a), std::vector<std::string>{"2024/03/04 08:01:00: ERROR: " + a.state.statusText});
}

TEST_F(MonitorWorkTest, APowerOnSucceedsOnceTheMonitorHasStarted)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 power=off powerup=500\n");
    m_clock.setRealDivisor(40); // 15 s of waiting take 375 ms
    ServerPanel a = panel("a", "QX-T988");
    ASSERT_TRUE(SendCommand(a, {true, true, false, 0}, m_context));
    const int queries = carriedOutCount("a", "POWR????");
    EXPECT_GE(queries, 2);
    EXPECT_LE(queries, 4);
    EXPECT_EQ(logLines(a).back().substr(21), "Trace: Powered on successfully.");
}

TEST_F(MonitorWorkTest, ACancelledRunChangesNothing)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 status=8000\n");
    ServerPanel a = panel("a", "QX-T988");
    m_cancel.set();
    EXPECT_TRUE(SendCommand(a, {true, true, false, 0}, m_context));
    CheckMonitor(a, m_context);
    EXPECT_FALSE(a.handled);
    EXPECT_FALSE(a.state.hasStatus);
    EXPECT_EQ(a.state.statusFlags, 0u);
    EXPECT_FALSE(fileExists(a.log.path()));
}

} // namespace
