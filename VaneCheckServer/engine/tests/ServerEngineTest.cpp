// The engine over simulated days: schedules, polls, notices, reports, external commands and commands from
// the status window, against an emulated fleet, a fake clock and a fake mail program.
#include "ServerEngine.h"
#include "CMailScheduleList.h"
#include "CScheduleStore.h"
#include "DataFolder.h"
#include "EngineTestSupport.h"
#include "MailAddressList.h"
#include "MailOutbox.h"
#include "ProfileFile.h"
#include "Settings.h"
#include "WindowMessage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#include <thread>

using namespace lumivane;
using namespace lumivane::test;

namespace {

constexpr int kEveryDay = 0x7F;
constexpr int kWeekdays = 0x3E;

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

class ServerEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        useUtc();
        TESSERA_Initialize();
        TESSERA_ShowErrorMessage(0);
        m_serverLog.SetFile("PanelDeskServer.log");
    }
    void TearDown() override
    {
        m_engine.reset();
        TESSERA_Uninitialize();
    }

    void startFleet(const std::string& monitors)
    {
        std::string error;
        m_fleet = sim::Emulator::startText("data-port 0\nsearch-port none\n" + monitors, &error);
        ASSERT_TRUE(m_fleet) << error;
    }
    // Registers the emulated LAN monitor `chain` (named like it) and returns its panel number.
    int addMonitor(const std::string& chain, const std::string& model, int scheduleId = 0, bool monitoring = true,
                   const std::string& name = {})
    {
        TESSERA_PANEL_DATA data = lanMonitor(*m_fleet, chain, model);
        data.bSchedule = scheduleId != 0;
        data.nScheduleNo = scheduleId;
        data.bMonitoring = monitoring;
        const auto added = m_registry.addMonitor(data, 0, name.empty() ? chain : name);
        EXPECT_TRUE(added) << m_registry.lastError();
        return added ? added->nPanelNo : 0;
    }
    void setting(const char* section, const char* key, const std::string& value)
    {
        ASSERT_TRUE(ProfileFile::writeString(dataFilePath("QVXCtrl.ini", true), section, key, value));
    }
    int addSchedule(const std::string& name, const std::vector<ST_SCHEDULE_EVERY>& every,
                    const std::vector<ST_SCHEDULE_ESPECIAL>& especial = {})
    {
        CScheduleStore store;
        store.LoadList();
        EXPECT_TRUE(store.AddSchedule(name));
        const int index = store.listCount() - 1;
        const int id = store.SelectSchedule(index);
        for (const ST_SCHEDULE_EVERY& entry : every)
            EXPECT_TRUE(store.AddEvery(entry));
        for (const ST_SCHEDULE_ESPECIAL& entry : especial)
            EXPECT_TRUE(store.AddEspecial(entry));
        return id;
    }
    void addReportTime(int hour, int minute)
    {
        CMailScheduleList mail;
        mail.Load();
        mail.Add(hour, minute, kEveryDay);
        ASSERT_TRUE(mail.Save());
    }
    void startEngine(std::time_t time)
    {
        m_clock.set(time);
        m_engine = std::make_unique<ServerEngine>(m_host, m_serverLog, m_clock);
        m_engine->start();
    }
    // One tick of timer 2: the clock moves on 10 s; a run that the tick starts is waited for and finished.
    void tick()
    {
        m_clock.advance(std::chrono::seconds(10));
        m_engine->onTick();
        finishRun();
    }
    void finishRun()
    {
        if (m_engine->isRunning())
            m_engine->onRunFinished(m_host.waitForRun());
    }
    void runUntil(std::time_t time)
    {
        while (m_clock.now() + 10 <= time)
            tick();
    }
    std::vector<std::string> monitorLog(const std::string& name) const
    {
        return readLines(m_data.path() + "/Log/" + CMyLog::monitorLogName(name));
    }
    std::vector<std::string> serverLog() const { return readLines(m_serverLog.path()); }
    // Registers monitor `name` with ID `id` on the emulated chain `chain`: at the LAN chain's address, or,
    // with `comPort`, on that COM port.
    int addChainMonitor(const std::string& chain, const std::string& name, int id, const std::string& model,
                        int comPort = 0)
    {
        TESSERA_PANEL_DATA data = lanMonitor(*m_fleet, chain, model);
        if (comPort != 0) {
            data.nInterface = 0;
            data.nComPort = comPort;
        }
        data.nMonitorID = id;
        const auto added = m_registry.addMonitor(data, 0, name);
        EXPECT_TRUE(added) << m_registry.lastError();
        return added ? added->nPanelNo : 0;
    }
    // With a driven clock: time goes on second by second up to `time`, timer 2 every ten seconds, runs
    // finished as they end. The schedule actions a tick started are let run before time goes on, so that
    // their log lines carry the tick's time.
    void driveUntil(std::time_t time)
    {
        const std::time_t start = m_clock.now();
        while (m_clock.now() < time) {
            m_clock.advance(std::chrono::seconds(1));
            if ((m_clock.now() - start) % 10 == 0) {
                m_engine->onTick();
                for (int wait = 0; wait < 10000 && m_engine->trayState().scheduleRunning; ++wait)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (const std::optional<int> errors = m_host.endedRun())
                m_engine->onRunFinished(*errors);
        }
    }
    const ServerPanel* live(int panelNo)
    {
        m_panels = m_engine->livePanels();
        const auto found = std::find_if(m_panels.begin(), m_panels.end(),
                                        [panelNo](const ServerPanel& p) { return p.data.nPanelNo == panelNo; });
        return found == m_panels.end() ? nullptr : &*found;
    }
    static std::vector<std::string> linesWith(const std::vector<std::string>& lines, const std::string& text)
    {
        std::vector<std::string> found;
        std::copy_if(lines.begin(), lines.end(), std::back_inserter(found),
                     [&text](const std::string& line) { return line.find(text) != std::string::npos; });
        return found;
    }

    TempDataFolder m_data;
    ScopedEnvironment m_timeout{"LUMIVANE_LINK_TIMEOUT_MS", "2000"}; // no test here waits for a time-out
    MailCatcher m_mail;
    FakeClock m_clock;
    RecordingHost m_host;
    CMyLog m_serverLog{&m_clock};
    PanelRegistry m_registry{m_data.path()};
    std::unique_ptr<sim::Emulator> m_fleet;
    std::unique_ptr<ServerEngine> m_engine;
    std::vector<ServerPanel> m_panels;
};

