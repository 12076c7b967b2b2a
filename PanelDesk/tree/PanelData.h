#pragma once

#include "MonitorAccountFile.h"
#include "tessera.h"

#include <cstdint>
#include <string>

namespace lumivane {

// The data of one item of the panel tree, a monitor or a group: every field of the panel record (texts
// as strings), plus what only the console knows. A group uses number, group (its parent) and name.
struct PANEL_DATA
{
    enum Kind
    {
        kMonitor = 0,
        kGroup = 1
    };

    int kind = kMonitor;
    int number = 0; // nPanelNo of a monitor, nGroupNo of a group
    int group = 0;  // nGroupNo of a monitor, nParentNo of a group; 0 = the root
    std::string name;

    std::string szReserved;
    std::string szModel;
    std::string szSerialNo;
    int32_t nMdelValue = 1;
    int32_t nInterface = 0;            // 0 RS-232C, 1 LAN
    uint32_t dwIPAddress = 0xC0A89602; // 192.168.150.2
    int32_t nDataPort = 10008;
    std::string szMACAddress;
    std::string szUserName;
    std::string szPassword;
    int32_t nComPort = 1;
    int32_t nBaudRate = 9600;
    int32_t nMonitorID = 0;
    bool bUse = true;
    bool bMonitoring = true;
    int32_t nStatusKey = 0;
    bool bSchedule = false;
    int32_t nScheduleNo = 0;
    int32_t nModelFlags = 0;

    bool selectable = true; // false when the enlarge editor's model test rejects the monitor
    int placed = 0;         // non-zero while the monitor sits in a cell of the enlarge layout
    int cellIndex = 0;

    bool isGroup() const { return kind == kGroup; }
    bool isMonitor() const { return kind == kMonitor; }
};

PANEL_DATA panelDataFromRecord(const TESSERA_PANEL_DATA& record);
TESSERA_PANEL_DATA recordFromPanelData(const PANEL_DATA& data);
PANEL_DATA panelDataFromGroup(const TESSERA_GROUP_DATA& record);
TESSERA_GROUP_DATA groupFromPanelData(const PANEL_DATA& data);

// The export file's line for an item; the tree's allItems() in that form is what an export selects from.
MonitorFileEntry monitorFileEntryOf(const PANEL_DATA& data);

// "[%03d]": the name of a monitor added by hand.
std::string newMonitorName(int number);
// The name of a monitor found by a search: "[%03d] 192.168.0.5 ID3", "[%03d] 192.168.0.5", "[%03d] COM2 ID3"
// or "[%03d] COM2".
std::string foundMonitorName(int number, const PANEL_DATA& found);

} // namespace lumivane
