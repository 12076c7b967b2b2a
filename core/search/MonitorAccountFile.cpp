#include "MonitorAccountFile.h"

#include "CCsvLineFile.h"
#include "PanelRegistry.h"
#include "Strings.h"
#include "TextNumbers.h"
#include "TextScramble.h"
#include "Utf8.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

namespace lumivane {
namespace {

constexpr const char* kGroupWord = "Group";
constexpr const char* kMonitorWord = "Monitor";

} // namespace

std::string escapedStoreText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == ',' || c == '\\')
            out += '\\';
        out += c == '\r' || c == '\n' ? ' ' : c;
    }
    return out;
}

namespace {

std::string escaped(std::string_view text)
{
    return escapedStoreText(text);
}

std::string flag(int32_t value)
{
    return value ? "true" : "false";
}

bool readFlag(const std::string& text)
{
    return strcasecmp(text.c_str(), "true") == 0;
}

// Sub-groups before monitors, then by name.
bool treeOrder(const MonitorFileEntry& a, const MonitorFileEntry& b)
{
    if (a.isGroup() != b.isGroup())
        return a.isGroup();
    return std::strcoll(a.record.szName, b.record.szName) < 0;
}

// Appends the children of `groupNo` (0: the root) and, after each group, its own subtree.
void appendSubtree(int groupNo, const std::map<int, std::vector<MonitorFileEntry>>& children, std::set<int>& entered,
                   std::vector<MonitorFileEntry>& out)
{
    const auto found = children.find(groupNo);
    if (found == children.end() || !entered.insert(groupNo).second)
        return;
    for (const MonitorFileEntry& entry : found->second) {
        out.push_back(entry);
        if (entry.isGroup())
            appendSubtree(entry.number(), children, entered, out);
    }
}

// The group entries above the item, from the top down.
std::vector<MonitorFileEntry> ancestorsOf(const std::vector<MonitorFileEntry>& ordered, int groupNo)
{
    std::vector<MonitorFileEntry> chain;
    std::set<int> seen;
    while (groupNo != 0 && seen.insert(groupNo).second) {
        const auto group = std::find_if(ordered.begin(), ordered.end(), [groupNo](const MonitorFileEntry& entry) {
            return entry.isGroup() && entry.number() == groupNo;
        });
        if (group == ordered.end())
            break;
        chain.insert(chain.begin(), *group);
        groupNo = group->group();
    }
    return chain;
}

} // namespace

MonitorFileEntry groupEntry(const TESSERA_GROUP_DATA& group)
{
    MonitorFileEntry entry;
    entry.kind = MonitorFileEntry::kGroup;
    entry.record = PanelRegistry::newMonitorDefaults();
    entry.record.nPanelNo = group.nGroupNo;
    entry.record.nGroupNo = group.nParentNo;
    std::memcpy(entry.record.szName, group.szName, sizeof entry.record.szName);
    return entry;
}

MonitorFileEntry monitorEntry(const TESSERA_PANEL_DATA& panel)
{
    return {MonitorFileEntry::kMonitor, panel};
}

std::vector<MonitorFileEntry> registeredInTreeOrder(const std::vector<TESSERA_PANEL_DATA>& panels,
                                                   const std::vector<TESSERA_GROUP_DATA>& groups)
{
    std::map<int, std::vector<MonitorFileEntry>> children;
    std::set<int> groupNumbers;
    for (const TESSERA_GROUP_DATA& group : groups) {
        if (group.nGroupNo != 0 && groupNumbers.insert(group.nGroupNo).second)
            children[group.nParentNo].push_back(groupEntry(group));
    }
    // Only groups reachable from the root are in the tree; a monitor of any other group shows under the root.
    std::set<int> reachable;
    for (std::vector<int> pending{0}; !pending.empty();) {
        const int parent = pending.back();
        pending.pop_back();
        for (const MonitorFileEntry& group : children[parent])
            if (reachable.insert(group.number()).second)
                pending.push_back(group.number());
    }
    for (const TESSERA_PANEL_DATA& panel : panels)
        children[reachable.count(panel.nGroupNo) ? panel.nGroupNo : 0].push_back(monitorEntry(panel));
    for (auto& [parent, list] : children)
        std::stable_sort(list.begin(), list.end(), treeOrder);
    std::vector<MonitorFileEntry> ordered;
    std::set<int> entered;
    appendSubtree(0, children, entered, ordered);
    return ordered;
}

std::vector<MonitorFileEntry> selectMonitor(const std::vector<MonitorFileEntry>& ordered, int panelNo)
{
    const auto monitor = std::find_if(ordered.begin(), ordered.end(), [panelNo](const MonitorFileEntry& entry) {
        return !entry.isGroup() && entry.number() == panelNo;
    });
    if (monitor == ordered.end())
        return {};
    std::vector<MonitorFileEntry> selected = ancestorsOf(ordered, monitor->group());
    selected.push_back(*monitor);
    return selected;
}

