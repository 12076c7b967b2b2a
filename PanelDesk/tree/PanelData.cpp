#include "PanelData.h"

#include "PanelRegistry.h"
#include "Utf8.h"

#include <cstdio>

namespace lumivane {

PANEL_DATA panelDataFromRecord(const TESSERA_PANEL_DATA& record)
{
    PANEL_DATA data;
    data.kind = PANEL_DATA::kMonitor;
    data.number = record.nPanelNo;
    data.group = record.nGroupNo;
    data.name = record.szName;
    data.szReserved = record.szReserved;
    data.szModel = record.szModel;
    data.szSerialNo = record.szSerialNo;
    data.nMdelValue = record.nMdelValue;
    data.nInterface = record.nInterface;
    data.dwIPAddress = record.dwIPAddress;
    data.nDataPort = record.nDataPort;
    data.szMACAddress = record.szMACAddress;
    data.szUserName = record.szUserName;
    data.szPassword = record.szPassword;
    data.nComPort = record.nComPort;
    data.nBaudRate = record.nBaudRate;
    data.nMonitorID = record.nMonitorID;
    data.bUse = record.bUse != 0;
    data.bMonitoring = record.bMonitoring != 0;
    data.nStatusKey = record.nStatusKey;
    data.bSchedule = record.bSchedule != 0;
    data.nScheduleNo = record.nScheduleNo;
    data.nModelFlags = record.nModelFlags;
    return data;
}

TESSERA_PANEL_DATA recordFromPanelData(const PANEL_DATA& data)
{
    TESSERA_PANEL_DATA record{};
    record.nPanelNo = data.number;
    record.nGroupNo = data.group;
    copyToField(record.szName, sizeof record.szName, data.name);
    copyToField(record.szReserved, sizeof record.szReserved, data.szReserved);
    copyToField(record.szModel, sizeof record.szModel, data.szModel);
    copyToField(record.szSerialNo, sizeof record.szSerialNo, data.szSerialNo);
    record.nMdelValue = data.nMdelValue;
    record.nInterface = data.nInterface;
    record.dwIPAddress = data.dwIPAddress;
    record.nDataPort = data.nDataPort;
    copyToField(record.szMACAddress, sizeof record.szMACAddress, data.szMACAddress);
    copyToField(record.szUserName, sizeof record.szUserName, data.szUserName);
    copyToField(record.szPassword, sizeof record.szPassword, data.szPassword);
    record.nComPort = data.nComPort;
    record.nBaudRate = data.nBaudRate;
    record.nMonitorID = data.nMonitorID;
    record.bUse = data.bUse;
    record.bMonitoring = data.bMonitoring;
    record.nStatusKey = data.nStatusKey;
    record.bSchedule = data.bSchedule;
    record.nScheduleNo = data.nScheduleNo;
    record.nModelFlags = data.nModelFlags;
    return record;
}

PANEL_DATA panelDataFromGroup(const TESSERA_GROUP_DATA& record)
{
    PANEL_DATA data;
    data.kind = PANEL_DATA::kGroup;
    data.number = record.nGroupNo;
    data.group = record.nParentNo;
    data.name = record.szName;
    return data;
}

TESSERA_GROUP_DATA groupFromPanelData(const PANEL_DATA& data)
{
    TESSERA_GROUP_DATA record{};
    record.nGroupNo = data.number;
    record.nParentNo = data.group;
    copyToField(record.szName, sizeof record.szName, data.name);
    return record;
}

MonitorFileEntry monitorFileEntryOf(const PANEL_DATA& data)
{
    return data.isGroup() ? groupEntry(groupFromPanelData(data)) : monitorEntry(recordFromPanelData(data));
}

std::string newMonitorName(int number)
{
    return panelNumberPrefix(number);
}

std::string foundMonitorName(int number, const PANEL_DATA& found)
{
    return foundMonitorName(recordFromPanelData(found), number);
}

} // namespace lumivane
