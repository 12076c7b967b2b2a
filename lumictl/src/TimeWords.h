#pragma once

#include <compare>
#include <string>

namespace lumivane::ctl {

// Times, weekdays and dates as lumictl's options give them. Each parser throws UsageError naming the
// option when the text is not what it takes.

struct ClockTime
{
    int hour = 0;
    int minute = 0;
};
// "HH:MM" with the minutes a multiple of `minuteStep` (5: the schedule editor's minute list).
ClockTime parseClockTime(const std::string& text, int minuteStep, const std::string& what);

// "sun" ... "sat": bit 0 is Sunday.
inline constexpr const char* kDayWords[7] = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
// A comma list of days and ranges ("mon-fri,sun"), or "all"; never empty.
int parseDayMask(const std::string& text);
// The days of a mask as a comma list ("mon,tue"); "-" for none.
std::string dayMaskText(int dayMask);

struct CalendarDay
{
    int year = 0;
    int month = 0;
    int day = 0;
    auto operator<=>(const CalendarDay&) const = default;
};
// "YYYY-MM-DD", a day of the calendar from 1970 to 2099.
CalendarDay parseCalendarDay(const std::string& text, const std::string& what);
// "YYYY-MM-DD".
std::string isoDate(int year, int month, int day);

} // namespace lumivane::ctl
