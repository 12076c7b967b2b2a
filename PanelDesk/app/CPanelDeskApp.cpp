#include "CPanelDeskApp.h"

#include "CPanelDeskDlg.h"
#include "DataFolder.h"
#include "PanelRegistry.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "WindowMessage.h"
#include "common/CommandRunner.h"
#include "common/ConsoleContext.h"
#include "common/Prompter.h"
#include "common/UiText.h"
#include "security/CAuthentificationDlg.h"
#include "tessera.h"

#include <QApplication>
#include <QMetaObject>

#include <cstdio>

namespace lumivane {
namespace {

Prompter* g_storePrompter = nullptr;

// The store reports its failures while its caller still holds the lock; the box waits for the unlock.
void showStoreError(const char* caption, const char* text)
{
    if (!g_storePrompter)
        return;
    showAfterStoreUnlock([title = QString::fromUtf8(caption), message = QString::fromUtf8(text)] {
        if (g_storePrompter)
            g_storePrompter->ask(QApplication::activeWindow(),
                                 {title, message, QMessageBox::Warning, QMessageBox::Ok, true});
    });
}

} // namespace

void showStoreErrorsWith(Prompter* prompter)
{
    g_storePrompter = prompter;
    TESSERA_SetMessageHandler(prompter ? showStoreError : nullptr);
}

CPanelDeskApp::CPanelDeskApp(Prompter& prompter) : m_prompter(prompter) {}

CPanelDeskApp::~CPanelDeskApp() = default;

int CPanelDeskApp::run()
{
    loadProcessSettings();
    loadTranslation(processSettings().environment.resource);
    // No application display name: the platform would append it to every dialog's title.

    SingleInstance instance(kInstanceName, kConsoleWindowClass);
    std::string error;
    switch (instance.start(error)) {
    case SingleInstance::Start::AlreadyRunning:
        instance.postToRunning({windowMessages::kActivate, 0, 0});
        return 0;
    case SingleInstance::Start::Failed:
        std::fprintf(stderr, "lumidesk: %s\n", error.c_str());
        return 1;
    case SingleInstance::Start::First:
        break;
    }
    // Messages arrive on the listener's thread; the window is brought forward on the interface thread.
    instance.listener().setRefusalLog(
        [](const std::string& text) { std::fprintf(stderr, "lumidesk: %s\n", text.c_str()); });
    instance.listener().start([this](const WindowMessage& message) {
        if (message.message == windowMessages::kActivate && !m_activationPending.exchange(true))
            QMetaObject::invokeMethod(this, &CPanelDeskApp::bringForward, Qt::QueuedConnection);
    });

    dataFolder(true); // the first console start creates the shared folder
    TESSERA_Initialize();
    showStoreErrorsWith(&m_prompter);
    const int result = runLoggedIn();
    showStoreErrorsWith(nullptr);
    TESSERA_Uninitialize();
    instance.listener().stop(); // no more calls into this object from the listener's thread
    unloadTranslation();
    return result;
}

int CPanelDeskApp::runLoggedIn()
{
    const Authority authority = CAuthentificationDlg(m_prompter).login();
    if (authority == Authority::None)
        return 0;
    const OperatorSettings& settings = processSettings().operatorSettings;
    QtDialogRunner dialogs;
    WindowCommandRunner runner(m_prompter);
    QtServerNotifier notifier;
    ConsoleContext context{m_prompter, dialogs, runner, notifier};
    CPanelDeskDlg window(context, authority, static_cast<uint16_t>(settings.customize),
                         settings.inputModeAvailable != 0);
    m_mainWindow = &window;
    window.exec();
    m_mainWindow = nullptr;
    return 0;
}

void CPanelDeskApp::bringForward()
{
    m_activationPending = false;
    // A modal box in front of the main window (the log-in, a dialog) is what the operator must see.
    QWidget* window = QApplication::activeModalWidget();
    if (!window)
        window = m_mainWindow;
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
    emit broughtForward();
}

} // namespace lumivane
