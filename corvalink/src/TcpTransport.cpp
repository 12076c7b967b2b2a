#include "TcpTransport.h"

#include "Wait.h"

#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lumivane::link {

namespace {
int pendingError(int fd)
{
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return errno;
    return error;
}
} // namespace

std::unique_ptr<TcpTransport> TcpTransport::connect(uint32_t address, uint16_t port, const Deadline& deadline,
                                                    const volatile int32_t* cancel, ConnectResult& result)
{
    result = ConnectResult::Failed;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return nullptr;
    std::unique_ptr<TcpTransport> transport(new TcpTransport(fd));
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);

    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = htonl(address);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) {
        result = ConnectResult::Connected;
        return transport;
    }
    if (errno != EINPROGRESS)
        return nullptr;
    switch (waitFor(fd, true, deadline, cancel)) {
    case WaitResult::Ready:
        if (pendingError(fd) != 0)
            return nullptr;
        result = ConnectResult::Connected;
        return transport;
    case WaitResult::TimedOut:
        result = ConnectResult::TimedOut;
        return nullptr;
    case WaitResult::Cancelled:
        result = ConnectResult::Cancelled;
        return nullptr;
    case WaitResult::Failed:
        break;
    }
    return nullptr;
}

TcpTransport::~TcpTransport()
{
    ::close(m_fd);
}

ssize_t TcpTransport::writeSome(const char* data, size_t size)
{
    return ::send(m_fd, data, size, MSG_NOSIGNAL);
}

ssize_t TcpTransport::readSome(char* data, size_t size)
{
    return ::recv(m_fd, data, size, 0);
}

} // namespace lumivane::link
