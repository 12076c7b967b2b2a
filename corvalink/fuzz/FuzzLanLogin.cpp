// Any bytes as what a LAN monitor sends on a new connection: the greeting and log-in must end in one of
// their outcomes, without crashing or waiting past the time-out.
#include "LanLogin.h"

#include <sys/socket.h>
#include <unistd.h>

namespace {

// The link's end of a connection whose peer has sent the input and closed; what the link writes is
// dropped.
class ReplayTransport : public lumivane::link::Transport
{
public:
    explicit ReplayTransport(int fd) : m_fd(fd) {}
    int descriptor() const override { return m_fd; }
    ssize_t writeSome(const char*, size_t size) override { return static_cast<ssize_t>(size); }
    ssize_t readSome(char* data, size_t size) override { return ::read(m_fd, data, size); }

private:
    int m_fd;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 65536)
        return 0;
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0)
        return 0;
    const int sndbuf = 1 << 18;
    ::setsockopt(ends[1], SOL_SOCKET, SO_SNDBUF, &sndbuf, sizeof sndbuf);
    [[maybe_unused]] const ssize_t sent = ::write(ends[1], data, size);
    ::close(ends[1]);
    ReplayTransport transport(ends[0]);
    lumivane::link::greetAndLogIn(transport, "user", "secret", 200, nullptr);
    ::close(ends[0]);
    return 0;
}
