#include "Wait.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <poll.h>

namespace lumivane::link {

namespace {
// How often a wait looks at the cancel flag.
constexpr int kCancelPollMs = 10;
} // namespace

int Deadline::remainingMs() const
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_end - Clock::now()).count();
    return static_cast<int>(std::max<long long>(0, left));
}

std::chrono::nanoseconds Deadline::remaining() const
{
    return std::max(std::chrono::nanoseconds(0), std::chrono::nanoseconds(m_end - Clock::now()));
}

WaitResult waitFor(int fd, bool forWriting, const Deadline& deadline, const volatile int32_t* cancel)
{
    pollfd entry{fd, static_cast<short>(forWriting ? POLLOUT : POLLIN), 0};
    while (true) {
        if (isCancelled(cancel))
            return WaitResult::Cancelled;
        const std::chrono::nanoseconds left = deadline.remaining();
        if (left.count() == 0)
            return WaitResult::TimedOut;
        const std::chrono::nanoseconds slice =
            cancel != nullptr ? std::min<std::chrono::nanoseconds>(left, std::chrono::milliseconds(kCancelPollMs)) : left;
        const timespec timeout{static_cast<time_t>(slice.count() / 1000000000),
                               static_cast<long>(slice.count() % 1000000000)};
        const int ready = ::ppoll(&entry, 1, &timeout, nullptr);
        if (ready > 0)
            return (entry.revents & POLLNVAL) ? WaitResult::Failed : WaitResult::Ready;
        if (ready < 0 && errno != EINTR)
            return WaitResult::Failed;
    }
}

} // namespace lumivane::link
