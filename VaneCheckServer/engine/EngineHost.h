#pragma once

#include <string>

namespace lumivane {

// Messages the frame posts to the status window.
namespace statusWindowMessages {
inline constexpr int kRunState = 1224;       // wParam 0: a run started, 1: it ended
inline constexpr int kStatusChanged = 1225;  // refill the list
inline constexpr int kPanelsReloaded = 1226; // refill the group tree and the list
} // namespace statusWindowMessages

// Messages inside the server.
namespace serverMessagesInternal {
inline constexpr int kRunFinished = 1524;    // worker to frame, wParam the error count
inline constexpr int kManualProgress = 1324; // worker to progress dialog, wParam the monitors done
} // namespace serverMessagesInternal

// What the engine asks of the program around it: a window shell (tray icon, status window) or the headless
// loop. Everything is called on the main thread unless said otherwise. The defaults do nothing, which is
// what a program without windows wants.
class EngineHost
{
public:
    virtual ~EngineHost() = default;

    // Posts one of statusWindowMessages to the status window; must not block.
    virtual void postToStatusWindow(int /*message*/, int /*wParam*/) {}
    // The status window's input permission changed (settings were read).
    virtual void setInputPermission(bool /*inputModeAvailable*/) {}
    // Opens or raises the status window under an authority level (0: ask the operator to log in).
    virtual void openStatusWindow(int /*authority*/) {}
    // The 10-second timer starts counting anew (the settings were read).
    virtual void restartTickTimer() {}

    // The error list: entries wait until it is shown (at most 100 are kept).
    virtual void addErrorListEntry(const std::string& /*monitorName*/, const std::string& /*text*/) {}
    // Shows the error list when it holds entries. May block in a modal dialog: the engine calls it last, with
    // everything of the finished run settled.
    virtual void showErrorList() {}
    // Closes the progress dialog of a command from the status window, when it is open.
    virtual void closeProgressDialog() {}

    // From the worker thread: the run ended with `errorCount` monitors in error. Must not block; the host
    // calls ServerEngine::onRunFinished(errorCount) on the main thread.
    virtual void postRunFinished(int errorCount) = 0;
    // From a thread of the run (one at a time, the count rising): monitors done so far in a command from the
    // status window. Must not block.
    virtual void postManualProgress(int /*done*/) {}
};

} // namespace lumivane
