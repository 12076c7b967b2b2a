// A schedule set up with lumictl reaches a running server through its notices and is carried out at its
// time: lumictl's files and messages are the ones the server reads.
#include "DataFolder.h"
#include "EngineTestSupport.h"
#include "Lumictl.h"
#include "ProfileFile.h"
#include "ServerEngine.h"
#include "ServerStatus.h"
#include "StatusCommand.h"
#include "WindowMessageListener.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>

using namespace lumivane;
using namespace lumivane::test;

namespace {

int lumictl(const std::vector<std::string>& arguments)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = ctl::runLumictl(arguments, out, err);
    EXPECT_EQ("", err.str());
    return status;
}

TEST(ServerPickup, AScheduleSetUpWithLumictlRunsInTheRunningServer)
{
    useUtc();
    TESSERA_Initialize();
    TESSERA_ShowErrorMessage(0);
    TempDataFolder data;
    std::string error;
    auto fleet = sim::Emulator::startText("data-port 0\nsearch-port none\nlan a 127.0.0.2\n"
                                          "monitor a model=QX-T988 power=off\n",
                                          &error);
    ASSERT_TRUE(fleet) << error;
    PanelRegistry(data.path()).addMonitor(lanMonitor(*fleet, "a", "QX-T988"), 0, "Lobby");

    WindowMessageListener serverSocket; // where the server listens for notices
    ASSERT_TRUE(serverSocket.listenAs(kServerWindowClass, error)) << error;
    FakeClock clock(localTime(2024, 3, 4, 7, 50)); // a Monday
    RecordingHost host;
    CMyLog serverLog{&clock};
    serverLog.SetFile("PanelDeskServer.log");
    ServerEngine engine(host, serverLog, clock);
    engine.start();

    ASSERT_EQ(0, lumictl({"schedules", "add", "Office"}));
    ASSERT_EQ(0, lumictl({"schedules", "weekly", "Office", "--days", "mon-fri", "--on", "08:00"}));
    ASSERT_EQ(0, lumictl({"schedules", "assign", "Office", "Lobby"}));
    std::vector<int> notices;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (notices.size() < 2 && std::chrono::steady_clock::now() < deadline)
        serverSocket.poll(std::chrono::milliseconds(100), [&](const WindowMessage& message) {
            notices.push_back(message.message);
            engine.onMessage(message.message, message.wParam, message.lParam);
        });
    EXPECT_NE(std::find(notices.begin(), notices.end(), 1126), notices.end());
    EXPECT_NE(std::find(notices.begin(), notices.end(), 1125), notices.end());
    const std::vector<std::string> planned = readLines(serverLog.path());
    EXPECT_NE(std::find_if(planned.begin(), planned.end(),
                           [](const std::string& line) {
                               return line.find("Schedule of today: 1 action, the next at 08:00.") != std::string::npos;
                           }),
              planned.end());

    while (clock.now() < localTime(2024, 3, 4, 8, 1)) {
        clock.advance(std::chrono::seconds(10));
        engine.onTick();
        if (engine.isRunning())
            engine.onRunFinished(host.waitForRun());
    }
    EXPECT_EQ(1, countReceived(*fleet, "a", "POWR0001"));
    const std::vector<std::string> log = readLines(data.path() + "/Log/" + CMyLog::monitorLogName("Lobby"));
    EXPECT_NE(std::find_if(log.begin(), log.end(),
                           [](const std::string& line) { return line.find("Powered on successfully.") != std::string::npos; }),
              log.end());
    TESSERA_Uninitialize();
}

struct Outcome
{
    int status;
    std::string out;
    std::string err;
};

Outcome lumictlStatus(const std::vector<std::string>& arguments)
{
    std::ostringstream out;
    std::ostringstream err;
    std::vector<std::string> line{"status"};
    line.insert(line.end(), arguments.begin(), arguments.end());
    const int status = ctl::runLumictl(line, out, err);
    return {status, out.str(), err.str()};
}

