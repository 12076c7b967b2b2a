#pragma once

#include "EventLoop.h"

#include <functional>
#include <string>
#include <string_view>

namespace lumivane::sim {

// The monitor's end of one line-based connection (a TCP control connection or a pseudo-terminal master):
// it cuts the input into lines at CR, hands them on one at a time, and writes replies, at once or after a
// delay. While a delayed reply is pending, further lines wait, as a monitor works one command at a time.
class LineSession : public Watch
{
public:
    struct Hooks
    {
        std::function<void(std::string_view line)> onLine;
        std::function<void()> onClosed; // the peer closed or the connection failed
    };

    LineSession(EventLoop& loop, int fd, bool ownsFd, Hooks hooks);
    ~LineSession() override;

    // Queues bytes for the peer; with `closeAfter` the connection closes once they are out.
    void send(std::string bytes, bool closeAfter = false);
    void sendAfter(int delayMs, std::string bytes, bool closeAfter);

    // Closes the connection now (without calling onClosed).
    void close();

    int fd() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // True when the peer has shut its side down (a closed connection not yet noticed by a read), waiting
    // up to `graceMs` for its close to arrive.
    bool peerGone(int graceMs = 0) const;

    void onEvents(uint32_t events) override;

private:
    void readInput();
    void processLines();
    void flush();
    void updateInterest();
    void peerClosed();

    EventLoop& m_loop;
    int m_fd;
    bool m_ownsFd;
    bool m_isSocket = false;
    Hooks m_hooks;
    std::string m_input;
    std::string m_output;
    bool m_closeAfterOutput = false;
    bool m_replyPending = false;
    EventLoop::TimerId m_timer = 0;
    bool m_wantWrite = false;
};

} // namespace lumivane::sim
