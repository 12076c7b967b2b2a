#include "CMainFrame.h"

#include "CErrorDlg.h"
#include "CServCommunicateDlg.h"
#include "CShowStateDlg.h"
#include "HeadlessShell.h"
#include "RunWithWindows.h"
#include "ServerProgram.h"
#include "Settings.h"
#include "StopSignals.h"
#include "common/Prompter.h"
#include "common/UiText.h"
#include "security/CAuthentificationDlg.h"

#include <QApplication>
#include <QCursor>
#include <QMetaObject>

namespace lumivane {

CMainFrame::CMainFrame(ServerProgram& program, Prompter& prompter, Clock& clock, Options options)
    : m_program(program), m_prompter(prompter), m_engine(*this, program.serverLog(), clock), m_options(options),
      m_tray(options.trayRetries)
{
    m_trayMenu.addAction(ConsoleText::tr("&Show State..."), this, [this] { openStatusWindow(0); });
    m_trayMenu.addAction(ConsoleText::tr("E&xit"), this, &CMainFrame::exitServer);
    connect(&m_tray, &CTrayIcon::activated, this, &CMainFrame::onTrayActivated);
    connect(&m_tray, &CTrayIcon::added, this, [this] { m_tray.SetTip(uiText(528)); });
    connect(&m_tray, &CTrayIcon::gaveUp, this, &CMainFrame::onTrayGaveUp);
    connect(&m_secondTimer, &QTimer::timeout, this, &CMainFrame::onSecondTimer);
    connect(&m_tickTimer, &QTimer::timeout, this, [this] { m_engine.onTick(); });
}

CMainFrame::~CMainFrame()
{
    // No more calls into this object from the listener's thread; then the worker ends before the windows go.
    m_program.listener().stop();
    m_engine.shutdown();
    if (m_errorList)
        delete m_errorList.data();
    if (m_progress)
        delete m_progress.data();
}

void CMainFrame::start()
{
    m_clockJumps.check();
    m_engine.start();
    m_tray.Add(m_engine.trayState().icon(m_blinkPhase), QString());
    m_secondTimer.start(1000);
    m_tickTimer.start(m_options.tickPeriod);
    m_statusWindow = std::make_unique<CShowStateDlg>(
        m_engine, m_prompter, [this] { return modalOpen(); }, [this](int total) { showProgress(total); });
    m_statusWindow->SetAuthority(0, m_inputModeAvailable);
    listenForMessages();
    if (m_program.commandLine().show)
        openStatusWindow(m_program.commandLine().showAuthority);
}

void CMainFrame::listenForMessages()
{
    m_program.listener().start([this](const WindowMessage& message) {
        QMetaObject::invokeMethod(
            this,
            [this, message] {
                if (!m_exiting)
                    m_engine.onMessage(message.message, message.wParam, message.lParam);
            },
            Qt::QueuedConnection);
    });
}

void CMainFrame::onSecondTimer()
{
    if (m_clockJumps.check()) {
        m_program.serverLog().Trace("The system clock was changed.");
        m_engine.onClockChanged();
    }
    m_blinkPhase = !m_blinkPhase;
    updateTrayIcon();
}

void CMainFrame::updateTrayIcon()
{
    m_tray.SetIcon(m_engine.trayState().icon(m_blinkPhase));
}

bool CMainFrame::trayMenuAllowed() const
{
    return !m_authenticating && !modalOpen() && !m_exiting;
}

void CMainFrame::onTrayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::Context)
        return;
    if (m_errorList)
        m_errorList->present();
    else if (m_statusWindow && m_statusWindow->isVisible())
        m_statusWindow->activateWindow();
    if (reason == QSystemTrayIcon::Context && trayMenuAllowed())
        m_trayMenu.popup(QCursor::pos());
}

void CMainFrame::onTrayGaveUp()
{
    // Schedules and monitoring go on without the icon: a desktop without a notification area must not
    // cost the operator the 08:00 switch-on.
    m_program.serverLog().Error("No notification area appeared in six minutes; the server runs without its "
                                "icon. \"lumiwatch /show N\" opens the status window.");
}

