// The running emulator seen from the wire, byte for byte, and its control commands and program.
#include "Emulator.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace lumivane::sim {
namespace {

// A plain blocking TCP client for looking at exact bytes.
class RawClient
{
public:
    RawClient(const std::string& address, uint16_t port) : m_fd(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in peer{};
        peer.sin_family = AF_INET;
        peer.sin_port = htons(port);
        ::inet_pton(AF_INET, address.c_str(), &peer.sin_addr);
        m_connected = ::connect(m_fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0;
    }
    ~RawClient() { ::close(m_fd); }
    bool connected() const { return m_connected; }
    void send(const std::string& bytes)
    {
        ASSERT_EQ(::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), ssize_t(bytes.size()));
    }

    // Reads until `size` bytes came, the peer closed, or half a second passed.
    std::string receive(size_t size)
    {
        std::string got;
        pollfd entry{m_fd, POLLIN, 0};
        while (got.size() < size && ::poll(&entry, 1, 500) > 0) {
            char chunk[512];
            const ssize_t count = ::recv(m_fd, chunk, std::min(sizeof chunk, size - got.size()), 0);
            if (count <= 0)
                break;
            got.append(chunk, static_cast<size_t>(count));
        }
        return got;
    }
    bool closedByPeer()
    {
        pollfd entry{m_fd, POLLIN, 0};
        char byte;
        return ::poll(&entry, 1, 500) > 0 && ::recv(m_fd, &byte, 1, 0) == 0;
    }

private:
    int m_fd;
    bool m_connected = false;
};

std::unique_ptr<Emulator> startFleet(const std::string& text)
{
    std::string error;
    auto emulator = Emulator::startText(text, &error);
    EXPECT_TRUE(emulator) << error;
    return emulator;
}

TEST(Emulator, LanMonitorsShareOneDataPortOnAddressesOfTheirOwn)
{
    auto fleet = startFleet("data-port 0\nsearch-port 0\nlan a 127.0.0.2\nmonitor a1\nlan b 127.0.0.3\n"
                            "monitor b1 model=QX-T989B\nchain c\nmonitor c1\n");
    ASSERT_TRUE(fleet);
    const auto a = fleet->place("a");
    const auto b = fleet->place("b");
    ASSERT_TRUE(a && b);
    EXPECT_NE(a->dataPort, 0);
    EXPECT_EQ(a->dataPort, b->dataPort);
    EXPECT_EQ(b->portText, "LAN127.0.0.3:" + std::to_string(b->dataPort));
    EXPECT_EQ(fleet->place("c")->portText.rfind("/dev/pts/", 0), 0u);
    EXPECT_EQ(fleet->searchTargets(), "127.0.0.2,127.0.0.3");

    RawClient client("127.0.0.3", b->dataPort);
    ASSERT_TRUE(client.connected());
    EXPECT_EQ(client.receive(7), "READY\r\n");
    client.send("INF1????\rPOWR????\r");
    EXPECT_EQ(client.receive(15), "QX-T989B\r\n1\r\n");
    client.send("POWR????\n\r");
    EXPECT_EQ(client.receive(5), "ERR\r\n") << "a command ends at CR; an LF is no line end";
}

TEST(Emulator, BusyUntilTheControlConnectionCloses)
{
    auto fleet = startFleet("data-port 0\nsearch-port none\nlan a 127.0.0.2\nmonitor a1\n");
    ASSERT_TRUE(fleet);
    const uint16_t port = fleet->place("a")->dataPort;
    auto first = std::make_unique<RawClient>("127.0.0.2", port);
    EXPECT_EQ(first->receive(7), "READY\r\n");
    RawClient second("127.0.0.2", port);
    EXPECT_EQ(second.receive(6), "BUSY\r\n");
    EXPECT_TRUE(second.closedByPeer());
    first.reset();
    RawClient third("127.0.0.2", port);
    EXPECT_EQ(third.receive(7), "READY\r\n");
}

TEST(Emulator, LogInPromptsAndAnswers)
{
    auto fleet = startFleet("data-port 0\nsearch-port none\nlan a 127.0.0.2 user=op password=pw\nmonitor a1\n");
    ASSERT_TRUE(fleet);
    const uint16_t port = fleet->place("a")->dataPort;
    {
        RawClient client("127.0.0.2", port);
        EXPECT_EQ(client.receive(6), "Login:");
        client.send("op\r");
        EXPECT_EQ(client.receive(11), "\r\nPassword:");
        client.send("pw\r");
        EXPECT_EQ(client.receive(4), "OK\r\n");
        client.send("POWR????\r");
        EXPECT_EQ(client.receive(3), "1\r\n");
    }
    {
        RawClient client("127.0.0.2", port);
        EXPECT_EQ(client.receive(6), "Login:");
        client.send("op\r");
        EXPECT_EQ(client.receive(11), "\r\nPassword:");
        client.send("PW\r");
        EXPECT_EQ(client.receive(8), "DENIED\r\n");
        EXPECT_TRUE(client.closedByPeer());
    }
    EXPECT_EQ(fleet->receivedLines("a"), std::vector<std::string>{"POWR????"}) << "log-in lines are not recorded";
    fleet->setRefused("a", true);
    RawClient refused("127.0.0.2", port);
    EXPECT_EQ(refused.receive(9), "REFUSED\r\n");
    EXPECT_TRUE(refused.closedByPeer());
}

TEST(Emulator, DiscoveryAnswersFromTheMonitorsAddress)
{
    auto fleet = startFleet("data-port 0\nsearch-port 0\nlan a 127.0.0.5\nmonitor a1\n");
    ASSERT_TRUE(fleet);
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(fleet->searchPort()));
    to.sin_addr.s_addr = htonl(0x7F000005);
    ::sendto(fd, "HELLO\r\n", 7, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    ::sendto(fd, "DISCOVER\r\n", 10, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    pollfd entry{fd, POLLIN, 0};
    ASSERT_GT(::poll(&entry, 1, 1000), 0);
    char answer[64] = {};
    sockaddr_in from{};
    socklen_t length = sizeof from;
    const ssize_t size = ::recvfrom(fd, answer, sizeof answer, 0, reinterpret_cast<sockaddr*>(&from), &length);
    EXPECT_EQ(std::string(answer, static_cast<size_t>(size)),
              "HERE " + std::to_string(fleet->place("a")->dataPort) + "\r\n");
    EXPECT_EQ(ntohl(from.sin_addr.s_addr), 0x7F000005u);
    EXPECT_EQ(::poll(&entry, 1, 200), 0) << "nothing answers the wrong probe";
    ::close(fd);
}

TEST(Emulator, ControlCommandsChangeTheFleet)
{
    auto fleet = startFleet("data-port 0\nsearch-port none\nlan a 127.0.0.2\nmonitor a1\nchain c\nmonitor c1\n");
    ASSERT_TRUE(fleet);
    EXPECT_EQ(fleet->control("power a1 off"), "OK");
    EXPECT_EQ(fleet->control("status a1 8010"), "OK");
    EXPECT_EQ(fleet->control("fault a1 garbage"), "OK");
    EXPECT_EQ(fleet->control("temperature a1 45"), "OK");
    EXPECT_EQ(fleet->control("id c1 4"), "OK");
    const auto state = fleet->monitorState("a1");
    EXPECT_FALSE(state->power);
    EXPECT_EQ(state->hardwareStatus, 0x8010);
    EXPECT_EQ(state->fault, ReplyFault::Garbage);
    EXPECT_EQ(state->temperature, "45");
    EXPECT_EQ(fleet->monitorState("c1")->id, 4);
    EXPECT_EQ(fleet->control("power nobody on"), "ERR unknown monitor");
    EXPECT_EQ(fleet->control("login c user pw"), "ERR unknown LAN chain") << "serial chains have no log-in";
    EXPECT_EQ(fleet->control("status a1 xyz"), "ERR bad command (try help)");
    EXPECT_EQ(fleet->control("id c1 256"), "ERR bad command (try help)");
    EXPECT_EQ(fleet->control("login a op pw"), "OK");
    EXPECT_NE(fleet->control("where").find("chain c /dev/pts/"), std::string::npos);
    EXPECT_NE(fleet->control("show a1").find("status 8010"), std::string::npos);

    RawClient client("127.0.0.2", fleet->place("a")->dataPort);
    EXPECT_EQ(client.receive(6), "Login:");
}

#ifdef LUMISIM_PROGRAM
TEST(LumisimProgram, StartsAFleetFileTakesCommandsAndStopsOnSigterm)
{
    char folder[] = "/tmp/lumisim-test-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string fleetFile = std::string(folder) + "/fleet.txt";
    std::ofstream(fleetFile) << "data-port 0\nsearch-port none\nlan hall 127.0.0.2\nmonitor h1\nchain com1\n"
                                "monitor c1 id=1\n";
    int toChild[2], fromChild[2];
    ASSERT_EQ(::pipe(toChild), 0);
    ASSERT_EQ(::pipe(fromChild), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(toChild[0], STDIN_FILENO);
        ::dup2(fromChild[1], STDOUT_FILENO);
        ::execl(LUMISIM_PROGRAM, "lumisim", fleetFile.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    auto readUntil = [&](const std::string& end) {
        std::string out;
        pollfd entry{fromChild[0], POLLIN, 0};
        char chunk[256];
        while (out.find(end) == std::string::npos && ::poll(&entry, 1, 5000) > 0) {
            const ssize_t count = ::read(fromChild[0], chunk, sizeof chunk);
            if (count <= 0)
                break;
            out.append(chunk, static_cast<size_t>(count));
        }
        return out;
    };
    const std::string where = readUntil("ready\n");
    EXPECT_NE(where.find("lan hall 127.0.0.2:"), std::string::npos) << where;
    EXPECT_NE(where.find("chain com1 /dev/pts/"), std::string::npos) << where;
    ASSERT_EQ(::write(toChild[1], "power h1 off\nshow h1\n", 21), 21);
    const std::string answers = readUntil("fault none\n");
    EXPECT_EQ(answers.rfind("OK\nmonitor h1 ", 0), 0u) << answers;
    EXPECT_NE(answers.find("power off"), std::string::npos) << answers;
    ::kill(child, SIGTERM);
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ::close(toChild[1]);
    ::close(fromChild[0]);
    ::unlink(fleetFile.c_str());
    ::rmdir(folder);
}
#endif

} // namespace
} // namespace lumivane::sim
