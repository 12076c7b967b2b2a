#include "CScheduleStore.h"

#include "CCsvLineFile.h"
#include "SchedulePaths.h"
#include "SharedFile.h"

#include <algorithm>
#include <climits>
#include <unistd.h>
#include <unordered_set>

namespace lumivane {
namespace {

bool isBlank(const std::string& line)
{
    return line.find_first_not_of(" \t") == std::string::npos;
}

template <typename Entry> Entry* entryAt(const std::vector<std::unique_ptr<Entry>>& entries, int index)
{
    return index >= 0 && index < static_cast<int>(entries.size()) ? entries[static_cast<size_t>(index)].get() : nullptr;
}

// A request that changes nothing: an index outside the list (no message), or no identifier left.
ScheduleSaveResult refused(int message = 0, const char* detail = "")
{
    ScheduleSaveResult result;
    result.ok = false;
    result.message = message;
    result.stopIcon = message != 0;
    result.detail = detail;
    return result;
}

// Reads the fields after the kind of a schedule file line into the common part of both entry kinds.
template <typename Entry> void readActions(CCsvLineFile& file, Entry& entry)
{
    std::string field;
    if (!file.nextField(field))
        field.clear();
    parseTimeField(field, entry.onValid, entry.onHour, entry.onMinute);
    if (!file.nextField(field))
        field.clear();
    parseTimeField(field, entry.offValid, entry.offHour, entry.offMinute);
    entry.inputId = file.nextInt(0);
}

void readDate(CCsvLineFile& file, int& year, int& month, int& day)
{
    std::string field;
    if (!file.nextField(field))
        field.clear();
    parseDateField(field, year, month, day);
}

// Deletes a schedule's entry file while holding its lock, so that a reader in the other program never
// sees it vanish halfway.
void deleteEntryFile(int id)
{
    const std::string path = scheduleEntryPath(id, false);
    if (path.empty())
        return;
    SidecarLock lock;
    std::string error;
    if (lock.acquire(path, FileAccess::ExclusiveWrite, error))
        removeFileNoFollow(path);
}

} // namespace

bool CScheduleStore::LoadList()
{
    m_list.clear();
    CCsvLineFile file;
    const std::string path = scheduleListPath(false);
    if (path.empty() || !file.openRead(path))
        return false;
    const int storedNextId = file.readLine() ? file.nextInt(0) : 0;
    int highestId = 0;
    std::unordered_set<int> seen;
    while (file.readLine()) {
        const int id = file.nextInt(0);
        if (id < 1 || !seen.insert(id).second)
            continue;
        auto element = std::make_unique<CScheduleList>();
        element->id = id;
        if (!file.nextField(element->name))
            element->name.clear();
        highestId = std::max(highestId, id);
        m_list.push_back(std::move(element));
    }
    m_nextId = std::max({storedNextId, highestId, 0});
    return true;
}

ScheduleSaveResult CScheduleStore::SaveList()
{
    std::vector<std::string> lines;
    lines.reserve(m_list.size() + 1);
    lines.push_back(std::to_string(m_nextId));
    for (const auto& element : m_list)
        lines.push_back(std::to_string(element->id) + "," + element->name);
    return writeScheduleFile(scheduleListPath(true), lines, true);
}

bool isScheduleName(std::string_view name)
{
    return name.find_first_of(std::string_view(",\r\n\0", 4)) == std::string_view::npos;
}

ScheduleSaveResult CScheduleStore::AddSchedule(const std::string& name)
{
    if (!isScheduleName(name))
        return refused(0, "a schedule name cannot hold a comma, a line break or NUL");
    if (m_nextId == INT_MAX) // every identifier has been used
        return refused(kScheduleFileErrorMessage, "no schedule identifier left");
    auto element = std::make_unique<CScheduleList>();
    element->id = ++m_nextId;
    element->name = name;
    m_list.push_back(std::move(element));
    return SaveList();
}

ScheduleSaveResult CScheduleStore::DeleteSchedule(int index)
{
    const CScheduleList* element = listAt(index);
    if (element == nullptr)
        return refused();
    const int id = element->id;
    deleteEntryFile(id);
    m_list.erase(m_list.begin() + index);
    if (id == m_currentId) { // no later save may bring the deleted file back
        m_currentId = 0;
        clearEntries();
    }
    return SaveList();
}

int CScheduleStore::SelectSchedule(int index)
{
    const CScheduleList* element = listAt(index);
    if (element == nullptr)
        return 0;
    m_currentId = element->id;
    LoadEntries();
    return m_currentId;
}

std::optional<std::string> CScheduleStore::FindName(int id) const
{
    for (const auto& element : m_list)
        if (element->id == id)
            return element->name;
    return std::nullopt;
}

bool CScheduleStore::LoadEntries()
{
    if (m_currentId == 0)
        return false;
    clearEntries();
    CCsvLineFile file;
    const std::string path = scheduleEntryPath(m_currentId, false);
    if (path.empty() || !file.openRead(path))
        return false;
    while (file.readLine()) {
        if (isBlank(file.currentLine()))
            continue;
        if (file.nextInt(0) == 0) {
            auto entry = std::make_unique<ST_SCHEDULE_EVERY>();
            readActions(file, *entry);
            entry->dayMask = file.nextInt(0);
            m_every.push_back(std::move(entry));
        } else {
            auto entry = std::make_unique<ST_SCHEDULE_ESPECIAL>();
            readActions(file, *entry);
            readDate(file, entry->fromYear, entry->fromMonth, entry->fromDay);
            readDate(file, entry->toYear, entry->toMonth, entry->toDay);
            m_especial.push_back(std::move(entry));
        }
    }
    return true;
}

ScheduleSaveResult CScheduleStore::SaveEntries()
{
    if (m_currentId == 0)
        return {};
    std::vector<std::string> lines;
    lines.reserve(m_every.size() + m_especial.size());
    for (const auto& entry : m_every)
        lines.push_back(formatEntryLine(*entry));
    for (const auto& entry : m_especial)
        lines.push_back(formatEntryLine(*entry));
    return writeScheduleFile(scheduleEntryPath(m_currentId, true), lines, false);
}

ScheduleSaveResult CScheduleStore::AddEvery(const ST_SCHEDULE_EVERY& entry)
{
    m_every.push_back(std::make_unique<ST_SCHEDULE_EVERY>(entry));
    return SaveEntries();
}

ScheduleSaveResult CScheduleStore::AddEspecial(const ST_SCHEDULE_ESPECIAL& entry)
{
    m_especial.push_back(std::make_unique<ST_SCHEDULE_ESPECIAL>(entry));
    return SaveEntries();
}

ScheduleSaveResult CScheduleStore::DeleteEvery(int index)
{
    if (everyAt(index) == nullptr)
        return refused();
    m_every.erase(m_every.begin() + index);
    return SaveEntries();
}

ScheduleSaveResult CScheduleStore::DeleteEspecial(int index)
{
    if (especialAt(index) == nullptr)
        return refused();
    m_especial.erase(m_especial.begin() + index);
    return SaveEntries();
}

const CScheduleList* CScheduleStore::listAt(int index) const
{
    return entryAt(m_list, index);
}

ST_SCHEDULE_EVERY* CScheduleStore::everyAt(int index)
{
    return entryAt(m_every, index);
}

const ST_SCHEDULE_EVERY* CScheduleStore::everyAt(int index) const
{
    return entryAt(m_every, index);
}

ST_SCHEDULE_ESPECIAL* CScheduleStore::especialAt(int index)
{
    return entryAt(m_especial, index);
}

const ST_SCHEDULE_ESPECIAL* CScheduleStore::especialAt(int index) const
{
    return entryAt(m_especial, index);
}

void CScheduleStore::clearEntries()
{
    m_every.clear();
    m_especial.clear();
}

} // namespace lumivane
