#pragma once

#include "CommandItem.h"
#include "CommunicationErrors.h"
#include "MonitorLink.h"
#include "RunObserver.h"
#include "tessera.h"

#include <atomic>
#include <functional>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace lumivane {

// What a run works on: the caller's items and monitors (both owned by the caller, read and written by
// the worker until the run ends) and the wait value for the open flags.
struct RunRequest {
    std::span<CommandItem> items;
    std::span<const TESSERA_PANEL_DATA* const> monitors;
    int waitValue = 0;
    // One monitor's share of a larger run whose monitors are worked several at once: it runs beside the
    // other shares instead of waiting for them, and its error box offers Skip Monitor as in a run of
    // several monitors.
    bool shareOfLargerRun = false;
};

// One communication run: a worker thread that walks the monitors one after the other, opens the link to
// each, carries out the items, reports progress and asks the observer what to do on a failure. Runs of
// one process never overlap: a second one waits until the first has ended.
class CommunicationRun
{
public:
    CommunicationRun(RunRequest request, RunObserver& observer);
    CommunicationRun(const CommunicationRun&) = delete;
    CommunicationRun& operator=(const CommunicationRun&) = delete;
    ~CommunicationRun(); // waits for the worker

    void start();
    // Works on the calling thread instead of a worker of its own, to the end; the exit code as wait() gives
    // it.
    int runHere();
    // Sets the cancel flag: the worker stops after the item it is carrying out.
    void cancel() { m_cancel.set(); }
    bool finished() const { return m_finished.load(); }
    // Waits for the worker; its exit code: 0 when every command of every monitor succeeded.
    int wait();

    // Used by the error box texts; "CommandName.csv" beside the program unless set.
    void setCommandNames(CommandNames names)
    {
        m_names = std::move(names);
        m_namesSet = true;
    }

private:
    int work();
    // Carries out the items on one open monitor; false when the run must end (abort or cancel).
    bool runMonitor(size_t position, LinkHandle& link, bool& failed);
    int32_t runItem(CommandItem& item, const TESSERA_PANEL_DATA& monitor, size_t position, LinkHandle link,
                    std::string& reportText);
    void progress(RunProgress what, int value) { m_observer.onProgress(what, value); }

    RunRequest m_request;
    RunObserver& m_observer;
    CommandNames m_names;
    bool m_namesSet = false;
    CancelFlag m_cancel;
    std::thread m_worker;
    std::atomic<bool> m_finished{false};
    int m_exitCode = 1;
};

// Runs the items over the monitors and waits for the end. True when every command of every monitor
// succeeded; false at once for an empty monitor list.
bool runCommandList(std::span<CommandItem> items, std::span<const TESSERA_PANEL_DATA* const> monitors,
                    RunObserver& observer, int waitValue = 0);

// The monitors worked up to `parallel` at once, each as a run of its own over its own items `items[i]`
// (a run may write into its items); monitors that share a COM port or a LAN address and port one after
// another in their order. Once `stopStarting` says so (the observer answered Abort) no further monitor is
// started and the running ones end. Gives for each monitor whether every command succeeded (a monitor
// not started has not).
std::vector<bool> runEachMonitor(std::vector<std::vector<CommandItem>>& items,
                                 std::span<const TESSERA_PANEL_DATA* const> monitors, RunObserver& observer,
                                 int parallel, const std::function<bool()>& stopStarting, int waitValue = 0);

// One SendText item per text (cut to 127 characters); false at once without texts or monitors.
bool runCommandTexts(const std::vector<std::string>& texts, std::span<const TESSERA_PANEL_DATA* const> monitors,
                     RunObserver& observer, int waitValue = 0);

} // namespace lumivane
