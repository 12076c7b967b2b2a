#include "LineSession.h"

#include <cerrno>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivane::sim {

namespace {
// Input without a CR beyond this is thrown away: no command is that long.
constexpr size_t kMaxInputLine = 8192;
constexpr size_t kMaxPendingOutput = 1 << 20;
} // namespace

LineSession::LineSession(EventLoop& loop, int fd, bool ownsFd, Hooks hooks)
    : m_loop(loop), m_fd(fd), m_ownsFd(ownsFd), m_hooks(std::move(hooks))
{
    struct stat info
    {
    };
    m_isSocket = ::fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode);
    m_loop.add(m_fd, EPOLLIN | EPOLLRDHUP, this);
}

LineSession::~LineSession()
{
    close();
}

void LineSession::close()
{
    if (m_fd < 0)
        return;
    if (m_timer != 0)
        m_loop.cancelTimer(m_timer);
    m_timer = 0;
    m_loop.remove(m_fd);
    if (m_ownsFd)
        ::close(m_fd);
    m_fd = -1;
}

bool LineSession::peerGone(int graceMs) const
{
    if (m_fd < 0)
        return true;
    pollfd entry{m_fd, POLLRDHUP, 0};
    return ::poll(&entry, 1, graceMs) > 0 && (entry.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
}

void LineSession::send(std::string bytes, bool closeAfter)
{
    // A client that sends commands and never reads the replies is dropped before it eats the memory.
    if (m_output.size() > kMaxPendingOutput) {
        peerClosed();
        return;
    }
    m_output += bytes;
    m_closeAfterOutput = m_closeAfterOutput || closeAfter;
    flush();
}

void LineSession::sendAfter(int delayMs, std::string bytes, bool closeAfter)
{
    if (delayMs <= 0) {
        send(std::move(bytes), closeAfter);
        return;
    }
    m_replyPending = true;
    m_timer = m_loop.addTimer(std::chrono::steady_clock::now() + std::chrono::milliseconds(delayMs),
                              [this, bytes = std::move(bytes), closeAfter]() mutable {
                                  m_timer = 0;
                                  m_replyPending = false;
                                  send(std::move(bytes), closeAfter);
                                  if (isOpen())
                                      processLines();
                              });
}

void LineSession::onEvents(uint32_t events)
{
    if (events & EPOLLOUT)
        flush();
    if (isOpen() && (events & (EPOLLIN | EPOLLRDHUP | EPOLLHUP | EPOLLERR)))
        readInput();
}

void LineSession::readInput()
{
    char chunk[4096];
    while (isOpen()) {
        const ssize_t count = ::read(m_fd, chunk, sizeof chunk);
        if (count > 0) {
            m_input.append(chunk, static_cast<size_t>(count));
            if (static_cast<size_t>(count) < sizeof chunk)
                break; // drained; the loop is level-triggered and reports anything that follows
            continue;
        }
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (count < 0 && errno == EINTR)
            continue;
        processLines(); // what came before the close is still carried out
        peerClosed();
        return;
    }
    processLines();
}

void LineSession::processLines()
{
    while (isOpen() && !m_replyPending) {
        const size_t end = m_input.find('\r');
        if (end == std::string::npos) {
            if (m_input.size() > kMaxInputLine)
                m_input.clear();
            return;
        }
        const std::string line = m_input.substr(0, end);
        m_input.erase(0, end + 1);
        m_hooks.onLine(line);
    }
}

void LineSession::flush()
{
    while (isOpen() && !m_output.empty()) {
        // send() keeps a closed peer from raising SIGPIPE in the emulator's process.
        const ssize_t count = m_isSocket ? ::send(m_fd, m_output.data(), m_output.size(), MSG_NOSIGNAL)
                                         : ::write(m_fd, m_output.data(), m_output.size());
        if (count > 0) {
            m_output.erase(0, static_cast<size_t>(count));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        peerClosed();
        return;
    }
    if (!isOpen())
        return;
    if (m_output.empty() && m_closeAfterOutput) {
        close();
        if (m_hooks.onClosed)
            m_hooks.onClosed();
        return;
    }
    updateInterest();
}

void LineSession::updateInterest()
{
    const bool wantWrite = !m_output.empty();
    if (wantWrite != m_wantWrite) {
        m_wantWrite = wantWrite;
        m_loop.modify(m_fd, EPOLLIN | EPOLLRDHUP | (wantWrite ? EPOLLOUT : 0u), this);
    }
}

void LineSession::peerClosed()
{
    if (!isOpen())
        return;
    close();
    if (m_hooks.onClosed)
        m_hooks.onClosed();
}

} // namespace lumivane::sim
