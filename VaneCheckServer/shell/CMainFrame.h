#pragma once

#include "CTrayIcon.h"
#include "Clock.h"
#include "EngineHost.h"
#include "ServerEngine.h"
#include "StatusList.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <memory>

namespace lumivane {

class CErrorDlg;
class CServCommunicateDlg;
class CShowStateDlg;
class Prompter;
class ServerProgram;

// The server on a desktop: the engine driven by the 1-second and the 10-second timers and by the window
// messages of other programs, the tray icon with its menu, the status window, the progress dialog of a
// command from it and the error list. It has no window of its own.
class CMainFrame : public QObject, public EngineHost
{
    Q_OBJECT
public:
    struct Options
    {
        CTrayIcon::Retries trayRetries;
        std::chrono::milliseconds tickPeriod{10000};
    };

    CMainFrame(ServerProgram& program, Prompter& prompter, Clock& clock, Options options);
    ~CMainFrame() override;

    // Frame creation: the engine starts, the tray icon is added, the timers start, the status window is made
    // (hidden) and, when the command line asked for it, opened.
    void start();
    // "E&xit": ends the engine (the worker is cancelled and joined), closes the windows, ends the program.
    void exitServer();

    // "&Show State..." and message 1128: opens or raises the status window; level 0 asks for a log-in.
    void openStatusWindow(int authority) override;

    ServerEngine& engine() { return m_engine; }
    CTrayIcon& tray() { return m_tray; }
    CShowStateDlg* statusWindow() const { return m_statusWindow.get(); }
    CErrorDlg* errorList() const { return m_errorList; }
    CServCommunicateDlg* progressDialog() const { return m_progress; }
    QMenu& trayMenu() { return m_trayMenu; }
    // Whether a right click on the tray icon would show the menu now.
    bool trayMenuAllowed() const;
    bool blinkPhase() const { return m_blinkPhase; }

    // EngineHost
    void postToStatusWindow(int message, int wParam) override;
    void setInputPermission(bool inputModeAvailable) override;
    void restartTickTimer() override;
    void addErrorListEntry(const std::string& monitorName, const std::string& text) override;
    void showErrorList() override;
    void closeProgressDialog() override;
    void postRunFinished(int errorCount) override;
    void postManualProgress(int done) override;

private:
    void onSecondTimer();
    void updateTrayIcon();
    void onTrayActivated(QSystemTrayIcon::ActivationReason reason);
    void onTrayGaveUp();
    void showProgress(int total);
    bool modalOpen() const { return !m_errorList.isNull(); }
    void listenForMessages();
    void finishExit();

    ServerProgram& m_program;
    Prompter& m_prompter;
    ServerEngine m_engine;
    Options m_options;
    ClockJumpDetector m_clockJumps;
    CTrayIcon m_tray;
    QMenu m_trayMenu;
    QTimer m_secondTimer;
    QTimer m_tickTimer;
    std::unique_ptr<CShowStateDlg> m_statusWindow;
    QPointer<CErrorDlg> m_errorList;
    QPointer<CServCommunicateDlg> m_progress;
    ErrorListEntries m_pendingErrors;
    bool m_inputModeAvailable = true;
    bool m_blinkPhase = false;
    bool m_authenticating = false;
    bool m_exiting = false;
};

} // namespace lumivane