// The server's state after a poll, read by lumictl and by real JSON and Prometheus parsers; names with
// quotes, backslashes and other than ASCII letters. Without a server lumictl says so; a stale file warns.
TEST(ServerPickup, TheServersStateAfterAPollReachesScriptsAndMonitoring)
{
    useUtc();
    TESSERA_Initialize();
    TESSERA_ShowErrorMessage(0);
    TempDataFolder data;
    std::string error;
    auto fleet = sim::Emulator::startText("data-port 0\nsearch-port none\nlan a 127.0.0.2\nmonitor a model=QX-T988\n"
                                          "lan b 127.0.0.3\nmonitor b model=QX-T988 power=off\n",
                                          &error);
    ASSERT_TRUE(fleet) << error;
    const std::string name = "Lobby \"A\" \\ Ærø ✓";
    const std::string groupName = "Hall \"B\" \\ Süd";
    PanelRegistry registry(data.path());
    const auto group = registry.addGroup(groupName, 0);
    ASSERT_TRUE(group) << registry.lastError();
    ASSERT_TRUE(registry.addMonitor(lanMonitor(*fleet, "a", "QX-T988"), group->nGroupNo, name));
    ASSERT_TRUE(registry.addMonitor(lanMonitor(*fleet, "b", "QX-T988"), 0, std::string("Off")));
    const std::string ini = dataFilePath("QVXCtrl.ini", true);
    const std::string metrics = data.path() + "/lumivane.prom";
    ASSERT_TRUE(ProfileFile::writeString(ini, "Check", "Monitoring", "1"));
    ASSERT_TRUE(ProfileFile::writeString(ini, "Check", "MetricsFile", metrics));

    const Outcome noServer = lumictlStatus({});
    EXPECT_EQ(ctl::kExitNoServer, noServer.status);
    EXPECT_NE(noServer.err.find("no server is running"), std::string::npos) << noServer.err;

    WindowMessageListener serverSocket; // the running server, as lumictl sees it
    ASSERT_TRUE(serverSocket.listenAs(kServerWindowClass, error)) << error;
    FakeClock clock(std::time(nullptr));
    RecordingHost host;
    CMyLog serverLog{&clock};
    ServerEngine engine(host, serverLog, clock);
    engine.start();
    const Outcome started = lumictlStatus({});
    EXPECT_EQ(0, started.status) << started.err;
    EXPECT_NE(started.out.find("(Not Get, yet)"), std::string::npos) << started.out;
    clock.advance(std::chrono::seconds(10));
    engine.onTick(); // Monitoring on: the first poll
    ASSERT_TRUE(engine.isRunning());
    engine.onRunFinished(host.waitForRun());

    const std::string statusPath = data.path() + "/Status/status.json";
    struct stat info{};
    ASSERT_EQ(0, ::stat(statusPath.c_str(), &info));
    EXPECT_EQ(0660u, info.st_mode & 0777);
    const Outcome table = lumictlStatus({});
    EXPECT_EQ(0, table.status);
    EXPECT_EQ("", table.err);
    EXPECT_NE(table.out.find("Power On"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("Ærø ✓"), std::string::npos) << table.out;
    const Outcome one = lumictlStatus({"--json", "Off"});
    EXPECT_EQ(std::string::npos, one.out.find("Ærø")) << one.out; // only the selected monitor
    const Outcome json = lumictlStatus({"--json"});
    ASSERT_EQ(0, json.status) << json.err;
    const std::string roundTrip = data.path() + "/lumictl-status.json";
    writeFile(roundTrip, json.out);
    const std::string check = std::string(SYSTEM_PYTHON) + " '" + STATUS_CHECK_SCRIPT + "' '" + statusPath + "' '" +
                              roundTrip + "' --metrics '" + metrics + "' --monitor '" + name + "' --group '" +
                              groupName + "'";
    EXPECT_EQ(0, std::system(check.c_str())) << check;

    const timespec threeHoursAgo[2] = {{std::time(nullptr) - 3 * 3600, 0}, {std::time(nullptr) - 3 * 3600, 0}};
    ASSERT_EQ(0, ::utimensat(AT_FDCWD, statusPath.c_str(), threeHoursAgo, 0));
    const Outcome stale = lumictlStatus({});
    EXPECT_EQ(0, stale.status);
    EXPECT_NE(stale.err.find("warning: the status file is 180 minutes old"), std::string::npos) << stale.err;
    EXPECT_NE(stale.out.find("Power Off"), std::string::npos); // still shown
    TESSERA_Uninitialize();
}

} // namespace
