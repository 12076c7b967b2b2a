#pragma once

#include "StoreFiles.h"
#include "tessera.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumivane {
class NamedMutex;
}

namespace lumivane::tessera {

// The list behind a panel handle and the file it was last read from or written to.
struct CPanelData
{
    std::vector<TESSERA_PANEL_DATA> panels;
    std::string path;
};

// The list behind a group handle, with the last group number handed out.
struct CGroupData
{
    GroupList list;
    std::string path;
};

using MessageHandler = void (*)(const char* caption, const char* text);

// The library's state: the open handles, the last error text, the show-errors switch and the lock.
// Handles are serial numbers that are never reused, so a closed handle stays invalid for good.
class CTESSERAApp
{
public:
    static CTESSERAApp& instance();

    TESSERA_PANEL addPanel(std::unique_ptr<CPanelData> data);
    TESSERA_GROUP addGroup(std::unique_ptr<CGroupData> data);
    CPanelData* panel(TESSERA_PANEL handle) const;
    CGroupData* group(TESSERA_GROUP handle) const;
    bool removePanel(TESSERA_PANEL handle);
    bool removeGroup(TESSERA_GROUP handle);
    void closeAll();

    void clearError() { m_lastError.clear(); }
    void setError(std::string text);
    const char* lastError() const { return m_lastError.c_str(); }
    void setShowErrors(bool show) { m_showErrors = show; }
    void setMessageHandler(MessageHandler handler) { m_messageHandler = handler; }

    void openLock();
    void closeLock(); // releases what the calling thread still holds first
    // Takes the machine-wide lock (recursive per thread). When it cannot be taken, the calling thread's
    // writes fail (writeAllowed) until the matching unlock: nothing is written without the lock.
    bool lock(std::optional<std::chrono::milliseconds> timeout = std::nullopt);
    void unlock();
    // False, with the error text set, while a failed lock of the calling thread is not yet unlocked.
    bool writeAllowed();

private:
    CTESSERAApp();
    ~CTESSERAApp();

    std::map<uintptr_t, std::unique_ptr<CPanelData>> m_panels;
    std::map<uintptr_t, std::unique_ptr<CGroupData>> m_groups;
    uintptr_t m_nextHandle = 1;
    std::string m_lastError;
    bool m_showErrors = true;
    MessageHandler m_messageHandler = nullptr;
    std::unique_ptr<NamedMutex> m_lock;
};

} // namespace lumivane::tessera
