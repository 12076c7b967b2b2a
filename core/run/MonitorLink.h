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
// Skip Monitor gives SkipMonitor, Abort gives AbortRun). A set cancel flag ends with AbortRun.
OpenOutcome openMonitorLink(const TESSERA_PANEL_DATA& monitor, bool severalMonitors, RunObserver& observer,
                            CancelFlag& cancel, int waitValue, LinkHandle& link);

} // namespace lumivane
