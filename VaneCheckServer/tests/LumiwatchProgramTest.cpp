// The program lumiwatch --headless as a process: one instance, the hand-over of a second start, the window
// messages of the console, a poll of an emulated fleet, and a clean end on SIGTERM and SIGINT.
#include "CMyLog.h"
#include "DataFolder.h"
#include "Emulator.h"
#include "NamedMutex.h"
#include "PanelRegistry.h"
#include "ProfileFile.h"
#include "TempFolder.h"
#include "WindowMessage.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <iostream>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

using namespace lumivane;
using namespace lumivane::test;
using namespace std::chrono_literals;

namespace {

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 10s)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

size_t countOf(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// A lumiwatch process; killed if a test leaves it running.
class Lumiwatch
{
public:
    explicit Lumiwatch(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), LUMIWATCH_PROGRAM);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&m_pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
    }
    Lumiwatch(const Lumiwatch&) = delete;
    Lumiwatch& operator=(const Lumiwatch&) = delete;
    ~Lumiwatch()
    {
        if (m_pid > 0 && !m_status) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    bool started() const { return m_pid > 0; }
    void signal(int number) { ::kill(m_pid, number); }
    // The exit code, or nothing when it did not end within the limit.
    std::optional<int> waitForExit(std::chrono::milliseconds limit = 10s)
    {
        waitFor(
            [this] {
                int status = 0;
                if (::waitpid(m_pid, &status, WNOHANG) == m_pid)
                    m_status = status;
                return m_status.has_value();
            },
            limit);
        if (!m_status || !WIFEXITED(*m_status))
            return std::nullopt;
        return WEXITSTATUS(*m_status);
    }

private:
    pid_t m_pid = -1;
    std::optional<int> m_status;
};

class LumiwatchProgramTest : public ::testing::Test
{
protected:
    std::string serverLog() const { return readFile(m_data.path() + "/Log/PanelDeskServer.log"); }
    std::string monitorLog(const std::string& name) const
    {
        return readFile(m_data.path() + "/Log/" + CMyLog::monitorLogName(name));
    }
    bool serverStarted() const { return serverLog().find("---- Start Server ----") != std::string::npos; }

    TempDataFolder m_data;
    ScopedEnvironment m_tick{"LUMIVANE_TICK_MS", "200"};
    ScopedEnvironment m_timeout{"LUMIVANE_LINK_TIMEOUT_MS", "300"};
};

TEST_F(LumiwatchProgramTest, ASecondStartHandsOverWithItsAuthorityAndEnds)
{
    Lumiwatch first({"--headless"});
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(waitFor([&] { return serverStarted(); }));

    Lumiwatch second({"--headless", "/show", "2"});
    EXPECT_EQ(second.waitForExit(), 0);
    EXPECT_TRUE(waitFor([&] { return serverLog().find("Show State requested (authority 2)") != std::string::npos; }));
    EXPECT_EQ(countOf(serverLog(), "---- Start Server ----"), 1u);

    first.signal(SIGTERM);
    EXPECT_EQ(first.waitForExit(), 0);
    const std::string log = serverLog();
    EXPECT_EQ(countOf(log, "---- End Server ----"), 1u);
    EXPECT_LT(log.find("---- Start Server ----"), log.find("---- End Server ----"));
}