TEST_F(ServerEngineTest, AWeekdayOfSchedulesSwitchesEachMonitorAtItsTimes)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 power=off\n"
               "lan b 127.0.0.3\nmonitor b model=QX-T988 power=off\n"
               "lan c 127.0.0.4\nmonitor c model=QX-T988 power=off\n");
    const int office = addSchedule("Office", {weekly(8, 0, 19, 0, kWeekdays, 6)});
    // A holiday term over today without any time: no weekly action of this schedule today.
    ST_SCHEDULE_ESPECIAL holiday;
    holiday.fromYear = holiday.toYear = 2024;
    holiday.fromMonth = holiday.toMonth = 3;
    holiday.fromDay = 1;
    holiday.toDay = 10;
    const int hall = addSchedule("Hall", {weekly(9, 0, 18, 0, kEveryDay)}, {holiday});
    addMonitor("a", "QX-T988", office);
    addMonitor("b", "QX-T988");
    addMonitor("c", "QX-T988", hall);

    startEngine(localTime(2024, 3, 4, 7, 58, 5)); // a Monday
    EXPECT_TRUE(m_engine->trayState().schedule);
    runUntil(localTime(2024, 3, 4, 19, 1));

    EXPECT_EQ(m_fleet->commandsCarriedOut("b").size(), 0u);
    EXPECT_EQ(m_fleet->commandsCarriedOut("c").size(), 0u);
    const std::vector<std::string> log = monitorLog("a");
    EXPECT_EQ(linesWith(log, "Powered on"),
              std::vector<std::string>{"2024/03/04 08:00:05: Trace: Powered on successfully."});
    EXPECT_EQ(linesWith(log, "Changed input"),
              std::vector<std::string>{"2024/03/04 08:00:05: Trace: Changed input to 10, successfully."});
    EXPECT_EQ(linesWith(log, "Powered off"),
              std::vector<std::string>{"2024/03/04 19:00:05: Trace: Powered off successfully."});
    EXPECT_EQ(countReceived(*m_fleet, "a", "POWR0001"), 1);
    EXPECT_EQ(countReceived(*m_fleet, "a", "POWR0000"), 1);
    // Each command is followed by a check of the monitor.
    EXPECT_EQ(linesWith(log, "OK. (Status = ").size(), 2u);
    EXPECT_FALSE(m_engine->trayState().schedule);
    EXPECT_NE(std::find(m_host.posted.begin(), m_host.posted.end(), std::pair(1224, 0)), m_host.posted.end());
    EXPECT_EQ(m_host.posted.back(), std::pair(1224, 1));
}

TEST_F(ServerEngineTest, AnActionAtMidnightRunsAfterTheDateChange)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 power=off\n");
    addMonitor("a", "QX-T988", addSchedule("Night", {weekly(0, 0, -1, 0, kEveryDay)}));
    startEngine(localTime(2024, 3, 4, 23, 58, 5));
    runUntil(localTime(2024, 3, 5, 0, 3));
    EXPECT_EQ(linesWith(monitorLog("a"), "Powered on"),
              std::vector<std::string>{"2024/03/05 00:00:15: Trace: Powered on successfully."});
}

TEST_F(ServerEngineTest, SavedSchedulesRunAnActionOnceMoreWhenItIsLessThanAMinuteOld)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 power=off\n");
    addMonitor("a", "QX-T988",
               addSchedule("Office", {weekly(7, 59, -1, 0, kEveryDay), weekly(8, 0, -1, 0, kEveryDay)}));
    startEngine(localTime(2024, 3, 4, 7, 58, 5));
    runUntil(localTime(2024, 3, 4, 8, 0, 35));
    EXPECT_EQ(countReceived(*m_fleet, "a", "POWR0001"), 2);

    m_engine->onMessage(windowMessages::kSchedulesChanged, 0, 0); // the console saved at 08:00:35
    EXPECT_EQ(m_host.posted.back(), std::pair(1225, 0));
    runUntil(localTime(2024, 3, 4, 8, 5));
    EXPECT_EQ(countReceived(*m_fleet, "a", "POWR0001"), 3);
    EXPECT_EQ(linesWith(monitorLog("a"), "Powered on").back(), "2024/03/04 08:00:45: Trace: Powered on successfully.");
}

