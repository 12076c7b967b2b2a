#pragma once

#include "tessera.h"

#include <string>
#include <string_view>
#include <vector>

namespace lumivane::tessera {

struct GroupList {
    int32_t lastGroupNo = 0;
    std::vector<TESSERA_GROUP_DATA> groups;
};

// "Panels.csv": one record per line, an empty line included; 22 fields, the 22nd optional.
std::vector<TESSERA_PANEL_DATA> parsePanelFile(std::string_view content);
std::string formatPanelFile(const std::vector<TESSERA_PANEL_DATA>& panels);

// "Groups.csv": the last group number handed out, then one group per line.
GroupList parseGroupFile(std::string_view content);
std::string formatGroupFile(const GroupList& list);

// Outcome of reading or writing one of the store's files; `error` is the text for the last error.
struct FileOutcome {
    enum Kind { Ok, Missing, Failed } kind = Ok;
    std::string error;
};

// Reads the file while letting other readers in but no writer (retrying while a writer holds it).
FileOutcome readStoreFile(const std::string& path, std::string& content);
// Replaces the file whole while holding it exclusively; on failure the previous file stays as it was.
FileOutcome writeStoreFile(const std::string& path, std::string_view content, bool sync = true);

} // namespace lumivane::tessera
