#include "Link.h"

#include "Reply.h"
#include "Wait.h"

#include <cerrno>
#include <cstdlib>

namespace lumivane::link {

namespace {
constexpr int32_t kOk = 0;
constexpr int32_t kError = 1;
constexpr int32_t kTimeout = 8;

bool wouldBlock(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}
} // namespace

LinkTimeouts timeoutsFor(uint32_t flags)
{
    LinkTimeouts timeouts;
    const int waitSeconds = static_cast<int>((flags >> 16) & 0xFF);
    if (waitSeconds != 0)
        timeouts.replyMs = waitSeconds * 1000;
    if (const char* text = std::getenv("LUMIVANE_LINK_TIMEOUT_MS"); text != nullptr) {
        const long ms = std::strtol(text, nullptr, 10);
        if (ms > 0 && ms <= 3600 * 1000)
            timeouts.connectMs = timeouts.replyMs = static_cast<int>(ms);
    }
    return timeouts;
}

Link::Link(std::unique_ptr<Transport> transport, int monitorId, LinkTimeouts timeouts, volatile int32_t* cancel)
    : m_transport(std::move(transport)), m_monitorId(monitorId), m_timeouts(timeouts), m_cancel(cancel)
{
}

int32_t Link::set(std::string_view command, bool chainCommand)
{
    std::string reply;
    const int32_t status = exchange(command, chainCommand, reply);
    return status != kOk ? status : settingStatus(reply);
}

int32_t Link::query(std::string_view command, std::string& value, bool chainCommand)
{
    const int32_t status = exchange(command, chainCommand, value);
    return status != kOk ? status : queryStatus(value);
}

int32_t Link::exchange(std::string_view command, bool chainCommand, std::string& reply)
{
    if (m_fixedStatus != kOk)
        return m_fixedStatus;
    if (m_broken || !isSendableCommand(command) || isCancelled(m_cancel))
        return kError;
    if (!discardStaleInput() || !sendLine(command, chainCommand)) {
        m_broken = true;
        return kError;
    }
    const int32_t status = readLine(reply);
    if (status != kOk)
        return status;
    std::string_view line = reply;
    if (!isPlainText(line) || !takeIdPrefix(line, chainCommand ? 0 : m_monitorId))
        return kError;
    reply.erase(0, reply.size() - line.size());
    return kOk;
}

// A reply that arrived after its command timed out must not pass for the reply to the next command. A
// peer that keeps sending cannot hold the caller here: past a bound the link gives up on it.
bool Link::discardStaleInput()
{
    constexpr size_t kMaxStaleBytes = 1 << 20;
    m_framer.clear();
    char scratch[4096];
    for (size_t discarded = 0; discarded <= kMaxStaleBytes;) {
        const ssize_t count = m_transport->readSome(scratch, sizeof scratch);
        if (count <= 0)
            return count < 0 && wouldBlock(errno);
        discarded += static_cast<size_t>(count);
    }
    return false;
}

bool Link::sendLine(std::string_view command, bool chainCommand)
{
    // Prefix, text and CR leave in one write: a command split over two segments waits for a delayed ACK.
    std::string line = chainCommand ? std::string() : idPrefix(m_monitorId);
    line.append(command);
    line.push_back('\r');
    const Deadline deadline(m_timeouts.replyMs);
    size_t sent = 0;
    while (sent < line.size()) {
        const ssize_t count = m_transport->writeSome(line.data() + sent, line.size() - sent);
        if (count > 0) {
            sent += static_cast<size_t>(count);
            continue;
        }
        if (count < 0 && !wouldBlock(errno))
            return false;
        if (waitFor(m_transport->descriptor(), true, deadline, m_cancel) != WaitResult::Ready)
            return false;
    }
    return true;
}

int32_t Link::readLine(std::string& line)
{
    const Deadline deadline(m_timeouts.replyMs);
    char chunk[4096];
    while (true) {
        switch (m_framer.next(line)) {
        case LineFramer::Result::Line:
            return kOk;
        case LineFramer::Result::Overlong:
            m_broken = true;
            return kError;
        case LineFramer::Result::NeedMore:
            break;
        }
        // Wait first: right after a command the reply is not there yet, and a read would only say so.
        switch (waitFor(m_transport->descriptor(), false, deadline, m_cancel)) {
        case WaitResult::Ready:
            break;
        case WaitResult::TimedOut:
            return kTimeout;
        case WaitResult::Cancelled:
            return kError;
        case WaitResult::Failed:
            m_broken = true;
            return kError;
        }
        const ssize_t count = m_transport->readSome(chunk, sizeof chunk);
        if (count > 0) {
            m_framer.append(chunk, static_cast<size_t>(count));
        } else if (count == 0 || !wouldBlock(errno)) {
            m_broken = true; // the peer closed, possibly in the middle of a line
            return kError;
        }
    }
}

} // namespace lumivane::link
