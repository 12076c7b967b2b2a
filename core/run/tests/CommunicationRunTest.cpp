// Communication runs against emulated monitors: progress, the error box and its four answers, cancel,
// the debug switch.
#include "CommunicationRun.h"
#include "InputSwitch.h"
#include "ModelLookup.h"
#include "CommandText.h"
#include "Emulator.h"
#include "Settings.h"
#include "corvalink.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace lumivane;
using namespace std::chrono_literals;

namespace {

// Records what the run reports and answers the error box from a script.
class ScriptedObserver : public RunObserver
{
public:
    void onProgress(RunProgress what, int value) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        progress.emplace_back(what, value);
        if (onStep)
            onStep(what, value);
    }

    ErrorChoice askOnError(const ErrorBox& box) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        boxes.push_back(box);
        if (beforeAnswer)
            beforeAnswer(box);
        if (answers.empty())
            return ErrorChoice::Abort;
        const ErrorChoice answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::pair<RunProgress, int>> progress;
    std::vector<ErrorBox> boxes;
    std::deque<ErrorChoice> answers;
    std::function<void(const ErrorBox&)> beforeAnswer;
    std::function<void(RunProgress, int)> onStep;

private:
    std::mutex m_mutex;
};

uint32_t loopback(const std::string& address)
{
    in_addr parsed{};
    ::inet_pton(AF_INET, address.c_str(), &parsed);
    return ntohl(parsed.s_addr);
}

TESSERA_PANEL_DATA lanMonitor(const sim::Emulator& fleet, const std::string& chain, const char* model = "QX-T988")
{
    const auto place = fleet.place(chain);
    TESSERA_PANEL_DATA monitor{};
    std::snprintf(monitor.szName, sizeof monitor.szName, "[%03d] %s", 1, chain.c_str());
    std::strcpy(monitor.szModel, model);
    monitor.nInterface = 1;
    monitor.dwIPAddress = loopback(place->address);
    monitor.nDataPort = place->dataPort;
    monitor.nBaudRate = 9600;
    return monitor;
}

CommandItem sendItem(const std::string& text)
{
    CommandItem item{};
    std::strncpy(item.text, text.c_str(), sizeof item.text - 1);
    return item;
}

CommandItem readNumberItem(const std::string& text, int32_t* target)
{
    CommandItem item = sendItem(text);
    item.kind = CommandItemKind::ReadNumber;
    item.data = target;
    return item;
}

class CommunicationRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("LUMIVANE_LINK_TIMEOUT_MS", "400", 1);
        processSettings().environment.debug = 0;
        std::string error;
        m_fleet = sim::Emulator::startText("data-port 0\nsearch-port none\n"
                                           "lan a 127.0.0.2\nmonitor a model=QX-T988\n"
                                           "lan b 127.0.0.3\nmonitor b model=QX-T988\n"
                                           "lan e 127.0.0.4\nmonitor e model=QX-E43\n",
                                           &error);
        ASSERT_TRUE(m_fleet) << error;
        m_a = lanMonitor(*m_fleet, "a");
        m_b = lanMonitor(*m_fleet, "b");
        m_e = lanMonitor(*m_fleet, "e", "QX-E43");
        CommandNames names;
        names.add("POWR", "Power");
        m_names = names;
    }
    void TearDown() override { ::unsetenv("LUMIVANE_LINK_TIMEOUT_MS"); }

    bool run(std::vector<CommandItem>& items, std::vector<const TESSERA_PANEL_DATA*> monitors)
    {
        CommunicationRun communication(RunRequest{items, monitors, 0}, m_observer);
        communication.setCommandNames(m_names);
        communication.start();
        return communication.wait() == 0;
    }

    std::unique_ptr<sim::Emulator> m_fleet;
    TESSERA_PANEL_DATA m_a{}, m_b{}, m_e{};
    ScriptedObserver m_observer;
    CommandNames m_names;
};

