#pragma once

#include "MonitorAccountFile.h"

#include <optional>
#include <string>
#include <vector>

namespace lumivane {

class PanelRegistry;

enum class ImportMode
{
    Replace, // the file's groups and monitors take the place of the registered ones
    Add,     // they are added to the registered ones
};

// Group lines handled per import. Further group lines create no group: like "Multi Group" they fold into
// their parent, so that their monitors still arrive (in the nearest imported ancestor, or the root).
inline constexpr int kMaxImportedGroupLines = 99;

struct ImportResult
{
    bool ok = false;
    bool fileRefused = false; // the .mrf could not be read or is not one (messages 199, 200, 201)
    std::string message;      // why it failed
    int groups = 0;
    int monitors = 0;
    int foldedGroupLines = 0; // group lines beyond kMaxImportedGroupLines
};

// The entries of an .mrf file after line 1; nothing with the message to show when the file cannot be
// opened (199), does not start with the tag (200) or has a version of 0 or less (201). Lines of another
// kind are skipped.
std::optional<std::vector<MonitorFileEntry>> readMonitorFile(const std::string& path, std::string& message);

// Imports an .mrf file into the store of `registry`. Under the store's lock it copies "Panels.csv" and
// "Groups.csv" to "Panels.bak" and "Groups.bak", numbers the file's groups and monitors after the ones
// kept (from 1 when replacing), renames monitors to their new "[%03d]" prefix, skips "[nnn] DUMMY"
// monitors and folds "Multi Group" and "Enlarge Group" into their parents. Both files are written or
// neither: when the second cannot be written the first is put back.
ImportResult importMonitorFile(const std::string& path, ImportMode mode, const PanelRegistry& registry);

} // namespace lumivane
