#pragma once

#include "ScheduleRecords.h"
#include "ScheduleSaveResult.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

// The named schedules ("Schedule/ScheduleList.scl") and the entries of one of them at a time
// ("Schedule/Schedule<id>.scf"). The console edits through it; the server only reads. Each user owns its
// own object; the files are the only state the programs share, each opened exclusively with the usual
// retry of about ten seconds while the other program holds it.
//
// Reading never fails loudly: a missing or unreadable file reads as empty and malformed fields read as 0
// (entryProblem() tells which entries cannot be carried out). Every change is saved at once; a failed
// save is returned as a ScheduleSaveResult for the caller to report, and keeps the change in memory.
// Entries keep the order in which they were read or added. Indexes outside a list are refused.
// A name the list file keeps whole: no comma, line break or NUL.
bool isScheduleName(std::string_view name);

class CScheduleStore
{
public:
    // Replaces the list with the file's. The first line is the last identifier handed out; then one
    // "<id>,<name>" line per schedule. Lines with an identifier below 1, or one already listed, are
    // skipped; the last identifier is raised to the highest listed one, so none is handed out twice.
    // A file that cannot be read leaves the list empty and the last identifier as it was (false).
    bool LoadList();
    // Writes the list file whole. On failure: message 168 with the stop icon.
    ScheduleSaveResult SaveList();

    // Appends a schedule with the next identifier (it becomes the last element) and saves the list. The
    // list file has no quoting: a name with a comma, a line break or NUL could not be read back as it was,
    // so it is refused (message 0, nothing changed); isScheduleName() tells beforehand.
    ScheduleSaveResult AddSchedule(const std::string& name);
    // Deletes the schedule's entry file, removes it from the list and saves the list. Identifiers are not
    // renumbered and the last identifier is not lowered. Deleting the selected schedule deselects it.
    ScheduleSaveResult DeleteSchedule(int index);
    // Makes the schedule at `index` the current one and loads its entries; returns its identifier, or 0
    // (nothing changed) for an index outside the list.
    int SelectSchedule(int index);
    std::optional<std::string> FindName(int id) const;

    // Replaces both entry lists with the file of the current schedule (none selected: does nothing, false).
    bool LoadEntries();
    // Writes the current schedule's file whole: weekly entries, then selected-days entries. Does nothing
    // when none is selected. On failure: message 168 without icon.
    ScheduleSaveResult SaveEntries();
    ScheduleSaveResult AddEvery(const ST_SCHEDULE_EVERY& entry);
    ScheduleSaveResult AddEspecial(const ST_SCHEDULE_ESPECIAL& entry);
    ScheduleSaveResult DeleteEvery(int index);
    ScheduleSaveResult DeleteEspecial(int index);

    int listCount() const { return static_cast<int>(m_list.size()); }
    const CScheduleList* listAt(int index) const; // nullptr outside the list
    // Entries of the current schedule, changed in place by the editor, which then calls SaveEntries().
    int everyCount() const { return static_cast<int>(m_every.size()); }
    ST_SCHEDULE_EVERY* everyAt(int index);
    const ST_SCHEDULE_EVERY* everyAt(int index) const;
    int especialCount() const { return static_cast<int>(m_especial.size()); }
    ST_SCHEDULE_ESPECIAL* especialAt(int index);
    const ST_SCHEDULE_ESPECIAL* especialAt(int index) const;

    int nextId() const { return m_nextId; }       // the identifier most recently handed out
    int currentId() const { return m_currentId; } // the selected schedule, 0 for none

private:
    void clearEntries();

    std::vector<std::unique_ptr<CScheduleList>> m_list;
    std::vector<std::unique_ptr<ST_SCHEDULE_EVERY>> m_every;
    std::vector<std::unique_ptr<ST_SCHEDULE_ESPECIAL>> m_especial;
    int m_nextId = 0;
    int m_currentId = 0;
};

} // namespace lumivane
