// What only LAN monitors do: greeting and log-in, one control connection at a time, connection faults,
// and the LAN search.
#include "LinkLimits.h"
#include "LinkTestSupport.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <set>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace lumivane::link::test {
namespace {

using sim::ReplyFault;

class LanLink : public testing::Test
{
protected:
    void SetUp() override
    {
        m_emulator = startChain(Wire::Tcp, "monitor m1 model=QX-T988 id=1\n");
        ASSERT_TRUE(m_emulator);
        m_port = m_emulator->portText("main");
    }

    Handle login(const char* user, const char* password)
    {
        return Handle(LinkOpenLogin(m_port.c_str(), user, password, LINK_FLAGS(0, 0, 0, 4), nullptr));
    }

    ShortTimeouts m_timeouts{400};
    std::unique_ptr<sim::Emulator> m_emulator;
    std::string m_port;
};

TEST_F(LanLink, LogInAcceptedLetsCommandsThrough)
{
    m_emulator->requireLogin("main", "admin", "s3cret");
    Handle h = login("admin", "s3cret");
    ASSERT_TRUE(h);
    int32_t power = 0;
    EXPECT_EQ(LinkGetNumber(h.get(), "command:POWR????", &power, 0, 0, 0), LINK_OK);
    EXPECT_EQ(power, 1);
    EXPECT_EQ(m_emulator->receivedLines("main"), std::vector<std::string>{"POWR????"});
}

TEST_F(LanLink, DeniedOrRefusedHandlesAnswerEveryCallWithThatStatus)
{
    m_emulator->requireLogin("main", "admin", "s3cret");
    struct Case
    {
        const char* user;
        const char* password;
        int32_t status;
    };
    for (const Case& c : {Case{"admin", "wrong", LINK_LOGIN_DENIED}, Case{"", "", LINK_LOGIN_DENIED},
                          Case{"admin\r", "s3cret", LINK_LOGIN_DENIED}}) {
        Handle h = login(c.user, c.password);
        ASSERT_TRUE(h) << c.user;
        int32_t value = 0;
        char text[16];
        EXPECT_EQ(LinkSet(h.get(), "command", "POWR0001", 0, 0, 0), c.status);
        EXPECT_EQ(LinkGetNumber(h.get(), "command:POWR????", &value, 0, 0, 0), c.status);
        EXPECT_EQ(LinkGetText(h.get(), "command:INF1????", text, sizeof text), c.status);
        EXPECT_EQ(LinkReadIdList(h.get(), text, 0, 0, 0), c.status);
    }
    Handle plain = open(m_port);
    ASSERT_TRUE(plain) << "LinkOpen logs in with an empty user name";
    EXPECT_EQ(LinkSet(plain.get(), "command", "POWR0001", 0, 0, 0), LINK_LOGIN_DENIED);

    m_emulator->setRefused("main", true);
    Handle refused = login("admin", "s3cret");
    ASSERT_TRUE(refused);
    EXPECT_EQ(LinkSet(refused.get(), "command", "POWR0001", 0, 0, 0), LINK_ACCESS_REFUSED);
    EXPECT_TRUE(m_emulator->receivedLines("main").empty());
}

TEST_F(LanLink, SecondConnectionIsBusyUntilTheFirstCloses)
{
    Handle first = open(m_port);
    ASSERT_TRUE(first);
    EXPECT_FALSE(open(m_port)) << "busy";
    first.reset();
    Handle again = open(m_port); // at once: the monitor notices the close before refusing
    ASSERT_TRUE(again);
    int32_t power = 0;
    EXPECT_EQ(LinkGetNumber(again.get(), "command:POWR????", &power, 0, 0, 0), LINK_OK);
}

TEST_F(LanLink, PeerClosingGivesStatusOneAndTheHandleStaysFailed)
{
    for (const ReplyFault fault : {ReplyFault::Drop, ReplyFault::CutLine}) {
        SCOPED_TRACE(sim::replyFaultName(fault));
        Handle h = open(m_port);
        ASSERT_TRUE(h);
        m_emulator->setReplyFault("m1", fault);
        char text[32];
        EXPECT_EQ(LinkGetText(h.get(), "command:INF1????", text, sizeof text), LINK_ERROR);
        m_emulator->setReplyFault("m1", ReplyFault::None);
        EXPECT_EQ(LinkGetText(h.get(), "command:INF1????", text, sizeof text), LINK_ERROR);
    }
    Handle h = open(m_port);
    ASSERT_TRUE(h);
    m_emulator->dropConnection("main");
    int32_t value = 0;
    EXPECT_EQ(LinkGetNumber(h.get(), "command:POWR????", &value, 0, 0, 0), LINK_ERROR);
}

TEST_F(LanLink, OpenFailsAtOnceWhenNothingListens)
{
    ShortTimeouts longWait(5000);
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(0x7F000001);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    socklen_t length = sizeof local;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
    ::close(fd); // the port is free now and nobody listens on it
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(open("LAN127.0.0.1:" + std::to_string(ntohs(local.sin_port))));
    EXPECT_LT(millisecondsSince(start), 1500);
    EXPECT_FALSE(open("LAN127.0.0.1:0"));
    EXPECT_FALSE(open("LAN300.0.0.1:10008"));
}

TEST_F(LanLink, MonitorWithoutGreetingFailsTheOpenAfterTheTimeOut)
{
    m_emulator->setSilentGreeting("main", true);
    EXPECT_FALSE(open(m_port));
}

TEST_F(LanLink, CancelEndsConnectAndLogIn)
{
    ShortTimeouts longWait(5000);
    // A listener whose queue is full leaves the connect hanging.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(0x7F000001);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    socklen_t length = sizeof local;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&local), &length);
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
        fillers.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
        ::connect(fillers.back(), reinterpret_cast<sockaddr*>(&local), sizeof local);
    }
    m_emulator->setSilentGreeting("main", true);