void CMainFrame::openStatusWindow(int authority)
{
    // Later, on the main loop: the log-in box must not wait inside the handling of a message.
    QMetaObject::invokeMethod(
        this,
        [this, authority] {
            if (m_exiting || !m_statusWindow)
                return;
            if (m_statusWindow->isVisible()) {
                m_statusWindow->setWindowState(m_statusWindow->windowState() & ~Qt::WindowMinimized);
                m_statusWindow->raise();
                m_statusWindow->activateWindow();
                return;
            }
            int level = authority;
            if (level == 0) {
                if (m_authenticating)
                    return;
                m_authenticating = true;
                CAuthentificationDlg login(m_prompter);
                level = static_cast<int>(login.login());
                m_authenticating = false;
            }
            if (level < 1 || level > 3 || m_exiting)
                return;
            m_statusWindow->SetAuthority(level, m_inputModeAvailable);
            m_statusWindow->setWindowState(m_statusWindow->windowState() & ~Qt::WindowMinimized);
            m_statusWindow->show();
            m_statusWindow->raise();
            m_statusWindow->activateWindow();
        },
        Qt::QueuedConnection);
}

void CMainFrame::postToStatusWindow(int message, int wParam)
{
    QMetaObject::invokeMethod(
        this,
        [this, message, wParam] {
            if (m_statusWindow)
                m_statusWindow->onWindowMessage(message, wParam);
        },
        Qt::QueuedConnection);
}

void CMainFrame::setInputPermission(bool inputModeAvailable)
{
    m_inputModeAvailable = inputModeAvailable;
    if (m_statusWindow)
        m_statusWindow->SetAuthority(0, inputModeAvailable);
}

void CMainFrame::restartTickTimer()
{
    if (m_tickTimer.isActive())
        m_tickTimer.start(m_options.tickPeriod);
}

void CMainFrame::addErrorListEntry(const std::string& monitorName, const std::string& text)
{
    if (!m_errorList) {
        m_pendingErrors.add(monitorName, text);
        return;
    }
    if (m_errorList->addEntry(monitorName, text))
        m_errorList->present();
}

void CMainFrame::showErrorList()
{
    if (m_exiting)
        return;
    if (!m_errorList) {
        if (m_pendingErrors.empty())
            return;
        m_errorList = new CErrorDlg;
        m_errorList->addEntries(m_pendingErrors);
        m_pendingErrors = ErrorListEntries{};
    }
    m_errorList->present();
}

void CMainFrame::showProgress(int total)
{
    if (m_progress)
        return;
    m_progress = new CServCommunicateDlg(total, [this] { m_engine.cancelRun(); }, m_statusWindow.get());
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    m_progress->show();
}

void CMainFrame::closeProgressDialog()
{
    // Hidden and deleted, not closed: closing would count as the operator's Cancel.
    if (m_progress) {
        m_progress->hide();
        m_progress->deleteLater();
    }
}

void CMainFrame::postRunFinished(int errorCount)
{
    QMetaObject::invokeMethod(this, [this, errorCount] { m_engine.onRunFinished(errorCount); }, Qt::QueuedConnection);
}

void CMainFrame::postManualProgress(int done)
{
    QMetaObject::invokeMethod(
        this,
        [this, done] {
            if (m_progress)
                m_progress->setDone(done);
        },
        Qt::QueuedConnection);
}

void CMainFrame::exitServer()
{
    if (m_exiting)
        return;
    m_exiting = true;
    closeProgressDialog();
    m_engine.shutdown();
    if (m_statusWindow)
        m_statusWindow->hide();
    if (m_errorList)
        m_errorList->close();
    m_secondTimer.stop();
    m_tickTimer.stop();
    m_tray.Remove();
    // Every event loop ends, also that of a dialog still open (the log-in box, a property dialog).
    QCoreApplication::exit(0);
}

int runWithWindows(int& argc, char** argv, const ServerCommandLine& commandLine)
{
    StopSignals::block();
    ServerProgram program(commandLine);
    if (const std::optional<int> exitCode = ServerProgram::exitCodeWithoutRun(program.start()))
        return *exitCode;
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    setApplicationTitleMessage(528);
    loadTranslation(processSettings().environment.resource);
    QtPrompter prompter;
    int result = 0;
    {
        CMainFrame frame(program, prompter, systemClock(), {CTrayIcon::Retries{}, HeadlessShell::tickPeriod()});
        const StopSignals stopSignals([&frame] {
            QMetaObject::invokeMethod(&frame, [&frame] { frame.exitServer(); }, Qt::QueuedConnection);
        });
        frame.start();
        result = QApplication::exec();
    }
    unloadTranslation();
    return result;
}

} // namespace lumivane
