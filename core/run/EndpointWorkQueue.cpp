#include "EndpointWorkQueue.h"

#include <algorithm>
#include <system_error>

namespace lumivane {

EndpointWorkQueue::EndpointWorkQueue(int parallel) : m_parallel(std::max(1, parallel)) {}

EndpointWorkQueue::~EndpointWorkQueue()
{
    runToEnd();
}

bool EndpointWorkQueue::add(std::vector<Entry> entries, bool urgent)
{
    const std::lock_guard lock(m_mutex);
    if (m_ended)
        return false;
    for (Entry& entry : entries) {
        if (urgent)
            m_queue.insert(m_queue.begin() + static_cast<std::ptrdiff_t>(m_urgent++), std::move(entry));
        else
            m_queue.push_back(std::move(entry));
    }
    spawnIfNeeded();
    m_changed.notify_all();
    return true;
}

void EndpointWorkQueue::runToEnd()
{
    std::unique_lock lock(m_mutex);
    if (m_ended && m_pool.empty())
        return;
    if (!m_ended) {
        m_ending = true;
        ++m_threads;
        m_changed.notify_all();
        workerLoop(lock);
    }
    // No thread starts once the queue has ended, so the pool can be joined without the lock.
    lock.unlock();
    for (std::thread& thread : m_pool)
        thread.join();
    m_pool.clear();
}

bool EndpointWorkQueue::pause(const std::function<bool()>& wait)
{
    std::unique_lock lock(m_mutex);
    // One place means strictly one job at a time: the pause keeps it.
    const bool release = m_parallel > 1 && m_paused + m_resuming < kMaxPausedJobs;
    if (release) {
        --m_active;
        ++m_paused;
        spawnIfNeeded();
        m_changed.notify_all();
    }
    lock.unlock();
    const bool completed = wait();
    lock.lock();
    if (release) {
        --m_paused;
        ++m_resuming;
        m_changed.wait(lock, [this] { return m_active < m_parallel; });
        --m_resuming;
        ++m_active;
    }
    return completed;
}

void EndpointWorkQueue::workerLoop(std::unique_lock<std::mutex>& lock)
{
    for (;;) {
        ++m_idle;
        m_changed.wait(lock, [this] { return m_ended || mayStartJob() || (m_ending && drained()); });
        --m_idle;
        if (m_ended)
            return;
        if (m_ending && drained()) {
            m_ended = true;
            m_changed.notify_all();
            return;
        }
        const auto next = nextRunnable();
        if (static_cast<size_t>(next - m_queue.begin()) < m_urgent)
            --m_urgent;
        Entry item = std::move(*next);
        m_queue.erase(next);
        m_busyEndpoints.insert(item.endpoint);
        ++m_active;
        ++m_running;
        spawnIfNeeded();

        lock.unlock();
        item.job();
        item.job = nullptr; // what the job holds goes before the queue hears of its end
        lock.lock();

        --m_active;
        --m_running;
        m_busyEndpoints.erase(item.endpoint);
        m_changed.notify_all();
    }
}

std::deque<EndpointWorkQueue::Entry>::iterator EndpointWorkQueue::nextRunnable()
{
    return std::find_if(m_queue.begin(), m_queue.end(),
                        [this](const Entry& queued) { return m_busyEndpoints.count(queued.endpoint) == 0; });
}

void EndpointWorkQueue::spawnIfNeeded()
{
    if (m_ended || m_idle + m_starting > 0 || !mayStartJob())
        return;
    // Paused jobs keep their threads: the threads beyond `parallel` are as many as jobs are paused.
    if (m_threads >= m_parallel + m_paused + m_resuming)
        return;
    try {
        m_pool.emplace_back([this] {
            std::unique_lock lock(m_mutex);
            --m_starting;
            workerLoop(lock);
        });
    } catch (const std::system_error&) {
        return; // the threads there are carry the work
    }
    ++m_threads;
    ++m_starting; // it will take the waiting job: no second thread is started for that
}

} // namespace lumivane
