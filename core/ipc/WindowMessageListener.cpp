#include "WindowMessageListener.h"

#include "SharedFile.h"
#include "TextEscape.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
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

uid_t peerUid(int fd)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return static_cast<uid_t>(-1);
    return credentials.uid;
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
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
    return listen(path, messagesAcceptedBy(className), error);
}

bool WindowMessageListener::listen(const std::string& socketPath, std::vector<int> accepted, std::string& error)
{
    close();
    if (socketPath.empty() || socketPath.size() >= sizeof(sockaddr_un::sun_path)) {
        error = "Invalid socket path.";
        return false;
    }
    struct stat info
    {
    };
    if (::lstat(socketPath.c_str(), &info) == 0 && !S_ISSOCK(info.st_mode)) {
        error = "Not a socket: " + socketPath;
        return false;
    }
    m_listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0 || !bindWithMode(socketPath, error) ||
        ::listen(m_listenFd, static_cast<int>(kMaxConnections)) != 0) {
        if (error.empty())
            error = systemErrorText(errno) + ": " + socketPath;
        closeDescriptor(m_listenFd);
        return false;
    }
    m_accepted = std::move(accepted);
    m_path = socketPath;
    return true;
}

// The socket is bound in a private folder of its own, given its mode there and then renamed into place
// (replacing a socket file a dead instance left), so that it never appears with another mode and nothing
// is changed through a path that someone else could have replaced. Operators of the group may post to a
// program that another of them started: 0660 whatever the umask.
bool WindowMessageListener::bindWithMode(const std::string& socketPath, std::string& error)
{
    std::string privateFolder = folderOf(socketPath) + "/.socket.XXXXXX";
    if (::mkdtemp(privateFolder.data()) == nullptr) {
        error = systemErrorText(errno) + ": " + privateFolder;
        return false;
    }
    const int folderFd = ::open(privateFolder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "/proc/self/fd/%d/s", folderFd);
    const bool bound = folderFd >= 0 && ::fchmod(m_listenFd, 0660) == 0 &&
                       ::bind(m_listenFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                       ::fchmodat(folderFd, "s", 0660, 0) == 0 &&
                       ::renameat(folderFd, "s", AT_FDCWD, socketPath.c_str()) == 0;
    if (!bound) {
        error = systemErrorText(errno) + ": " + socketPath;
        if (folderFd >= 0)
            ::unlinkat(folderFd, "s", 0);
    }
    if (folderFd >= 0)
        ::close(folderFd);
    ::rmdir(privateFolder.c_str());
    struct stat info
    {
    };
    if (bound && ::lstat(socketPath.c_str(), &info) == 0) {
        m_socketDevice = info.st_dev;
        m_socketInode = info.st_ino;
    }
    return bound;
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
    std::vector<WindowMessage> arrived;
    // A connection that is closed and removed moves the next one to its index.
    for (size_t i = 2, c = 0; i < watched.size(); ++i)
        if (watched[i].revents == 0 || serviceConnection(c, arrived))
            ++c;
    // A sender usually writes right after connecting: read new connections at once.
    const size_t known = m_connections.size();
    if (watched[1].revents & POLLIN)
        acceptConnections();
    for (size_t c = known; c < m_connections.size();)
        if (serviceConnection(c, arrived))
            ++c;
    dropStalledConnections();
    // A message repeated before the program got to it means nothing more than once.
    for (auto message = arrived.begin(); message != arrived.end(); ++message)
        if (handler && std::find(arrived.begin(), message, *message) == message)
            handler(*message);
    return !woken;
}

bool WindowMessageListener::serviceConnection(size_t index, std::vector<WindowMessage>& arrived)
{
    if (readConnection(m_connections[index], arrived))
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
        m_connections.push_back({fd, peerUid(fd), {}, std::chrono::steady_clock::now()});
    }
}

bool WindowMessageListener::readConnection(Connection& connection, std::vector<WindowMessage>& arrived)
{
    char buffer[kMaxLineBytes];
    for (;;) {
        // Never more than one line's worth is read: whatever else a sender pushes stays in its socket.
        const ssize_t got = ::read(connection.fd, buffer, kMaxLineBytes - connection.pending.size());
        if (got < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        if (got == 0) {
            if (!connection.pending.empty())
                refuse(connection, connection.pending, "the line has no end");
            return false;
        }
        connection.pending.append(buffer, static_cast<size_t>(got));
        const size_t feed = connection.pending.find('\n');
        if (feed != std::string::npos) {
            takeLine(connection, std::string_view(connection.pending).substr(0, feed), arrived);
            return false; // one message per connection
        }
        if (connection.pending.size() >= kMaxLineBytes) {
            refuse(connection, connection.pending,
                   "the line is longer than " + std::to_string(kMaxLineBytes) + " bytes");
            return false;
        }
    }
}

void WindowMessageListener::takeLine(const Connection& connection, std::string_view line,
                                     std::vector<WindowMessage>& arrived)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const std::optional<WindowMessage> message = parseWindowMessage(line);
    if (!message)
        refuse(connection, line, "not a message");
    else if (std::find(m_accepted.begin(), m_accepted.end(), message->message) == m_accepted.end())
        refuse(connection, line, "message " + std::to_string(message->message) + " is not taken from other programs");
    else
        arrived.push_back(*message);
}

void WindowMessageListener::refuse(const Connection& connection, std::string_view line, const std::string& reason)
{
    if (!m_refusalLog)
        return;
    const std::string uid = connection.uid == static_cast<uid_t>(-1) ? "unknown" : std::to_string(connection.uid);
    m_refusalLog("Refused window message \"" + escapeForTerminal(line) + "\" from uid " + uid + ": " + reason);
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
        // Only our own socket file: a later instance may have put its own in its place.
        struct stat info
        {
        };
        if (::lstat(m_path.c_str(), &info) == 0 && info.st_dev == m_socketDevice && info.st_ino == m_socketInode)
            ::unlink(m_path.c_str());
    }
    m_path.clear();
}

} // namespace lumivane
