#pragma once

#include "DayPlan.h"
#include "ServerPanel.h"

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lumivane {

// The pictures of the status list, by their place in the list's image strip.
namespace statusImages {
inline constexpr int kNone = -1;
inline constexpr int kConnectionError = 4;
inline constexpr int kNotYet = 8;
inline constexpr int kPowerOff = 13;
inline constexpr int kPowerOn = 14;
inline constexpr int kSignalWaiting = 15;
inline constexpr int kError = 16;
} // namespace statusImages

// The columns of the status list, in their order.
enum class StatusColumn
{
    Name = 0,
    Status,
    Input,
    Signal,
    MonitoringTime,
    Schedule,
};
inline constexpr int kStatusColumnCount = 6;

// One line of the status list: a copy of the monitor taken when the list was filled, and what each column
// shows.
struct StatusRow
{
    ServerPanel panel;
    std::optional<ScheduleEvent> nextAction; // the monitor's earliest remaining schedule action of today
    int image = statusImages::kNone;         // beside the name
    std::string status;
    std::string input;
    std::string signal;
    std::string monitoringTime;
    std::string schedule;
    int scheduleImage = statusImages::kNone;

    int number() const { return panel.data.nPanelNo; }
    std::string name() const { return panel.data.szName; }
};

// The earliest remaining action of today of a schedule.
using NextActionLookup = std::function<std::optional<ScheduleEvent>(int scheduleId)>;

// The group and every group below it; for the root (0) that is 0, where monitors outside any group are,
// and every group.
std::vector<int> groupsUnder(int groupNo, const std::vector<TESSERA_GROUP_DATA>& groups);

// The lines for the monitors in use whose group is among `groups`, in list order.
std::vector<StatusRow> statusRows(const std::vector<ServerPanel>& live, const std::vector<int>& groups,
                                  const NextActionLookup& nextAction, std::time_t now);

// Sorts by a column; the order of equal lines stays.
void sortStatusRows(std::vector<StatusRow>& rows, StatusColumn column, bool ascending);

// The columns of the last check, as the status window, status.json and lumictl show them: the short status
// ("(Not Get, yet)" without a state), and the input and signal, which are shown only for a monitor that was
// on and good ("---" otherwise).
std::string statusColumnText(const ServerPanel& panel);
InputModeIndex shownInputId(const MonitorState& state);
std::string shownSignalText(const MonitorState& state);

// What the list's context menu offers for the selected lines.
struct StatusMenuState
{
    bool browse = false;   // "Browse..." is in the menu at all
    bool property = false; // "Property..." can be chosen
    bool commands = false; // "On", "Off" and "Get Status" can be chosen
};
// `authority`: 1 Administrator, 2 Normal Operator, 3 Restricted Operator.
StatusMenuState statusMenuState(const std::vector<const ServerPanel*>& selected, int authority, bool propertyOpen,
                                bool runInProgress, bool modalOpen);

// "http://a.b.c.d/" of a LAN monitor.
std::string browseAddress(const TESSERA_PANEL_DATA& monitor);

// The two lists of the property dialog: (header, data) pairs.
using PropertyLines = std::vector<std::pair<std::string, std::string>>;
PropertyLines monitorInformationLines(const ServerPanel& panel, const std::optional<ScheduleEvent>& nextAction);
PropertyLines monitorStatusLines(const ServerPanel& panel);

// The error list's (monitor name, message) pairs: at most kCapacity, further ones are dropped. Pairs wait here
// while the list is not shown and stay as its lines while it is.
class ErrorListEntries
{
public:
    static constexpr size_t kCapacity = 100;

    // False when the list was full and the pair dropped.
    bool add(std::string monitorName, std::string text);
    const std::vector<std::pair<std::string, std::string>>& entries() const { return m_entries; }
    bool empty() const { return m_entries.empty(); }

private:
    std::vector<std::pair<std::string, std::string>> m_entries;
};

} // namespace lumivane
