#include "ScheduleSaveResult.h"

#include "CCsvLineFile.h"
#include "Strings.h"

namespace lumivane {

std::string ScheduleSaveResult::text() const
{
    return message != 0 ? messageText(message) : "";
}

ScheduleSaveResult writeScheduleFile(const std::string& path, const std::vector<std::string>& lines, bool stopIcon)
{
    ScheduleSaveResult result;
    CCsvLineFile file;
    bool written = !path.empty() && file.openWrite(path);
    for (size_t i = 0; written && i < lines.size(); ++i)
        written = file.writeLine(std::string_view(lines[i]));
    // close() commits: the new file replaces the old one only when everything before succeeded.
    if (file.isOpen() && !file.close())
        written = false;
    if (!written) {
        result.ok = false;
        result.message = kScheduleFileErrorMessage;
        result.stopIcon = stopIcon;
        result.detail = path.empty() ? "the data folder is unknown" : path + ": " + file.lastError();
    }
    return result;
}

} // namespace lumivane
