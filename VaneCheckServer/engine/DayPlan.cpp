#include "DayPlan.h"

#include <algorithm>
#include <iterator>

namespace lumivane {

void DayPlan::insert(ScheduleEvent event)
{
    event.sequence = m_nextSequence++;
    const auto place = std::upper_bound(m_events.begin(), m_events.end(), event.time,
                                        [](std::time_t time, const ScheduleEvent& other) { return time < other.time; });
    m_events.insert(place, event);
}

std::optional<ScheduleEvent> DayPlan::earliest(int kind) const
{
    const auto found = std::find_if(m_events.begin(), m_events.end(),
                                    [kind](const ScheduleEvent& event) { return event.kind == kind; });
    return found == m_events.end() ? std::nullopt : std::optional(*found);
}

std::vector<ScheduleEvent> DayPlan::takeDue(int kind, std::time_t now)
{
    std::vector<ScheduleEvent> due;
    const auto isDue = [&](const ScheduleEvent& event) { return event.kind == kind && event.time < now; };
    std::copy_if(m_events.begin(), m_events.end(), std::back_inserter(due), isDue);
    m_events.erase(std::remove_if(m_events.begin(), m_events.end(), isDue), m_events.end());
    return due;
}

bool DayPlan::remove(uint64_t sequence)
{
    const auto found = std::find_if(m_events.begin(), m_events.end(),
                                    [sequence](const ScheduleEvent& event) { return event.sequence == sequence; });
    if (found == m_events.end())
        return false;
    m_events.erase(found);
    return true;
}

std::optional<ScheduleEvent> DayPlan::nextFor(int scheduleId) const
{
    const auto found = std::find_if(m_events.begin(), m_events.end(), [scheduleId](const ScheduleEvent& event) {
        return event.kind == ScheduleEvent::kScheduleAction && event.scheduleId == scheduleId;
    });
    return found == m_events.end() ? std::nullopt : std::optional(*found);
}

} // namespace lumivane