TEST_F(CommunicationRunTest, EverythingSucceedsAndProgressIsReported)
{
    int32_t power = -1;
    std::vector<CommandItem> items{sendItem("POWR0001"), readNumberItem("POWR????", &power)};
    EXPECT_TRUE(run(items, {&m_a, &m_b}));
    EXPECT_EQ(1, power);
    EXPECT_TRUE(m_observer.boxes.empty());
    EXPECT_EQ((std::vector<std::string>{"POWR0001", "POWR????"}), m_fleet->receivedLines("b"));
    const std::vector<std::pair<RunProgress, int>> expected{
        {RunProgress::MonitorStep, 0}, {RunProgress::CommandStep, 0}, {RunProgress::CommandStep, 1},
        {RunProgress::CommandStep, 2}, {RunProgress::MonitorStep, 1}, {RunProgress::CommandStep, 0},
        {RunProgress::CommandStep, 1}, {RunProgress::CommandStep, 2}, {RunProgress::MonitorStep, 2},
        {RunProgress::Finished, 0}};
    EXPECT_EQ(expected, m_observer.progress);
}

TEST_F(CommunicationRunTest, BusyPortAsksAndRetrySucceeds)
{
    // Another program holds the monitor's only control connection.
    const int other = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(m_a.nDataPort));
    address.sin_addr.s_addr = htonl(m_a.dwIPAddress);
    ASSERT_EQ(0, ::connect(other, reinterpret_cast<sockaddr*>(&address), sizeof address));
    char greeting[16];
    ASSERT_GT(::read(other, greeting, sizeof greeting), 0);
    m_observer.beforeAnswer = [other](const ErrorBox&) { ::close(other); };
    m_observer.answers = {ErrorChoice::RetryCommand};

    std::vector<CommandItem> items{sendItem("POWR0001")};
    EXPECT_TRUE(run(items, {&m_a}));
    ASSERT_EQ(1u, m_observer.boxes.size());
    const ErrorBox& box = m_observer.boxes[0];
    EXPECT_EQ("Monitor Name : [001] a\r\n\r\nLumivane Server or another module may be accessing 127.0.0.2.\r\n"
              "Please retry after a little wait.\r\n",
              box.text);
    EXPECT_FALSE(box.skipCommandEnabled);
    EXPECT_FALSE(box.skipMonitorEnabled);
}

TEST_F(CommunicationRunTest, CommandFailuresNameTheStatus)
{
    m_fleet->setLocked("a", true);
    m_observer.answers = {ErrorChoice::SkipCommand, ErrorChoice::SkipCommand};
    std::vector<CommandItem> items{sendItem("POWR0001"), sendItem("VOLM0010")};
    EXPECT_FALSE(run(items, {&m_a, &m_b}));
    ASSERT_EQ(2u, m_observer.boxes.size());
    EXPECT_EQ("Fail to set Power.\r\n\r\nMonitor Name : [001] a\r\nCommand : POWR0001\r\n"
              "\r\nThe monitor's control is locked.\r\nPlease unlock.\r\n",
              m_observer.boxes[0].text);
    EXPECT_TRUE(m_observer.boxes[0].skipCommandEnabled);
    EXPECT_TRUE(m_observer.boxes[0].skipMonitorEnabled);
    EXPECT_EQ(0u, m_observer.boxes[1].text.find("Monitor Name : [001] a\r\nCommand : VOLM0010\r\n"));
    // Skip Command went on with the next command and then with the next monitor.
    EXPECT_EQ((std::vector<std::string>{"POWR0001", "VOLM0010"}), m_fleet->receivedLines("b"));

    m_fleet->setLocked("a", false);
    m_fleet->setWrongInterface("a", true);
    m_observer.boxes.clear();
    m_observer.answers = {ErrorChoice::Abort};
    EXPECT_FALSE(run(items, {&m_a}));
    ASSERT_EQ(1u, m_observer.boxes.size());
    EXPECT_NE(std::string::npos, m_observer.boxes[0].text.find("The monitor's interface is not LAN."));
    EXPECT_FALSE(m_observer.boxes[0].skipMonitorEnabled);
    EXPECT_EQ(RunProgress::Ended, m_observer.progress.back().first);

    m_fleet->setWrongInterface("a", false);
    m_fleet->setReplyFault("a", sim::ReplyFault::Silent);
    m_observer.boxes.clear();
    m_observer.answers = {ErrorChoice::Abort};
    int32_t power = -1;
    std::vector<CommandItem> query{readNumberItem("POWR????", &power)};
    EXPECT_FALSE(run(query, {&m_a}));
    ASSERT_EQ(1u, m_observer.boxes.size());
    EXPECT_EQ(0u, m_observer.boxes[0].text.find("Fail to get Power.\r\n\r\n"));
    EXPECT_NE(std::string::npos, m_observer.boxes[0].text.find("\r\nTimeout!\r\nPlease check IP address 127.0.0.2"));
    EXPECT_EQ(-1, power);
}