std::vector<MonitorFileEntry> selectGroup(const std::vector<MonitorFileEntry>& ordered, int groupNo)
{
    const auto group = std::find_if(ordered.begin(), ordered.end(), [groupNo](const MonitorFileEntry& entry) {
        return entry.isGroup() && entry.number() == groupNo;
    });
    if (group == ordered.end())
        return {};
    std::vector<MonitorFileEntry> selected = ancestorsOf(ordered, group->group());
    // Depth first order puts the subtree right after the group.
    std::set<int> subtree{groupNo};
    selected.push_back(*group);
    for (auto entry = group + 1; entry != ordered.end() && subtree.count(entry->group()); ++entry) {
        if (entry->isGroup())
            subtree.insert(entry->number());
        selected.push_back(*entry);
    }
    return selected;
}

std::vector<std::string> monitorFileFields(const MonitorFileEntry& entry)
{
    const TESSERA_PANEL_DATA& r = entry.record;
    return {entry.isGroup() ? kGroupWord : kMonitorWord,
            std::to_string(r.nPanelNo),
            std::to_string(r.nGroupNo),
            escaped(r.szName),
            escaped(r.szReserved),
            escaped(r.szModel),
            std::to_string(r.nMdelValue),
            std::to_string(r.nComPort),
            std::to_string(r.nBaudRate),
            std::to_string(r.nMonitorID),
            flag(r.bUse),
            flag(r.bSchedule),
            std::to_string(r.nScheduleNo),
            std::to_string(r.nInterface),
            std::to_string(static_cast<int32_t>(r.dwIPAddress)),
            std::to_string(r.nDataPort),
            escaped(r.szMACAddress),
            escaped(r.szSerialNo),
            flag(r.bMonitoring),
            scrambleText(r.szUserName),
            scrambleText(r.szPassword),
            std::to_string(r.nStatusKey),
            std::to_string(r.nModelFlags)};
}

std::vector<std::string> splitMonitorFileLine(std::string_view line)
{
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\' && i + 1 < line.size() && (line[i + 1] == ',' || line[i + 1] == '\\'))
            fields.back() += line[++i];
        else if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

TESSERA_PANEL_DATA recordFromMonitorFileFields(const std::vector<std::string>& fields)
{
    auto text = [&fields](size_t index) -> const std::string& {
        static const std::string kEmpty;
        return index < fields.size() ? fields[index] : kEmpty;
    };
    auto number = [&](size_t index) { return parseAtoi(text(index)); };
    TESSERA_PANEL_DATA r{};
    r.nPanelNo = number(1);
    r.nGroupNo = number(2);
    copyToField(r.szName, sizeof r.szName, text(3));
    copyToField(r.szReserved, sizeof r.szReserved, text(4));
    copyToField(r.szModel, sizeof r.szModel, text(5));
    r.nMdelValue = number(6);
    r.nComPort = number(7);
    r.nBaudRate = number(8);
    r.nMonitorID = number(9);
    r.bUse = readFlag(text(10));
    r.bSchedule = readFlag(text(11));
    r.nScheduleNo = number(12);
    r.nInterface = number(13);
    r.dwIPAddress = static_cast<uint32_t>(number(14));
    r.nDataPort = number(15);
    copyToField(r.szMACAddress, sizeof r.szMACAddress, text(16));
    copyToField(r.szSerialNo, sizeof r.szSerialNo, text(17));
    r.bMonitoring = readFlag(text(18));
    copyToField(r.szUserName, sizeof r.szUserName, unscrambleText(text(19)));
    copyToField(r.szPassword, sizeof r.szPassword, unscrambleText(text(20)));
    r.nStatusKey = number(21);
    r.nModelFlags = number(22);
    return r;
}

bool writeMonitorFile(const std::string& path, const std::vector<MonitorFileEntry>& entries, std::string& message)
{
    CCsvLineFile file;
    bool written = file.openWrite(path);
    // The line file ends lines with LF; the export's lines end with CR LF.
    auto writeFields = [&file](std::vector<std::string> fields) {
        while (!fields.empty() && fields.back().empty())
            fields.pop_back();
        std::string line;
        for (size_t i = 0; i < fields.size(); ++i)
            line += (i ? "," : "") + fields[i];
        return file.writeLine(line + "\r");
    };
    written = written && writeFields({kMonitorFileTag, std::to_string(kMonitorFileVersion)});
    for (size_t i = 0; written && i < entries.size(); ++i)
        written = writeFields(monitorFileFields(entries[i]));
    written = file.close() && written;
    if (!written)
        message = formatMessage(199, path.c_str());
    return written;
}

} // namespace lumivane
