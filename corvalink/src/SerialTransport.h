#pragma once

#include "Transport.h"

#include <memory>
#include <string>

namespace lumivane::link {

// A serial port in raw mode, 8 data bits, no parity, 1 stop bit, no flow control. The port is held
// exclusively: an flock (which excludes root too, and a second open in this process) and TIOCEXCL (which
// keeps other users' opens out). TIOCEXCL is cleared again before the close, because on a
// pseudo-terminal it would outlive it.
class SerialTransport final : public Transport
{
public:
    // Null when the device cannot be opened or another opener holds it.
    static std::unique_ptr<SerialTransport> open(const std::string& device, int baudCode);
    ~SerialTransport() override;

    int descriptor() const override { return m_fd; }
    ssize_t writeSome(const char* data, size_t size) override;
    ssize_t readSome(char* data, size_t size) override;

private:
    explicit SerialTransport(int fd) : m_fd(fd) {}
    int m_fd;
};

// Bits per second for an open-flags baud code: 5 19200, 6 38400, 7 115200, anything else 9600.
int baudRateForCode(int baudCode);

} // namespace lumivane::link