TEST_F(ServerEngineTest, ASettingOfTheClockRebuildsTheDayWithoutWhatIsPast)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 power=off\n"
               "lan b 127.0.0.3\nmonitor b model=QX-T988 power=off\n");
    addMonitor("a", "QX-T988", addSchedule("A", {weekly(8, 0, -1, 0, kEveryDay)}));
    startEngine(localTime(2024, 3, 4, 7, 0, 5));
    tick();
    // The clock is set two hours on: the 08:00 action is long past and dropped.
    m_clock.set(localTime(2024, 3, 4, 9, 0, 5));
    m_engine->onClockChanged();
    tick();
    tick();
    EXPECT_EQ(countReceived(*m_fleet, "a", "POWR0001"), 0);

    // Without the notice, a late action still runs on the next tick.
    m_engine.reset();
    startEngine(localTime(2024, 3, 4, 7, 0, 5));
    m_clock.set(localTime(2024, 3, 4, 9, 0, 5));
    tick();
    EXPECT_EQ(countReceived(*m_fleet, "a", "POWR0001"), 1);
}

TEST_F(ServerEngineTest, MonitoringPollsEveryIntervalMinutes)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988\n"
               "lan b 127.0.0.3\nmonitor b model=QX-T988\n");
    setting("Check", "Monitoring", "1");
    setting("Check", "Interval", "5");
    addMonitor("a", "QX-T988");
    addMonitor("b", "QX-T988", 0, false);
    startEngine(localTime(2024, 3, 4, 10, 0, 5));
    runUntil(localTime(2024, 3, 4, 10, 21));
    EXPECT_EQ(monitorLog("a"), (std::vector<std::string>{"2024/03/04 10:00:15: Trace: OK. (Status = 0000)",
                                                         "2024/03/04 10:05:05: Trace: OK. (Status = 0000)",
                                                         "2024/03/04 10:10:05: Trace: OK. (Status = 0000)",
                                                         "2024/03/04 10:15:05: Trace: OK. (Status = 0000)",
                                                         "2024/03/04 10:20:05: Trace: OK. (Status = 0000)"}));
    EXPECT_EQ(m_fleet->commandsCarriedOut("b").size(), 0u); // not a monitoring target
    EXPECT_TRUE(m_engine->trayState().monitoring);
}

TEST_F(ServerEngineTest, ANoticeIsMailedOncePerChangeToABadStatus)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 serial=SN-77 mac=0010C9000002\n");
    setting("Check", "Monitoring", "1");
    setting("Check", "Interval", "1");
    setting("Check", "MessageBox", "1");
    ASSERT_TRUE(SaveAddresses({{"ops@example.com", 2}, {"boss@example.com", 1}, {"both@example.com", 3}}));
    const int a = addMonitor("a", "QX-T988");
    TESSERA_PANEL_DATA identity = m_registry.panels()[0];
    std::strcpy(identity.szSerialNo, "SN-77");
    std::strcpy(identity.szMACAddress, "0010C9000002");
    ASSERT_TRUE(m_registry.updateMonitor(identity));
    startEngine(localTime(2024, 3, 4, 10, 0, 5));

    const auto pollOnce = [&] { runUntil(m_clock.now() + 60); };
    pollOnce(); // good
    m_fleet->setHardwareStatus("a", 0x8000);
    pollOnce(); // notice
    pollOnce(); // the same error: no notice
    m_fleet->setHardwareStatus("a", 0x2000);
    pollOnce(); // another error: notice
    m_fleet->setHardwareStatus("a", 0);
    pollOnce(); // good again: no notice
    m_engine->waitForMail();

    const std::vector<std::string> notices = m_mail.mailsWithSubject("Lumivane Error Notice (a)");
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(m_mail.mails().size(), 2u);
    const std::string& first = notices[0];
    EXPECT_NE(first.find("To: ops@example.com, both@example.com\r\n"), std::string::npos);
    EXPECT_EQ(first.find("boss@example.com"), std::string::npos);
    const auto place = m_fleet->place("a");
    const std::string body = "Status : Abnormal Temperature\r\n"
                             "Error Detail : The monitor has been abnormal temperature. (Status = 8000) Turn off and "
                             "on the main power, after checking not covered the vent hole.\r\n"
                             "\r\n"
                             "Monitor Name : a\r\n"
                             "Model Name : QX-T988\r\n"
                             "Serial Number : SN-77\r\n"
                             "IP Address : 127.0.0.2\r\n"
                             "Data Port : " +
                             std::to_string(place->dataPort) +
                             "\r\n"
                             "MAC Address : 0010C9000002\r\n"
                             "Temperature (degC) : 32\r\n";
    EXPECT_NE(first.find("\r\n\r\n" + body), std::string::npos) << first;
    EXPECT_NE(notices[1].find("Status : Abnormal Fan\r\n"), std::string::npos) << notices[1];

    ASSERT_EQ(m_host.errorList.size(), 2u);
    EXPECT_EQ(m_host.errorList[0].first, "a");
    EXPECT_EQ(m_host.errorListShown, 2);
    EXPECT_EQ(live(a)->state.statusFlags, 0u);
}

