#include "EventLoop.h"

#include <algorithm>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace lumivane::sim {

EventLoop::EventLoop()
    : m_epoll(::epoll_create1(EPOLL_CLOEXEC)), m_wake(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)), m_events(256)
{
    if (valid())
        add(m_wake, EPOLLIN, nullptr);
}

EventLoop::~EventLoop()
{
    if (m_wake >= 0)
        ::close(m_wake);
    if (m_epoll >= 0)
        ::close(m_epoll);
}

bool EventLoop::add(int fd, uint32_t events, Watch* watch)
{
    epoll_event event{};
    event.events = events;
    event.data.ptr = watch;
    return ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event) == 0;
}

void EventLoop::modify(int fd, uint32_t events, Watch* watch)
{
    epoll_event event{};
    event.events = events;
    event.data.ptr = watch;
    ::epoll_ctl(m_epoll, EPOLL_CTL_MOD, fd, &event);
}

void EventLoop::remove(int fd)
{
    ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, fd, nullptr);
}

EventLoop::TimerId EventLoop::addTimer(TimePoint due, std::function<void()> action)
{
    const TimerId id = m_nextTimer++;
    m_timers.emplace(std::make_pair(due, id), std::move(action));
    m_timerDue.emplace(id, due);
    return id;
}

void EventLoop::cancelTimer(TimerId id)
{
    const auto found = m_timerDue.find(id);
    if (found == m_timerDue.end())
        return;
    m_timers.erase(std::make_pair(found->second, id));
    m_timerDue.erase(found);
}

void EventLoop::retire(std::unique_ptr<Watch> watch)
{
    if (!watch)
        return;
    watch->m_retired = true;
    m_retired.push_back(std::move(watch));
}

void EventLoop::wake()
{
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_wake, &one, sizeof one);
}

int EventLoop::nextTimeoutMs(int maxWaitMs) const
{
    if (m_timers.empty())
        return maxWaitMs;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(m_timers.begin()->first.first - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, maxWaitMs));
}

int EventLoop::wait(int maxWaitMs)
{
    m_ready = ::epoll_wait(m_epoll, m_events.data(), static_cast<int>(m_events.size()), nextTimeoutMs(maxWaitMs));
    return std::max(m_ready, 0);
}

void EventLoop::dispatch()
{
    for (int i = 0; i < m_ready; ++i) {
        auto* watch = static_cast<Watch*>(m_events[i].data.ptr);
        if (watch == nullptr) {
            uint64_t count;
            [[maybe_unused]] const ssize_t got = ::read(m_wake, &count, sizeof count);
        } else if (!watch->retired()) {
            watch->onEvents(m_events[i].events);
        }
    }
    m_ready = 0;
    const auto now = std::chrono::steady_clock::now();
    while (!m_timers.empty() && m_timers.begin()->first.first <= now) {
        auto node = m_timers.extract(m_timers.begin());
        m_timerDue.erase(node.key().second);
        node.mapped()();
    }
    m_retired.clear();
}

} // namespace lumivane::sim
