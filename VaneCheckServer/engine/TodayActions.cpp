#include "TodayActions.h"

#include "CMailScheduleList.h"
#include "CScheduleStore.h"
#include "Clock.h"

namespace lumivane {
namespace {

constexpr std::time_t kPastLimitSeconds = 60;

// Inserts the actions of one day's plan, leaving out those that are already past when asked to.
class ActionSink
{
public:
    ActionSink(DayPlan& plan, std::time_t now, bool skipPast) : m_plan(plan), m_now(now), m_skipPast(skipPast) {}

    void add(int hour, int minute, int kind, int powerOn, InputModeIndex inputId, int scheduleId)
    {
        ScheduleEvent event;
        event.time = localTimeOnDay(m_now, hour, minute);
        if (m_skipPast && event.time <= m_now - kPastLimitSeconds)
            return;
        event.kind = kind;
        event.powerOn = powerOn;
        event.inputId = inputId;
        event.scheduleId = scheduleId;
        m_plan.insert(event);
    }

    template <typename Entry> void addEntry(const Entry& entry, int scheduleId)
    {
        if (entry.onValid)
            add(entry.onHour, entry.onMinute, ScheduleEvent::kScheduleAction, 1, entry.inputId, scheduleId);
        if (entry.offValid)
            add(entry.offHour, entry.offMinute, ScheduleEvent::kScheduleAction, 0, 0, scheduleId);
    }

private:
    DayPlan& m_plan;
    std::time_t m_now;
    bool m_skipPast;
};

bool containsDay(int dayMask, int weekday)
{
    return (dayMask >> weekday & 1) != 0;
}

template <typename Entry>
std::string scheduleProblem(const ScheduleData::Schedule& schedule, const Entry& entry, std::string_view problem)
{
    return "Schedule \"" + schedule.name + "\" (" + std::to_string(schedule.id) + "): entry \"" +
           formatEntryLine(entry) + "\" skipped: " + std::string(problem);
}

void addSchedule(const ScheduleData::Schedule& schedule, LocalDate today, int weekday, ActionSink& sink,
                 std::vector<std::string>& problems)
{
    bool selectedDays = false;
    for (const ST_SCHEDULE_ESPECIAL& entry : schedule.especial) {
        const std::string_view problem = entryProblem(entry);
        if (!problem.empty())
            problems.push_back(scheduleProblem(schedule, entry, problem));
        // An entry whose days are known still replaces the weekly entries on them, even when a bad time
        // keeps its own actions from running: a holiday stays a holiday.
        if (!hasCalendarDays(entry))
            continue;
        const LocalDate from{entry.fromYear, entry.fromMonth, entry.fromDay};
        const LocalDate to{entry.toYear, entry.toMonth, entry.toDay};
        if (today < from || to < today)
            continue;
        selectedDays = true;
        if (problem.empty())
            sink.addEntry(entry, schedule.id);
    }
    for (const ST_SCHEDULE_EVERY& entry : schedule.every) {
        if (const std::string_view problem = entryProblem(entry); !problem.empty()) {
            problems.push_back(scheduleProblem(schedule, entry, problem));
            continue;
        }
        if (!selectedDays && containsDay(entry.dayMask, weekday))
            sink.addEntry(entry, schedule.id);
    }
}

} // namespace

ScheduleData loadScheduleData(const ScheduleInUse& inUse)
{
    ScheduleData data;
    CMailScheduleList mail;
    mail.Load();
    for (int i = 0; i < mail.count(); ++i)
        data.mailTimes.push_back(*mail.at(i));

    CScheduleStore store;
    store.LoadList();
    for (int i = 0; i < store.listCount(); ++i) {
        ScheduleData::Schedule schedule;
        schedule.id = store.listAt(i)->id;
        schedule.name = store.listAt(i)->name;
        if (inUse(schedule.id) && store.SelectSchedule(i) != 0) {
            for (int e = 0; e < store.everyCount(); ++e)
                schedule.every.push_back(*store.everyAt(e));
            for (int e = 0; e < store.especialCount(); ++e)
                schedule.especial.push_back(*store.especialAt(e));
        }
        data.schedules.push_back(std::move(schedule));
    }
    return data;
}

void buildTodayActions(const ScheduleData& data, const ScheduleInUse& inUse, std::time_t now, bool skipPast,
                       DayPlan& plan, std::vector<std::string>& problems)
{
    plan.clear();
    ActionSink sink(plan, now, skipPast);
    const int weekday = weekdayOf(now);
    for (const ST_MAIL_SCHEDULE& time : data.mailTimes) {
        if (const std::string_view problem = entryProblem(time); !problem.empty()) {
            problems.push_back("Report mail time \"" + std::to_string(time.hour) + "," + std::to_string(time.minute) +
                               "," + std::to_string(time.dayMask) + "\" skipped: " + std::string(problem));
            continue;
        }
        if (containsDay(time.dayMask, weekday))
            sink.add(time.hour, time.minute, ScheduleEvent::kReportMail, 0, 0, 0);
    }
    const LocalDate today = localDateOf(now);
    for (const ScheduleData::Schedule& schedule : data.schedules) {
        if (inUse(schedule.id))
            addSchedule(schedule, today, weekday, sink, problems);
    }
}

} // namespace lumivane
