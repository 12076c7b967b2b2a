#pragma once

#include "InputModes.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <vector>

namespace lumivane {

// One of today's timed actions.
struct ScheduleEvent
{
    enum Kind
    {
        kScheduleAction = 0,
        kReportMail = 1
    };

    std::time_t time = 0;
    int kind = kScheduleAction;
    uint64_t sequence = 0; // given on insertion, increasing for the life of the list
    int powerOn = 0;       // 1 power on, 0 power off
    InputModeIndex inputId = 0;
    int scheduleId = 0; // 0 for a report mail
};

// Today's actions, sorted by time; an action inserted with the time of existing ones goes after them.
class DayPlan
{
public:
    void clear() { m_events.clear(); }
    // Gives the action the next sequence number and puts it in its place.
    void insert(ScheduleEvent event);
    // The earliest action of `kind`.
    std::optional<ScheduleEvent> earliest(int kind) const;
    // Removes the actions of `kind` earlier than `now` and gives them in list order.
    std::vector<ScheduleEvent> takeDue(int kind, std::time_t now);
    // Removes the action with this sequence number; false when it is not in the list.
    bool remove(uint64_t sequence);
    // The earliest schedule action of `scheduleId`.
    std::optional<ScheduleEvent> nextFor(int scheduleId) const;
    bool hasScheduleAction() const { return earliest(ScheduleEvent::kScheduleAction).has_value(); }

    const std::vector<ScheduleEvent>& events() const { return m_events; }
    size_t size() const { return m_events.size(); }

private:
    std::vector<ScheduleEvent> m_events;
    uint64_t m_nextSequence = 1;
};

} // namespace lumivane
