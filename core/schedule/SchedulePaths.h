#pragma once

#include <string>

namespace lumivane {

inline constexpr const char* kScheduleFolderName = "Schedule";
inline constexpr const char* kScheduleListFileName = "ScheduleList.scl";
inline constexpr const char* kMailScheduleFileName = "MailSchedule.csv";

// The schedule list and the entry files lie in the folder "Schedule" of the data folder, which is created
// whenever one of them is opened. With `forWriting` the data folder itself is created too. Empty when the
// data folder is unknown or the path would be too long.
std::string scheduleListPath(bool forWriting);
std::string scheduleEntryPath(int id, bool forWriting); // "Schedule<id>.scf"

// The report mail times lie in the data folder itself.
std::string mailSchedulePath(bool forWriting);

} // namespace lumivane
