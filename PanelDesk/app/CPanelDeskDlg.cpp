#include "CPanelDeskDlg.h"

#include "WindowMessage.h"
#include "common/ConsoleContext.h"
#include "common/Prompter.h"
#include "common/UiText.h"
#include "config/CConfigSheet.h"
#include "enlarge/CEnlargeDlg.h"
#include "operation/COperationDlg.h"
#include "registration/CMonitorAccountDlg.h"
#include "schedule/CScheduleDlg.h"
#include "security/CSecurityDlg.h"
#include "tree/PanelTreeImages.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumivane {

CPanelDeskDlg::CPanelDeskDlg(ConsoleContext& context, Authority authority, uint16_t customizeMask,
                             bool inputModeAvailable, QWidget* parent)
    : QDialog(parent), m_context(context), m_prompter(context.prompter), m_authority(authority)
{
    setObjectName("panelDeskWindow");
    setWindowTitle(applicationTitle());
    setWindowIcon(applicationIcon());

    // The window menu carries "Version Information..." as the title bar's menu would.
    auto* menuBar = new QMenuBar(this);
    QMenu* windowMenu = menuBar->addMenu(ConsoleText::tr("&Window"));
    windowMenu->setObjectName("windowMenu");
    m_versionAction = windowMenu->addAction(uiText(101), this, &CPanelDeskDlg::showVersionInformation);
    m_versionAction->setObjectName("versionInformationAction");
    windowMenu->addSeparator();
    windowMenu->addAction(ConsoleText::tr("&Close"), this, &CPanelDeskDlg::reject);

    m_monitorControlButton = addButton(QT_TRANSLATE_NOOP("Lumivane", "Monitor Control"), "monitorControlButton");
    m_monitoringButton = addButton(QT_TRANSLATE_NOOP("Lumivane", "Monitoring"), "monitoringButton");
    m_scheduleButton = addButton(QT_TRANSLATE_NOOP("Lumivane", "Schedule"), "scheduleButton");
    m_enlargeButton = addButton(QT_TRANSLATE_NOOP("Lumivane", "Enlarge/Video Wall"), "enlargeButton");
    m_mailMonitoringSettingButton =
        addButton(QT_TRANSLATE_NOOP("Lumivane", "Mail/Monitoring Setting"), "mailMonitoringSettingButton");
    m_passwordSettingButton = addButton(QT_TRANSLATE_NOOP("Lumivane", "Password Setting"), "passwordSettingButton");
    auto* buttonRow = new QHBoxLayout;
    for (QPushButton* button : {m_monitorControlButton, m_monitoringButton, m_scheduleButton, m_enlargeButton,
                                m_mailMonitoringSettingButton, m_passwordSettingButton})
        buttonRow->addWidget(button);
    buttonRow->addStretch();

    m_pageFrame = new QFrame(this);
    m_pageFrame->setObjectName("pageFrame");
    m_operationPage = new COperationDlg(context, m_pageFrame);
    auto* pageLayout = new QVBoxLayout(m_pageFrame);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(m_operationPage);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(buttonRow);
    layout->addWidget(m_pageFrame);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a fixed-size window that fits its page

    connect(m_monitorControlButton, &QPushButton::clicked, this, &CPanelDeskDlg::openMonitorControl);
    connect(m_scheduleButton, &QPushButton::clicked, this, &CPanelDeskDlg::openScheduleSetting);
    connect(m_monitoringButton, &QPushButton::clicked, this, &CPanelDeskDlg::startServer);
    connect(m_passwordSettingButton, &QPushButton::clicked, this, &CPanelDeskDlg::openPasswordSetting);
    connect(m_mailMonitoringSettingButton, &QPushButton::clicked, this, &CPanelDeskDlg::openMailMonitoringSetting);
    connect(m_enlargeButton, &QPushButton::clicked, this, &CPanelDeskDlg::openEnlargeSetting);

    layOut(customizeMask, inputModeAvailable);
}

QPushButton* CPanelDeskDlg::addButton(const char* text, const char* objectName)
{
    auto* button = new QPushButton(uiText(text), this);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setMinimumWidth(110);
    return button;
}

void CPanelDeskDlg::layOut(uint16_t customizeMask, bool inputModeAvailable)
{
    const FunctionAccess access = functionAccessFor(m_authority, customizeMask, inputModeAvailable);
    m_restrictedLayout = access.restrictedLayout;
    if (access.restrictedLayout) {
        // Only "Monitoring" stays; with the others hidden it takes the place of "Monitor Control".
        for (QPushButton* button : {m_monitorControlButton, m_scheduleButton, m_enlargeButton,
                                    m_mailMonitoringSettingButton, m_passwordSettingButton})
            button->hide();
    } else {
        m_monitorControlButton->setEnabled(access.monitorControl);
        m_scheduleButton->setEnabled(access.schedule);
        // The video wall editor: the Administrator always, a Normal Operator with the "Enlarge" bit.
        m_enlargeButton->setEnabled(m_authority == Authority::Administrator ||
                                    (customizeMask & customizeBits::kEnlarge) != 0);
        m_mailMonitoringSettingButton->setEnabled(access.mailMonitoringSetting);
        m_passwordSettingButton->setEnabled(access.passwordSetting);
    }
    m_operationPage->setRestricted(access.restrictedLayout, access.inputSelection);
    m_operationPage->setCustomizeMask(access.operationMask);
}

void CPanelDeskDlg::showVersionInformation()
{
    CConfigSheet sheet(m_context, m_authority, this);
    sheet.showVersionPage();
    m_context.dialogs.exec(sheet);
}

void CPanelDeskDlg::openMailMonitoringSetting()
{
    CConfigSheet sheet(m_context, m_authority, this);
    m_context.dialogs.exec(sheet);
}

void CPanelDeskDlg::openMonitorControl()
{
    CMonitorAccountDlg dialog(m_context, this);
    m_context.dialogs.exec(dialog);
    m_operationPage->reloadMonitorTree();
    m_context.notifier.notify(windowMessages::kPanelsChanged);
}

void CPanelDeskDlg::openScheduleSetting()
{
    CScheduleDlg dialog(m_context, this);
    m_context.dialogs.exec(dialog);
}

void CPanelDeskDlg::openEnlargeSetting()
{
    CEnlargeDlg dialog(m_context, this); // closing it asks to save a changed layout
    m_context.dialogs.exec(dialog);
}

void CPanelDeskDlg::openPasswordSetting()
{
    CSecurityDlg dialog(m_prompter, this);
    m_context.dialogs.exec(dialog);
}

void CPanelDeskDlg::startServer()
{
    std::string error;
    if (!m_serverStarter.start(static_cast<int>(m_authority), error))
        m_prompter.error(this, uiText(consoleTexts::kServerCannotStart));
}

} // namespace lumivane
