#pragma once

#include "DayPlan.h"
#include "ScheduleRecords.h"

#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace lumivane {

// The schedule files as the server reads them for one build of the day's actions.
struct ScheduleData
{
    struct Schedule
    {
        int id = 0;
        std::string name;
        std::vector<ST_SCHEDULE_EVERY> every;
        std::vector<ST_SCHEDULE_ESPECIAL> especial;
    };

    std::vector<ST_MAIL_SCHEDULE> mailTimes;
    std::vector<Schedule> schedules; // in list order; entries only of the schedules that were asked for
};

// Whether a schedule is assigned to at least one monitor in use with scheduling on.
using ScheduleInUse = std::function<bool(int scheduleId)>;

// Reads "MailSchedule.csv", the schedule list and the entries of each schedule in use. Missing or unreadable
// files give nothing.
ScheduleData loadScheduleData(const ScheduleInUse& inUse);

// Fills `plan` with the actions of the day of `now`: the report mail times of today's weekday; for each
// schedule in use, the selected-days entries whose term holds today, or, when none does, the weekly entries
// of today's weekday. With `skipPast`, actions 60 s or more before `now` are left out. An entry that cannot
// be carried out (a time or date out of range) is skipped; `problems` receives one line for it, naming the
// schedule and the entry.
void buildTodayActions(const ScheduleData& data, const ScheduleInUse& inUse, std::time_t now, bool skipPast,
                       DayPlan& plan, std::vector<std::string>& problems);

} // namespace lumivane