TEST_F(ServerEngineTest, AReportTimePollsTheTargetsOnceAndMailsWhatItFound)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 input=4\n"
               "lan b 127.0.0.3\nmonitor b model=QX-T988 status=8000\n"
               "lan c 127.0.0.4\nmonitor c model=QX-T988\n"
               "lan z 127.0.0.5\nmonitor z model=Brela hours=2600\n");
    ASSERT_TRUE(SaveAddresses({{"report@example.com", 1}}));
    addReportTime(9, 0);
    addMonitor("a", "QX-T988");
    addMonitor("b", "QX-T988");
    addMonitor("c", "QX-T988", 0, false);
    addMonitor("z", "Brela");
    startEngine(localTime(2024, 3, 4, 8, 59, 5));
    runUntil(localTime(2024, 3, 4, 9, 5));
    m_engine->waitForMail();

    EXPECT_EQ(countReceived(*m_fleet, "a", "POWR????"), 1);
    EXPECT_EQ(m_fleet->commandsCarriedOut("c").size(), 0u);
    const std::vector<std::string> mails = m_mail.mails();
    ASSERT_EQ(mails.size(), 1u); // no notice: nobody asked for them
    const std::string body = "Monitoring Set : 3\r\n"
                             "Error Set: 1\r\n"
                             "\r\n"
                             "[Monitor Name]\t[Status]\t[Input]\t[Signal]\t[Panel work time]\r\n"
                             "a\tPower On\tPC HDMI\t1920x1080\t---\r\n"
                             "b\tAbnormal Temperature\t---\t---\t---\r\n"
                             "z\tPower On\tINPUT1\t\t2500\r\n";
    EXPECT_NE(mails[0].find("Subject: Lumivane Report\r\n"), std::string::npos);
    EXPECT_NE(mails[0].find("\r\n\r\n" + body), std::string::npos) << mails[0];
}

TEST_F(ServerEngineTest, AReportTimeWithoutMonitorsMailsNothingLater)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988\n");
    ASSERT_TRUE(SaveAddresses({{"report@example.com", 1}}));
    addReportTime(9, 0);
    startEngine(localTime(2024, 3, 4, 8, 59, 5));
    runUntil(localTime(2024, 3, 4, 9, 1)); // the report time passes with no monitor
    const int a = addMonitor("a", "QX-T988");
    m_engine->ReloadPanels();
    ASSERT_EQ(m_engine->startManualCommand({{a}, {}, false}, {}), ManualStart::Started);
    finishRun();
    m_engine->waitForMail();
    EXPECT_TRUE(m_mail.mailsWithSubject("Lumivane Report").empty());
}

TEST_F(ServerEngineTest, AMonitorThatSeveralActionsOfARunFailOnCountsAsOneError)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988\nlan b 127.0.0.3\nmonitor b model=QX-T988\n");
    const std::string metrics = m_data.path() + "/lumivane.prom";
    setting("Check", "MetricsFile", metrics);
    const int id = addSchedule("Office", {weekly(8, 0, -1, 0, kEveryDay), weekly(-1, 0, 8, 0, kEveryDay)});
    const int a = addMonitor("a", "QX-T988", id);
    addMonitor("b", "QX-T988", id);
    TESSERA_PANEL_DATA unreachable = m_registry.panels().front();
    unreachable.nDataPort = 1;
    ASSERT_TRUE(m_registry.updateMonitor(unreachable));
    startEngine(localTime(2024, 3, 4, 8, 0, 5));
    m_clock.advance(std::chrono::seconds(10));
    m_engine->onTick(); // both actions of 08:00 in one run
    ASSERT_TRUE(m_engine->isRunning());
    const int errors = m_host.waitForRun();
    m_engine->onRunFinished(errors);
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(live(a)->state.statusFlags, kConnectionErrorFlags);
    // Every action on every monitor is counted, and each failure of it.
    const std::vector<std::string> figures = readLines(metrics);
    EXPECT_EQ(linesWith(figures, "lumivane_schedule_actions_executed_total 4").size(), 1u);
    EXPECT_EQ(linesWith(figures, "lumivane_schedule_actions_failed_total 2").size(), 1u);
    EXPECT_EQ(linesWith(figures, "lumivane_run_monitors_in_error 1").size(), 1u);
}

