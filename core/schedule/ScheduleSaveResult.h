#pragma once

#include <string>
#include <vector>

namespace lumivane {

// The number of "Cannot create schedule file.".
inline constexpr int kScheduleFileErrorMessage = 168;

// What became of a change that writes a schedule file. The core shows no message box: on a failed write
// the caller tells the operator message `message` (with the stop icon when `stopIcon` is set), or writes
// it to its log. The file on disk keeps its previous content; the memory keeps the change.
struct ScheduleSaveResult
{
    bool ok = true;
    // The message to show: kScheduleFileErrorMessage after a failed write. 0 with `ok` false means that the
    // request named nothing (an index outside the list) and nothing changed.
    int message = 0;
    bool stopIcon = false;
    std::string detail; // the system's reason, for a log; not for the operator

    explicit operator bool() const { return ok; }
    std::string text() const; // the operator's text of `message`, "" for none
};

// Replaces the file at `path` with `lines` (each ended by a line break) through CCsvLineFile; a failure
// keeps the old file and gives message 168, with the stop icon when `stopIcon` is set.
ScheduleSaveResult writeScheduleFile(const std::string& path, const std::vector<std::string>& lines, bool stopIcon);

} // namespace lumivane
