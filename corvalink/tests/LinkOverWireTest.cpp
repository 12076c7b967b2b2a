// The link against the emulator, over TCP and over a pseudo-terminal alike.
#include "LinkTestSupport.h"

#include <atomic>
#include <cstring>
#include <thread>

namespace lumivane::link::test {
namespace {

using sim::ReplyFault;

const char kThreeMonitors[] = "monitor m1 model=QX-T988 id=1\n"
                              "monitor m2 model=QX-T989B id=2 serial=SN-2\n"
                              "monitor m3 model=QX-T988 id=3\n";

class LinkOverWire : public testing::TestWithParam<Wire>
{
protected:
    void SetUp() override
    {
        m_emulator = startChain(GetParam(), kThreeMonitors);
        ASSERT_TRUE(m_emulator);
        m_port = portOf(*m_emulator, GetParam());
    }

    Handle openId(int id) { return open(m_port, id); }

    ShortTimeouts m_timeouts{400};
    std::unique_ptr<sim::Emulator> m_emulator;
    std::string m_port;
};

TEST_P(LinkOverWire, SettingsAndQueriesSucceedAndReachTheMonitor)
{
    Handle h = openId(0);
    ASSERT_TRUE(h);
    EXPECT_EQ(LinkSet(h.get(), "command", "VLMP0020", 0, 0, 0), LINK_OK);
    int32_t value = -1;
    EXPECT_EQ(LinkGetNumber(h.get(), "command:VLMP????", &value, 0, 0, 0), LINK_OK);
    EXPECT_EQ(value, 20);
    int32_t width = 0, height = 0;
    EXPECT_EQ(LinkGetPair(h.get(), "Command:PXCK????", &width, &height, 0, 0, 0), LINK_OK);
    EXPECT_EQ(width, 1920);
    EXPECT_EQ(height, 1080);
    char text[64];
    EXPECT_EQ(LinkGetText(h.get(), "command:INF1????", text, sizeof text), LINK_OK);
    EXPECT_STREQ(text, "QX-T988");
    EXPECT_EQ(LinkSet(h.get(), "multi", "off", 0, 0, 0), LINK_OK);
    EXPECT_EQ(m_emulator->receivedLines("main"),
              (std::vector<std::string>{"VLMP0020", "VLMP????", "PXCK????", "INF1????", "MWIN0000"}));
    EXPECT_EQ(m_emulator->value("m1", "VLMP"), 20);
}

TEST_P(LinkOverWire, NegativeValuesTravelWithTheirSign)
{
    Handle h = openId(0);
    ASSERT_TRUE(h);
    EXPECT_EQ(LinkSet(h.get(), "command", "CMHR-005", 0, 0, 0), LINK_OK);
    int32_t value = 0;
    EXPECT_EQ(LinkGetNumber(h.get(), "command:CMHR????", &value, 0, 0, 0), LINK_OK);
    EXPECT_EQ(value, -5);
}

TEST_P(LinkOverWire, MonitorRefusalsGiveTheirStatuses)
{
    Handle h = openId(0);
    ASSERT_TRUE(h);
    int32_t value = 77;
    EXPECT_EQ(LinkSet(h.get(), "command", "VLMP0045", 0, 0, 0), LINK_MONITOR_ERROR) << "out of range";
    EXPECT_EQ(LinkGetNumber(h.get(), "command:QQQQ????", &value, 0, 0, 0), LINK_MONITOR_ERROR) << "unknown";
    EXPECT_EQ(value, 77) << "a failed query leaves the value as it was";
    m_emulator->setLocked("m1", true);
    EXPECT_EQ(LinkSet(h.get(), "command", "POWR0001", 0, 0, 0), LINK_LOCKED);
    EXPECT_EQ(LinkGetNumber(h.get(), "command:POWR????", &value, 0, 0, 0), LINK_LOCKED);
    m_emulator->setLocked("m1", false);
    m_emulator->setWrongInterface("m1", true);
    EXPECT_EQ(LinkSet(h.get(), "command", "POWR0001", 0, 0, 0), LINK_WRONG_INTERFACE);
    char text[16];
    EXPECT_EQ(LinkGetText(h.get(), "command:SRNO????", text, sizeof text), LINK_WRONG_INTERFACE);
}

TEST_P(LinkOverWire, RepliesOfTheWrongKindAreProtocolErrors)
{
    Handle h = openId(0);
    ASSERT_TRUE(h);
    int32_t value = 0;
    EXPECT_EQ(LinkGetNumber(h.get(), "command:VLMP0010", &value, 0, 0, 0), LINK_ERROR) << "query answered OK";
    EXPECT_EQ(LinkSet(h.get(), "command", "POWR????", 0, 0, 0), LINK_ERROR) << "setting answered with a value";
    int32_t first = 0, second = 0;
    EXPECT_EQ(LinkGetPair(h.get(), "command:VLMP????", &first, &second, 0, 0, 0), LINK_ERROR) << "no comma";
    EXPECT_EQ(LinkGetNumber(h.get(), "command:POWR????", &value, 0, 0, 0), LINK_OK) << "the link stays usable";
}

TEST_P(LinkOverWire, BadCallsSendNothing)
{
    Handle h = openId(0);
    ASSERT_TRUE(h);
    int32_t value = 0;
    char text[8];
    EXPECT_EQ(LinkSet(h.get(), "command", "POWR0001\rPOWR0000", 0, 0, 0), LINK_ERROR);
    EXPECT_EQ(LinkSet(h.get(), "command", "", 0, 0, 0), LINK_ERROR);
    EXPECT_EQ(LinkSet(h.get(), "volume", "VOLM0001", 0, 0, 0), LINK_ERROR);
    EXPECT_EQ(LinkSet(h.get(), "multi", "on", 0, 0, 0), LINK_ERROR);
    EXPECT_EQ(LinkGetNumber(h.get(), "POWR????", &value, 0, 0, 0), LINK_ERROR);
    EXPECT_EQ(LinkGetNumber(h.get(), "command:POWR????", nullptr, 0, 0, 0), LINK_ERROR);
    EXPECT_EQ(LinkGetText(h.get(), "command:INF1????", text, 0), LINK_ERROR);
    EXPECT_EQ(LinkSet(nullptr, "command", "POWR0001", 0, 0, 0), LINK_ERROR);
    EXPECT_TRUE(m_emulator->receivedLines("main").empty());
}

TEST_P(LinkOverWire, TextIsCutToTheBuffer)
{
    Handle h = openId(0);
    ASSERT_TRUE(h);
    char text[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(LinkGetText(h.get(), "command:INF1????", text, sizeof text), LINK_OK);
    EXPECT_STREQ(text, "QX-");
    char one[1] = {'x'};
    EXPECT_EQ(LinkGetText(h.get(), "command:INF1????", one, sizeof one), LINK_OK);
    EXPECT_EQ(one[0], '\0');
}

TEST_P(LinkOverWire, QueriesAnswerErrWhilePoweringUp)
{
    m_emulator->setPower("m1", false);
    m_emulator->setPowerUpTime("m1", 300);
    Handle h = openId(0);
    ASSERT_TRUE(h);
    EXPECT_EQ(LinkSet(h.get(), "command", "VLMP0010", 0, 0, 0), LINK_MONITOR_ERROR) << "stand-by";
    EXPECT_EQ(LinkSet(h.get(), "command", "POWR0001", 0, 0, 0), LINK_OK);
    int32_t power = -1;
    EXPECT_EQ(LinkGetNumber(h.get(), "command:POWR????", &power, 0, 0, 0), LINK_MONITOR_ERROR);
    std::this_thread::sleep_for(std::chrono::milliseconds(350));
    EXPECT_EQ(LinkGetNumber(h.get(), "command:POWR????", &power, 0, 0, 0), LINK_OK);
    EXPECT_EQ(power, 1);
}

TEST_P(LinkOverWire, SilentMonitorTimesOutAndALateReplyIsNotTakenForTheNext)
{
    Handle h = openId(0);
    ASSERT_TRUE(h);
    m_emulator->setReplyDelay("m1", 600);
    int32_t value = 0;
    EXPECT_EQ(LinkGetNumber(h.get(), "command:POWR????", &value, 0, 0, 0), LINK_TIMEOUT);
    m_emulator->setReplyDelay("m1", 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(400)); // the late "1" arrives meanwhile
    char text[32];
    EXPECT_EQ(LinkGetText(h.get(), "command:INF1????", text, sizeof text), LINK_OK);
    EXPECT_STREQ(text, "QX-T988");

    m_emulator->setReplyFault("m1", ReplyFault::Silent);
    EXPECT_EQ(LinkSet(h.get(), "command", "POWR0001", 0, 0, 0), LINK_TIMEOUT);
}

TEST_P(LinkOverWire, CancelEndsAReplyWaitWithStatusOne)
{
    volatile int32_t cancel = 0;
    ::setenv("LUMIVANE_LINK_TIMEOUT_MS", "5000", 1);
    Handle h(LinkOpenLogin(m_port.c_str(), nullptr, nullptr, LINK_FLAGS(0, 0, 0, 4), &cancel));
    ASSERT_TRUE(h);
    m_emulator->setReplyFault("m1", ReplyFault::Silent);
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        cancel = 1;
    });
    const auto start = std::chrono::steady_clock::now();
    int32_t value = 0;
    EXPECT_EQ(LinkGetNumber(h.get(), "command:POWR????", &value, 0, 0, 0), LINK_ERROR);
    EXPECT_LT(millisecondsSince(start), 2500);
    canceller.join();
    const size_t sent = m_emulator->receivedLines("main").size();
    EXPECT_EQ(LinkSet(h.get(), "command", "POWR0001", 0, 0, 0), LINK_ERROR) << "cancelled before sending";
    EXPECT_EQ(m_emulator->receivedLines("main").size(), sent);
}

TEST_P(LinkOverWire, BadRepliesAreErrorsNotCrashes)
{
    // Endless goes last: on a pseudo-terminal its bytes may still be on their way afterwards.
    const ReplyFault faults[] = {ReplyFault::Garbage, ReplyFault::WrongId, ReplyFault::Endless};
    for (const ReplyFault fault : faults) {
        SCOPED_TRACE(sim::replyFaultName(fault));
        Handle h = openId(2);
        ASSERT_TRUE(h);
        m_emulator->setReplyFault("m2", fault);
        char text[64];
        int32_t value = 0;
        EXPECT_EQ(LinkGetText(h.get(), "command:INF1????", text, sizeof text), LINK_ERROR);
        EXPECT_EQ(LinkGetNumber(h.get(), "command:POWR????", &value, 0, 0, 0), LINK_ERROR);
        m_emulator->setReplyFault("m2", ReplyFault::None);
    }
}

TEST_P(LinkOverWire, CommandsForAnIdReachOnlyThatMonitor)
{
    Handle h = openId(2);
    ASSERT_TRUE(h);
    char text[64];
    EXPECT_EQ(LinkGetText(h.get(), "command:SRNO????", text, sizeof text), LINK_OK);
    EXPECT_STREQ(text, "SN-2");
    EXPECT_EQ(LinkSet(h.get(), "command", "VLMP0011", 0, 0, 0), LINK_OK);
    EXPECT_EQ(m_emulator->value("m2", "VLMP"), 11);
    EXPECT_EQ(m_emulator->value("m1", "VLMP"), std::nullopt);
    EXPECT_EQ(m_emulator->receivedLines("main"), (std::vector<std::string>{"#002SRNO????", "#002VLMP0011"}));

    h.reset(); // one control connection at a time
    Handle nobody = openId(9);
    ASSERT_TRUE(nobody);
    EXPECT_EQ(LinkSet(nobody.get(), "command", "POWR0001", 0, 0, 0), LINK_TIMEOUT);
}

TEST_P(LinkOverWire, ChainOfThreeGetsConsecutiveIds)
{
    for (const char* monitor : {"m1", "m2", "m3"})
        m_emulator->setMonitorId(monitor, 0);
    m_emulator->setMonitorId("m3", 1);
    Handle h = openId(2); // chain commands leave without prefix whatever the ID
    ASSERT_TRUE(h);
    char list[4096];
    ASSERT_EQ(LinkReadIdList(h.get(), list, 0, 0, 0), LINK_OK);
    EXPECT_STREQ(list, "0,0,1");
    ASSERT_EQ(LinkAssignIds(h.get(), list, 0, 0, 0), LINK_OK);
    EXPECT_STREQ(list, "1,2,3");
    EXPECT_EQ(m_emulator->monitorState("m3")->id, 3);

    const size_t linesBefore = m_emulator->receivedLines("main").size();
    EXPECT_EQ(LinkAssignIds(h.get(), list, 0, 0, 0), LINK_OK) << "a unique list is left alone";
    EXPECT_EQ(m_emulator->receivedLines("main").size(), linesBefore);
    EXPECT_EQ(m_emulator->receivedLines("main"), (std::vector<std::string>{"IDLS????", "IDAS0001", "IDLS????"}));

    h.reset();
    Handle third = openId(3);
    char model[32];
    ASSERT_EQ(LinkGetText(third.get(), "command:INF1????", model, sizeof model), LINK_OK);
    EXPECT_STREQ(model, "QX-T988");
}

TEST_P(LinkOverWire, DuplicateIdsAreReassigned)
{
    m_emulator->setMonitorId("m3", 2);
    Handle h = openId(0);
    ASSERT_TRUE(h);
    char list[4096] = "1,2,2";
    ASSERT_EQ(LinkAssignIds(h.get(), list, 0, 0, 0), LINK_OK);
    EXPECT_STREQ(list, "1,2,3");
}

INSTANTIATE_TEST_SUITE_P(Wires, LinkOverWire, testing::Values(Wire::Tcp, Wire::Pty), wireName);

} // namespace
} // namespace lumivane::link::test
