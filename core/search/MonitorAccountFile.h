#pragma once

#include "tessera.h"

#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

// The monitor export file (.mrf), which carries registered monitors and groups from one installation to
// another. Line 1 holds the tag and the format version; every further line is "Group" or "Monitor"
// followed by the 22 fields of a line of "Panels.csv" in its column order. A group line carries its number,
// its parent's number and its name in the first three of them; the rest are a new monitor's defaults.
// Flags are "true"/"false", the log-in fields scrambled as in the store, lines end with CR LF.
//
// The store's text escape is kept ("\," for a comma, "\\" for a backslash), so that a comma in a name
// cannot shift the fields after it; a file without escapes reads the same.
inline constexpr const char* kMonitorFileTag = "MonitorAccountSetting";
inline constexpr int kMonitorFileVersion = 1;

// One line after line 1. A group keeps its number in nPanelNo, its parent in nGroupNo and its name.
struct MonitorFileEntry
{
    enum Kind
    {
        kGroup,
        kMonitor
    };
    Kind kind = kMonitor;
    TESSERA_PANEL_DATA record{};

    bool isGroup() const { return kind == kGroup; }
    int number() const { return record.nPanelNo; }
    int group() const { return record.nGroupNo; } // a monitor's group, a group's parent
};

MonitorFileEntry groupEntry(const TESSERA_GROUP_DATA& group);
MonitorFileEntry monitorEntry(const TESSERA_PANEL_DATA& panel);

// The registered groups and monitors in the order the console's tree shows them: depth first from the
// root, in each group its sub-groups before its monitors, each kind by name. Groups that cannot be
// reached from the root are left out; a monitor whose group is unknown belongs to the root.
std::vector<MonitorFileEntry> registeredInTreeOrder(const std::vector<TESSERA_PANEL_DATA>& panels,
                                                   const std::vector<TESSERA_GROUP_DATA>& groups);

// What an export takes out of the tree-ordered entries: a monitor with its ancestor groups from the top
// down; a group with its ancestors, itself and its whole subtree. Empty when the item is not there.
std::vector<MonitorFileEntry> selectMonitor(const std::vector<MonitorFileEntry>& ordered, int panelNo);
std::vector<MonitorFileEntry> selectGroup(const std::vector<MonitorFileEntry>& ordered, int groupNo);

// The fields of one line, its first field "Group" or "Monitor".
std::vector<std::string> monitorFileFields(const MonitorFileEntry& entry);
// One line split into its fields, escapes undone.
std::vector<std::string> splitMonitorFileLine(std::string_view line);
// The record of a line's fields after the first; missing fields read as 0, empty or false.
TESSERA_PANEL_DATA recordFromMonitorFileFields(const std::vector<std::string>& fields);

// A text field as the store and this file write it: "\," for a comma, "\\" for a backslash, CR and LF
// as blanks.
std::string escapedStoreText(std::string_view text);

// Writes the file; false with the message to show (199 with the path) when it cannot be written. A
// failed write leaves a file that was there before as it was.
bool writeMonitorFile(const std::string& path, const std::vector<MonitorFileEntry>& entries, std::string& message);

} // namespace lumivane
