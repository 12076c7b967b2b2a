#pragma once

#include "tessera.h"

#include <string>
#include <vector>

namespace lumivane::test {

// Reading and writing the panel store's files through the store itself, for setting up and checking.
TESSERA_PANEL_DATA panelRecord(int number, int group, const std::string& name, const std::string& model = "",
                               bool use = true);
void writePanels(const std::vector<TESSERA_PANEL_DATA>& panels);
std::vector<TESSERA_PANEL_DATA> readPanels();

struct GroupLine
{
    int number;
    std::string name;
    int parent;
};
// Names without commas or backslashes.
void writeGroups(int lastGroupNo, const std::vector<GroupLine>& groups);
std::vector<GroupLine> readGroups();

const TESSERA_PANEL_DATA* findPanel(const std::vector<TESSERA_PANEL_DATA>& panels, int number);
const GroupLine* findGroup(const std::vector<GroupLine>& groups, int number);

} // namespace lumivane::test
