#include "Endpoints.h"

#include "ReplyPlan.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace lumivane::sim {

// ---- LanEndpoint

LanEndpoint::LanEndpoint(EventLoop& loop, int listenFd, ChainSpec& spec, MonitorChain& chain)
    : m_loop(loop), m_listenFd(listenFd), m_spec(spec), m_chain(chain)
{
    m_loop.add(m_listenFd, EPOLLIN, this);
}

LanEndpoint::~LanEndpoint()
{
    m_session.reset();
    m_loop.remove(m_listenFd);
    ::close(m_listenFd);
}

void LanEndpoint::onEvents(uint32_t)
{
    while (true) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        accept(fd);
    }
}

void LanEndpoint::accept(int fd)
{
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    constexpr int kCloseGraceMs = 50;
    auto refuse = [fd](const char* line) {
        [[maybe_unused]] const ssize_t sent = ::send(fd, line, std::char_traits<char>::length(line), MSG_NOSIGNAL);
        ::close(fd);
    };
    if (m_spec.refused)
        return refuse("REFUSED\r\n");
    // A client that closed and reconnects at once is served: the old connection is gone, not busy. Its
    // close may reach the old socket a moment after the new connection (another core handled it).
    if (m_session && m_session->isOpen() && !m_session->peerGone(kCloseGraceMs))
        return refuse("BUSY\r\n");
    endSession();
    m_session = std::make_unique<LineSession>(
        m_loop, fd, true,
        LineSession::Hooks{[this](std::string_view line) { onLine(line); }, [this] { endSession(); }});
    if (m_spec.silentGreeting) {
        m_phase = Phase::Greeting;
    } else if (m_spec.loginRequired) {
        m_phase = Phase::AwaitUser;
        m_session->send("Login:");
    } else {
        m_phase = Phase::Ready;
        m_session->send("READY\r\n");
    }
}

void LanEndpoint::endSession()
{
    if (m_session) {
        m_session->close();
        m_loop.retire(std::move(m_session));
    }
}

void LanEndpoint::dropConnection()
{
    endSession();
}

void LanEndpoint::onLoginLine(std::string_view line)
{
    if (m_phase == Phase::AwaitUser) {
        m_user = line;
        m_phase = Phase::AwaitPassword;
        m_session->send("\r\nPassword:");
        return;
    }
    const bool accepted = m_user == m_spec.user && line == m_spec.password;
    m_phase = accepted ? Phase::Ready : Phase::Greeting;
    m_session->send(accepted ? "OK\r\n" : "DENIED\r\n", !accepted);
}

void LanEndpoint::onLine(std::string_view line)
{
    switch (m_phase) {
    case Phase::Greeting:
        return; // nothing is carried out before the greeting is through
    case Phase::AwaitUser:
    case Phase::AwaitPassword:
        return onLoginLine(line);
    case Phase::Ready:
        break;
    }
    const ReplyPlan plan = planReply(m_chain.handleLine(line, SimClock::now()), false);
    if (plan.send)
        m_session->sendAfter(plan.delayMs, plan.bytes, plan.closeAfter);
}

// ---- SerialEndpoint

std::unique_ptr<SerialEndpoint> SerialEndpoint::create(EventLoop& loop, const ChainSpec& spec, MonitorChain& chain,
                                                       std::string& error)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    char path[128] = {};
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, path, sizeof path)) {
        error = "cannot create a pseudo-terminal for chain '" + spec.name + "'";
        if (master >= 0)
            ::close(master);
        return nullptr;
    }
    const int slave = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0) {
        error = "cannot open " + std::string(path);
        ::close(master);
        return nullptr;
    }
    termios settings{};
    ::tcgetattr(slave, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(slave, TCSANOW, &settings);
    return std::unique_ptr<SerialEndpoint>(new SerialEndpoint(loop, master, slave, path, spec, chain));
}

SerialEndpoint::SerialEndpoint(EventLoop& loop, int master, int slave, std::string path, const ChainSpec& spec,
                               MonitorChain& chain)
    : m_master(master), m_slave(slave), m_devicePath(std::move(path)), m_spec(spec), m_chain(chain)
{
    m_session = std::make_unique<LineSession>(loop, m_master, false,
                                              LineSession::Hooks{[this](std::string_view line) { onLine(line); }, {}});
}

SerialEndpoint::~SerialEndpoint()
{
    m_session.reset();
    ::close(m_slave);
    ::close(m_master);
}

bool SerialEndpoint::speedMatches() const
{
    if (m_spec.baud == 0)
        return true;
    termios settings{};
    if (::tcgetattr(m_slave, &settings) != 0)
        return true;
    const speed_t speed = ::cfgetospeed(&settings);
    switch (m_spec.baud) {
    case 9600:
        return speed == B9600;
    case 19200:
        return speed == B19200;
    case 38400:
        return speed == B38400;
    case 115200:
        return speed == B115200;
    default:
        return true;
    }
}

void SerialEndpoint::onLine(std::string_view line)
{
    // At a wrong speed the monitors see noise, not a command.
    if (!speedMatches())
        return;
    const ReplyPlan plan = planReply(m_chain.handleLine(line, SimClock::now()), true);
    if (plan.send)
        m_session->sendAfter(plan.delayMs, plan.bytes, false);
}

// ---- DiscoveryResponder

DiscoveryResponder::DiscoveryResponder(EventLoop& loop, int fd, uint16_t dataPort)
    : m_loop(loop), m_fd(fd), m_dataPort(dataPort)
{
    m_loop.add(m_fd, EPOLLIN, this);
}

DiscoveryResponder::~DiscoveryResponder()
{
    m_loop.remove(m_fd);
    ::close(m_fd);
}

void DiscoveryResponder::onEvents(uint32_t)
{
    char datagram[512];
    sockaddr_in from{};
    socklen_t length = sizeof from;
    ssize_t size;
    while ((size = ::recvfrom(m_fd, datagram, sizeof datagram, 0, reinterpret_cast<sockaddr*>(&from), &length)) >= 0) {
        if (std::string_view(datagram, static_cast<size_t>(size)) == "DISCOVER\r\n") {
            const std::string answer = "HERE " + std::to_string(m_dataPort) + "\r\n";
            ::sendto(m_fd, answer.data(), answer.size(), 0, reinterpret_cast<const sockaddr*>(&from), length);
        }
        length = sizeof from;
    }
}

} // namespace lumivane::sim
