#pragma once

#include "Transport.h"

#include <cstdint>
#include <memory>

namespace lumivane::link {

class Deadline;

// A TCP connection to a LAN monitor's data port, with TCP_NODELAY so that a command leaves at once.
class TcpTransport final : public Transport
{
public:
    enum class ConnectResult
    {
        Connected,
        Failed,
        TimedOut,
        Cancelled
    };

    // Connects to `address` (IPv4, host order) and `port`. A refused connection or an unreachable address
    // fails as soon as the system says so; otherwise the wait ends at the deadline or on cancel.
    static std::unique_ptr<TcpTransport> connect(uint32_t address, uint16_t port, const Deadline& deadline,
                                                 const volatile int32_t* cancel, ConnectResult& result);
    ~TcpTransport() override;

    int descriptor() const override { return m_fd; }
    ssize_t writeSome(const char* data, size_t size) override;
    ssize_t readSome(char* data, size_t size) override;

private:
    explicit TcpTransport(int fd) : m_fd(fd) {}
    int m_fd;
};

} // namespace lumivane::link
