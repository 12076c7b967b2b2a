#include "TesseraApp.h"

#include "DataFolder.h"
#include "NamedMutex.h"

#include <cstdio>
#include <vector>

namespace lumivane::tessera {
namespace {

constexpr const char* kCaption = "TESSERA Library";
constexpr const char* kLockName = "Vaneboard TESSERA Lock";

void printMessage(const char* caption, const char* text)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

} // namespace

CTESSERAApp& CTESSERAApp::instance()
{
    static CTESSERAApp app;
    return app;
}

CTESSERAApp::CTESSERAApp() = default;
CTESSERAApp::~CTESSERAApp() = default;

TESSERA_PANEL CTESSERAApp::addPanel(std::unique_ptr<CPanelData> data)
{
    const uintptr_t handle = m_nextHandle++;
    m_panels.emplace(handle, std::move(data));
    return reinterpret_cast<TESSERA_PANEL>(handle);
}

TESSERA_GROUP CTESSERAApp::addGroup(std::unique_ptr<CGroupData> data)
{
    const uintptr_t handle = m_nextHandle++;
    m_groups.emplace(handle, std::move(data));
    return reinterpret_cast<TESSERA_GROUP>(handle);
}

CPanelData* CTESSERAApp::panel(TESSERA_PANEL handle) const
{
    const auto found = m_panels.find(reinterpret_cast<uintptr_t>(handle));
    return found == m_panels.end() ? nullptr : found->second.get();
}

CGroupData* CTESSERAApp::group(TESSERA_GROUP handle) const
{
    const auto found = m_groups.find(reinterpret_cast<uintptr_t>(handle));
    return found == m_groups.end() ? nullptr : found->second.get();
}

bool CTESSERAApp::removePanel(TESSERA_PANEL handle)
{
    return m_panels.erase(reinterpret_cast<uintptr_t>(handle)) == 1;
}

bool CTESSERAApp::removeGroup(TESSERA_GROUP handle)
{
    return m_groups.erase(reinterpret_cast<uintptr_t>(handle)) == 1;
}

void CTESSERAApp::closeAll()
{
    m_panels.clear();
    m_groups.clear();
}

void CTESSERAApp::setError(std::string text)
{
    m_lastError = std::move(text);
    if (m_showErrors && !m_lastError.empty())
        (m_messageHandler ? m_messageHandler : printMessage)(kCaption, m_lastError.c_str());
}

namespace {

// The calling thread's TESSERA_Lock calls not yet matched by TESSERA_Unlock: whether each took the lock.
thread_local std::vector<bool> t_lockLevels;
// Set while a lock of the calling thread failed, until its matching unlock.
thread_local std::string t_lockFailure;
thread_local size_t t_failedLevel = 0;

} // namespace

void CTESSERAApp::openLock()
{
    if (!m_lock)
        m_lock = std::make_unique<NamedMutex>(makeGlobalName(kLockName));
}

void CTESSERAApp::closeLock()
{
    while (!t_lockLevels.empty())
        unlock();
    m_lock.reset();
}

bool CTESSERAApp::lock(std::optional<std::chrono::milliseconds> timeout)
{
    openLock();
    const bool held = t_lockFailure.empty() && m_lock->lock(timeout);
    t_lockLevels.push_back(held);
    if (!held && t_lockFailure.empty()) {
        std::string reason = m_lock->lastError().empty() ? "another program holds it" : m_lock->lastError();
        while (!reason.empty() && reason.back() == '.')
            reason.pop_back();
        t_lockFailure = "Cannot lock the panel store: " + reason + ".";
        t_failedLevel = t_lockLevels.size();
    }
    return held;
}

void CTESSERAApp::unlock()
{
    if (t_lockLevels.empty())
        return;
    const bool held = t_lockLevels.back();
    t_lockLevels.pop_back();
    if (held && m_lock)
        m_lock->unlock();
    if (t_lockLevels.size() < t_failedLevel) {
        t_lockFailure.clear();
        t_failedLevel = 0;
    }
}

bool CTESSERAApp::writeAllowed()
{
    if (t_lockFailure.empty())
        return true;
    setError(t_lockFailure);
    return false;
}

} // namespace lumivane::tessera
