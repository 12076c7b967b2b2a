#pragma once

#include "CommandItem.h"
#include "RunObserver.h"
#include "tessera.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace lumivane {

// The link's baud code of a speed: 5 for 19200, 6 for 38400, 7 for 115200, 4 for anything else (9600).
int linkBaudCode(int baudRate);

// "%d.%d.%d.%d" of an address whose first octet is the most significant byte.
std::string ipv4Text(uint32_t address);

// "LAN%d.%d.%d.%d:%d" for a LAN monitor, "COM%d" otherwise.
std::string monitorPortText(const TESSERA_PANEL_DATA& monitor);

// Whether the monitor's ID fits the link's ID field (0 to 255). A monitor with another ID (a hand-edited
// or imported store) is never opened: its ID cut to eight bits would address another monitor.
bool hasValidMonitorId(const TESSERA_PANEL_DATA& monitor);
// "The monitor ID 257 is out of range (0 to 255)."
std::string monitorIdProblem(const TESSERA_PANEL_DATA& monitor);

// The open flags: the ID (0 for a LAN monitor that has a MAC address), the wait value and the baud code.
uint32_t monitorOpenFlags(const TESSERA_PANEL_DATA& monitor, int waitValue);

// The run's cancel flag. The link library reads it through a volatile int32_t pointer.
class CancelFlag
{
public:
    void set() { m_value.store(1); }
    bool isSet() const { return m_value.load() != 0; }
    volatile int32_t* forLink() { return reinterpret_cast<volatile int32_t*>(&m_value); }

private:
    static_assert(sizeof(std::atomic<int32_t>) == sizeof(int32_t) && std::atomic<int32_t>::is_always_lock_free);
    std::atomic<int32_t> m_value{0};
};

enum class OpenOutcome { Opened = 0, SkipMonitor = 2, AbortRun = 3 };

// Opens the link to a monitor, asking the observer what to do while it fails (Retry Command opens again,
// Skip Monitor gives SkipMonitor, Abort gives AbortRun). A set cancel flag ends with AbortRun. A monitor
// whose ID is out of range is reported and never opened: only skipping it or ending the run is left.
OpenOutcome openMonitorLink(const TESSERA_PANEL_DATA& monitor, bool severalMonitors, RunObserver& observer,
                            CancelFlag& cancel, int waitValue, LinkHandle& link);

} // namespace lumivane
