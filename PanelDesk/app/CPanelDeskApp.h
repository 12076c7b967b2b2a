#pragma once

#include "Authority.h"
#include "CPanelDeskDlg.h"

#include <QObject>
#include <QPointer>

#include <atomic>

namespace lumivane {

class Prompter;
class SingleInstance;

// The console program: settings and translation, one console per machine, the panel store, the log-in
// and the main window. run() is the whole life of the program; a QApplication must exist.
class CPanelDeskApp : public QObject
{
    Q_OBJECT
public:
    static constexpr const char* kInstanceName = "VaneController";

    explicit CPanelDeskApp(Prompter& prompter);
    ~CPanelDeskApp() override;

    // The exit code: 0 also when another console was running (it was brought forward) or the log-in was
    // cancelled; 1 when the single-instance mutex or its socket cannot be had.
    int run();

    // The main window while it is open (tests).
    CPanelDeskDlg* mainWindow() const { return m_mainWindow; }

signals:
    // A later start asked this console to come forward, and it did.
    void broughtForward();

private:
    void bringForward();
    int runLoggedIn();

    Prompter& m_prompter;
    QPointer<CPanelDeskDlg> m_mainWindow;
    // Set while a call of bringForward() waits on the interface thread: more requests add nothing.
    std::atomic<bool> m_activationPending{false};
};

// The panel store shows its errors in a warning box above every window through `prompter`; null restores
// the store's default.
void showStoreErrorsWith(Prompter* prompter);

} // namespace lumivane