    for (const std::string& port : {"LAN127.0.0.1:" + std::to_string(ntohs(local.sin_port)), m_port}) {
        SCOPED_TRACE(port);
        volatile int32_t cancel = 0;
        std::thread canceller([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            cancel = 1;
        });
        const auto start = std::chrono::steady_clock::now();
        Handle h(LinkOpenLogin(port.c_str(), "", "", LINK_FLAGS(0, 0, 0, 4), &cancel));
        EXPECT_FALSE(h);
        EXPECT_LT(millisecondsSince(start), 2000);
        canceller.join();
    }
    for (const int fd : fillers)
        ::close(fd);
    ::close(listener);
}

TEST_F(LanLink, WaitValueOfTheFlagsSetsTheReplyTimeOut)
{
    ::unsetenv("LUMIVANE_LINK_TIMEOUT_MS");
    Handle h = open(m_port, 0, 4, 1);
    ASSERT_TRUE(h);
    m_emulator->setReplyFault("m1", ReplyFault::Silent);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(LinkSet(h.get(), "command", "POWR0001", 0, 0, 0), LINK_TIMEOUT);
    const long long elapsed = millisecondsSince(start);
    EXPECT_GE(elapsed, 900);
    EXPECT_LT(elapsed, 3000);
}

TEST_F(LanLink, PeerThatNeverStopsSendingDoesNotHoldTheCaller)
{
    ShortTimeouts longWait(5000);
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(0x7F000001);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    socklen_t length = sizeof local;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&local), &length);
    std::thread flooder([listener] {
        const int client = ::accept(listener, nullptr, nullptr);
        ::send(client, "READY\r\n", 7, MSG_NOSIGNAL);
        const std::string noise(65536, 'A');
        while (::send(client, noise.data(), noise.size(), MSG_NOSIGNAL) > 0) {
        }
        ::close(client);
    });
    Handle h = open("LAN127.0.0.1:" + std::to_string(ntohs(local.sin_port)));
    ASSERT_TRUE(h);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(LinkSet(h.get(), "command", "POWR0001", 0, 0, 0), LINK_ERROR);
    EXPECT_LT(millisecondsSince(start), 2000);
    h.reset(); // the flooder's send fails and it ends
    flooder.join();
    ::close(listener);
}

