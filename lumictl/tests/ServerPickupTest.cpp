// A schedule set up with lumictl reaches a running server through its notices and is carried out at its
// time: lumictl's files and messages are the ones the server reads.
#include "EngineTestSupport.h"
#include "Lumictl.h"
#include "ServerEngine.h"
#include "WindowMessageListener.h"

#include <gtest/gtest.h>

#include <sstream>

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

} // namespace