TEST_F(ServerEngineTest, TheExternalCommandGetsEachFailingMonitorsNameAndRunsNothingElse)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988\n");
    TempFolder scratch;
    const std::string script = scratch.file("note.sh");
    writeFile(script, "#!/bin/sh\nprintf '%s\\n' \"$2\" >> \"$1\"\n");
    ::chmod(script.c_str(), 0700);
    const std::string out = scratch.file("names");
    const std::string pwned = scratch.file("pwned");
    setting("Check", "Monitoring", "1");
    setting("Check", "ExecCommand", "1");
    setting("Check", "ExecCommandName", script + " " + out + " %n");
    const std::string first = "first;touch " + pwned;
    const std::string second = "second $(touch " + pwned + ") `touch " + pwned + "`";
    addMonitor("a", "QX-T988", 0, true, first);
    addMonitor("a", "QX-T988", 0, true, second);
    addMonitor("a", "QX-T988", 0, true, "good");
    // The first two cannot be reached.
    for (const TESSERA_PANEL_DATA& panel : m_registry.panels()) {
        if (std::string(panel.szName) != "good") {
            TESSERA_PANEL_DATA changed = panel;
            changed.nDataPort = 1;
            ASSERT_TRUE(m_registry.updateMonitor(changed));
        }
    }
    startEngine(localTime(2024, 3, 4, 10, 0, 5));
    tick();
    const auto wholeLines = [&] {
        const std::string text = fileExists(out) ? readFile(out) : std::string();
        return std::count(text.begin(), text.end(), '\n');
    };
    for (int wait = 0; wait < 500 && wholeLines() < 2; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::vector<std::string> names = readLines(out);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{first, second}));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(fileExists(pwned));
}

TEST_F(ServerEngineTest, AnInvalidScheduleEntryIsSkippedWithOneLogLineAndTheOthersRun)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 power=off\n");
    const int id = addSchedule("Office", {});
    writeFile(m_data.path() + "/Schedule/Schedule" + std::to_string(id) + ".scf",
              "0,25:00,19:00,0,127\n0,08:00,,0,127\n1,08:30,,0,2024/13/01,2024/12/31\n");
    addMonitor("a", "QX-T988", id);
    startEngine(localTime(2024, 3, 4, 7, 59, 5));
    runUntil(localTime(2024, 3, 4, 8, 1));
    EXPECT_EQ(countReceived(*m_fleet, "a", "POWR0001"), 1);
    const std::vector<std::string> errors = linesWith(serverLog(), ": ERROR: ");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find("\"Office\""), std::string::npos);
    EXPECT_NE(errors[0].find("2024/13/01"), std::string::npos);
    EXPECT_NE(errors[1].find("0,25:00,19:00,0,127"), std::string::npos);
}

TEST_F(ServerEngineTest, ACommandFromTheStatusWindowRunsOnCopiesAndListsItsErrors)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 power=off\n");
    ASSERT_TRUE(SaveAddresses({{"ops@example.com", 2}}));
    const int a = addMonitor("a", "QX-T988");
    const int b = addMonitor("a", "QX-T988", 0, true, "b");
    const std::vector<TESSERA_PANEL_DATA> registered = m_registry.panels();
    TESSERA_PANEL_DATA unreachable = *std::find_if(
        registered.begin(), registered.end(), [](const TESSERA_PANEL_DATA& p) { return std::string(p.szName) == "b"; });
    unreachable.nDataPort = 1;
    ASSERT_TRUE(m_registry.updateMonitor(unreachable));
    TESSERA_PANEL_DATA unused = lanMonitor(*m_fleet, "a", "QX-T988");
    unused.bUse = 0;
    const int c = m_registry.addMonitor(unused, 0, "unused")->nPanelNo;
    startEngine(localTime(2024, 3, 4, 10, 0, 5));

    EXPECT_EQ(m_engine->startManualCommand({{c}, {}, false}, {true, true}), ManualStart::NoTargets);
    ASSERT_EQ(m_engine->startManualCommand({{a, b, c}, {}, false}, {true, true}), ManualStart::Started);
    EXPECT_EQ(m_engine->startManualCommand({{}, {0}, true}, {}), ManualStart::Busy);
    finishRun();
    m_engine->waitForMail();

    EXPECT_EQ(m_host.progress, (std::vector<int>{1, 2}));
    EXPECT_GE(m_host.progressClosed, 1);
    ASSERT_EQ(m_host.errorList.size(), 1u);
    EXPECT_EQ(m_host.errorList[0].first, "b");
    EXPECT_EQ(m_host.errorList[0].second, "Lumivane or another module may be accessing 127.0.0.2.");
    EXPECT_EQ(m_host.errorListShown, 1);
    EXPECT_EQ(live(a)->state.power, 1);
    EXPECT_EQ(live(a)->state.statusText, "OK. (Status = 0000)");
    EXPECT_EQ(live(b)->state.statusFlags, kConnectionErrorFlags);
    EXPECT_FALSE(live(c)->state.hasStatus);
    EXPECT_EQ(m_mail.mailsWithSubject("Lumivane Error Notice (b)").size(), 1u);

    // The button: every monitor of group 0, a check only.
    ASSERT_EQ(m_engine->startManualCommand({{}, {0}, true}, {}), ManualStart::Started);
    finishRun();
    EXPECT_EQ(countReceived(*m_fleet, "a", "POWR0001"), 1);
    EXPECT_EQ(m_host.errorList.size(), 1u); // b failed its check again: no new error, nothing listed
    EXPECT_EQ(m_host.errorListShown, 2);
}