TEST_F(CommunicationRunTest, RetryCommandRunsTheSameCommandAgain)
{
    m_fleet->setLocked("a", true);
    m_observer.beforeAnswer = [this](const ErrorBox&) { m_fleet->setLocked("a", false); };
    m_observer.answers = {ErrorChoice::RetryCommand};
    std::vector<CommandItem> items{sendItem("POWR0001"), sendItem("VOLM0010")};
    EXPECT_TRUE(run(items, {&m_a}));
    EXPECT_EQ((std::vector<std::string>{"POWR0001", "POWR0001", "VOLM0010"}), m_fleet->receivedLines("a"));
}

TEST_F(CommunicationRunTest, SkipMonitorAndAbort)
{
    m_fleet->setLocked("a", true);
    m_observer.answers = {ErrorChoice::SkipMonitor};
    std::vector<CommandItem> items{sendItem("POWR0001"), sendItem("VOLM0010")};
    EXPECT_FALSE(run(items, {&m_a, &m_b}));
    EXPECT_EQ((std::vector<std::string>{"POWR0001"}), m_fleet->receivedLines("a"));
    EXPECT_EQ(2u, m_fleet->receivedLines("b").size());

    m_observer.answers = {ErrorChoice::Abort};
    m_observer.progress.clear();
    std::vector<CommandItem> again{sendItem("POWR0000")};
    EXPECT_FALSE(run(again, {&m_a, &m_b}));
    EXPECT_EQ(2u, m_fleet->receivedLines("b").size()); // nothing more reached b
    EXPECT_EQ(RunProgress::Ended, m_observer.progress.back().first);
}

TEST_F(CommunicationRunTest, AMonitorIdOutOfRangeIsRefusedAndReachesNoOtherMonitor)
{
    m_fleet->setMonitorId("a", 1);
    TESSERA_PANEL_DATA edited = m_a;
    edited.nMonitorID = 257; // would be ID 1 cut to eight bits
    m_observer.answers = {ErrorChoice::RetryCommand};
    std::vector<CommandItem> items{sendItem("POWR0001")};
    EXPECT_FALSE(run(items, {&edited, &m_b}));
    ASSERT_EQ(1u, m_observer.boxes.size());
    EXPECT_NE(std::string::npos, m_observer.boxes[0].text.find("The monitor ID 257 is out of range (0 to 255)."));
    EXPECT_TRUE(m_fleet->receivedLines("a").empty());
    EXPECT_EQ((std::vector<std::string>{"POWR0001"}), m_fleet->receivedLines("b")); // the run went on
}

