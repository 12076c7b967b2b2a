#include "TesseraApp.h"

#include "DataFolder.h"
#include "NamedMutex.h"

#include <cstdio>

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

void CTESSERAApp::openLock()
{
    if (!m_lock)
        m_lock = std::make_unique<NamedMutex>(makeGlobalName(kLockName));
}

void CTESSERAApp::closeLock()
{
    m_lock.reset();
}

void CTESSERAApp::lock()
{
    openLock();
    if (!m_lock->lock())
        std::fprintf(stderr, "%s: cannot take the store lock: %s\n", kCaption, m_lock->lastError().c_str());
}

void CTESSERAApp::unlock()
{
    if (m_lock)
        m_lock->unlock();
}

} // namespace lumivane::tessera
