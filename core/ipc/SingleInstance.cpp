#include "SingleInstance.h"

#include "DataFolder.h"

#include <thread>

namespace lumivane {

SingleInstance::SingleInstance(const std::string& mutexName, std::string windowClass)
    : m_mutex(makeGlobalName(mutexName)), m_windowClass(std::move(windowClass))
{
}

SingleInstance::~SingleInstance()
{
    m_listener.close();
    if (m_owner)
        m_mutex.unlock();
}

SingleInstance::Start SingleInstance::start(std::string& error)
{
    if (m_owner)
        return Start::First;
    if (!m_mutex.tryLock()) {
        if (!m_mutex.lastError().empty()) {
            error = m_mutex.lastError();
            return Start::Failed;
        }
        return Start::AlreadyRunning;
    }
    m_owner = true;
    if (!m_listener.listenAs(m_windowClass, error)) {
        m_mutex.unlock();
        m_owner = false;
        return Start::Failed;
    }
    return Start::First;
}

PostResult SingleInstance::postToRunning(const WindowMessage& message, std::chrono::milliseconds patience) const
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        const PostResult result = postWindowMessage(m_windowClass, message);
        if (result != PostResult::NoListener || std::chrono::steady_clock::now() >= deadline)
            return result;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

} // namespace lumivane
