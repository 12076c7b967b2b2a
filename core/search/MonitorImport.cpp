#include "MonitorImport.h"

#include "CCsvLineFile.h"
#include "PanelRegistry.h"
#include "SharedFile.h"
#include "Strings.h"
#include "TextNumbers.h"
#include "Utf8.h"

#include <algorithm>
#include <map>

namespace lumivane {
namespace {

constexpr size_t kMaxFieldsRead = 39;
constexpr size_t kMaxImportedName = 255;

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// "Panels.csv" → "Panels.bak" in the same folder.
std::string backupPath(const std::string& path)
{
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + ".bak";
}

// A store file as it is now; `exists` false when there is none.
struct StoreFileText
{
    bool exists = false;
    std::string content;
};

bool readStoreText(const std::string& path, StoreFileText& file, std::string& error)
{
    switch (readSharedFile(path, FileAccess::SharedRead, file.content, error)) {
    case ReadResult::Ok:
        file.exists = true;
        return true;
    case ReadResult::Missing:
        file.exists = false;
        return true;
    default:
        return false;
    }
}

// The lines after line 1 of "Groups.csv", each ended with CR LF again.
std::string groupLinesOf(const std::string& content)
{
    std::string lines;
    size_t start = content.find('\n');
    while (start != std::string::npos && start + 1 < content.size()) {
        size_t end = content.find('\n', start + 1);
        std::string_view line(content.data() + start + 1,
                              (end == std::string::npos ? content.size() : end) - start - 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.append(line).append("\r\n");
        start = end;
    }
    return lines;
}

int lookup(const std::map<int, int>& numbers, int old)
{
    const auto found = numbers.find(old);
    return found == numbers.end() ? 0 : found->second;
}

// The new panels and group lines, numbered on from what is kept.
struct ImportPlan
{
    std::vector<TESSERA_PANEL_DATA> panels;
    std::string groupLines;
    int lastGroupNo = 0;
};

class ImportNumbering
{
public:
    ImportNumbering(int nextPanel, int nextGroup) : m_nextPanel(nextPanel), m_nextGroup(nextGroup) {}

    void addGroup(const TESSERA_PANEL_DATA& line, ImportPlan& plan, ImportResult& result)
    {
        const int parent = lookup(m_groups, line.nGroupNo);
        const std::string_view name = line.szName;
        ++m_groupLines;
        if (startsWith(name, "Multi Group") || startsWith(name, "Enlarge Group") ||
            m_groupLines > kMaxImportedGroupLines) {
            // No group of its own: what it holds lands in its parent.
            m_groups[line.nPanelNo] = parent;
            result.foldedGroupLines += m_groupLines > kMaxImportedGroupLines;
            return;
        }
        const int number = m_nextGroup++;
        m_groups[line.nPanelNo] = number;
        plan.groupLines += std::to_string(number) + "," + escapedStoreText(name) + "," + std::to_string(parent) + "\r\n";
        plan.lastGroupNo = std::max(plan.lastGroupNo, number);
        ++result.groups;
    }

    void addMonitor(TESSERA_PANEL_DATA line, ImportPlan& plan, ImportResult& result)
    {
        const std::string name = line.szName;
        const std::string oldPrefix = panelNumberPrefix(line.nPanelNo);
        std::string rest = name;
        if (startsWith(name, oldPrefix)) {
            rest = name.substr(oldPrefix.size());
            if (rest == " DUMMY")
                return; // a place holder of the exporting installation
        }
        const int number = m_nextPanel++;
        std::string renamed = panelNumberPrefix(number) + rest;
        copyToField(line.szName, kMaxImportedName + 1, renamed);
        line.nPanelNo = number;
        line.nGroupNo = lookup(m_groups, line.nGroupNo);
        plan.panels.push_back(line);
        ++result.monitors;
    }

private:
    int m_nextPanel;
    int m_nextGroup;
    int m_groupLines = 0;
    std::map<int, int> m_groups; // group number in the file → new number (0: the root)
};

bool savePanels(const std::vector<TESSERA_PANEL_DATA>& panels, const std::string& path, std::string& error)
{
    TESSERA_PANEL handle = TESSERA_OpenPanel(nullptr);
    bool saved = handle != nullptr;
    for (size_t i = 0; saved && i < panels.size(); ++i)
        saved = TESSERA_InsertPanelData(handle, -1, &panels[i]) == 1;
    saved = saved && TESSERA_SavePanel(handle, path.c_str()) == 1;
    if (!saved)
        error = TESSERA_GetLastErrorMessage();
    if (handle)
        TESSERA_ClosePanel(handle);
    return saved;
}

// Puts a store file back as it was before the import began.
void restore(const std::string& path, const StoreFileText& before)
{
    std::string ignored;
    if (before.exists)
        writeSharedFile(path, before.content, ignored);
    else
        removeFileNoFollow(path);
}

} // namespace

std::optional<std::vector<MonitorFileEntry>> readMonitorFile(const std::string& path, std::string& message)
{
    CCsvLineFile file;
    if (!file.openRead(path)) {
        message = formatMessage(199, path.c_str());
        return std::nullopt;
    }
    std::vector<std::string> fields;
    if (file.readLine())
        fields = splitMonitorFileLine(file.currentLine());
    if (fields.empty() || fields[0] != kMonitorFileTag) {
        message = messageText(200);
        return std::nullopt;
    }
    if (fields.size() < 2 || parseAtoi(fields[1]) <= 0) {
        message = messageText(201);
        return std::nullopt;
    }
    std::vector<MonitorFileEntry> entries;
    while (file.readLine()) {
        fields = splitMonitorFileLine(file.currentLine());
        fields.resize(std::min(fields.size(), kMaxFieldsRead));
        if (fields[0] == "Group")
            entries.push_back({MonitorFileEntry::kGroup, recordFromMonitorFileFields(fields)});
        else if (fields[0] == "Monitor")
            entries.push_back({MonitorFileEntry::kMonitor, recordFromMonitorFileFields(fields)});
    }
    file.close();
    return entries;
}

ImportResult importMonitorFile(const std::string& path, ImportMode mode, const PanelRegistry& registry)
{
    ImportResult result;
    const auto entries = readMonitorFile(path, result.message);
    if (!entries) {
        result.fileRefused = true;
        return result;
    }

    const StoreLock lock;
    StoreFileText panelsBefore, groupsBefore;
    if (!readStoreText(registry.panelsPath(), panelsBefore, result.message) ||
        !readStoreText(registry.groupsPath(), groupsBefore, result.message))
        return result;

    ImportPlan plan;
    int nextPanel = 1;
    int nextGroup = 1;
    if (mode == ImportMode::Add) {
        plan.panels = registry.panels();
        plan.groupLines = groupLinesOf(groupsBefore.content);
        // The counter of handed-out group numbers is never lowered, so no deleted group's number returns.
        plan.lastGroupNo = groupsBefore.exists ? parseAtoi(groupsBefore.content) : 0;
        int largestGroup = plan.lastGroupNo;
        for (const TESSERA_PANEL_DATA& panel : plan.panels) {
            nextPanel = std::max(nextPanel, panel.nPanelNo + 1);
            largestGroup = std::max(largestGroup, panel.nGroupNo);
        }
        for (const TESSERA_GROUP_DATA& group : registry.groups())
            largestGroup = std::max(largestGroup, group.nGroupNo);
        nextGroup = largestGroup + 1;
    }
    ImportNumbering numbering(nextPanel, nextGroup);
    for (const MonitorFileEntry& entry : *entries) {
        if (entry.isGroup())
            numbering.addGroup(entry.record, plan, result);
        else
            numbering.addMonitor(entry.record, plan, result);
    }

    std::string error;
    const bool backedUp =
        (!panelsBefore.exists || writeSharedFile(backupPath(registry.panelsPath()), panelsBefore.content, error)) &&
        (!groupsBefore.exists || writeSharedFile(backupPath(registry.groupsPath()), groupsBefore.content, error));
    if (!backedUp || !savePanels(plan.panels, registry.panelsPath(), error)) {
        result.message = error;
        return result;
    }
    const std::string groups = std::to_string(plan.lastGroupNo) + "\r\n" + plan.groupLines;
    if (!writeSharedFile(registry.groupsPath(), groups, error)) {
        restore(registry.panelsPath(), panelsBefore);
        result.message = error;
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace lumivane