TEST_F(LanLink, CommandsForOtherIdsPassDownTheChainTheLanMonitorHeads)
{
    std::string error;
    auto fleet = sim::Emulator::startText("data-port 0\nsearch-port none\nlan head 127.0.0.2\n"
                                          "monitor lan-1 id=1 model=QX-T988\nmonitor rs-2 id=2 model=Brela\n",
                                          &error);
    ASSERT_TRUE(fleet) << error;
    Handle h = open(fleet->portText("head"), 2);
    ASSERT_TRUE(h);
    char model[32];
    ASSERT_EQ(LinkGetText(h.get(), "command:INF1????", model, sizeof model), LINK_OK);
    EXPECT_STREQ(model, "Brela");
}

// ---- LAN search

class LanSearch : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        m_emulator = sim::Emulator::startText("data-port 0\nsearch-port 0\n"
                                              "lan a 127.0.0.3\nmonitor a1\n"
                                              "lan b 127.0.0.4\nmonitor b1\n"
                                              "lan c 127.0.0.6:0\nmonitor c1\n",
                                              &error);
        ASSERT_TRUE(m_emulator) << error;
    }
    void TearDown() override { ::unsetenv("LUMIVANE_LAN_SEARCH"); }

    std::vector<std::pair<uint32_t, uint32_t>> find(const char* targets)
    {
        ::setenv("LUMIVANE_LAN_SEARCH", targets, 1);
        LINK_LAN_DEVICE* list = nullptr;
        const int32_t count = LinkFindLan("LAN", m_emulator->searchPort(), &list);
        std::vector<std::pair<uint32_t, uint32_t>> found;
        for (int32_t i = 0; i < count; ++i)
            found.emplace_back(list[i].address, list[i].dataPort);
        LinkFreeLanList("LAN", list);
        std::sort(found.begin(), found.end());
        return found;
    }

    std::unique_ptr<sim::Emulator> m_emulator;
};

TEST_F(LanSearch, FindsEveryLoopbackMonitorOnceWithItsDataPort)
{
    const auto found = find("127.0.0.2-127.0.0.8, 127.0.0.3");
    ASSERT_EQ(found.size(), 3u);
    const std::string names[] = {"a", "b", "c"};
    const uint32_t addresses[] = {0x7F000003, 0x7F000004, 0x7F000006};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(found[i].first, addresses[i]);
        EXPECT_EQ(found[i].second, m_emulator->place(names[i])->dataPort);
    }
    EXPECT_NE(m_emulator->place("a")->dataPort, m_emulator->place("c")->dataPort) << "c listens on a port of its own";
}

TEST_F(LanSearch, TargetsComeFromTheVariableAtEveryCall)
{
    EXPECT_EQ(find("127.0.0.4").size(), 1u);
    EXPECT_EQ(find("127.0.0.9-127.0.0.12").size(), 0u);
    EXPECT_EQ(find("nonsense,127.0.0.6").size(), 1u);
}

TEST_F(LanSearch, BadArgumentsFindNothing)
{
    ::setenv("LUMIVANE_LAN_SEARCH", "127.0.0.3", 1);
    LINK_LAN_DEVICE* list = reinterpret_cast<LINK_LAN_DEVICE*>(this);
    EXPECT_EQ(LinkFindLan("COM", m_emulator->searchPort(), &list), 0);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(LinkFindLan("LAN", 0, &list), 0);
    EXPECT_EQ(LinkFindLan("LAN", m_emulator->searchPort(), nullptr), 0);
}

