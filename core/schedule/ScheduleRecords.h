#pragma once

#include <string>
#include <string_view>

namespace lumivane {

// Day masks: bit 0 Sunday, bit 1 Monday, ... bit 6 Saturday.
inline constexpr int kEveryDayMask = 0x7F;

// A weekly entry of a schedule: power on (then optionally switch input) and/or power off on the weekdays
// of `dayMask`.
struct ST_SCHEDULE_EVERY
{
    int onValid = 0; // 1: the entry powers on
    int onHour = 0;
    int onMinute = 0;
    int offValid = 0; // 1: the entry powers off
    int offHour = 0;
    int offMinute = 0;
    int inputId = 0; // InputModeIndex chosen after power-on; 0 leaves the input alone
    int dayMask = 0;

    bool operator==(const ST_SCHEDULE_EVERY&) const = default;
};

// A selected-days entry: the same actions on every day from the first to the last day, both included.
// While one of these covers a day, the schedule's weekly entries do not apply on that day.
struct ST_SCHEDULE_ESPECIAL
{
    int onValid = 0;
    int onHour = 0;
    int onMinute = 0;
    int offValid = 0;
    int offHour = 0;
    int offMinute = 0;
    int inputId = 0;
    int fromYear = 0;
    int fromMonth = 0;
    int fromDay = 0;
    int toYear = 0;
    int toMonth = 0;
    int toDay = 0;

    bool operator==(const ST_SCHEDULE_ESPECIAL&) const = default;
};

// A time of the periodic report mail.
struct ST_MAIL_SCHEDULE
{
    int hour = 0;
    int minute = 0;
    int dayMask = 0;

    bool operator==(const ST_MAIL_SCHEDULE&) const = default;
};

// One named schedule of the schedule list. Identifiers start at 1 and are never handed out twice.
struct CScheduleList
{
    std::string name;
    int id = 0;
};

// Why an entry read from a file cannot be carried out ("power-on time out of range", ...), or empty when
// it can. Files are read as they are, so the server asks this before it turns an entry into actions and
// logs the entry it skips.
std::string_view entryProblem(const ST_SCHEDULE_EVERY& entry);
std::string_view entryProblem(const ST_SCHEDULE_ESPECIAL& entry);
std::string_view entryProblem(const ST_MAIL_SCHEDULE& entry);
// Whether both days of a selected-days entry are calendar days (whatever its times are).
bool hasCalendarDays(const ST_SCHEDULE_ESPECIAL& entry);

template <typename Entry> bool isValidEntry(const Entry& entry)
{
    return entryProblem(entry).empty();
}

// The line that stands for an entry in its schedule file, without the line break ("0,08:30,19:00,3,62").
// Also the way to name an entry in a log.
std::string formatEntryLine(const ST_SCHEDULE_EVERY& entry);
std::string formatEntryLine(const ST_SCHEDULE_ESPECIAL& entry);

// Field readers of the schedule files. A time is valid when the field holds a colon: hour before the first
// colon, minute after it; otherwise valid, hour and minute are 0. A date needs two slashes: year before the
// first, month between, day after the second; otherwise all three are 0.
void parseTimeField(std::string_view field, int& valid, int& hour, int& minute);
void parseDateField(std::string_view field, int& year, int& month, int& day);

// Display texts of the editors: "%02d:%02d" for a valid time, else "-"; a date as "%04d/%02d/%02d".
std::string scheduleTimeText(int valid, int hour, int minute);
std::string scheduleDateText(int year, int month, int day);

} // namespace lumivane
