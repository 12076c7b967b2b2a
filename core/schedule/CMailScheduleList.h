#pragma once

#include "ScheduleRecords.h"
#include "ScheduleSaveResult.h"

#include <memory>
#include <vector>

namespace lumivane {

// The times of the periodic report mail, "MailSchedule.csv" in the data folder: one "hour,minute,dayMask"
// line per time, in list order. Add, Replace and Delete change memory only; the caller saves.
class CMailScheduleList
{
public:
    // Replaces the list with the file's; a missing or unreadable file gives an empty list (false). Missing
    // fields read as 0; blank lines are skipped.
    bool Load();
    // Writes the file whole. On failure: message 168 with the stop icon; the old file stays.
    ScheduleSaveResult Save();

    void Add(int hour, int minute, int dayMask);
    bool Replace(int index, int hour, int minute, int dayMask); // false for an index outside the list
    bool Delete(int index);

    int count() const { return static_cast<int>(m_times.size()); }
    const ST_MAIL_SCHEDULE* at(int index) const; // nullptr outside the list

private:
    std::vector<std::unique_ptr<ST_MAIL_SCHEDULE>> m_times;
};

} // namespace lumivane
