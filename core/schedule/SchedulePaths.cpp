#include "SchedulePaths.h"

#include "DataFolder.h"

namespace lumivane {
namespace {

std::string scheduleFilePath(const std::string& fileName, bool forWriting)
{
    const std::string data = dataFolder(forWriting);
    if (data.empty())
        return {};
    // The subfolder takes the data folder's group and mode. When it cannot be made (or a link stands in
    // its place) the opens of its files fail and say why.
    std::string error;
    ensureSubfolder(data, kScheduleFolderName, error);
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
