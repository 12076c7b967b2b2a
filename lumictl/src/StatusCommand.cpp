#include "StatusCommand.h"

#include "ServerStatus.h"
#include "SharedFile.h"
#include "TargetSelection.h"
#include "TextEscape.h"
#include "WindowMessage.h"

#include <algorithm>
#include <ctime>
#include <set>
#include <sys/stat.h>

namespace lumivane::ctl {

const char* const kStatusHelp =
    "usage: lumictl status [TARGET...] [--json]\n"
    "The monitors' state as the monitoring server wrote it after its last run (Status/status.json in the\n"
    "data folder): status, input, signal, time of the last check and the next schedule action of today.\n"
    "Without a TARGET every monitor in use; --json prints the file's JSON with the selected monitors.\n"
    "A warning goes to standard error when the file is older than twice the polling interval while\n"
    "monitoring is on.\n"
    "Exit status: 0 shown, 1 the file cannot be read, 2 usage error, 3 no server is running (the state\n"
    "it wrote last is still shown), 4 the server runs but has not written its state yet.\n";

namespace {

// Code points, near enough to the width on a terminal for names in a table.
size_t displayWidth(const std::string& text)
{
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows)
{
    std::vector<size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], displayWidth(row[i]));
    }
    for (const auto& row : rows) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size())
                line.append(widths[i] - displayWidth(row[i]) + 2, ' ');
        }
        out << line << "\n";
    }
}

void printMonitors(std::ostream& out, const std::vector<MonitorStatusEntry>& monitors)
{
    const std::time_t now = std::time(nullptr);
    std::vector<std::vector<std::string>> rows{{"No.", "Name", "Status", "Input", "Signal", "Last check", "Next action"}};
    for (const MonitorStatusEntry& monitor : monitors)
        rows.push_back({std::to_string(monitor.number), escapeForTerminal(monitor.name), escapeForTerminal(monitor.status),
                        escapeForTerminal(monitor.input), escapeForTerminal(monitor.signal),
                        monitoringTimeText(monitor.hasState, monitor.lastCheck, now), escapeForTerminal(nextActionText(monitor.next))});
    printTable(out, rows);
}

// The panel numbers named on the command line; nothing when no target was given (every monitor).
std::optional<std::set<int>> selectedNumbers(const CommandIo& io, const std::vector<std::string>& words)
{
    if (words.empty() && !io.line.has("group") && !io.line.has("all"))
        return std::nullopt;
    std::set<int> numbers;
    for (const TESSERA_PANEL_DATA& monitor : selectTargets(io.registry, io.line, words))
        numbers.insert(monitor.nPanelNo);
    return numbers;
}

JsonValue selectedPart(const JsonValue& document, const std::optional<std::set<int>>& numbers)
{
    JsonValue part = JsonValue::object();
    for (const JsonValue::Member& member : document.members()) {
        if (member.first != "monitors" || !numbers) {
            part.set(member.first, member.second);
            continue;
        }
        JsonValue& monitors = part.set("monitors", JsonValue::array());
        for (const JsonValue& monitor : member.second.items()) {
            if (numbers->count(static_cast<int>(monitor.get("number").asNumber())))
                monitors.push(monitor);
        }
    }
    return part;
}

// A warning when a polling server's file is older than two intervals: the server may hang.
void warnWhenStale(const CommandIo& io, const std::string& path, const ServerStatus& status)
{
    struct stat info
    {
    };
    if (!status.monitoring || ::stat(path.c_str(), &info) != 0)
        return;
    const std::time_t age = std::time(nullptr) - info.st_mtime;
    const std::time_t limit = 2 * 60 * std::time_t(std::max(1, status.pollIntervalMinutes));
    if (age > limit)
        io.err << "lumictl: warning: the status file is " << age / 60 << " minutes old, the server polls every "
               << status.pollIntervalMinutes << " minutes: it may hang (" << path << ")\n";
}

} // namespace

int statusCommand(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({"json", "group", "all"});
    const std::optional<std::set<int>> numbers = selectedNumbers(io, words);
    const bool serverRuns = hasListener(kServerWindowClass);
    const std::string path = statusFilePath(false);
    std::string content;
    std::string error;
    const ReadResult read = path.empty() ? ReadResult::Missing : readLockedFile(path, content, error);
    if (read == ReadResult::Missing) {
        if (!serverRuns) {
            io.err << "lumictl: no server is running, and none has written its state (no "
                   << (path.empty() ? std::string("Status/status.json") : path) << ")\n";
            return kExitNoServer;
        }
        io.err << "lumictl: the server runs but has not written its state yet (no " << path << ")\n";
        return kExitNoStatusFile;
    }
    std::optional<JsonValue> document;
    std::optional<ServerStatus> status;
    if (read == ReadResult::Ok && (document = parseJson(content, error)))
        status = statusFromJson(*document, error);
    if (!status) {
        io.err << "lumictl: cannot read the server's state: " << error << " (" << path << ")\n";
        return 1;
    }
    if (!serverRuns)
        io.err << "lumictl: no server is running; the state below is the last it wrote, at "
               << isoTimeText(status->written) << "\n";
    else
        warnWhenStale(io, path, *status);

    if (io.line.has("json")) {
        io.out << writeJson(selectedPart(*document, numbers), 2) << "\n";
    } else {
        std::vector<MonitorStatusEntry> shown;
        for (const MonitorStatusEntry& monitor : status->monitors) {
            if (!numbers || numbers->count(monitor.number))
                shown.push_back(monitor);
        }
        printMonitors(io.out, shown);
    }
    return serverRuns ? 0 : kExitNoServer;
}

} // namespace lumivane::ctl
