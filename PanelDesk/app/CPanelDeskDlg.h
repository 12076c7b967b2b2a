#pragma once

#include "Authority.h"
#include "common/ServerLink.h"

#include <QDialog>

#include <cstdint>

class QAction;
class QFrame;
class QPushButton;

namespace lumivane {

class COperationDlg;
class Prompter;
struct ConsoleContext;

// The console's main window: a row of buttons above the page area that holds the operation window. The
// buttons are laid out by the operator's authority, fixed for the life of the window.
class CPanelDeskDlg : public QDialog
{
    Q_OBJECT
public:
    CPanelDeskDlg(ConsoleContext& context, Authority authority, uint16_t customizeMask, bool inputModeAvailable,
                  QWidget* parent = nullptr);

    Authority authority() const { return m_authority; }
    bool restrictedLayout() const { return m_restrictedLayout; }
    COperationDlg* operationPage() const { return m_operationPage; }
    // Where "Monitoring" looks for the server program (the console's program folder unless set).
    void setServerStarter(ServerStarter starter) { m_serverStarter = std::move(starter); }

public slots:
    void showVersionInformation();
    void startServer();

private:
    QPushButton* addButton(const char* text, const char* objectName);
    void layOut(uint16_t customizeMask, bool inputModeAvailable);
    void openMonitorControl();
    void openScheduleSetting();
    void openPasswordSetting();
    void openEnlargeSetting();
    void openMailMonitoringSetting();

    ConsoleContext& m_context;
    Prompter& m_prompter;
    Authority m_authority;
    bool m_restrictedLayout = false;
    ServerStarter m_serverStarter;

    QPushButton* m_monitorControlButton;
    QPushButton* m_monitoringButton;
    QPushButton* m_scheduleButton;
    QPushButton* m_mailMonitoringSettingButton;
    QPushButton* m_passwordSettingButton;
    QPushButton* m_enlargeButton;
    QFrame* m_pageFrame;
    COperationDlg* m_operationPage;
    QAction* m_versionAction;
};

} // namespace lumivane
