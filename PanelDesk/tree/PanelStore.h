#pragma once

#include "PanelRegistry.h" // StoreLock
#include "tessera.h"

#include <string>

namespace lumivane {

// The two files of the panel store in the data folder.
inline constexpr const char* kPanelFileName = "Panels.csv";
inline constexpr const char* kGroupFileName = "Groups.csv";
std::string panelFilePath();
std::string groupFilePath();
bool fileExists(const std::string& path);

// An open panel list, closed on destruction.
class PanelList
{
public:
    // The list in the file; an empty list when the file does not exist yet (a save creates it). Invalid
    // when the file exists but cannot be read (the store has shown why).
    static PanelList openOrEmpty(const std::string& path);
    // Invalid when the file does not exist or cannot be read.
    static PanelList openExisting(const std::string& path);

    PanelList(PanelList&& other) noexcept : m_handle(other.m_handle) { other.m_handle = nullptr; }
    PanelList(const PanelList&) = delete;
    PanelList& operator=(const PanelList&) = delete;
    ~PanelList();

    explicit operator bool() const { return m_handle != nullptr; }
    TESSERA_PANEL handle() const { return m_handle; }
    int count() const { return TESSERA_GetPanelCount(m_handle); }
    bool get(int index, TESSERA_PANEL_DATA& record) const { return TESSERA_GetPanelData(m_handle, index, &record); }
    int find(int number, TESSERA_PANEL_DATA* record = nullptr) const
    {
        return TESSERA_FindPanelData(m_handle, number, record);
    }
    bool save(const std::string& path) { return TESSERA_SavePanel(m_handle, path.c_str()) != 0; }

private:
    explicit PanelList(TESSERA_PANEL handle) : m_handle(handle) {}
    TESSERA_PANEL m_handle;
};

// An open group list, closed on destruction.
class GroupList
{
public:
    static GroupList openOrEmpty(const std::string& path);
    static GroupList openExisting(const std::string& path);

    GroupList(GroupList&& other) noexcept : m_handle(other.m_handle) { other.m_handle = nullptr; }
    GroupList(const GroupList&) = delete;
    GroupList& operator=(const GroupList&) = delete;
    ~GroupList();

    explicit operator bool() const { return m_handle != nullptr; }
    TESSERA_GROUP handle() const { return m_handle; }
    int find(int number, TESSERA_GROUP_DATA* record = nullptr) const
    {
        return TESSERA_FindGroupData(m_handle, number, record);
    }
    bool save(const std::string& path) { return TESSERA_SaveGroup(m_handle, path.c_str()) != 0; }

private:
    explicit GroupList(TESSERA_GROUP handle) : m_handle(handle) {}
    TESSERA_GROUP m_handle;
};

} // namespace lumivane