TEST_F(CommunicationRunTest, CancelEndsTheRunAfterTheCurrentItem)
{
    m_fleet->setReplyDelay("a", 300);
    std::vector<CommandItem> items{sendItem("POWR0001"), sendItem("VOLM0010"), sendItem("MUTE0001")};
    std::vector<const TESSERA_PANEL_DATA*> monitors{&m_a, &m_b};
    CommunicationRun communication(RunRequest{items, monitors, 0}, m_observer);
    std::thread canceller;
    m_observer.onStep = [&](RunProgress what, int value) {
        if (what == RunProgress::CommandStep && value == 0 && !canceller.joinable())
            canceller = std::thread([&] {
                std::this_thread::sleep_for(100ms);
                communication.cancel();
            });
    };
    communication.start();
    EXPECT_EQ(1, communication.wait());
    canceller.join();
    EXPECT_EQ((std::vector<std::string>{"POWR0001"}), m_fleet->receivedLines("a"));
    EXPECT_TRUE(m_fleet->receivedLines("b").empty());
    EXPECT_TRUE(m_observer.boxes.empty()); // a cancel never asks
    EXPECT_EQ(RunProgress::Ended, m_observer.progress.back().first);
}

TEST_F(CommunicationRunTest, UnsupportedCommandIsSkippedSilently)
{
    // The economy series takes only a few commands; the run leaves the others out and still succeeds.
    std::vector<CommandItem> items{sendItem("EMHV0001"), sendItem("POWR0001")};
    EXPECT_TRUE(run(items, {&m_e}));
    EXPECT_EQ((std::vector<std::string>{"POWR0001"}), m_fleet->receivedLines("e"));
}

TEST_F(CommunicationRunTest, SetClockLeavesTheSentDateInTheItem)
{
    CommandItem clock{};
    clock.kind = CommandItemKind::SetClock;
    std::vector<CommandItem> items{clock};
    EXPECT_TRUE(run(items, {&m_a}));
    ASSERT_EQ(1u, m_fleet->receivedLines("a").size());
    EXPECT_EQ(m_fleet->receivedLines("a")[0], items[0].text);
    EXPECT_EQ(0, std::strncmp(items[0].text, "DATE", 4));
    EXPECT_EQ(14u, std::strlen(items[0].text));
}

TEST_F(CommunicationRunTest, CustomRoutineRunsOnTheOpenLink)
{
    CommandItem custom = sendItem("custom");
    custom.kind = CommandItemKind::Custom;
    int32_t input = 0;
    custom.data = &input;
    custom.routine = [](char* report, LinkHandle link, const char* model, int32_t, void* data) -> int32_t {
        std::strcpy(report, "INPS????");
        return std::strcmp(model, "QX-T988") == 0 ? LinkGetNumber(link, "command:INPS????", static_cast<int32_t*>(data), 0, 0, 0) : 1;
    };
    std::vector<CommandItem> items{custom};
    EXPECT_TRUE(run(items, {&m_a}));
    EXPECT_EQ(1, input);
}

TEST_F(CommunicationRunTest, DebugSwitchOpensNoPort)
{
    processSettings().environment.debug = 1;
    TESSERA_PANEL_DATA nowhere = m_a;
    nowhere.nDataPort = 1; // nothing listens there
    std::vector<CommandItem> items{sendItem("POWR0001")};
    EXPECT_TRUE(run(items, {&nowhere}));
    EXPECT_TRUE(m_observer.boxes.empty());
    EXPECT_EQ((std::vector<std::pair<RunProgress, int>>{{RunProgress::Finished, 0}}), m_observer.progress);
    processSettings().environment.debug = 0;
}

TEST_F(CommunicationRunTest, SerialOpenFailureNamesThePort)
{
    ::setenv("LUMIVANE_COM5", "/nonexistent/tty", 1);
    TESSERA_PANEL_DATA serial{};
    std::strcpy(serial.szName, "[002] studio");
    serial.nComPort = 5;
    serial.nBaudRate = 9600;
    m_observer.answers = {ErrorChoice::Abort};
    std::vector<CommandItem> items{sendItem("POWR0001")};
    EXPECT_FALSE(run(items, {&serial}));
    ASSERT_EQ(1u, m_observer.boxes.size());
    EXPECT_EQ("Monitor Name : [002] studio\r\n\r\nLumivane Server or another module may use COM5 Port.\r\n"
              "Please retry after a little wait.\r\n",
              m_observer.boxes[0].text);
    ::unsetenv("LUMIVANE_COM5");
}

