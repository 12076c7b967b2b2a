#include "MonitorFileCommands.h"

#include "CommandIo.h"
#include "MonitorAccountFile.h"
#include "MonitorImport.h"
#include "TargetSelection.h"
#include "WindowMessage.h"

#include <algorithm>

namespace lumivane::ctl {
namespace {

std::string countsText(int groups, int monitors)
{
    return std::to_string(groups) + (groups == 1 ? " group and " : " groups and ") + std::to_string(monitors) +
           (monitors == 1 ? " monitor" : " monitors");
}

} // namespace

int exportMonitors(const CommandLine& line, std::ostream& out, std::ostream& err, const PanelRegistry& registry,
                   const std::vector<std::string>& words)
{
    line.allowOnly({"group"});
    if (words.empty() || words.size() > 2 || (words.size() == 2 && line.has("group")))
        throw UsageError{"monitors export FILE [MONITOR | --group GROUP]"};
    const auto panels = registry.panels();
    const auto everything = registeredInTreeOrder(panels, registry.groups());
    std::vector<MonitorFileEntry> entries = everything;
    if (words.size() == 2) {
        entries = selectMonitor(everything, findMonitor(panels, words[1]).nPanelNo);
    } else if (const auto group = line.value("group")) {
        entries = selectGroup(everything, findGroup(registry, *group));
        if (entries.empty())
            throw UsageError{"the group '" + *group + "' is not reachable from the root"};
    }
    std::string message;
    if (!writeMonitorFile(words[0], entries, message)) {
        err << "lumictl: " << message << "\n";
        return 1;
    }
    const auto groups = std::count_if(entries.begin(), entries.end(), [](const auto& entry) { return entry.isGroup(); });
    out << "exported " << countsText(int(groups), int(entries.size() - groups)) << "\n";
    return 0;
}

int importMonitors(const CommandLine& line, std::ostream& out, std::ostream& err, const PanelRegistry& registry,
                   const std::vector<std::string>& words)
{
    line.allowOnly({"replace", "add"});
    if (words.size() != 1 || line.has("replace") == line.has("add"))
        throw UsageError{"monitors import FILE (--replace | --add)"};
    const ImportResult result =
        importMonitorFile(words[0], line.has("replace") ? ImportMode::Replace : ImportMode::Add, registry);
    if (result.fileRefused)
        throw UsageError{result.message};
    if (!result.ok) {
        err << "lumictl: the monitors could not be imported: " << result.message << "\n";
        return 1;
    }
    tellServer(windowMessages::kPanelsChanged);
    out << "imported " << countsText(result.groups, result.monitors) << "\n";
    if (result.foldedGroupLines > 0)
        out << "note: " << result.foldedGroupLines << " group lines after the " << kMaxImportedGroupLines
            << "th made no group of their own; their monitors are in the group above them\n";
    return 0;
}

} // namespace lumivane::ctl
