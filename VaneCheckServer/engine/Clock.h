#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>

namespace lumivane {

// Where the server takes its time from. The server keeps 64-bit calendar seconds and turns them into local
// dates and times for every comparison of days, hours and minutes. Tests put a clock of their own in its
// place, so that a whole day of schedules runs in milliseconds.
class Clock
{
public:
    virtual ~Clock() = default;

    virtual std::time_t now() const = 0;
    // Waits on the worker thread (the power-on wait, the repeats of an input query). Returns early, with
    // false, as soon as `cancelled` says so; true when the whole time has passed.
    virtual bool sleepFor(std::chrono::milliseconds duration, const std::function<bool()>& cancelled) = 0;
};

// The PC's clock; waits in steps of 100 ms so that a cancel ends them quickly.
class SystemClock : public Clock
{
public:
    std::time_t now() const override;
    bool sleepFor(std::chrono::milliseconds duration, const std::function<bool()>& cancelled) override;
};

SystemClock& systemClock();

// A calendar day of local time, comparable and usable as a key ("2024/03/01" < "2024/03/02").
struct LocalDate
{
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31

    friend auto operator<=>(const LocalDate&, const LocalDate&) = default;
};

std::tm localTimeOf(std::time_t time);
LocalDate localDateOf(std::time_t time);
// Day of the week of local time: 0 Sunday .. 6 Saturday, the bit numbers of the day masks.
int weekdayOf(std::time_t time);
// The calendar time of `hour`:`minute`:00 local time on the day of `day`.
std::time_t localTimeOnDay(std::time_t day, int hour, int minute);

// Notices that the wall clock was set: it moved against a steady clock by more than `tolerance` between two
// calls of check(). The steady clock runs on while the machine sleeps (CLOCK_BOOTTIME), so waking up from
// suspend is not taken for a change of the clock.
class ClockJumpDetector
{
public:
    explicit ClockJumpDetector(std::chrono::milliseconds tolerance = std::chrono::milliseconds(2000));

    // True when the wall clock jumped since the previous call.
    bool check();
    // The same with readings given by the caller (milliseconds of each clock).
    bool check(int64_t wallMs, int64_t steadyMs);

    static int64_t wallMilliseconds();
    static int64_t steadyMilliseconds();

private:
    std::chrono::milliseconds m_tolerance;
    bool m_started = false;
    int64_t m_lastWall = 0;
    int64_t m_lastSteady = 0;
};

} // namespace lumivane
