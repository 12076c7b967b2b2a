#include "SchedulePaths.h"

#include "DataFolder.h"

#include <sys/stat.h>

namespace lumivane {
namespace {

std::string scheduleFilePath(const std::string& fileName, bool forWriting)
{
    const std::string folder = dataFilePath(kScheduleFolderName, forWriting);
    if (folder.empty())
        return {};
    // The data folder's own permissions (and default ACL) govern the subfolder; it needs none of its own.
    ::mkdir(folder.c_str(), 0777);
    return dataFilePath(std::string(kScheduleFolderName) + "/" + fileName, false);
}

} // namespace

std::string scheduleListPath(bool forWriting)
{
    return scheduleFilePath(kScheduleListFileName, forWriting);
}

std::string scheduleEntryPath(int id, bool forWriting)
{
    return scheduleFilePath("Schedule" + std::to_string(id) + ".scf", forWriting);
}

std::string mailSchedulePath(bool forWriting)
{
    return dataFilePath(kMailScheduleFileName, forWriting);
}

} // namespace lumivane
