#include "StoreFiles.h"

#include "TempFolder.h"
#include "tree/PanelData.h"
#include "tree/PanelStore.h"

#include <stdexcept>

namespace lumivane::test {

TESSERA_PANEL_DATA panelRecord(int number, int group, const std::string& name, const std::string& model, bool use)
{
    PANEL_DATA data;
    data.number = number;
    data.group = group;
    data.name = name;
    data.szModel = model;
    data.bUse = use;
    return recordFromPanelData(data);
}

void writePanels(const std::vector<TESSERA_PANEL_DATA>& panels)
{
    TESSERA_PANEL list = TESSERA_OpenPanel(nullptr);
    for (const TESSERA_PANEL_DATA& panel : panels)
        TESSERA_InsertPanelData(list, -1, &panel);
    const bool saved = TESSERA_SavePanel(list, panelFilePath().c_str());
    TESSERA_ClosePanel(list);
    if (!saved)
        throw std::runtime_error("cannot write the panel file");
}

std::vector<TESSERA_PANEL_DATA> readPanels()
{
    std::vector<TESSERA_PANEL_DATA> panels;
    const PanelList list = PanelList::openExisting(panelFilePath());
    TESSERA_PANEL_DATA record;
    for (int i = 0; list && i < list.count(); ++i)
        if (list.get(i, record))
            panels.push_back(record);
    return panels;
}

void writeGroups(int lastGroupNo, const std::vector<GroupLine>& groups)
{
    // Written as text, so that a test can also set up what the store would never write itself.
    std::string content = std::to_string(lastGroupNo) + "\r\n";
    for (const GroupLine& line : groups)
        content += std::to_string(line.number) + "," + line.name + "," + std::to_string(line.parent) + "\r\n";
    writeFile(groupFilePath(), content);
}

std::vector<GroupLine> readGroups()
{
    std::vector<GroupLine> groups;
    const GroupList list = GroupList::openExisting(groupFilePath());
    TESSERA_GROUP_DATA record;
    for (int i = 0; list && i < TESSERA_GetGroupCount(list.handle()); ++i)
        if (TESSERA_GetGroupData(list.handle(), i, &record))
            groups.push_back({record.nGroupNo, record.szName, record.nParentNo});
    return groups;
}

const TESSERA_PANEL_DATA* findPanel(const std::vector<TESSERA_PANEL_DATA>& panels, int number)
{
    for (const TESSERA_PANEL_DATA& panel : panels)
        if (panel.nPanelNo == number)
            return &panel;
    return nullptr;
}

const GroupLine* findGroup(const std::vector<GroupLine>& groups, int number)
{
    for (const GroupLine& group : groups)
        if (group.number == number)
            return &group;
    return nullptr;
}

} // namespace lumivane::test