TEST_F(LumiwatchProgramTest, PollsTheFleetReloadsOnMessagesAndEndsOnSigint)
{
    std::string error;
    auto fleet = sim::Emulator::startText("data-port 0\nsearch-port none\n"
                                          "lan a 127.0.0.2\nmonitor a model=QX-T988\n"
                                          "lan b 127.0.0.3\nmonitor b model=QX-T988 status=8000\n",
                                          &error);
    ASSERT_TRUE(fleet) << error;
    ASSERT_TRUE(ProfileFile::writeInt(m_data.file("QVXCtrl.ini"), "Check", "Monitoring", 1));
    TESSERA_Initialize();
    TESSERA_ShowErrorMessage(0);
    PanelRegistry registry(m_data.path());
    const auto monitor = [&](const std::string& chain) {
        TESSERA_PANEL_DATA data = PanelRegistry::newMonitorDefaults();
        const auto place = fleet->place(chain);
        in_addr address{};
        ::inet_pton(AF_INET, place->address.c_str(), &address);
        data.nInterface = 1;
        data.dwIPAddress = ntohl(address.s_addr);
        data.nDataPort = place->dataPort;
        std::strcpy(data.szModel, "QX-T988");
        return data;
    };
    ASSERT_TRUE(registry.addMonitor(monitor("a"), 0, "a"));

    Lumiwatch server({"--headless"});
    ASSERT_TRUE(server.started());
    ASSERT_TRUE(waitFor([&] { return monitorLog("a").find("Trace: OK. (Status = 0000)") != std::string::npos; }));
    EXPECT_TRUE(waitFor([&] {
        const std::vector<TESSERA_PANEL_DATA> panels = registry.panels();
        return panels.size() == 1 && panels[0].nStatusKey != 0;
    }));

    // The console registers another monitor and tells the server.
    ASSERT_TRUE(registry.addMonitor(monitor("b"), 0, "b"));
    EXPECT_EQ(postWindowMessage(kServerWindowClass, {windowMessages::kPanelsChanged, 0, 0}), PostResult::Delivered);
    EXPECT_TRUE(waitFor([&] {
        const std::vector<TESSERA_PANEL_DATA> panels = registry.panels();
        return panels.size() == 2 && panels[1].nStatusKey != 0;
    }));
    // Polling starts again at once after a settings message.
    EXPECT_EQ(postWindowMessage(kServerWindowClass, {windowMessages::kSettingsChanged, 0, 0}), PostResult::Delivered);
    EXPECT_TRUE(waitFor(
        [&] { return monitorLog("b").find("ERROR: The monitor has been abnormal temperature") != std::string::npos; }));

    server.signal(SIGINT);
    EXPECT_EQ(server.waitForExit(), 0);
    EXPECT_NE(serverLog().find("---- End Server ----"), std::string::npos);
    TESSERA_Uninitialize();
}

TEST_F(LumiwatchProgramTest, SigtermEndsTheServerWhileAnotherProgramHoldsThePanelStore)
{
    writeFile(m_data.file("Panels.csv"), "");
    NamedMutex store(makeGlobalName("Vaneboard TESSERA Lock"));
    ASSERT_TRUE(store.lock(1s));
    Lumiwatch server({"--headless"});
    ASSERT_TRUE(server.started());
    ASSERT_TRUE(waitFor([&] { return serverLog().find("The panel store is locked") != std::string::npos; }));
    std::this_thread::sleep_for(500ms); // at the next tick it is waiting for the lock again
    const auto start = std::chrono::steady_clock::now();
    server.signal(SIGTERM);
    EXPECT_EQ(server.waitForExit(6s), 0);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    std::cout << "ended " << took.count() << " ms after SIGTERM\n";
    EXPECT_LT(took, 5s);
    EXPECT_EQ(countOf(serverLog(), "The panel store is locked"), 1u); // one line, not one per try
    store.unlock();
}

TEST_F(LumiwatchProgramTest, ASecondStartThatCannotReachTheFirstFails)
{
    // The instance mutex is held, but nobody listens for the hand-over.
    NamedMutex instance(makeGlobalName("VaneCheckServer"));
    ASSERT_TRUE(instance.lock(1s));
    Lumiwatch second({"--headless"});
    ASSERT_TRUE(second.started());
    const std::optional<int> code = second.waitForExit(10s);
    ASSERT_TRUE(code.has_value());
    EXPECT_NE(0, *code);
    EXPECT_NE(serverLog().find("cannot be reached"), std::string::npos);
    instance.unlock();
}

TEST_F(LumiwatchProgramTest, AStartWithoutAnotherServerRunsItselfAndLeavesNoListenerBehind)
{
    {
        Lumiwatch server({"--headless", "-show", "3"});
        ASSERT_TRUE(
            waitFor([&] { return serverLog().find("Show State requested (authority 3)") != std::string::npos; }));
        server.signal(SIGTERM);
        EXPECT_EQ(server.waitForExit(), 0);
    }
    EXPECT_EQ(postWindowMessage(kServerWindowClass, {windowMessages::kSettingsChanged, 0, 0}), PostResult::NoListener);
    // The next start is a first instance again.
    Lumiwatch again({"--headless"});
    EXPECT_TRUE(waitFor([&] { return countOf(serverLog(), "---- Start Server ----") == 2; }));
    again.signal(SIGTERM);
    EXPECT_EQ(again.waitForExit(), 0);
}

} // namespace
