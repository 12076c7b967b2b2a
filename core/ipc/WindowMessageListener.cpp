#include "WindowMessageListener.h"

#include "SharedFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace lumivane {
namespace {

void closeDescriptor(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

WindowMessageListener::WindowMessageListener()
{
    if (::pipe2(m_wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        m_wakePipe[0] = m_wakePipe[1] = -1;
}

WindowMessageListener::~WindowMessageListener()
{
    close();
    closeDescriptor(m_wakePipe[0]);
    closeDescriptor(m_wakePipe[1]);
}

bool WindowMessageListener::listenAs(std::string_view className, std::string& error)
{
    const std::string path = windowSocketPath(className, true);
    if (path.empty()) {
        error = "The socket path of " + std::string(className) + " is unknown or too long.";
        return false;
    }
    return listen(path, error);
}

bool WindowMessageListener::listen(const std::string& socketPath, std::string& error)
{
    close();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path) {
        error = "Invalid socket path.";
        return false;
    }
    std::memcpy(address.sun_path, socketPath.data(), socketPath.size());

    struct stat info
    {
    };
    if (::lstat(socketPath.c_str(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode)) {
            error = "Not a socket: " + socketPath;
            return false;
        }
        ::unlink(socketPath.c_str());
    }
    m_listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0 || ::bind(m_listenFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listenFd, static_cast<int>(kMaxConnections)) != 0) {
        error = systemErrorText(errno) + ": " + socketPath;
        closeDescriptor(m_listenFd);
        return false;
    }
    // Operators of the group may post to a program that another of them started.
    ::chmod(socketPath.c_str(), 0660);
    m_path = socketPath;
    return true;
}

bool WindowMessageListener::poll(std::chrono::milliseconds timeout, const Handler& handler)
{
    if (m_listenFd < 0)
        return false;
    std::vector<pollfd> watched;
    watched.push_back({m_wakePipe[0], POLLIN, 0});
    watched.push_back({m_listenFd, POLLIN, 0});
    for (const Connection& connection : m_connections)
        watched.push_back({connection.fd, POLLIN, 0});

    // Connections that are open must finish within the stall limit, so do not sleep past it.
    int waitMs = timeout.count() < 0 ? -1 : static_cast<int>(std::min<int64_t>(timeout.count(), INT32_MAX));
    if (!m_connections.empty() && (waitMs < 0 || waitMs > kStallLimit.count()))
        waitMs = static_cast<int>(kStallLimit.count());
    const int ready = ::poll(watched.data(), watched.size(), waitMs);
    if (ready < 0)
        return errno == EINTR;

    bool woken = false;
    if (watched[0].revents & POLLIN) {
        char drain[64];
        while (::read(m_wakePipe[0], drain, sizeof drain) > 0) {
        }
        woken = true;
    }
    // A connection that is closed and removed moves the next one to its index.
    for (size_t i = 2, c = 0; i < watched.size(); ++i)
        if (watched[i].revents == 0 || serviceConnection(c, handler))
            ++c;
    // A sender usually writes right after connecting: read new connections at once.
    const size_t known = m_connections.size();
    if (watched[1].revents & POLLIN)
        acceptConnections();
    for (size_t c = known; c < m_connections.size();)
        if (serviceConnection(c, handler))
            ++c;
    dropStalledConnections();
    return !woken;
}

bool WindowMessageListener::serviceConnection(size_t index, const Handler& handler)
{
    if (readConnection(m_connections[index], handler))
        return true;
    ::close(m_connections[index].fd);
    m_connections.erase(m_connections.begin() + static_cast<ptrdiff_t>(index));
    return false;
}

void WindowMessageListener::acceptConnections()
{
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        if (m_connections.size() >= kMaxConnections) {
            ::close(fd);
            continue;
        }
        m_connections.push_back({fd, {}, std::chrono::steady_clock::now()});
    }
}

bool WindowMessageListener::readConnection(Connection& connection, const Handler& handler)
{
    char buffer[256];
    for (;;) {
        const ssize_t got = ::read(connection.fd, buffer, sizeof buffer);
        if (got == 0)
            return false; // the sender closed: a line without its line end is dropped
        if (got < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        connection.pending.append(buffer, static_cast<size_t>(got));
        size_t feed;
        while ((feed = connection.pending.find('\n')) != std::string::npos) {
            std::string_view line(connection.pending.data(), feed);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            if (const std::optional<WindowMessage> message = parseWindowMessage(line); message && handler)
                handler(*message);
            connection.pending.erase(0, feed + 1);
        }
        if (connection.pending.size() > kMaxLineBytes)
            return false;
    }
}

void WindowMessageListener::dropStalledConnections()
{
    const auto now = std::chrono::steady_clock::now();
    std::erase_if(m_connections, [now](const Connection& connection) {
        if (now - connection.opened < kStallLimit)
            return false;
        ::close(connection.fd);
        return true;
    });
}

void WindowMessageListener::wake()
{
    if (m_wakePipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t ignored = ::write(m_wakePipe[1], &byte, 1);
    }
}

bool WindowMessageListener::start(Handler handler)
{
    if (m_listenFd < 0 || m_thread.joinable())
        return false;
    m_stopping = false;
    m_thread = std::thread([this, handler = std::move(handler)] {
        while (!m_stopping)
            poll(std::chrono::milliseconds(-1), handler);
    });
    return true;
}

void WindowMessageListener::stop()
{
    if (!m_thread.joinable())
        return;
    m_stopping = true;
    wake();
    m_thread.join();
}

void WindowMessageListener::closeConnections()
{
    for (Connection& connection : m_connections)
        ::close(connection.fd);
    m_connections.clear();
}

void WindowMessageListener::close()
{
    stop();
    closeConnections();
    if (m_listenFd >= 0) {
        closeDescriptor(m_listenFd);
        ::unlink(m_path.c_str());
    }
    m_path.clear();
}

} // namespace lumivane
