#include "PanelStore.h"

#include "DataFolder.h"

#include <sys/stat.h>

namespace lumivane {

std::string panelFilePath()
{
    return dataFilePath(kPanelFileName);
}

std::string groupFilePath()
{
    return dataFilePath(kGroupFileName);
}

bool fileExists(const std::string& path)
{
    struct stat info
    {
    };
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

PanelList PanelList::openOrEmpty(const std::string& path)
{
    return PanelList(TESSERA_OpenPanel(fileExists(path) ? path.c_str() : nullptr));
}

PanelList PanelList::openExisting(const std::string& path)
{
    return PanelList(fileExists(path) ? TESSERA_OpenPanel(path.c_str()) : nullptr);
}

PanelList::~PanelList()
{
    if (m_handle)
        TESSERA_ClosePanel(m_handle);
}

GroupList GroupList::openOrEmpty(const std::string& path)
{
    return GroupList(TESSERA_OpenGroup(fileExists(path) ? path.c_str() : nullptr));
}

GroupList GroupList::openExisting(const std::string& path)
{
    return GroupList(fileExists(path) ? TESSERA_OpenGroup(path.c_str()) : nullptr);
}

GroupList::~GroupList()
{
    if (m_handle)
        TESSERA_CloseGroup(m_handle);
}

} // namespace lumivane
