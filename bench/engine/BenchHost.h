#pragma once

#include "EngineHost.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace lumivane::bench {

// The engine's host in the benchmarks: it only notes the end of each run, for the bench to wait on.
class BenchHost : public EngineHost
{
public:
    void postRunFinished(int errorCount) override
    {
        {
            const std::lock_guard lock(m_mutex);
            m_errors = errorCount;
            m_done = true;
        }
        m_wake.notify_all();
    }
    // The error count of the run that ended.
    int wait()
    {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return m_done; });
        return take();
    }
    // The same, when the run ended within `limit`.
    std::optional<int> waitFor(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(m_mutex);
        if (!m_wake.wait_for(lock, limit, [this] { return m_done; }))
            return std::nullopt;
        return take();
    }

private:
    int take()
    {
        m_done = false;
        return m_errors;
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    int m_errors = 0;
};

} // namespace lumivane::bench
