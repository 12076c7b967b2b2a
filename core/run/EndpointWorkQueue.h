#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace lumivane {

// Work on monitors, several endpoints at once. Each job names its endpoint (a COM port with its chain, or a
// LAN address and port with the chain behind it): the jobs of one endpoint run one after another in the
// order they were queued, jobs of different endpoints on up to `parallel` threads at the same time. With
// `parallel` 1 every job runs in queue order, one at a time.
//
// A job that waits (the pause between power queries) gives its place to other endpoints while it waits and
// keeps its endpoint, so waiting is not what limits how many monitors are worked.
//
// Jobs may be queued from any thread until the queue has run to its end. The monitoring server and lumictl
// work their monitors through it.
class EndpointWorkQueue
{
public:
    using Job = std::function<void()>;
    struct Entry
    {
        std::string endpoint;
        Job job;
    };

    // Threads that wait in pause() beyond `parallel`; a job that would pass this keeps its place.
    static constexpr int kMaxPausedJobs = 256;

    explicit EndpointWorkQueue(int parallel);
    EndpointWorkQueue(const EndpointWorkQueue&) = delete;
    EndpointWorkQueue& operator=(const EndpointWorkQueue&) = delete;
    ~EndpointWorkQueue(); // runToEnd()

    // Queues `entries` in their order. Urgent ones go before every ordinary job not yet started (after the
    // urgent ones queued earlier). False, with nothing queued, once the queue has run to its end.
    bool add(std::vector<Entry> entries, bool urgent);
    // Works on the calling thread too until nothing is queued or running, then takes no more jobs and
    // joins its threads.
    void runToEnd();

    // From inside a job: runs `wait` (a sleep) without holding one of the `parallel` places meanwhile, when
    // more than one is allowed; gives what `wait` gave.
    bool pause(const std::function<bool()>& wait);

private:
    void workerLoop(std::unique_lock<std::mutex>& lock);
    // The first queued job whose endpoint is free; end() when there is none.
    std::deque<Entry>::iterator nextRunnable();
    bool mayStartJob() { return m_resuming == 0 && m_active < m_parallel && nextRunnable() != m_queue.end(); }
    bool drained() const { return m_queue.empty() && m_running == 0; }
    // Starts a thread when work waits, a place is free and no idle thread can take it.
    void spawnIfNeeded();

    const int m_parallel;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Entry> m_queue;
    size_t m_urgent = 0; // the first m_urgent entries of m_queue are urgent
    std::set<std::string> m_busyEndpoints;
    int m_threads = 0;     // worker threads alive, the caller of runToEnd included
    int m_idle = 0;        // threads waiting for a job
    int m_starting = 0;    // threads started and not yet waiting
    int m_active = 0;      // jobs running and holding a place
    int m_paused = 0;      // jobs waiting in pause() without a place
    int m_resuming = 0;    // jobs back from pause() waiting for a place; they come before new jobs
    int m_running = 0;     // jobs started and not ended
    bool m_ending = false; // runToEnd was called: a drained queue ends
    bool m_ended = false;
    std::vector<std::thread> m_pool;
};

} // namespace lumivane
