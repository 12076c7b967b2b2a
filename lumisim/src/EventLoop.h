#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <sys/epoll.h>
#include <vector>

namespace lumivane::sim {

// Something the event loop waits on: a listening socket, a connection, a pseudo-terminal.
class Watch
{
public:
    virtual ~Watch() = default;
    virtual void onEvents(uint32_t events) = 0;
    bool retired() const { return m_retired; }

private:
    friend class EventLoop;
    bool m_retired = false;
};

// One thread's epoll loop with timers. Watches that go away during a round are kept alive until its end,
// so that an event of the same round that names one never reaches freed memory.
class EventLoop
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using TimerId = uint64_t;

    EventLoop();
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    bool valid() const { return m_epoll >= 0 && m_wake >= 0; }

    bool add(int fd, uint32_t events, Watch* watch);
    void modify(int fd, uint32_t events, Watch* watch);
    void remove(int fd);

    TimerId addTimer(TimePoint due, std::function<void()> action);
    void cancelTimer(TimerId id);

    // Hands a watch over for deletion at the end of the round; its events are ignored from now on.
    void retire(std::unique_ptr<Watch> watch);

    // Waits for events (at most until the next timer) and returns them; `dispatch` runs the handlers.
    int wait(int maxWaitMs);
    void dispatch();

    // Makes a wait return at once (from any thread).
    void wake();

private:
    int nextTimeoutMs(int maxWaitMs) const;

    int m_epoll = -1;
    int m_wake = -1;
    std::vector<epoll_event> m_events;
    int m_ready = 0;
    std::map<std::pair<TimePoint, TimerId>, std::function<void()>> m_timers;
    std::map<TimerId, TimePoint> m_timerDue;
    TimerId m_nextTimer = 1;
    std::vector<std::unique_ptr<Watch>> m_retired;
};

} // namespace lumivane::sim
