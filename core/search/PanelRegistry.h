#pragma once

#include "tessera.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

// Holds the store's machine-wide lock for its lifetime. Every change of the store files happens inside
// one: lock, open, change, save, close, unlock.
class StoreLock
{
public:
    StoreLock();
    ~StoreLock(); // releases the lock, then shows what showAfterStoreUnlock() held back
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    // True while the calling thread holds a StoreLock.
    static bool heldByThisThread();
};

// Runs `show` (a message box) at once when this thread holds no StoreLock, else right after its outermost
// StoreLock is released: a box left open under the lock would keep the server's reload waiting on the
// operator. A later message replaces one still waiting, so the last error is the one shown.
void showAfterStoreUnlock(std::function<void()> show);

// Outcome of a change that the registration form makes.
enum class StoreChange
{
    Done,
    Failed,          // the store could not open or save the file; lastError() says why
    NumberTaken,     // another monitor already has the new panel number
    Missing,         // the monitor or group is no longer in the file
};

// The registered monitors and groups as the programs change them: every change takes the store's lock,
// re-reads the file, changes it, saves and closes, so that the console, the server and lumictl never
// lose each other's changes. Reads for display go without the lock.
class PanelRegistry
{
public:
    // The store files in `folder` (the data folder by default).
    explicit PanelRegistry(std::string folder);
    PanelRegistry();

    const std::string& panelsPath() const { return m_panelsPath; }
    const std::string& groupsPath() const { return m_groupsPath; }

    // The values a new monitor gets.
    static TESSERA_PANEL_DATA newMonitorDefaults();

    std::vector<TESSERA_PANEL_DATA> panels() const;
    std::vector<TESSERA_GROUP_DATA> groups() const;

    // Adds a monitor with the next panel number to `groupNo`: `data` with number, group and name set.
    // The name is "[%03d]" of the number, or `name` when given.
    std::optional<TESSERA_PANEL_DATA> addMonitor(TESSERA_PANEL_DATA data, int groupNo,
                                                 std::optional<std::string> name = std::nullopt);
    // Adds a monitor found by a search, named by its address or port and ID ("[%03d] 192.168.0.5 ID2").
    std::optional<TESSERA_PANEL_DATA> addFoundMonitor(TESSERA_PANEL_DATA data, int groupNo);
    // Replaces the monitor with data.nPanelNo.
    bool updateMonitor(const TESSERA_PANEL_DATA& data);
    // Replaces monitor `oldNumber` with `data` (which may carry a new number), keeping the status key the
    // server gave it meanwhile; `data` comes back with that key.
    StoreChange replaceMonitor(int oldNumber, TESSERA_PANEL_DATA& data);
    // Changes monitor `number` as the file holds it now: `change` gets the stored record under the lock,
    // so that fields it leaves alone keep what others wrote meanwhile. The panel number stays.
    StoreChange changeMonitor(int number, const std::function<void(TESSERA_PANEL_DATA&)>& change);
    // Clears the schedule of every monitor in the file assigned to `scheduleNo`; the numbers cleared, or
    // nothing when the file could not be changed.
    std::optional<std::vector<int>> clearSchedule(int scheduleNo);
    // Removes the monitors with these numbers; unknown numbers are ignored.
    bool removeMonitors(const std::vector<int>& numbers);
    // Gives the monitors with these numbers schedule `scheduleNo` (0: none); unknown numbers are ignored.
    bool assignSchedule(const std::vector<int>& numbers, int scheduleNo);
    // Removes the monitors directly in `groupNo` (0: the root).
    bool removeMonitorsInGroup(int groupNo);

    std::optional<TESSERA_GROUP_DATA> addGroup(std::string_view name, int parentNo);
    // Renames the group and gives it a new parent.
    StoreChange changeGroup(int groupNo, std::string_view name, int parentNo);
    // Removes the group, its sub-groups and every monitor in them.
    bool removeGroup(int groupNo);
    // Removes the group's own line only; its sub-groups and monitors stay.
    bool removeGroupRecord(int groupNo);

    // The reason of the last failure.
    const std::string& lastError() const { return m_error; }

private:
    template <typename Change>
    bool changePanels(Change change);
    // Sets the schedule of every monitor for which `chosen` is true.
    template <typename Choice>
    bool setScheduleWhere(Choice chosen, int scheduleNo);
    template <typename Change>
    bool changeGroups(Change change);
    template <typename Naming>
    std::optional<TESSERA_PANEL_DATA> insertWithNextNumber(TESSERA_PANEL_DATA data, int groupNo, Naming naming);

    std::string m_panelsPath;
    std::string m_groupsPath;
    std::string m_error;
};

// The name a search gives a found monitor.
std::string foundMonitorName(const TESSERA_PANEL_DATA& data, int panelNo);

// Checks a monitor name as the registration form does. 0 when it may be stored, else the number of the
// message that says why: 147 empty, 169 a character that file names cannot hold, 454 a monitor whose
// name must keep its "[%03d]" prefix, 170 the same name as another monitor (ignoring case).
int validateMonitorName(std::string_view name, const TESSERA_PANEL_DATA& monitor,
                        const std::vector<TESSERA_PANEL_DATA>& others);

// "[%03d]" of a panel number.
std::string panelNumberPrefix(int panelNo);

} // namespace lumivane
