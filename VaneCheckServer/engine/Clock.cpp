#include "Clock.h"

#include <algorithm>
#include <thread>

namespace lumivane {
namespace {
constexpr auto kSleepStep = std::chrono::milliseconds(100);
}

std::time_t SystemClock::now() const
{
    return std::time(nullptr);
}

bool SystemClock::sleepFor(std::chrono::milliseconds duration, const std::function<bool()>& cancelled)
{
    const auto end = std::chrono::steady_clock::now() + duration;
    for (;;) {
        if (cancelled && cancelled())
            return false;
        const auto left = end - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero())
            return true;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, kSleepStep));
    }
}

SystemClock& systemClock()
{
    static SystemClock clock;
    return clock;
}

std::tm localTimeOf(std::time_t time)
{
    std::tm local{};
    localtime_r(&time, &local);
    return local;
}

LocalDate localDateOf(std::time_t time)
{
    const std::tm local = localTimeOf(time);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

int weekdayOf(std::time_t time)
{
    return localTimeOf(time).tm_wday;
}

std::time_t localTimeOnDay(std::time_t day, int hour, int minute)
{
    std::tm local = localTimeOf(day);
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = 0;
    local.tm_isdst = -1; // let the C library decide for that hour, across a change of summer time
    return std::mktime(&local);
}

ClockJumpDetector::ClockJumpDetector(std::chrono::milliseconds tolerance) : m_tolerance(tolerance) {}

bool ClockJumpDetector::check()
{
    return check(wallMilliseconds(), steadyMilliseconds());
}

bool ClockJumpDetector::check(int64_t wallMs, int64_t steadyMs)
{
    const bool started = m_started;
    const int64_t drift = (wallMs - m_lastWall) - (steadyMs - m_lastSteady);
    m_started = true;
    m_lastWall = wallMs;
    m_lastSteady = steadyMs;
    return started && (drift > m_tolerance.count() || -drift > m_tolerance.count());
}

int64_t ClockJumpDetector::wallMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

int64_t ClockJumpDetector::steadyMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace lumivane
