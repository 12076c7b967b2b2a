#include "StatusList.h"

#include "ServerStatus.h"
#include "ServerTexts.h"
#include "Strings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace lumivane {
namespace {

constexpr int kNoValueMessage = 111; // "---"
constexpr int kNotYetMessage = 566;
constexpr int kNoScheduleMessage = 544;

bool showsPicture(const MonitorState& state)
{
    return state.hasStatus && state.statusFlags == 0 && state.power == 1;
}

std::tm localTime(std::time_t time)
{
    std::tm local{};
    localtime_r(&time, &local);
    return local;
}

std::string clockText(std::time_t time)
{
    const std::tm local = localTime(time);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", local.tm_hour, local.tm_min);
    return text;
}

std::string dateText(std::time_t time)
{
    const std::tm local = localTime(time);
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return text;
}

int statusImage(const MonitorState& state)
{
    if (!state.hasStatus)
        return statusImages::kNotYet;
    if (state.statusFlags != 0)
        return state.statusFlags == kConnectionErrorFlags ? statusImages::kConnectionError : statusImages::kError;
    if (state.power == 1)
        return statusImages::kPowerOn;
    return state.power == 2 ? statusImages::kSignalWaiting : statusImages::kPowerOff;
}

std::optional<ScheduleEvent> nextActionOf(const ServerPanel& panel, const NextActionLookup& nextAction)
{
    if (!panel.data.bSchedule || !nextAction)
        return std::nullopt;
    return nextAction(panel.data.nScheduleNo);
}

StatusRow makeRow(const ServerPanel& panel, const NextActionLookup& nextAction, std::time_t now)
{
    StatusRow row;
    row.panel = panel;
    const MonitorState& state = panel.state;
    row.image = statusImage(state);
    row.status = statusColumnText(panel);
    row.input = serverInputName(shownInputId(state));
    row.signal = shownSignalText(state);
    row.monitoringTime = monitoringTimeText(state.hasStatus, state.lastCheck, now);
    row.nextAction = nextActionOf(panel, nextAction);
    if (row.nextAction) {
        row.schedule = clockText(row.nextAction->time);
        row.scheduleImage = row.nextAction->powerOn ? statusImages::kPowerOn : statusImages::kPowerOff;
    } else {
        row.schedule = messageText(kNoScheduleMessage);
    }
    return row;
}

// Byte by byte, as the bytes stand (no locale, no case folding).
int compareBytes(const std::string& a, const std::string& b)
{
    const int order = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    if (order != 0)
        return order;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

template <typename T> int compareValues(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int compareStatus(const MonitorState& a, const MonitorState& b)
{
    if (a.hasStatus != b.hasStatus)
        return a.hasStatus ? 1 : -1;
    if (const int order = compareValues(a.statusFlags, b.statusFlags); order != 0)
        return order;
    return a.statusFlags == 0 ? compareValues(a.power, b.power) : 0;
}

int compareTimes(const MonitorState& a, const MonitorState& b)
{
    if (a.hasStatus != b.hasStatus)
        return a.hasStatus ? 1 : -1;
    return compareValues(a.lastCheck, b.lastCheck);
}

int compareSchedules(const StatusRow& a, const StatusRow& b)
{
    if (a.nextAction.has_value() != b.nextAction.has_value())
        return a.nextAction ? 1 : -1;
    return a.nextAction ? compareValues(a.nextAction->time, b.nextAction->time) : 0;
}

int compareRows(const StatusRow& a, const StatusRow& b, StatusColumn column)
{
    switch (column) {
    case StatusColumn::Name:
        return compareBytes(a.name(), b.name());
    case StatusColumn::Status:
        return compareStatus(a.panel.state, b.panel.state);
    case StatusColumn::Input:
        return compareValues(a.panel.state.inputId, b.panel.state.inputId);
    case StatusColumn::Signal:
        return compareBytes(a.panel.state.signalText, b.panel.state.signalText);
    case StatusColumn::MonitoringTime:
        return compareTimes(a.panel.state, b.panel.state);
    case StatusColumn::Schedule:
        return compareSchedules(a, b);
    }
    return 0;
}

void addLine(PropertyLines& lines, int headerMessage, std::string data)
{
    lines.emplace_back(messageText(headerMessage), std::move(data));
}

std::string scheduleText(const std::optional<ScheduleEvent>& nextAction)
{
    if (!nextAction)
        return messageText(kNoScheduleMessage);
    return clockText(nextAction->time) + " - " + powerText(nextAction->powerOn ? 1 : 0);
}

} // namespace

std::vector<int> groupsUnder(int groupNo, const std::vector<TESSERA_GROUP_DATA>& groups)
{
    std::vector<int> found{groupNo};
    // Breadth first over the parent links; a group is taken once, so a loop in the file cannot hang us.
    for (size_t next = 0; next < found.size(); ++next) {
        for (const TESSERA_GROUP_DATA& group : groups) {
            if (group.nParentNo == found[next] && group.nGroupNo != 0 &&
                std::find(found.begin(), found.end(), group.nGroupNo) == found.end())
                found.push_back(group.nGroupNo);
        }
    }
    return found;
}

std::vector<StatusRow> statusRows(const std::vector<ServerPanel>& live, const std::vector<int>& groups,
                                  const NextActionLookup& nextAction, std::time_t now)
{
    std::vector<StatusRow> rows;
    for (const ServerPanel& panel : live) {
        if (panel.data.bUse && std::find(groups.begin(), groups.end(), panel.data.nGroupNo) != groups.end())
            rows.push_back(makeRow(panel, nextAction, now));
    }
    return rows;
}

void sortStatusRows(std::vector<StatusRow>& rows, StatusColumn column, bool ascending)
{
    std::stable_sort(rows.begin(), rows.end(), [column, ascending](const StatusRow& a, const StatusRow& b) {
        const int order = compareRows(a, b, column);
        return ascending ? order < 0 : order > 0;
    });
}

std::string statusColumnText(const ServerPanel& panel)
{
    const MonitorState& state = panel.state;
    if (!state.hasStatus)
        return messageText(kNotYetMessage);
    return shortStatusText(state.statusFlags, monitorModel(panel.data), state.power);
}

InputModeIndex shownInputId(const MonitorState& state)
{
    return showsPicture(state) ? state.inputId : 0;
}

std::string shownSignalText(const MonitorState& state)
{
    return showsPicture(state) && !state.signalText.empty() ? state.signalText : std::string(messageText(kNoValueMessage));
}

StatusMenuState statusMenuState(const std::vector<const ServerPanel*>& selected, int authority, bool propertyOpen,
                                bool runInProgress, bool modalOpen)
{
    StatusMenuState menu;
    const bool one = selected.size() == 1;
    if (one && authority == 1) {
        const TESSERA_PANEL_DATA& data = selected.front()->data;
        menu.browse = data.nInterface == 1 && (data.szMACAddress[0] != '\0' || data.nMonitorID == 0);
    }
    menu.property = one && !propertyOpen;
    menu.commands = !runInProgress && !modalOpen;
    return menu;
}

std::string browseAddress(const TESSERA_PANEL_DATA& monitor)
{
    return "http://" + ipAddressText(monitor.dwIPAddress) + "/";
}

PropertyLines monitorInformationLines(const ServerPanel& panel, const std::optional<ScheduleEvent>& nextAction)
{
    const TESSERA_PANEL_DATA& data = panel.data;
    PropertyLines lines;
    addLine(lines, 536, data.szName);
    addLine(lines, 548, shownModelName(data.szModel));
    if (data.szSerialNo[0] != '\0')
        addLine(lines, 580, data.szSerialNo);
    if (panel.isLan()) {
        addLine(lines, 581, ipAddressText(data.dwIPAddress));
        addLine(lines, 582, std::to_string(data.nDataPort));
        if (data.szMACAddress[0] != '\0')
            addLine(lines, 583, data.szMACAddress);
    } else {
        addLine(lines, 579, "COM" + std::to_string(data.nComPort));
    }
    if (data.nMonitorID != 0)
        addLine(lines, 585, std::to_string(data.nMonitorID));
    lines.emplace_back("Monitoring Target", messageText(data.bMonitoring ? 587 : 588));
    addLine(lines, 564, scheduleText(nextAction));
    return lines;
}

PropertyLines monitorStatusLines(const ServerPanel& panel)
{
    const MonitorState& state = panel.state;
    PropertyLines lines;
    if (!state.hasStatus) {
        addLine(lines, 545, messageText(kNotYetMessage));
        return lines;
    }
    if (state.statusFlags != 0) {
        addLine(lines, 545, shortStatusText(state.statusFlags, monitorModel(panel.data), state.power));
        addLine(lines, 584, state.statusText);
    } else {
        addLine(lines, 549, powerText(state.power));
        if (state.power == 1) {
            addLine(lines, 550, serverInputName(state.inputId));
            if (!state.signalText.empty())
                addLine(lines, 562, state.signalText);
            if (state.workTime >= 0)
                addLine(lines, 546, std::to_string(state.workTime));
        }
    }
    addLine(lines, 563, dateText(state.lastCheck) + " " + clockText(state.lastCheck));
    return lines;
}

bool ErrorListEntries::add(std::string monitorName, std::string text)
{
    if (m_entries.size() >= kCapacity)
        return false;
    m_entries.emplace_back(std::move(monitorName), std::move(text));
    return true;
}

} // namespace lumivane