// A discovery responder on every loopback address that answers each probe twice from the address probed
// and once more from 127.0.0.250, which nobody searched: a device that repeats itself and a forger.
class HostileResponder
{
public:
    HostileResponder() : m_fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0))
    {
        const int on = 1;
        ::setsockopt(m_fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
        const int buffer = 4 << 20;
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUFFORCE, &buffer, sizeof buffer);
        sockaddr_in any{};
        any.sin_family = AF_INET;
        any.sin_addr.s_addr = htonl(INADDR_ANY);
        socklen_t length = sizeof any;
        EXPECT_EQ(0, ::bind(m_fd, reinterpret_cast<sockaddr*>(&any), sizeof any));
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&any), &length);
        m_port = ntohs(any.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~HostileResponder()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_fd);
    }
    int port() const { return m_port; }

private:
    void serve()
    {
        while (!m_stop) {
            pollfd watched{m_fd, POLLIN, 0};
            if (::poll(&watched, 1, 20) <= 0)
                continue;
            char datagram[64];
            char control[256];
            sockaddr_in from{};
            iovec data{datagram, sizeof datagram};
            msghdr message{&from, sizeof from, &data, 1, control, sizeof control, 0};
            if (::recvmsg(m_fd, &message, 0) <= 0)
                continue;
            in_addr probed{};
            for (cmsghdr* header = CMSG_FIRSTHDR(&message); header; header = CMSG_NXTHDR(&message, header))
                if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO)
                    probed = reinterpret_cast<in_pktinfo*>(CMSG_DATA(header))->ipi_addr;
            in_addr forger{};
            forger.s_addr = htonl(0x7F0000FA);
            for (const in_addr source : {probed, probed, forger})
                answerFrom(source, from);
        }
    }
    void answerFrom(in_addr source, const sockaddr_in& to)
    {
        static constexpr char answer[] = "HERE 10008\r\n";
        iovec data{const_cast<char*>(answer), sizeof answer - 1};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
        msghdr message{const_cast<sockaddr_in*>(&to), sizeof to, &data, 1, control, sizeof control, 0};
        cmsghdr* header = CMSG_FIRSTHDR(&message);
        header->cmsg_level = IPPROTO_IP;
        header->cmsg_type = IP_PKTINFO;
        header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
        in_pktinfo info{};
        info.ipi_spec_dst = source;
        std::memcpy(CMSG_DATA(header), &info, sizeof info);
        ::sendmsg(m_fd, &message, 0);
    }

    int m_fd;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

std::vector<LINK_LAN_DEVICE> findLan(const char* targets, int port)
{
    ::setenv("LUMIVANE_LAN_SEARCH", targets, 1);
    LINK_LAN_DEVICE* list = nullptr;
    const int32_t count = LinkFindLan("LAN", port, &list);
    ::unsetenv("LUMIVANE_LAN_SEARCH");
    std::vector<LINK_LAN_DEVICE> found(list, list + std::max(count, 0));
    LinkFreeLanList("LAN", list);
    return found;
}

TEST(LanSearchAnswers, OnlySearchedAddressesCountOnceEachAndAtMostTheLimit)
{
    HostileResponder responder;
    const auto one = findLan("127.0.0.5", responder.port());
    ASSERT_EQ(1u, one.size()) << "neither the repeated answer nor the forged one is another device";
    EXPECT_EQ(0x7F000005u, one[0].address);
    EXPECT_EQ(10008u, one[0].dataPort);

    // 1,100 loopback addresses answer.
    const auto many = findLan("127.0.9.0-127.0.13.75", responder.port());
    EXPECT_EQ(kMaxLanDevices, many.size());
    std::set<uint32_t> addresses;
    for (const LINK_LAN_DEVICE& device : many) {
        EXPECT_TRUE(device.address >= 0x7F000900 && device.address <= 0x7F000D4B) << std::hex << device.address;
        addresses.insert(device.address);
    }
    EXPECT_EQ(many.size(), addresses.size());
}

} // namespace
} // namespace lumivane::link::test
