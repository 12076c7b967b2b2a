#include "CMailScheduleList.h"

#include "CCsvLineFile.h"
#include "SchedulePaths.h"

namespace lumivane {

bool CMailScheduleList::Load()
{
    m_times.clear();
    CCsvLineFile file;
    const std::string path = mailSchedulePath(false);
    if (path.empty() || !file.openRead(path))
        return false;
    while (file.readLine()) {
        if (file.currentLine().find_first_not_of(" \t") == std::string::npos)
            continue;
        auto time = std::make_unique<ST_MAIL_SCHEDULE>();
        time->hour = file.nextInt(0);
        time->minute = file.nextInt(0);
        time->dayMask = file.nextInt(0);
        m_times.push_back(std::move(time));
    }
    return true;
}

ScheduleSaveResult CMailScheduleList::Save()
{
    std::vector<std::string> lines;
    lines.reserve(m_times.size());
    for (const auto& time : m_times)
        lines.push_back(std::to_string(time->hour) + "," + std::to_string(time->minute) + "," +
                        std::to_string(time->dayMask));
    return writeScheduleFile(mailSchedulePath(true), lines, true);
}

void CMailScheduleList::Add(int hour, int minute, int dayMask)
{
    m_times.push_back(std::make_unique<ST_MAIL_SCHEDULE>(ST_MAIL_SCHEDULE{hour, minute, dayMask}));
}

bool CMailScheduleList::Replace(int index, int hour, int minute, int dayMask)
{
    if (at(index) == nullptr)
        return false;
    m_times[static_cast<size_t>(index)] = std::make_unique<ST_MAIL_SCHEDULE>(ST_MAIL_SCHEDULE{hour, minute, dayMask});
    return true;
}

bool CMailScheduleList::Delete(int index)
{
    if (at(index) == nullptr)
        return false;
    m_times.erase(m_times.begin() + index);
    return true;
}

const ST_MAIL_SCHEDULE* CMailScheduleList::at(int index) const
{
    return index >= 0 && index < count() ? m_times[static_cast<size_t>(index)].get() : nullptr;
}

} // namespace lumivane