TEST_F(ServerEngineTest, StatusKeysAreWrittenBackAndTheStateOutlivesAReload)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988\n");
    const int a = addMonitor("a", "QX-T988");
    addMonitor("a", "QX-T988", 0, true, "second");
    startEngine(localTime(2024, 3, 4, 10, 0, 5));
    std::vector<TESSERA_PANEL_DATA> stored = m_registry.panels();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].nStatusKey, 1);
    EXPECT_EQ(stored[1].nStatusKey, 2);

    ASSERT_EQ(m_engine->startManualCommand({{a}, {}, false}, {}), ManualStart::Started);
    // The console adds a monitor while the run goes on: the reload waits for its end.
    addMonitor("a", "QX-T988", 0, true, "third");
    m_engine->onMessage(windowMessages::kPanelsChanged, 0, 0);
    EXPECT_EQ(m_engine->livePanels().size(), 2u);
    finishRun();
    EXPECT_EQ(m_engine->livePanels().size(), 3u);
    EXPECT_TRUE(live(a)->state.hasStatus);
    EXPECT_EQ(m_registry.panels()[2].nStatusKey, 3);
    EXPECT_EQ(m_host.posted.back(), std::pair(1224, 1));
    EXPECT_NE(std::find(m_host.posted.begin(), m_host.posted.end(), std::pair(1226, 0)), m_host.posted.end());
}

TEST_F(ServerEngineTest, AnUnreadablePanelFileKeepsTheMonitorsKnownSoFar)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988\n");
    addMonitor("a", "QX-T988");
    startEngine(localTime(2024, 3, 4, 10, 0, 5));
    // A folder where the file should be cannot be read by anyone.
    const std::string panels = m_registry.panelsPath();
    ASSERT_EQ(::rename(panels.c_str(), (panels + ".away").c_str()), 0);
    ASSERT_EQ(::mkdir(panels.c_str(), 0700), 0);
    m_engine->onMessage(windowMessages::kPanelsChanged, 0, 0);
    ::rmdir(panels.c_str());
    EXPECT_EQ(m_engine->livePanels().size(), 1u);
    EXPECT_EQ(linesWith(serverLog(), "ERROR: Cannot read the panel file").size(), 1u);
}

TEST_F(ServerEngineTest, AFailingMailProgramIsLoggedAndTheServerGoesOn)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 status=8000\n");
    TempFolder scratch;
    writeFile(scratch.file("sendmail"), "#!/bin/sh\ncat > /dev/null\nexit 3\n");
    ::chmod(scratch.file("sendmail").c_str(), 0700);
    const ScopedEnvironment failing("LUMIVANE_SENDMAIL", scratch.file("sendmail"));
    ASSERT_TRUE(SaveAddresses({{"ops@example.com", 3}}));
    setting("Check", "Monitoring", "1");
    addReportTime(10, 1);
    addMonitor("a", "QX-T988");
    startEngine(localTime(2024, 3, 4, 10, 0, 5));
    runUntil(localTime(2024, 3, 4, 10, 2));
    m_engine->waitForMail();
    EXPECT_EQ(linesWith(serverLog(), "ERROR: Send mail error. (Error code = 3)").size(), 2u); // notice, report
}

TEST_F(ServerEngineTest, ExitDuringARunCancelsAndWaitsForTheWorker)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 power=off powerup=600000\n");
    setting("Environment", "ZRPowerWait", "3600");
    const int a = addMonitor("a", "QX-T988");
    startEngine(localTime(2024, 3, 4, 10, 0, 5));
    m_clock.setRealDivisor(1); // the power-on wait is a real hour unless cancelled
    ASSERT_EQ(m_engine->startManualCommand({{a}, {}, false}, {true, true}), ManualStart::Started);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto before = std::chrono::steady_clock::now();
    m_engine->shutdown();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
    EXPECT_FALSE(m_engine->isRunning());
    EXPECT_TRUE(m_engine->livePanels().empty());
    EXPECT_EQ(m_engine->startManualCommand({{a}, {}, false}, {}), ManualStart::Busy);
}

TEST_F(ServerEngineTest, AStuckMailProgramIsStoppedAtTheEndAndTheRestLoggedAsNotSent)
{
    TempFolder scratch;
    writeFile(scratch.file("sendmail"), "#!/bin/sh\nexec sleep 60\n");
    ::chmod(scratch.file("sendmail").c_str(), 0700);
    const ScopedEnvironment stuck("LUMIVANE_SENDMAIL", scratch.file("sendmail"));
    CMyLog log;
    log.SetFile("Outbox.log");
    MailOutbox outbox(log, {}, [](int) { return std::vector<std::string>{"ops@example.com"}; });
    outbox.post(1, "first", "body");
    outbox.post(1, "second", "body");
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // the first one is with the mail program
    const auto before = std::chrono::steady_clock::now();
    outbox.finish(std::chrono::milliseconds(300));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    const std::string text = readFile(log.path());
    EXPECT_NE(text.find("was stopped"), std::string::npos) << text;
    EXPECT_NE(text.find("Mail not sent, the server is ending: second"), std::string::npos) << text;
}

// ---- several monitors at once

