#include "PanelRegistry.h"

#include "DataFolder.h"
#include "ModelLookup.h"
#include "MonitorLink.h"
#include "Utf8.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <sys/stat.h>

namespace lumivane {
namespace {

bool exists(const std::string& path)
{
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0;
}

std::string lowerCase(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::vector<TESSERA_PANEL_DATA> readPanels(TESSERA_PANEL handle)
{
    std::vector<TESSERA_PANEL_DATA> panels(static_cast<size_t>(TESSERA_GetPanelCount(handle)));
    for (size_t i = 0; i < panels.size(); ++i)
        TESSERA_GetPanelData(handle, static_cast<int>(i), &panels[i]);
    return panels;
}

std::vector<TESSERA_GROUP_DATA> readGroups(TESSERA_GROUP handle)
{
    std::vector<TESSERA_GROUP_DATA> groups(static_cast<size_t>(TESSERA_GetGroupCount(handle)));
    for (size_t i = 0; i < groups.size(); ++i)
        TESSERA_GetGroupData(handle, static_cast<int>(i), &groups[i]);
    return groups;
}

thread_local int t_lockDepth = 0;
thread_local std::function<void()> t_heldBack;

} // namespace

StoreLock::StoreLock()
{
    TESSERA_Lock();
    ++t_lockDepth;
}

StoreLock::~StoreLock()
{
    TESSERA_Unlock();
    if (--t_lockDepth == 0 && t_heldBack) {
        const std::function<void()> show = std::move(t_heldBack);
        t_heldBack = nullptr;
        show();
    }
}

bool StoreLock::heldByThisThread()
{
    return t_lockDepth > 0;
}

void showAfterStoreUnlock(std::function<void()> show)
{
    if (t_lockDepth > 0)
        t_heldBack = std::move(show);
    else if (show)
        show();
}

std::string panelNumberPrefix(int panelNo)
{
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "[%03d]", panelNo);
    return prefix;
}

std::string foundMonitorName(const TESSERA_PANEL_DATA& data, int panelNo)
{
    std::string name = panelNumberPrefix(panelNo) + " ";
    name += data.nInterface == 1 ? ipv4Text(data.dwIPAddress) : "COM" + std::to_string(data.nComPort);
    if (data.nMonitorID != 0)
        name += " ID" + std::to_string(data.nMonitorID);
    return name;
}

int validateMonitorName(std::string_view name, const TESSERA_PANEL_DATA& monitor,
                        const std::vector<TESSERA_PANEL_DATA>& others)
{
    if (name.empty())
        return 147;
    if (name.find_first_of("\\/:*?\"<>|") != std::string_view::npos)
        return 169;
    const ModelCode model = modelFromName(monitor.szModel, monitor.nModelFlags);
    if (model.kind() == 7 && model.variant() == 6 && name.rfind(panelNumberPrefix(monitor.nPanelNo), 0) != 0)
        return 454;
    const std::string lower = lowerCase(name);
    for (const TESSERA_PANEL_DATA& other : others)
        if (other.nPanelNo != monitor.nPanelNo && lowerCase(other.szName) == lower)
            return 170;
    return 0;
}

PanelRegistry::PanelRegistry(std::string folder)
    : m_panelsPath(folder + "/Panels.csv"), m_groupsPath(folder + "/Groups.csv")
{
}

PanelRegistry::PanelRegistry() : PanelRegistry(dataFolder(true)) {}

TESSERA_PANEL_DATA PanelRegistry::newMonitorDefaults()
{
    TESSERA_PANEL_DATA data{};
    data.nMdelValue = 1;
    data.dwIPAddress = (192u << 24) | (168u << 16) | (150u << 8) | 2u;
    data.nDataPort = 10008;
    data.nComPort = 1;
    data.nBaudRate = 9600;
    data.bUse = 1;
    data.bMonitoring = 1;
    return data;
}

std::vector<TESSERA_PANEL_DATA> PanelRegistry::panels() const
{
    if (!exists(m_panelsPath))
        return {};
    TESSERA_PANEL handle = TESSERA_OpenPanel(m_panelsPath.c_str());
    std::vector<TESSERA_PANEL_DATA> panels = handle ? readPanels(handle) : std::vector<TESSERA_PANEL_DATA>{};
    TESSERA_ClosePanel(handle);
    return panels;
}

std::vector<TESSERA_GROUP_DATA> PanelRegistry::groups() const
{
    if (!exists(m_groupsPath))
        return {};
    TESSERA_GROUP handle = TESSERA_OpenGroup(m_groupsPath.c_str());
    std::vector<TESSERA_GROUP_DATA> groups = handle ? readGroups(handle) : std::vector<TESSERA_GROUP_DATA>{};
    TESSERA_CloseGroup(handle);
    return groups;
}

// Runs `change(handle)` on the panel list between lock and unlock; saves when it returns true.
template <typename Change>
bool PanelRegistry::changePanels(Change change)
{
    const StoreLock lock;
    TESSERA_PANEL handle = TESSERA_OpenPanel(exists(m_panelsPath) ? m_panelsPath.c_str() : nullptr);
    if (!handle) {
        m_error = TESSERA_GetLastErrorMessage();
        return false;
    }
    const bool changed = change(handle);
    const bool saved = changed && TESSERA_SavePanel(handle, m_panelsPath.c_str()) == 1;
    if (changed && !saved)
        m_error = TESSERA_GetLastErrorMessage();
    TESSERA_ClosePanel(handle);
    return saved;
}

template <typename Change>
bool PanelRegistry::changeGroups(Change change)
{
    const StoreLock lock;
    TESSERA_GROUP handle = TESSERA_OpenGroup(exists(m_groupsPath) ? m_groupsPath.c_str() : nullptr);
    if (!handle) {
        m_error = TESSERA_GetLastErrorMessage();
        return false;
    }
    const bool changed = change(handle);
    const bool saved = changed && TESSERA_SaveGroup(handle, m_groupsPath.c_str()) == 1;
    if (changed && !saved)
        m_error = TESSERA_GetLastErrorMessage();
    TESSERA_CloseGroup(handle);
    return saved;
}

template <typename Naming>
std::optional<TESSERA_PANEL_DATA> PanelRegistry::insertWithNextNumber(TESSERA_PANEL_DATA data, int groupNo,
                                                                      Naming naming)
{
    m_error.clear();
    const bool added = changePanels([&](TESSERA_PANEL handle) {
        int largest = 0;
        for (const TESSERA_PANEL_DATA& panel : readPanels(handle))
            largest = std::max(largest, panel.nPanelNo);
        data.nPanelNo = largest + 1;
        data.nGroupNo = groupNo;
        copyToField(data.szName, sizeof data.szName, naming(data));
        return TESSERA_InsertPanelData(handle, -1, &data) == 1;
    });
    return added ? std::optional(data) : std::nullopt;
}

std::optional<TESSERA_PANEL_DATA> PanelRegistry::addMonitor(TESSERA_PANEL_DATA data, int groupNo,
                                                            std::optional<std::string> name)
{
    return insertWithNextNumber(data, groupNo, [&name](const TESSERA_PANEL_DATA& added) {
        return name ? *name : panelNumberPrefix(added.nPanelNo);
    });
}

std::optional<TESSERA_PANEL_DATA> PanelRegistry::addFoundMonitor(TESSERA_PANEL_DATA data, int groupNo)
{
    return insertWithNextNumber(data, groupNo,
                                [](const TESSERA_PANEL_DATA& added) { return foundMonitorName(added, added.nPanelNo); });
}

bool PanelRegistry::updateMonitor(const TESSERA_PANEL_DATA& data)
{
    m_error.clear();
    return changePanels([&](TESSERA_PANEL handle) {
        const int index = TESSERA_FindPanelData(handle, data.nPanelNo, nullptr);
        if (index < 0) {
            m_error = "This monitor does not exist. This monitor might be deleted already.";
            return false;
        }
        return TESSERA_SetPanelData(handle, index, &data) == 1;
    });
}

StoreChange PanelRegistry::replaceMonitor(int oldNumber, TESSERA_PANEL_DATA& data)
{
    m_error.clear();
    StoreChange outcome = StoreChange::Failed;
    changePanels([&](TESSERA_PANEL handle) {
        if (data.nPanelNo != oldNumber && TESSERA_FindPanelData(handle, data.nPanelNo, nullptr) >= 0) {
            outcome = StoreChange::NumberTaken;
            return false;
        }
        TESSERA_PANEL_DATA stored{};
        const int index = TESSERA_FindPanelData(handle, oldNumber, &stored);
        if (index < 0) {
            outcome = StoreChange::Missing;
            return false;
        }
        // The server hands out the status key while the console edits: keep the one in the file.
        data.nStatusKey = stored.nStatusKey;
        if (TESSERA_SetPanelData(handle, index, &data) != 1) {
            m_error = TESSERA_GetLastErrorMessage();
            return false;
        }
        outcome = StoreChange::Done;
        return true;
    });
    if (outcome == StoreChange::Done && !m_error.empty())
        outcome = StoreChange::Failed; // the save failed
    return outcome;
}

StoreChange PanelRegistry::changeMonitor(int number, const std::function<void(TESSERA_PANEL_DATA&)>& change)
{
    m_error.clear();
    StoreChange outcome = StoreChange::Failed;
    const bool saved = changePanels([&](TESSERA_PANEL handle) {
        TESSERA_PANEL_DATA stored{};
        const int index = TESSERA_FindPanelData(handle, number, &stored);
        if (index < 0) {
            outcome = StoreChange::Missing;
            return false;
        }
        change(stored);
        stored.nPanelNo = number;
        if (TESSERA_SetPanelData(handle, index, &stored) != 1) {
            m_error = TESSERA_GetLastErrorMessage();
            return false;
        }
        return true;
    });
    return saved ? StoreChange::Done : outcome;
}

std::optional<std::vector<int>> PanelRegistry::clearSchedule(int scheduleNo)
{
    m_error.clear();
    std::vector<int> cleared;
    const bool saved = changePanels([&](TESSERA_PANEL handle) {
        for (int i = 0; i < TESSERA_GetPanelCount(handle); ++i) {
            TESSERA_PANEL_DATA panel{};
            if (!TESSERA_GetPanelData(handle, i, &panel) || !panel.bSchedule || panel.nScheduleNo != scheduleNo)
                continue;
            panel.bSchedule = 0;
            panel.nScheduleNo = 0;
            TESSERA_SetPanelData(handle, i, &panel);
            cleared.push_back(panel.nPanelNo);
        }
        return !cleared.empty();
    });
    if (!saved && !m_error.empty())
        return std::nullopt;
    return saved ? cleared : std::vector<int>{};
}

bool PanelRegistry::removeMonitors(const std::vector<int>& numbers)
{
    m_error.clear();
    const std::set<int> doomed(numbers.begin(), numbers.end());
    return changePanels([&](TESSERA_PANEL handle) {
        for (int i = TESSERA_GetPanelCount(handle) - 1; i >= 0; --i) {
            TESSERA_PANEL_DATA panel{};
            TESSERA_GetPanelData(handle, i, &panel);
            if (doomed.count(panel.nPanelNo))
                TESSERA_DeletePanelData(handle, i);
        }
        return true;
    });
}

template <typename Choice>
bool PanelRegistry::setScheduleWhere(Choice chosen, int scheduleNo)
{
    m_error.clear();
    return changePanels([&](TESSERA_PANEL handle) {
        for (int i = 0; i < TESSERA_GetPanelCount(handle); ++i) {
            TESSERA_PANEL_DATA panel{};
            TESSERA_GetPanelData(handle, i, &panel);
            if (!chosen(panel))
                continue;
            panel.bSchedule = scheduleNo != 0;
            panel.nScheduleNo = scheduleNo;
            if (TESSERA_SetPanelData(handle, i, &panel) != 1)
                return false;
        }
        return true;
    });
}

bool PanelRegistry::assignSchedule(const std::vector<int>& numbers, int scheduleNo)
{
    const std::set<int> chosen(numbers.begin(), numbers.end());
    return setScheduleWhere([&](const TESSERA_PANEL_DATA& panel) { return chosen.count(panel.nPanelNo) != 0; },
                            scheduleNo);
}

bool PanelRegistry::removeMonitorsInGroup(int groupNo)
{
    std::vector<int> numbers;
    for (const TESSERA_PANEL_DATA& panel : panels())
        if (panel.nGroupNo == groupNo)
            numbers.push_back(panel.nPanelNo);
    return numbers.empty() || removeMonitors(numbers);
}

std::optional<TESSERA_GROUP_DATA> PanelRegistry::addGroup(std::string_view name, int parentNo)
{
    m_error.clear();
    TESSERA_GROUP_DATA group{};
    copyToField(group.szName, sizeof group.szName, name);
    group.nParentNo = parentNo;
    const bool added = changeGroups([&](TESSERA_GROUP handle) { return TESSERA_InsertGroupData(handle, -1, &group) == 1; });
    return added ? std::optional(group) : std::nullopt;
}

StoreChange PanelRegistry::changeGroup(int groupNo, std::string_view name, int parentNo)
{
    m_error.clear();
    StoreChange outcome = StoreChange::Failed;
    changeGroups([&](TESSERA_GROUP handle) {
        const int index = TESSERA_FindGroupData(handle, groupNo, nullptr);
        if (index < 0) {
            outcome = StoreChange::Missing;
            return false;
        }
        TESSERA_GROUP_DATA group{};
        group.nGroupNo = groupNo;
        group.nParentNo = parentNo;
        copyToField(group.szName, sizeof group.szName, name);
        if (TESSERA_SetGroupData(handle, index, &group) != 1) {
            m_error = TESSERA_GetLastErrorMessage();
            return false;
        }
        outcome = StoreChange::Done;
        return true;
    });
    if (outcome == StoreChange::Done && !m_error.empty())
        outcome = StoreChange::Failed;
    return outcome;
}

bool PanelRegistry::removeGroupRecord(int groupNo)
{
    m_error.clear();
    return changeGroups([&](TESSERA_GROUP handle) {
        const int index = TESSERA_FindGroupData(handle, groupNo, nullptr);
        return index < 0 || TESSERA_DeleteGroupData(handle, index) == 1;
    });
}

bool PanelRegistry::removeGroup(int groupNo)
{
    m_error.clear();
    std::set<int> doomed{groupNo};
    const bool removed = changeGroups([&](TESSERA_GROUP handle) {
        if (TESSERA_FindGroupData(handle, groupNo, nullptr) < 0) {
            m_error = "This group does not exist. This group might be deleted already.";
            return false;
        }
        // Collect the sub-groups of every depth, then remove them all.
        const std::vector<TESSERA_GROUP_DATA> groups = readGroups(handle);
        for (bool grew = true; grew;) {
            grew = false;
            for (const TESSERA_GROUP_DATA& group : groups)
                if (doomed.count(group.nParentNo) && doomed.insert(group.nGroupNo).second)
                    grew = true;
        }
        for (int i = TESSERA_GetGroupCount(handle) - 1; i >= 0; --i) {
            TESSERA_GROUP_DATA group{};
            TESSERA_GetGroupData(handle, i, &group);
            if (doomed.count(group.nGroupNo))
                TESSERA_DeleteGroupData(handle, i);
        }
        return true;
    });
    if (!removed)
        return false;
    std::vector<int> monitors;
    for (const TESSERA_PANEL_DATA& panel : panels())
        if (doomed.count(panel.nGroupNo))
            monitors.push_back(panel.nPanelNo);
    return monitors.empty() || removeMonitors(monitors);
}

} // namespace lumivane
