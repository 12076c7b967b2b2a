#include "MonitorLink.h"

#include "CommunicationErrors.h"
#include "corvalink.h"

namespace lumivane {
int linkBaudCode(int baudRate)
{
    switch (baudRate) {
    case 19200:
        return 5;
    case 38400:
        return 6;
    case 115200:
        return 7;
    default:
        return 4;
    }
}

std::string ipv4Text(uint32_t a)
{
    return std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 0xFF) + "." + std::to_string((a >> 8) & 0xFF) +
           "." + std::to_string(a & 0xFF);
}

std::string monitorPortText(const TESSERA_PANEL_DATA& monitor)
{
    if (monitor.nInterface != 1)
        return "COM" + std::to_string(monitor.nComPort);
    return "LAN" + ipv4Text(monitor.dwIPAddress) + ":" + std::to_string(monitor.nDataPort);
}

bool hasValidMonitorId(const TESSERA_PANEL_DATA& monitor)
{
    return monitor.nMonitorID >= 0 && monitor.nMonitorID <= 255;
}

std::string monitorIdProblem(const TESSERA_PANEL_DATA& monitor)
{
    return "The monitor ID " + std::to_string(monitor.nMonitorID) + " is out of range (0 to 255).";
}

uint32_t monitorOpenFlags(const TESSERA_PANEL_DATA& monitor, int waitValue)
{
    const bool lanWithMac = monitor.nInterface == 1 && monitor.szMACAddress[0] != '\0';
    const int id = lanWithMac ? 0 : monitor.nMonitorID;
    return LINK_FLAGS(id, 0, waitValue, linkBaudCode(monitor.nBaudRate));
}

OpenOutcome openMonitorLink(const TESSERA_PANEL_DATA& monitor, bool severalMonitors, RunObserver& observer,
                            CancelFlag& cancel, int waitValue, LinkHandle& link)
{
    link = nullptr;
    if (!hasValidMonitorId(monitor)) {
        const ErrorBox box{monitorIdErrorText(monitor), false, severalMonitors};
        const bool skip = observer.askOnError(box) != ErrorChoice::Abort && severalMonitors;
        return skip ? OpenOutcome::SkipMonitor : OpenOutcome::AbortRun;
    }
    const std::string port = monitorPortText(monitor);
    const uint32_t flags = monitorOpenFlags(monitor, waitValue);
    const bool lan = monitor.nInterface == 1;
    for (;;) {
        link = LinkOpenLogin(port.c_str(), lan ? monitor.szUserName : nullptr, lan ? monitor.szPassword : nullptr,
                             flags, cancel.forLink());
        if (cancel.isSet()) {
            if (link)
                LinkClose(link);
            link = nullptr;
            return OpenOutcome::AbortRun;
        }
        if (link)
            return OpenOutcome::Opened;
        const ErrorBox box{openFailureText(monitor), false, severalMonitors};
        switch (observer.askOnError(box)) {
        case ErrorChoice::RetryCommand:
            continue;
        case ErrorChoice::SkipCommand: // disabled in this box: an observer that sends it leaves the monitor
        case ErrorChoice::SkipMonitor: // disabled for a single monitor: there is nothing left but to end
            return severalMonitors ? OpenOutcome::SkipMonitor : OpenOutcome::AbortRun;
        case ErrorChoice::Abort:
            return OpenOutcome::AbortRun;
        }
    }
}

} // namespace lumivane
