#include "TimeWords.h"

#include "CommandLine.h"

#include <cstdio>
#include <sstream>

namespace lumivane::ctl {

namespace {

bool isDigits(const std::string& text, size_t from, size_t count)
{
    if (from + count > text.size())
        return false;
    for (size_t i = from; i < from + count; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

int dayWord(const std::string& word, const std::string& whole)
{
    for (int day = 0; day < 7; ++day)
        if (word == kDayWords[day])
            return day;
    throw UsageError{"--days: '" + word + "' is not a day (sun, mon, tue, wed, thu, fri, sat) in '" + whole + "'"};
}

int daysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

} // namespace

ClockTime parseClockTime(const std::string& text, int minuteStep, const std::string& what)
{
    const bool shaped = text.size() == 5 && text[2] == ':' && isDigits(text, 0, 2) && isDigits(text, 3, 2);
    const ClockTime time{shaped ? std::stoi(text.substr(0, 2)) : -1, shaped ? std::stoi(text.substr(3, 2)) : -1};
    if (time.hour < 0 || time.hour > 23 || time.minute < 0 || time.minute > 59 || time.minute % minuteStep != 0)
        throw UsageError{what + ": a time HH:MM with minutes in steps of " + std::to_string(minuteStep) + ", not '" +
                         text + "'"};
    return time;
}

int parseDayMask(const std::string& text)
{
    if (text == "all")
        return 0x7F;
    int mask = 0;
    std::istringstream parts(text);
    std::string part;
    while (std::getline(parts, part, ',')) {
        const size_t dash = part.find('-');
        const int first = dayWord(part.substr(0, dash), text);
        const int last = dash == std::string::npos ? first : dayWord(part.substr(dash + 1), text);
        for (int day = first;; day = (day + 1) % 7) { // "fri-mon" wraps over the weekend
            mask |= 1 << day;
            if (day == last)
                break;
        }
    }
    if (mask == 0)
        throw UsageError{"--days: no day given"};
    return mask;
}

std::string dayMaskText(int dayMask)
{
    std::string text;
    for (int day = 0; day < 7; ++day)
        if (dayMask & (1 << day))
            text += (text.empty() ? "" : ",") + std::string(kDayWords[day]);
    return text.empty() ? "-" : text;
}

CalendarDay parseCalendarDay(const std::string& text, const std::string& what)
{
    const bool shaped = text.size() == 10 && text[4] == '-' && text[7] == '-' && isDigits(text, 0, 4) &&
                        isDigits(text, 5, 2) && isDigits(text, 8, 2);
    if (shaped) {
        const CalendarDay day{std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)), std::stoi(text.substr(8, 2))};
        if (day.year >= 1970 && day.year <= 2099 && day.month >= 1 && day.month <= 12 && day.day >= 1 &&
            day.day <= daysInMonth(day.year, day.month))
            return day;
    }
    throw UsageError{what + ": a day YYYY-MM-DD of the calendar (1970 to 2099), not '" + text + "'"};
}

std::string isoDate(int year, int month, int day)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

} // namespace lumivane::ctl
