#include "ScheduleRecords.h"

#include "Strings.h"
#include "TextNumbers.h"

#include <cstdio>

namespace lumivane {
namespace {

constexpr int kDashMessage = 172;

bool isTimeInRange(int valid, int hour, int minute)
{
    return valid == 0 || (hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59);
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// A day that exists in the calendar. Years stay within four digits, the width the files write them with.
bool isCalendarDay(int year, int month, int day)
{
    static constexpr int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    const int lastDay = kDaysInMonth[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
    return day <= lastDay;
}

std::string_view timesProblem(int onValid, int onHour, int onMinute, int offValid, int offHour, int offMinute)
{
    if (!isTimeInRange(onValid, onHour, onMinute))
        return "power-on time out of range";
    if (!isTimeInRange(offValid, offHour, offMinute))
        return "power-off time out of range";
    return {};
}

std::string timeField(int valid, int hour, int minute)
{
    if (valid == 0)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
    return text;
}

} // namespace

std::string_view entryProblem(const ST_SCHEDULE_EVERY& entry)
{
    return timesProblem(entry.onValid, entry.onHour, entry.onMinute, entry.offValid, entry.offHour, entry.offMinute);
}

std::string_view entryProblem(const ST_SCHEDULE_ESPECIAL& entry)
{
    const std::string_view times =
        timesProblem(entry.onValid, entry.onHour, entry.onMinute, entry.offValid, entry.offHour, entry.offMinute);
    if (!times.empty())
        return times;
    if (!isCalendarDay(entry.fromYear, entry.fromMonth, entry.fromDay))
        return "first day is not a valid date";
    if (!isCalendarDay(entry.toYear, entry.toMonth, entry.toDay))
        return "last day is not a valid date";
    return {};
}

bool hasCalendarDays(const ST_SCHEDULE_ESPECIAL& entry)
{
    return isCalendarDay(entry.fromYear, entry.fromMonth, entry.fromDay) &&
           isCalendarDay(entry.toYear, entry.toMonth, entry.toDay);
}

std::string_view entryProblem(const ST_MAIL_SCHEDULE& entry)
{
    return isTimeInRange(1, entry.hour, entry.minute) ? std::string_view() : "mail time out of range";
}

std::string formatEntryLine(const ST_SCHEDULE_EVERY& entry)
{
    return "0," + timeField(entry.onValid, entry.onHour, entry.onMinute) + "," +
           timeField(entry.offValid, entry.offHour, entry.offMinute) + "," + std::to_string(entry.inputId) + "," +
           std::to_string(entry.dayMask);
}

std::string formatEntryLine(const ST_SCHEDULE_ESPECIAL& entry)
{
    return "1," + timeField(entry.onValid, entry.onHour, entry.onMinute) + "," +
           timeField(entry.offValid, entry.offHour, entry.offMinute) + "," + std::to_string(entry.inputId) + "," +
           scheduleDateText(entry.fromYear, entry.fromMonth, entry.fromDay) + "," +
           scheduleDateText(entry.toYear, entry.toMonth, entry.toDay);
}

void parseTimeField(std::string_view field, int& valid, int& hour, int& minute)
{
    const size_t colon = field.find(':');
    if (colon == std::string_view::npos) {
        valid = hour = minute = 0;
        return;
    }
    valid = 1;
    hour = parseAtoi(field.substr(0, colon));
    minute = parseAtoi(field.substr(colon + 1));
}

void parseDateField(std::string_view field, int& year, int& month, int& day)
{
    const size_t first = field.find('/');
    const size_t second = first == std::string_view::npos ? first : field.find('/', first + 1);
    if (second == std::string_view::npos) {
        year = month = day = 0;
        return;
    }
    year = parseAtoi(field.substr(0, first));
    month = parseAtoi(field.substr(first + 1, second - first - 1));
    day = parseAtoi(field.substr(second + 1));
}

std::string scheduleTimeText(int valid, int hour, int minute)
{
    return valid ? timeField(1, hour, minute) : std::string(messageText(kDashMessage));
}

std::string scheduleDateText(int year, int month, int day)
{
    char text[48];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", year, month, day);
    return text;
}

} // namespace lumivane
