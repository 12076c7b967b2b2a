#include "Wait.h"

#include <algorithm>
#include <cerrno>
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

WaitResult waitFor(int fd, bool forWriting, const Deadline& deadline, const volatile int32_t* cancel)
{
    pollfd entry{fd, static_cast<short>(forWriting ? POLLOUT : POLLIN), 0};
    while (true) {
        if (isCancelled(cancel))
            return WaitResult::Cancelled;
        const int left = deadline.remainingMs();
        if (left <= 0)
            return WaitResult::TimedOut;
        const int slice = cancel != nullptr ? std::min(left, kCancelPollMs) : left;
        const int ready = ::poll(&entry, 1, slice);
        if (ready > 0)
            return (entry.revents & POLLNVAL) ? WaitResult::Failed : WaitResult::Ready;
        if (ready < 0 && errno != EINTR)
            return WaitResult::Failed;
    }
}

} // namespace lumivane::link
