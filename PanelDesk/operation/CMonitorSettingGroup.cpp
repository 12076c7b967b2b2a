#include "CMonitorSettingGroup.h"

#include "CSelectMonitorDlg.h"
#include "SettingLists.h"
#include "Settings.h"
#include "common/CommandRunner.h"
#include "common/ConsoleContext.h"
#include "common/Prompter.h"
#include "common/UiText.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QPushButton>

namespace lumivane {

namespace {

constexpr const char* kSettingFileFilter = "Monitor Setting File(*.msf)|*.msf||";

QString runTitle(TransferRun run)
{
    switch (run) {
    case TransferRun::ReadingPowerInput:
        return ConsoleText::tr("Receiving Power state and Input mode");
    case TransferRun::ReceivingSettings:
        return ConsoleText::tr("Receiving settings");
    case TransferRun::SendingPowerInput:
        return ConsoleText::tr("Sending Power state and Input mode");
    case TransferRun::SendingSettings:
        break;
    }
    return ConsoleText::tr("Sending settings");
}

QPushButton* groupButton(const QString& text, const char* objectName, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

int consoleLanguage()
{
    return processSettings().environment.language;
}

} // namespace

CMonitorSettingGroup::CMonitorSettingGroup(ConsoleContext& context, MonitorSettingHost& host, QWidget* parent)
    : QGroupBox(ConsoleText::tr("Monitor Setting"), parent), m_context(context), m_host(host),
      m_save(groupButton(ConsoleText::tr("Save file"), "saveFileButton", this)),
      m_load(groupButton(ConsoleText::tr("Load file"), "loadFileButton", this)),
      m_sendAll(groupButton(ConsoleText::tr("Send all value"), "sendAllButton", this)),
      m_receiveAll(groupButton(ConsoleText::tr("Receive all value"), "receiveAllButton", this)),
      m_proposedName("MonitorSetting.msf")
{
    setObjectName("monitorSettingGroup");
    auto* grid = new QGridLayout(this);
    grid->addWidget(m_save, 0, 0);
    grid->addWidget(m_load, 0, 1);
    grid->addWidget(m_receiveAll, 1, 0);
    grid->addWidget(m_sendAll, 1, 1);
    connect(m_save, &QPushButton::clicked, this, &CMonitorSettingGroup::saveFile);
    connect(m_load, &QPushButton::clicked, this, &CMonitorSettingGroup::loadFile);
    connect(m_sendAll, &QPushButton::clicked, this, &CMonitorSettingGroup::sendAll);
    connect(m_receiveAll, &QPushButton::clicked, this, &CMonitorSettingGroup::receiveAll);
}

void CMonitorSettingGroup::update(bool oneModel, bool zrFamily, bool multi)
{
    setEnabled(oneModel);
    m_sendAll->setEnabled(!zrFamily);
    m_receiveAll->setEnabled(!zrFamily);
    m_sendAll->setVisible(multi);
}

TransferRunner CMonitorSettingGroup::runnerOver(const std::vector<PANEL_DATA>& monitors)
{
    return [this, monitors](TransferRun run, std::vector<CommandItem>& items) {
        return m_context.runner.run(this, runTitle(run), items, monitors);
    };
}

std::optional<PANEL_DATA> CMonitorSettingGroup::chooseSource(const std::vector<PANEL_DATA>& monitors)
{
    if (monitors.size() == 1)
        return monitors.front();
    CSelectMonitorDlg choice(monitors, this);
    if (m_context.dialogs.exec(choice) != QDialog::Accepted)
        return std::nullopt;
    return choice.chosen();
}

void CMonitorSettingGroup::remember(const QString& path)
{
    const QFileInfo file(path);
    m_folder = file.absolutePath();
    m_proposedName = file.fileName();
}

void CMonitorSettingGroup::saveFile()
{
    const std::vector<PANEL_DATA> monitors = m_host.checkedMonitors();
    if (monitors.empty()) {
        m_context.prompter.error(this, uiText(183)); // "Please select monitor."
        return;
    }
    const std::optional<PANEL_DATA> source = chooseSource(monitors);
    if (!source)
        return;
    const QString proposed = m_folder.isEmpty() ? m_proposedName : QDir(m_folder).filePath(m_proposedName);
    const QString path =
        m_context.prompter.saveFileName(this, {ConsoleText::tr("Save file"), proposed, kSettingFileFilter, "msf"});
    if (path.isEmpty())
        return;

    // Multi Mode knows neither power nor input of the source: both are read first. Single Mode fetches
    // only what the window has not received yet.
    const bool multi = m_host.multiMode();
    MONITOR_SETTING& setting = m_host.settingRecord();
    const bool received =
        receiveFromSource(runnerOver({*source}), setting, m_host.selectionModel(), consoleLanguage(), multi,
                          multi ? ReceiveScope::Everything : ReceiveScope::MissingOnly);
    if (multi)
        m_host.showRecordedPowerAndInput();
    if (!received)
        return; // the run's error box has spoken; a file of defaults would pass for the monitor's settings

    const SettingFileStatus written = writeSettingFile(path.toStdString(), source->szModel, setting);
    if (written != SettingFileStatus::Ok) {
        m_context.prompter.error(this, QString::fromStdString(settingFileMessage(written, path.toStdString())));
        return;
    }
    remember(path);
}

// Reads the file into the window's record after its checks and the operator's consent; false when the
// file is refused (nothing in the record changed then).
bool CMonitorSettingGroup::loadIntoRecord(const QString& path)
{
    SettingFileReader reader;
    const std::string& modelName = m_host.selectionModelName();
    const SettingFileStatus status = openForLoading(reader, path.toStdString(), modelName);
    if (status != SettingFileStatus::Ok) {
        const QString text = QString::fromStdString(settingFileMessage(status, path.toStdString()));
        const bool familyMismatch =
            status == SettingFileStatus::ZrIntoSeries || status == SettingFileStatus::SeriesIntoZr;
        m_context.prompter.ask(this, {QString(), text, familyMismatch ? QMessageBox::NoIcon : QMessageBox::Critical});
        return false;
    }
    if (!m_host.multiMode() && reader.needsConsent(modelName) &&
        !m_context.prompter.confirm(this, QString::fromStdString(loadCompulsoryQuestion(reader.modelName())),
                                    QMessageBox::Warning))
        return false;
    reader.readBody(m_host.settingRecord());
    remember(path);
    return true;
}

void CMonitorSettingGroup::loadFile()
{
    const QString path =
        m_context.prompter.openFileName(this, {ConsoleText::tr("Load file"), m_folder, kSettingFileFilter, "msf", false});
    if (path.isEmpty() || !loadIntoRecord(path))
        return;
    m_host.showRecordedPowerAndInput();
    // Multi Mode keeps the record in the window: "Send" or "Send all value" take it to the monitors.
    MONITOR_SETTING& setting = m_host.settingRecord();
    if (m_host.multiMode() || setting.input == kNoInput)
        return;
    sendLoadedSetting(runnerOver(m_host.checkedMonitors()), setting, m_host.selectionModel());
    m_host.showRecordedPowerAndInput();
}

void CMonitorSettingGroup::sendAll()
{
    const std::vector<PANEL_DATA> monitors = m_host.checkedMonitors();
    if (monitors.empty()) {
        m_context.prompter.error(this, uiText(183));
        return;
    }
    std::vector<CommandItem> items = sendAllList(m_host.settingRecord(), m_host.selectionModel());
    runnerOver(monitors)(TransferRun::SendingSettings, items);
}

void CMonitorSettingGroup::receiveAll()
{
    const std::vector<PANEL_DATA> monitors = m_host.checkedMonitors();
    if (monitors.empty()) {
        m_context.prompter.error(this, uiText(183));
        return;
    }
    const std::optional<PANEL_DATA> source = chooseSource(monitors);
    if (!source)
        return;
    receiveFromSource(runnerOver({*source}), m_host.settingRecord(), m_host.selectionModel(), consoleLanguage(),
                      true, ReceiveScope::Everything);
    m_host.showRecordedPowerAndInput();
}

} // namespace lumivane
