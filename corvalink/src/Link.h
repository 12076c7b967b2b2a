#pragma once

#include "LineFramer.h"
#include "Transport.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace lumivane::link {

// Time-outs of one handle, in milliseconds.
struct LinkTimeouts
{
    int connectMs = 2000;
    int replyMs = 5000;
};

// Connect 2 s and reply 5 s; the wait value of the open flags (bits 16-23), when not 0, is the reply
// time-out in seconds; $LUMIVANE_LINK_TIMEOUT_MS, when set to a positive number, replaces both.
LinkTimeouts timeoutsFor(uint32_t flags);

// One open port: a TCP connection to a LAN monitor or a serial line with a chain behind it. It sends one
// command line at a time and reads its reply line into a buffer of its own. A handle whose log-in was
// denied or whose address was refused has no transport and answers every call with that status.
class Link
{
public:
    Link(std::unique_ptr<Transport> transport, int monitorId, LinkTimeouts timeouts, volatile int32_t* cancel);
    explicit Link(int32_t fixedStatus) : m_fixedStatus(fixedStatus) {}

    // Sends `command` (with the ID prefix unless it is a chain command) and reads the reply, prefix taken
    // off. The status is 0 when a plain-text reply line arrived; 1 on a closed connection, an overlong or
    // garbled line, a reply for another ID, a cancelled wait or a failed write; 8 when no reply came in time.
    int32_t exchange(std::string_view command, bool chainCommand, std::string& reply);

    // A setting: status of its reply (OK 0, ERR 9, LOCKED 10, IFERR 14, else 1).
    int32_t set(std::string_view command, bool chainCommand = false);

    // A query: the value line on success (status 0), OK being a protocol error.
    int32_t query(std::string_view command, std::string& value, bool chainCommand = false);

private:
    bool sendLine(std::string_view command, bool chainCommand);
    int32_t readLine(std::string& line);
    bool discardStaleInput();

    std::unique_ptr<Transport> m_transport;
    int m_monitorId = 0;
    LinkTimeouts m_timeouts;
    volatile int32_t* m_cancel = nullptr;
    LineFramer m_framer;
    int32_t m_fixedStatus = 0;
    bool m_broken = false;
};

} // namespace lumivane::link