TEST_F(ServerEngineTest, AnActionFallingDueDuringALongPollStartsAtTheNextTick)
{
    // A chain of twenty ZR-1190 monitors behind one LAN address, each asked for its input five times a second
    // apart: their poll takes well over a minute of which the action at 10:01 must not wait for the end.
    std::string fleet = "lan z 127.0.0.2\n";
    for (int id = 1; id <= 20; ++id)
        fleet += "monitor z" + std::to_string(id) + " model=Brela lacks=IAVD id=" + std::to_string(id) + "\n";
    startFleet(fleet + "lan a 127.0.0.3\nmonitor a model=QX-T988 power=off\n");
    setting("Check", "Monitoring", "1");
    addMonitor("a", "QX-T988", addSchedule("Lobby", {weekly(10, 1, -1, 0, kEveryDay)}));
    for (int id = 1; id <= 20; ++id)
        addChainMonitor("z", "z" + std::to_string(id), id, "Brela");
    m_clock.setDriven(true);
    startEngine(localTime(2024, 3, 4, 10, 0, 5));
    driveUntil(localTime(2024, 3, 4, 10, 3));

    EXPECT_EQ(linesWith(monitorLog("a"), "Powered on"),
              std::vector<std::string>{"2024/03/04 10:01:05: Trace: Powered on successfully."});
    const std::vector<std::string> last = linesWith(monitorLog("z20"), ": ERROR: ");
    ASSERT_EQ(last.size(), 1u);
    EXPECT_GT(last[0].substr(0, 19), "2024/03/04 10:01:15") << "the poll ended before the action was due";
    EXPECT_FALSE(m_engine->isRunning());
}

TEST_F(ServerEngineTest, AnActionFallingDueDuringACommandFromTheStatusWindowStartsAtTheNextTick)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 power=off\n"
               "lan m 127.0.0.3\nmonitor m model=QX-T988 power=off powerup=3600000\n");
    setting("Environment", "ZRPowerWait", "60");
    addMonitor("a", "QX-T988", addSchedule("Lobby", {weekly(10, 1, -1, 0, kEveryDay)}));
    const int m = addMonitor("m", "QX-T988");
    m_clock.setDriven(true);
    startEngine(localTime(2024, 3, 4, 10, 0, 5));
    // The power-on of m waits three minutes for a monitor that never comes up.
    ASSERT_EQ(m_engine->startManualCommand({{m}, {}, false}, {true, true}), ManualStart::Started);
    driveUntil(localTime(2024, 3, 4, 10, 4));

    EXPECT_EQ(linesWith(monitorLog("a"), "Powered on"),
              std::vector<std::string>{"2024/03/04 10:01:05: Trace: Powered on successfully."});
    EXPECT_EQ(linesWith(monitorLog("m"), "ERROR").size(), 1u);
    EXPECT_FALSE(m_engine->isRunning());
}

TEST_F(ServerEngineTest, ADueActionThatNoRunTookYetOutlivesARebuildOfTheDay)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 power=off\n"
               "lan b 127.0.0.3\nmonitor b model=QX-T988\n");
    addMonitor("a", "QX-T988", addSchedule("Night", {weekly(1, 42, -1, 0, kEveryDay)}));
    const int b = addMonitor("b", "QX-T988");
    startEngine(localTime(2024, 3, 4, 1, 41, 5));
    // A check from the status window is running when the action falls due; the panels change meanwhile and
    // are read again, rebuilding the day, only when the run has ended two minutes later.
    ASSERT_EQ(m_engine->startManualCommand({{b}, {}, false}, {}), ManualStart::Started);
    const int errors = m_host.waitForRun();
    m_clock.set(localTime(2024, 3, 4, 1, 44, 5));
    m_engine->onTick();
    m_engine->onMessage(windowMessages::kPanelsChanged, 0, 0);
    m_engine->onMessage(windowMessages::kSchedulesChanged, 0, 0);
    m_engine->onRunFinished(errors);
    runUntil(localTime(2024, 3, 4, 1, 50));

    EXPECT_EQ(countReceived(*m_fleet, "a", "POWR0001"), 1);
    EXPECT_EQ(linesWith(monitorLog("a"), "Powered on"),
              std::vector<std::string>{"2024/03/04 01:44:15: Trace: Powered on successfully."});
}

TEST_F(ServerEngineTest, MonitorsSharingAPortOrAnAddressAreWorkedOneAfterAnother)
{
    startFleet("chain c\nmonitor c1 id=1\nmonitor c2 id=2\nmonitor c3 id=3\n"
               "lan l 127.0.0.2\nmonitor l1 id=1\nmonitor l2 id=2\n"
               "lan m 127.0.0.3\nmonitor m\n");
    const ScopedEnvironment com("LUMIVANE_COM7", m_fleet->place("c")->device);
    setting("Check", "Monitoring", "1");
    setting("Check", "Parallel", "8");
    const int id = addSchedule("All", {weekly(10, 0, -1, 0, kEveryDay)});
    // Interleaved in the list, so that a run in list order would meet each port twice at once.
    std::vector<int> panels = {addChainMonitor("c", "c1", 1, "QX-T988", 7), addChainMonitor("l", "l1", 1, "QX-T988"),
                               addChainMonitor("c", "c2", 2, "QX-T988", 7), addChainMonitor("l", "l2", 2, "QX-T988"),
                               addChainMonitor("c", "c3", 3, "QX-T988", 7), addMonitor("m", "QX-T988")};
    for (TESSERA_PANEL_DATA data : m_registry.panels()) {
        data.bSchedule = 1;
        data.nScheduleNo = id;
        ASSERT_TRUE(m_registry.updateMonitor(data));
    }
    startEngine(localTime(2024, 3, 4, 10, 0, 5));
    tick(); // the power-on and the poll in one run

    for (const int panel : panels) {
        EXPECT_TRUE(live(panel)->state.hasStatus) << live(panel)->data.szName;
        EXPECT_EQ(live(panel)->state.statusFlags, 0u) << live(panel)->state.statusText; // a busy port fails
    }
    // Each chain heard its monitors one after another, in list order.
    for (const std::string chain : {"c", "l"}) {
        std::vector<std::string> prefixes;
        for (const std::string& line : m_fleet->receivedLines(chain))
            prefixes.push_back(line.substr(0, 4));
        EXPECT_TRUE(std::is_sorted(prefixes.begin(), prefixes.end())) << chain;
        EXPECT_EQ(std::count(prefixes.begin(), prefixes.end(), "#001"),
                  std::count(prefixes.begin(), prefixes.end(), "#002"));
    }
    EXPECT_EQ(countReceived(*m_fleet, "c", "#003POWR0001"), 1);
}

