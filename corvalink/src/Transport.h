#pragma once

#include <cstddef>
#include <sys/types.h>

namespace lumivane::link {

// One open connection to a monitor or a chain: the operations the link needs of a TCP connection or a
// serial port. Each transport lives in its own file; descriptors are non-blocking.
class Transport
{
public:
    virtual ~Transport() = default;

    // The descriptor to wait on.
    virtual int descriptor() const = 0;

    // Writes what it can without blocking; returns the count, or -1 with errno.
    virtual ssize_t writeSome(const char* data, size_t size) = 0;

    // Reads what is there without blocking; 0 when the peer closed, -1 with errno (EAGAIN: nothing yet).
    virtual ssize_t readSome(char* data, size_t size) = 0;
};

} // namespace lumivane::link
