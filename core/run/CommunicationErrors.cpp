#include "CommunicationErrors.h"

#include "CCsvLineFile.h"
#include "DataFolder.h"
#include "MonitorLink.h"

#include <cstdio>

namespace lumivane {
namespace {

bool isLan(const TESSERA_PANEL_DATA& monitor)
{
    return monitor.nInterface == 1;
}

std::string address(const TESSERA_PANEL_DATA& monitor)
{
    return ipv4Text(monitor.dwIPAddress);
}

std::string comPort(const TESSERA_PANEL_DATA& monitor)
{
    return "COM" + std::to_string(monitor.nComPort);
}

std::string monitorNameLine(const TESSERA_PANEL_DATA& monitor)
{
    return "Monitor Name : " + std::string(monitor.szName) + "\r\n";
}

constexpr const char* kMonitorErrorText =
    "\r\nThe monitor returns error.\r\nThe setting value may be out of range or condition, or the control cannot be "
    "executed on this condition.\r\n"
    "\r\nPlease check below :\r\n . Some commands need powered on.\r\n . Some commands need specific input mode.\r\n"
    " . Some commands need suitable signal input.\r\n . Some command values depend on input signal or monitor "
    "model.\r\n . Another setting (for example, PIP, Enlarge, etc) may prevent this setting.\r\n . The command may "
    "be not supported by this model.";

std::string lanStatusText(const TESSERA_PANEL_DATA& monitor, int status)
{
    const std::string ip = address(monitor);
    const std::string port = std::to_string(monitor.nDataPort);
    switch (status) {
    case 7:
        return "\r\nAnother application may be accessing.\r\nOtherwise IP address (" + ip + ") or data port (" + port +
               ") may be wrong.\r\n";
    case 8:
        return "\r\nTimeout!\r\nPlease check IP address " + ip +
               " is set in the monitor, and not set in others.\r\nPlease check data port is " + port +
               ", also.\r\nIf there is \"RS-232C/LAN Command\" setting, Select \"NORMAL\".\r\n ";
    case 14:
        return "\r\nThe monitor's interface is not LAN.\r\nPlease switch to use LAN.\r\n";
    default:
        return "\r\nError detected.\r\nPlease check IP address " + ip +
               " is set in the monitor, and not set in others.\r\nPlease check data port is " + port + ", also.";
    }
}

std::string serialStatusText(const TESSERA_PANEL_DATA& monitor, int status)
{
    const std::string com = comPort(monitor);
    switch (status) {
    case 7:
        return "\r\nAnother application may be using " + com + ".\r\nOtherwise COM Port setting may be wrong.\r\n";
    case 8:
        return "\r\nTimeout!\r\nPlease check whether RS-232C cable is connected to " + com +
               " and the monitor.\r\nPlease check the cable's wire connection (straight/cross), also.\r\n";
    case 14:
        return "\r\nThe monitor's interface is not RS-232C.\r\nPlease switch to use RS-232C.\r\n";
    default:
        return "\r\nError detected.\r\nPlease check whether RS-232C cable is connected to " + com +
               " and the monitor.\r\nPlease check the cable's wire connection (straight/cross), also.\r\n";
    }
}

std::string statusText(const TESSERA_PANEL_DATA& monitor, int status)
{
    switch (status) {
    case 9:
        return kMonitorErrorText;
    case 10:
        return "\r\nThe monitor's control is locked.\r\nPlease unlock.\r\n";
    case 12:
        return "\r\nCannot login the monitor.\r\nUser name or password may be wrong.\r\n";
    case 13:
        return "\r\nCannot access to the monitor.\r\nPlease check this PC's IP address is permitted to access.\r\n";
    default:
        return isLan(monitor) ? lanStatusText(monitor, status) : serialStatusText(monitor, status);
    }
}

} // namespace

CommandNames CommandNames::load(const std::string& path)
{
    CommandNames names;
    CCsvLineFile file;
    if (!file.openRead(path))
        return names;
    while (file.readLine()) {
        std::string code;
        std::string name;
        if (file.nextField(code) && file.nextField(name) && !name.empty())
            names.m_names.emplace(code, name);
    }
    return names;
}

CommandNames CommandNames::loadBesideProgram()
{
    return load(programFilesFolder() + "/CommandName.csv");
}

std::string CommandNames::failureLine(std::string_view reportText) const
{
    if (reportText.size() < 4)
        return {};
    const auto found = m_names.find(reportText.substr(0, 4));
    if (found == m_names.end())
        return {};
    const bool query = reportText.size() >= 5 && reportText[4] == '?';
    return (query ? "Fail to get " : "Fail to set ") + found->second + ".\r\n\r\n";
}

std::string openFailureText(const TESSERA_PANEL_DATA& monitor)
{
    if (isLan(monitor))
        return monitorNameLine(monitor) + "\r\nLumivane Server or another module may be accessing " + address(monitor) +
               ".\r\nPlease retry after a little wait.\r\n";
    return monitorNameLine(monitor) + "\r\nLumivane Server or another module may use " + comPort(monitor) +
           " Port.\r\nPlease retry after a little wait.\r\n";
}

std::string monitorIdErrorText(const TESSERA_PANEL_DATA& monitor)
{
    return monitorNameLine(monitor) + "\r\n" + monitorIdProblem(monitor) + "\r\n";
}

std::string commandFailureText(const TESSERA_PANEL_DATA& monitor, int status, std::string_view reportText,
                               const CommandNames& names)
{
    return names.failureLine(reportText) + monitorNameLine(monitor) + "Command : " + std::string(reportText) + "\r\n" +
           statusText(monitor, status);
}

} // namespace lumivane