TEST_F(ServerEngineTest, ParallelOneWorksInListOrderAndAWaitingMonitorHoldsNobodyUpOtherwise)
{
    // Each monitor answers with an error for a second after the power-on: one wait of 15 s (1.5 s for real).
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 power=off powerup=1000\n"
               "lan b 127.0.0.3\nmonitor b model=QX-T988 power=off powerup=1000\n"
               "lan c 127.0.0.4\nmonitor c model=QX-T988 power=off powerup=1000\n");
    const int id = addSchedule("Office", {weekly(8, 0, -1, 0, kEveryDay)});
    for (const char* name : {"a", "b", "c"})
        addMonitor(name, "QX-T988", id, false);
    m_clock.setRealDivisor(10);

    setting("Check", "Parallel", "1");
    startEngine(localTime(2024, 3, 4, 7, 59, 55));
    tick();
    EXPECT_EQ(monitorLog("a"), (std::vector<std::string>{"2024/03/04 08:00:20: Trace: Powered on successfully.",
                                                         "2024/03/04 08:00:20: Trace: OK. (Status = 0000)"}));
    EXPECT_EQ(monitorLog("b"), (std::vector<std::string>{"2024/03/04 08:00:35: Trace: Powered on successfully.",
                                                         "2024/03/04 08:00:35: Trace: OK. (Status = 0000)"}));
    EXPECT_EQ(monitorLog("c"), (std::vector<std::string>{"2024/03/04 08:00:50: Trace: Powered on successfully.",
                                                         "2024/03/04 08:00:50: Trace: OK. (Status = 0000)"}));

    // Two places for three monitors: the waits leave their places, so all three wait at the same time.
    m_engine.reset();
    for (const char* name : {"a", "b", "c"})
        m_fleet->setPower(name, false);
    setting("Check", "Parallel", "2");
    startEngine(localTime(2024, 3, 5, 7, 59, 55));
    tick();
    for (const char* name : {"a", "b", "c"}) {
        EXPECT_EQ(linesWith(monitorLog(name), "2024/03/05"),
                  (std::vector<std::string>{"2024/03/05 08:00:20: Trace: Powered on successfully.",
                                            "2024/03/05 08:00:20: Trace: OK. (Status = 0000)"}))
            << name;
    }
}

TEST_F(ServerEngineTest, CancelEndsEveryMonitorOfAConcurrentRunAtOnceAndChangesNothing)
{
    startFleet("lan a 127.0.0.2\nmonitor a model=QX-T988 power=off powerup=600000\n"
               "lan b 127.0.0.3\nmonitor b model=QX-T988 power=off powerup=600000\n"
               "lan s 127.0.0.4\nmonitor s model=QX-T988 power=off fault=silent\n"
               "lan g 127.0.0.5\nmonitor g model=QX-T988 power=off\n");
    const ScopedEnvironment slowLink("LUMIVANE_LINK_TIMEOUT_MS", "20000");
    setting("Environment", "ZRPowerWait", "3600");
    std::vector<int> panels;
    for (const char* name : {"a", "b", "s", "g"})
        panels.push_back(addMonitor(name, "QX-T988"));
    startEngine(localTime(2024, 3, 4, 10, 0, 5));
    m_clock.setRealDivisor(1); // the power-on waits take an hour for real, the silent monitor 20 s
    ASSERT_EQ(m_engine->startManualCommand({panels, {}, false}, {true, true}), ManualStart::Started);
    ASSERT_TRUE(m_host.waitForProgress(1, std::chrono::seconds(10))); // the good one is done
    std::this_thread::sleep_for(std::chrono::milliseconds(100));      // the others wait
    const auto before = std::chrono::steady_clock::now();
    m_engine->cancelRun();
    const int errors = m_host.waitForRun();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    m_engine->onRunFinished(errors);

    EXPECT_EQ(errors, 0);
    EXPECT_EQ(countReceived(*m_fleet, "a", "POWR0001"), 1);
    EXPECT_EQ(countReceived(*m_fleet, "b", "POWR0001"), 1);
    EXPECT_TRUE(live(panels[3])->state.hasStatus);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(live(panels[i])->state.hasStatus) << i;
    EXPECT_TRUE(m_host.errorList.empty());
}

} // namespace
