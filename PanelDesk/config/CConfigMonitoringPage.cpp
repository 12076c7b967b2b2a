#include "CConfigMonitoringPage.h"

#include "ProfileFile.h"
#include "ScheduleRules.h"
#include "Settings.h"
#include "WindowMessage.h"
#include "common/ConsoleContext.h"
#include "common/UiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace lumivane {
namespace {

constexpr int kMinutesUnit = 254; // "(Min.)"
constexpr int kHoursUnit = 256;   // "(Hour)"

QString intervalText(int minutes)
{
    if (minutes < 60)
        return QString("%1 %2").arg(minutes).arg(uiText(kMinutesUnit));
    return QString("%1 %2").arg(minutes / 60).arg(uiText(kHoursUnit));
}

} // namespace

CConfigMonitoringPage::CConfigMonitoringPage(ConsoleContext& context, QWidget* parent)
    : QWidget(parent), m_context(context),
      m_monitoringCheck(new QCheckBox(ConsoleText::tr("Enable &periodical monitoring"), this)),
      m_intervalLabel(new QLabel(ConsoleText::tr("&Interval:"), this)), m_intervalCombo(new QComboBox(this)),
      m_messageBoxCheck(new QCheckBox(ConsoleText::tr("Show Message &Box"), this)),
      m_logAttachCheck(new QCheckBox(ConsoleText::tr("&Attach log file if detect hardware error."), this))
{
    setObjectName("monitoringPage");
    OperatorSettings stored; // keys the file lacks keep their defaults
    stored.readFrom(ProfileFile::load(operatorIniPath()));

    m_monitoringCheck->setObjectName("monitoringCheck");
    m_monitoringCheck->setChecked(stored.monitoring != 0);
    m_intervalLabel->setObjectName("intervalLabel");
    m_intervalLabel->setBuddy(m_intervalCombo);
    m_intervalCombo->setObjectName("intervalCombo");
    for (int minutes : monitoringIntervals())
        m_intervalCombo->addItem(intervalText(minutes), minutes);
    m_intervalCombo->setCurrentIndex(monitoringIntervalPosition(stored.interval));
    m_intervalCombo->setMaxVisibleItems(12);
    m_messageBoxCheck->setObjectName("messageBoxCheck");
    m_messageBoxCheck->setChecked(stored.messageBox != 0);
    m_logAttachCheck->setObjectName("logAttachCheck");
    m_logAttachCheck->setChecked(stored.logAttach != 0);

    auto* intervalRow = new QHBoxLayout;
    intervalRow->addSpacing(24); // under the box it depends on
    intervalRow->addWidget(m_intervalLabel);
    intervalRow->addWidget(m_intervalCombo);
    intervalRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_monitoringCheck);
    layout->addLayout(intervalRow);
    layout->addSpacing(12);
    layout->addWidget(m_messageBoxCheck);
    layout->addWidget(m_logAttachCheck);
    layout->addStretch();
    layout->setContentsMargins(16, 16, 16, 16);

    updateIntervalEnabled();
    const auto modified = [this] { m_modified = true; };
    connect(m_monitoringCheck, &QCheckBox::toggled, this, &CConfigMonitoringPage::updateIntervalEnabled);
    connect(m_monitoringCheck, &QCheckBox::toggled, this, modified);
    connect(m_intervalCombo, &QComboBox::currentIndexChanged, this, modified);
    connect(m_messageBoxCheck, &QCheckBox::toggled, this, modified);
    connect(m_logAttachCheck, &QCheckBox::toggled, this, modified);
}

void CConfigMonitoringPage::updateIntervalEnabled()
{
    const bool monitoring = m_monitoringCheck->isChecked();
    m_intervalLabel->setEnabled(monitoring);
    m_intervalCombo->setEnabled(monitoring);
}

void CConfigMonitoringPage::apply()
{
    if (!m_modified)
        return;
    OperatorSettings& settings = processSettings().operatorSettings;
    settings.monitoring = m_monitoringCheck->isChecked() ? 1 : 0;
    settings.interval = m_intervalCombo->currentData().toInt();
    settings.messageBox = m_messageBoxCheck->isChecked() ? 1 : 0;
    settings.logAttach = m_logAttachCheck->isChecked() ? 1 : 0;
    writeOperatorSetting(settingKeys::kCheck, "Monitoring", settings.monitoring);
    writeOperatorSetting(settingKeys::kCheck, "Interval", settings.interval);
    writeOperatorSetting(settingKeys::kCheck, "MessageBox", settings.messageBox);
    writeOperatorSetting(settingKeys::kCheck, "LogAttach", settings.logAttach);
    m_context.notifier.notify(windowMessages::kSettingsChanged);
    m_modified = false;
}

} // namespace lumivane
