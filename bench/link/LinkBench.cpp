// Link round trips on loopback TCP.
//  - RawEcho: a raw socket sends "POWR????" CR to a minimal echo server that answers "1" CR LF: the
//    floor of a loopback round trip in this run.
//  - RawToEmulator: the same bytes against the emulator, which parses and answers the command.
//  - LinkGetNumber: the same query through the link library against the emulator (target: at most 50%
//    above RawEcho).
//  - OpenLink: LinkOpen (connect + READY greeting) and LinkClose (target: within 1 ms).
//  - Fleet256: 256 LAN monitors in one emulator, queried round-robin from several threads (target:
//    10,000 queries per second in total).
#include "Emulator.h"
#include "corvalink.h"

#include <arpa/inet.h>
#include <atomic>
#include <benchmark/benchmark.h>
#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using lumivane::sim::Emulator;

constexpr char kQuery[] = "POWR????\r";

int connectTo(const char* address, uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    ::inet_pton(AF_INET, address, &peer.sin_addr);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads until CR LF; false when the connection ends.
bool readLine(int fd, std::string& buffer)
{
    buffer.clear();
    char chunk[64];
    while (buffer.size() < 2 || buffer.compare(buffer.size() - 2, 2, "\r\n") != 0) {
        const ssize_t count = ::recv(fd, chunk, sizeof chunk, 0);
        if (count <= 0)
            return false;
        buffer.append(chunk, static_cast<size_t>(count));
    }
    return true;
}

// Answers every CR-terminated line with "1" CR LF, one connection at a time.
class EchoServer
{
public:
    EchoServer() : m_listen(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(0x7F000001);
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&local), sizeof local);
        ::listen(m_listen, 4);
        socklen_t length = sizeof local;
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&local), &length);
        m_port = ntohs(local.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~EchoServer()
    {
        ::shutdown(m_listen, SHUT_RDWR);
        ::close(m_listen);
        m_thread.join();
    }
    uint16_t port() const { return m_port; }

private:
    void serve()
    {
        int client;
        while ((client = ::accept(m_listen, nullptr, nullptr)) >= 0) {
            const int on = 1;
            ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            char chunk[256];
            ssize_t count;
            while ((count = ::recv(client, chunk, sizeof chunk, 0)) > 0)
                for (ssize_t i = 0; i < count; ++i)
                    if (chunk[i] == '\r')
                        ::send(client, "1\r\n", 3, MSG_NOSIGNAL);
            ::close(client);
        }
    }

    int m_listen;
    uint16_t m_port = 0;
    std::thread m_thread;
};

std::unique_ptr<Emulator> startOne()
{
    return Emulator::startText("data-port 0\nsearch-port none\nlan bench 127.0.0.2\nmonitor m1 model=QX-T988\n");
}

void RawEcho(benchmark::State& state)
{
    EchoServer server;
    const int fd = connectTo("127.0.0.1", server.port());
    std::string reply;
    for (auto _ : state) {
        ::send(fd, kQuery, sizeof kQuery - 1, 0);
        if (!readLine(fd, reply))
            state.SkipWithError("echo server closed");
    }
    ::close(fd);
}
BENCHMARK(RawEcho)->UseRealTime();

void RawToEmulator(benchmark::State& state)
{
    auto emulator = startOne();
    const uint16_t port = emulator->place("bench")->dataPort;
    const int fd = connectTo("127.0.0.2", port);
    std::string reply;
    readLine(fd, reply); // READY
    for (auto _ : state) {
        ::send(fd, kQuery, sizeof kQuery - 1, 0);
        if (!readLine(fd, reply) || reply != "1\r\n")
            state.SkipWithError("bad reply");
    }
    ::close(fd);
}
BENCHMARK(RawToEmulator)->UseRealTime();

void LinkGetNumberRoundTrip(benchmark::State& state)
{
    auto emulator = startOne();
    LINK_HANDLE h = LinkOpen(emulator->portText("bench").c_str(), LINK_FLAGS(0, 0, 0, 4));
    if (h == nullptr) {
        state.SkipWithError("no link");
        return;
    }
    int32_t value = 0;
    for (auto _ : state) {
        if (LinkGetNumber(h, "command:POWR????", &value, 0, 0, 0) != LINK_OK)
            state.SkipWithError("query failed");
    }
    LinkClose(h);
}
BENCHMARK(LinkGetNumberRoundTrip)->UseRealTime();

void OpenLink(benchmark::State& state)
{
    auto emulator = startOne();
    const std::string port = emulator->portText("bench");
    for (auto _ : state) {
        LINK_HANDLE h = LinkOpen(port.c_str(), LINK_FLAGS(0, 0, 0, 4));
        if (h == nullptr) {
            state.SkipWithError("open failed");
            break;
        }
        LinkClose(h);
    }
}
BENCHMARK(OpenLink)->UseRealTime();

// ---- 256 monitors in one emulator

constexpr int kFleetSize = 256;

Emulator& fleet()
{
    static std::unique_ptr<Emulator> emulator = [] {
        std::string text = "data-port 0\nsearch-port none\n";
        for (int i = 0; i < kFleetSize; ++i) {
            const uint32_t address = 0x7F000002u + static_cast<uint32_t>(i);
            text += "lan f" + std::to_string(i) + " 127." + std::to_string((address >> 16) & 0xFF) + "." +
                    std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF) + "\n";
            text += "monitor m" + std::to_string(i) + " model=QX-T988\n";
        }
        return Emulator::startText(text);
    }();
    return *emulator;
}

void Fleet256(benchmark::State& state)
{
    Emulator& emulator = fleet();
    // Each thread owns an equal share of the monitors.
    const int share = kFleetSize / state.threads();
    std::vector<LINK_HANDLE> handles;
    for (int i = 0; i < share; ++i) {
        const int monitor = state.thread_index() * share + i;
        handles.push_back(LinkOpen(emulator.portText("f" + std::to_string(monitor)).c_str(), LINK_FLAGS(0, 0, 0, 4)));
        if (handles.back() == nullptr) {
            state.SkipWithError("open failed");
            break;
        }
    }
    size_t next = 0;
    int32_t value = 0;
    for (auto _ : state) {
        if (LinkGetNumber(handles[next], "command:POWR????", &value, 0, 0, 0) != LINK_OK)
            state.SkipWithError("query failed");
        next = (next + 1) % handles.size();
    }
    state.SetItemsProcessed(state.iterations());
    for (LINK_HANDLE h : handles)
        LinkClose(h);
}
BENCHMARK(Fleet256)->Threads(1)->Threads(4)->Threads(16)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
