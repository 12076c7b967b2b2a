// What only serial ports do: exclusive opens and the line speed.
#include "LinkTestSupport.h"

#include <sys/wait.h>
#include <unistd.h>

namespace lumivane::link::test {
namespace {

class SerialLink : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        m_emulator = sim::Emulator::startText("chain main baud=19200\nmonitor m1 model=QX-T988\n", &error);
        ASSERT_TRUE(m_emulator) << error;
        m_port = portOf(*m_emulator, Wire::Pty);
    }

    ShortTimeouts m_timeouts{300};
    std::unique_ptr<sim::Emulator> m_emulator;
    std::string m_port;
};

TEST_F(SerialLink, PortIsHeldExclusivelyUntilClosed)
{
    Handle first = open(m_port, 0, 5);
    ASSERT_TRUE(first);
    EXPECT_FALSE(open(m_port, 0, 5)) << "second opener in this process";

    const pid_t child = ::fork();
    if (child == 0) {
        LINK_HANDLE h = LinkOpen(m_port.c_str(), LINK_FLAGS(0, 0, 0, 5));
        ::_exit(h == nullptr ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "second opener in another process";

    first.reset();
    Handle again = open(m_port, 0, 5);
    ASSERT_TRUE(again);
    int32_t power = 0;
    EXPECT_EQ(LinkGetNumber(again.get(), "command:POWR????", &power, 0, 0, 0), LINK_OK);
}

TEST_F(SerialLink, WrongLineSpeedGetsNoAnswer)
{
    Handle slow = open(m_port, 0, 4); // 9600 against a chain at 19200
    ASSERT_TRUE(slow);
    int32_t power = 0;
    EXPECT_EQ(LinkGetNumber(slow.get(), "command:POWR????", &power, 0, 0, 0), LINK_TIMEOUT);
    slow.reset();
    Handle right = open(m_port, 0, 5);
    ASSERT_TRUE(right);
    EXPECT_EQ(LinkGetNumber(right.get(), "command:POWR????", &power, 0, 0, 0), LINK_OK);
}

TEST_F(SerialLink, UnknownPortsDoNotOpen)
{
    ::setenv("LUMIVANE_COM9", "/nonexistent/tty", 1);
    EXPECT_FALSE(open("COM9"));
    EXPECT_FALSE(open("COM0"));
    EXPECT_FALSE(open("COM257"));
    EXPECT_FALSE(open("USB1"));
    EXPECT_EQ(LinkOpen(nullptr, 0), nullptr);
}

} // namespace
} // namespace lumivane::link::test
