#include "StatusPublisher.h"

#include "CMyLog.h"
#include "Clock.h"
#include "DataFolder.h"
#include "ServerEngine.h"
#include "ServerTexts.h"
#include "StatusList.h"
#include "Strings.h"
#include "TextEscape.h"
#include "tessera.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sys/stat.h>
#include <utility>

namespace lumivane {
namespace {

constexpr int kNotGetYetMessage = 566; // "(Not Get, yet)"

std::map<int, std::string> groupNames()
{
    std::map<int, std::string> names;
    const std::string path = dataFilePath("Groups.csv");
    struct stat info
    {
    };
    if (path.empty() || ::lstat(path.c_str(), &info) != 0)
        return names;
    TESSERA_GROUP groups = TESSERA_OpenGroup(path.c_str());
    if (groups == nullptr)
        return names;
    const int count = TESSERA_GetGroupCount(groups);
    for (int i = 0; i < count; ++i) {
        TESSERA_GROUP_DATA group{};
        if (TESSERA_GetGroupData(groups, i, &group))
            names[group.nGroupNo] = group.szName;
    }
    TESSERA_CloseGroup(groups);
    return names;
}

// The earliest remaining action of today of the monitor's schedule, when the monitor follows one.
std::optional<MonitorStatusEntry::NextAction> nextActionOf(const ServerPanel& panel,
                                                          const std::vector<ScheduleEvent>& today)
{
    for (const ScheduleEvent& event : today) { // sorted by time
        if (event.kind != ScheduleEvent::kScheduleAction || !panel.hasSchedule(event.scheduleId))
            continue;
        MonitorStatusEntry::NextAction next;
        next.time = event.time;
        next.powerOn = event.powerOn == 1;
        next.text = powerText(event.powerOn == 1 ? 1 : 0);
        if (event.powerOn == 1 && event.inputId != 0) {
            next.inputId = event.inputId;
            next.inputName = serverInputName(event.inputId);
        }
        return next;
    }
    return std::nullopt;
}

// One row of the status window, in the window's texts.
MonitorStatusEntry entryOf(const ServerPanel& panel, const std::map<int, std::string>& groups,
                           const std::vector<ScheduleEvent>& today)
{
    const MonitorState& state = panel.state;
    MonitorStatusEntry entry;
    entry.number = panel.data.nPanelNo;
    entry.name = panel.data.szName;
    entry.groupNumber = panel.data.nGroupNo;
    if (const auto group = groups.find(panel.data.nGroupNo); group != groups.end())
        entry.groupName = group->second;
    entry.hasState = state.hasStatus;
    entry.status = statusColumnText(panel);
    entry.power = state.power;
    entry.powerText = powerText(state.power);
    entry.inputId = shownInputId(state);
    entry.input = serverInputName(entry.inputId);
    entry.signal = shownSignalText(state);
    entry.statusFlags = state.statusFlags;
    entry.statusText = state.statusText;
    entry.lastCheck = state.lastCheck;
    entry.next = nextActionOf(panel, today);
    return entry;
}

// A label value of the text format: backslash, double quote and line feed escaped.
std::string labelValue(std::string_view text)
{
    std::string out;
    for (const char c : validUtf8(text)) {
        if (c == '\\' || c == '"')
            out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out;
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

void family(std::string& out, const char* name, const char* type, const char* help)
{
    out += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
}

} // namespace

void StatusPublisher::serverStarted()
{
    m_serverStarted = m_clock.now();
}

void StatusPublisher::runStarted()
{
    m_runStart = std::chrono::steady_clock::now();
}

void StatusPublisher::countScheduleAction(bool succeeded)
{
    ++m_actionsExecuted;
    if (!succeeded)
        ++m_actionsFailed;
}

void StatusPublisher::runEnded(const std::vector<ServerPanel>& copies, const std::vector<ServerPanel>& manualCopies)
{
    // A monitor can be in both lists (a schedule action joined a command from the status window).
    std::set<int> checked;
    std::set<int> inError;
    for (const std::vector<ServerPanel>* list : {&copies, &manualCopies}) {
        for (const ServerPanel& copy : *list) {
            if (!copy.handled)
                continue;
            checked.insert(copy.data.nPanelNo);
            if (copy.state.statusFlags != 0)
                inError.insert(copy.data.nPanelNo);
        }
    }
    m_lastRunEnd = m_clock.now();
    m_figures.anyRun = true;
    m_figures.durationSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_runStart).count();
    m_figures.monitorsChecked = static_cast<int>(checked.size());
    m_figures.monitorsInError = static_cast<int>(inError.size());
    m_metricsDue = true;
}

RunFigures StatusPublisher::figures() const
{
    RunFigures figures = m_figures;
    figures.actionsExecuted = m_actionsExecuted;
    figures.actionsFailed = m_actionsFailed;
    return figures;
}

ServerStatus StatusPublisher::snapshot(const ServerEngine& engine, bool running) const
{
    const OperatorSettings settings = engine.settings();
    ServerStatus status;
    status.written = m_clock.now();
    status.serverStarted = m_serverStarted;
    status.lastPoll = m_lastRunEnd;
    status.running = running;
    status.monitoring = settings.monitoring != 0;
    status.pollIntervalMinutes = std::max(1, settings.interval);
    const std::map<int, std::string> groups = groupNames();
    const std::vector<ScheduleEvent> today = engine.todaysActions();
    for (const ServerPanel& panel : engine.livePanels()) {
        if (panel.data.bUse)
            status.monitors.push_back(entryOf(panel, groups, today));
    }
    return status;
}

void StatusPublisher::publish(const ServerEngine& engine, bool running)
{
    std::string error;
    const std::string statusPath = statusFilePath(true, &error);
    if (statusPath.empty()) {
        if (!error.empty())
            noteProblem("status file", error);
        return; // no data folder: nowhere to write
    }
    const ServerStatus status = snapshot(engine, running);
    writeFile("status file", statusPath, writeJson(statusToJson(status), 2) + "\n");
    const std::string metricsPath = engine.settings().metricsFile;
    if (!metricsPath.empty() && std::exchange(m_metricsDue, false))
        writeFile("metrics file", metricsPath, prometheusText(status, figures()));
}

void StatusPublisher::writeFile(const std::string& what, const std::string& path, const std::string& content)
{
    std::string error;
    if (replaceFileAtomically(path, content, error))
        m_problems.erase(what);
    else
        noteProblem(what, error);
}

void StatusPublisher::noteProblem(const std::string& what, const std::string& error)
{
    // Once, not after every run, until a write works again.
    std::string& last = m_problems[what];
    if (error != last)
        m_serverLog.Error("Cannot write the " + what + ": " + error);
    last = error;
}

std::string prometheusText(const ServerStatus& status, const RunFigures& figures)
{
    std::vector<const MonitorStatusEntry*> checked;
    for (const MonitorStatusEntry& monitor : status.monitors) {
        if (monitor.hasState)
            checked.push_back(&monitor);
    }
    const auto perMonitor = [&](std::string& out, const char* name, auto value) {
        for (const MonitorStatusEntry* monitor : checked)
            out += std::string(name) + "{number=\"" + std::to_string(monitor->number) + "\",name=\"" +
                   labelValue(monitor->name) + "\",group=\"" + labelValue(monitor->groupName) + "\"} " +
                   number(value(*monitor)) + "\n";
    };
    std::string out;
    family(out, "lumivane_monitor_up", "gauge", "Whether the monitor answered its last check (1) or not (0).");
    perMonitor(out, "lumivane_monitor_up",
               [](const MonitorStatusEntry& m) { return m.statusFlags == kConnectionErrorFlags ? 0.0 : 1.0; });
    family(out, "lumivane_monitor_power_on", "gauge", "Whether the monitor reported power on at its last check.");
    perMonitor(out, "lumivane_monitor_power_on",
               [](const MonitorStatusEntry& m) { return m.statusFlags == 0 && m.power == 1 ? 1.0 : 0.0; });
    family(out, "lumivane_monitor_error_flags", "gauge",
           "Status flags of the last check: 0 good, 1073741824 no usable answer, else the monitor's error bits.");
    perMonitor(out, "lumivane_monitor_error_flags", [](const MonitorStatusEntry& m) { return double(m.statusFlags); });
    family(out, "lumivane_monitor_last_check_timestamp_seconds", "gauge",
           "Time of the monitor's last check or failed command, seconds since the epoch.");
    perMonitor(out, "lumivane_monitor_last_check_timestamp_seconds",
               [](const MonitorStatusEntry& m) { return double(m.lastCheck); });
    if (figures.anyRun) {
        family(out, "lumivane_run_duration_seconds", "gauge", "Duration of the last run of the server.");
        out += "lumivane_run_duration_seconds " + number(figures.durationSeconds) + "\n";
        family(out, "lumivane_run_monitors_checked", "gauge", "Monitors the last run checked or commanded.");
        out += "lumivane_run_monitors_checked " + std::to_string(figures.monitorsChecked) + "\n";
        family(out, "lumivane_run_monitors_in_error", "gauge", "Monitors the last run left with a nonzero status.");
        out += "lumivane_run_monitors_in_error " + std::to_string(figures.monitorsInError) + "\n";
    }
    family(out, "lumivane_schedule_actions_executed_total", "counter",
           "Schedule actions carried out on a monitor since the server started.");
    out += "lumivane_schedule_actions_executed_total " + std::to_string(figures.actionsExecuted) + "\n";
    family(out, "lumivane_schedule_actions_failed_total", "counter",
           "Schedule actions since the server started whose command to the monitor failed.");
    out += "lumivane_schedule_actions_failed_total " + std::to_string(figures.actionsFailed) + "\n";
    family(out, "lumivane_server_start_time_seconds", "gauge", "Time the server started, seconds since the epoch.");
    out += "lumivane_server_start_time_seconds " + std::to_string(status.serverStarted) + "\n";
    return out;
}

} // namespace lumivane