TEST_F(CommunicationRunTest, InputSwitchSendsTheModelsInputNumber)
{
    const InputModeIndex hdmi = 11; // "PC HDMI" on the QX series
    const int32_t number = inputNumberFromIndex(modelFromName("QX-T988", 0), hdmi);
    ASSERT_NE(0, number);
    std::vector<CommandItem> items{inputSwitchItem(&hdmi)};
    EXPECT_TRUE(run(items, {&m_a}));
    const auto lines = m_fleet->receivedLines("a");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(settingCommand("INPS", number), lines.back());
    EXPECT_EQ(number, m_fleet->value("a", "INPS"));

    // A second switch to the same input finds the terminals set and sends only the input.
    m_fleet->setLocked("a", false);
    std::vector<CommandItem> again{inputSwitchItem(&hdmi)};
    EXPECT_TRUE(run(again, {&m_a}));
}

TEST_F(CommunicationRunTest, InputSwitchOfAZrMonitorUsesIavd)
{
    std::string error;
    auto zr = sim::Emulator::startText("data-port 0\nsearch-port none\nlan z 127.0.0.5\nmonitor z model=Brela input=1\n", &error);
    ASSERT_TRUE(zr) << error;
    TESSERA_PANEL_DATA monitor = lanMonitor(*zr, "z", "Brela");
    const InputModeIndex input3 = 103;
    std::vector<CommandItem> items{inputSwitchItem(&input3)};
    EXPECT_TRUE(run(items, {&monitor}));
    EXPECT_EQ((std::vector<std::string>{"IAVD????", "IAVD0003"}), zr->receivedLines("z"));
}

TEST(RunHelpers, EmptyListsFailAtOnce)
{
    ScriptedObserver observer;
    std::vector<CommandItem> items{sendItem("POWR0001")};
    EXPECT_FALSE(runCommandList(items, {}, observer));
    TESSERA_PANEL_DATA monitor{};
    std::vector<const TESSERA_PANEL_DATA*> monitors{&monitor};
    EXPECT_FALSE(runCommandTexts({}, monitors, observer));
    EXPECT_TRUE(observer.progress.empty());
}

TEST(RunHelpers, PortTextsFlagsAndCommandNames)
{
    TESSERA_PANEL_DATA monitor{};
    monitor.nInterface = 1;
    monitor.dwIPAddress = 0xC0A89602;
    monitor.nDataPort = 10008;
    monitor.nMonitorID = 3;
    monitor.nBaudRate = 38400;
    EXPECT_EQ("LAN192.168.150.2:10008", monitorPortText(monitor));
    EXPECT_EQ(LINK_FLAGS(3, 0, 2, 6), monitorOpenFlags(monitor, 2));
    std::strcpy(monitor.szMACAddress, "0011223344AA");
    EXPECT_EQ(LINK_FLAGS(0, 0, 0, 6), monitorOpenFlags(monitor, 0)); // found by its own address
    monitor.nInterface = 0;
    monitor.nComPort = 2;
    monitor.nBaudRate = 4800;
    EXPECT_EQ("COM2", monitorPortText(monitor));
    EXPECT_EQ(LINK_FLAGS(3, 0, 0, 4), monitorOpenFlags(monitor, 0));

    CommandNames names;
    EXPECT_EQ("", names.failureLine("POWR????"));
    names.add("POWR", "Power");
    EXPECT_EQ("Fail to get Power.\r\n\r\n", names.failureLine("POWR????"));
    EXPECT_EQ("Fail to set Power.\r\n\r\n", names.failureLine("POWR0001"));
    EXPECT_EQ("Fail to set Power.\r\n\r\n", names.failureLine("POWR"));
    EXPECT_EQ("", names.failureLine("POW"));
}

} // namespace
