#pragma once

#include <chrono>
#include <cstdint>

namespace lumivane::link {

using Clock = std::chrono::steady_clock;

// A point in time by which a wait must end.
class Deadline
{
public:
    explicit Deadline(int milliseconds) : m_end(Clock::now() + std::chrono::milliseconds(milliseconds)) {}

    int remainingMs() const;
    // The time left, never negative, to the nanosecond: waits end on time, not up to a millisecond late.
    std::chrono::nanoseconds remaining() const;
    bool passed() const { return remainingMs() <= 0; }

private:
    Clock::time_point m_end;
};

enum class WaitResult
{
    Ready,
    TimedOut,
    Cancelled,
    Failed
};

// Waits until `fd` is readable (or writable), the deadline passes or the caller's cancel flag is set.
// The flag is looked at every few milliseconds; without a flag the wait is one poll.
WaitResult waitFor(int fd, bool forWriting, const Deadline& deadline, const volatile int32_t* cancel);

inline bool isCancelled(const volatile int32_t* cancel)
{
    return cancel != nullptr && *cancel != 0;
}

} // namespace lumivane::link
