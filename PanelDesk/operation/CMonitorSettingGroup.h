#pragma once

#include "ModelCode.h"
#include "MonitorSetting.h"
#include "SettingTransfer.h"
#include "tree/PanelData.h"

#include <QGroupBox>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QPushButton;

namespace lumivane {

struct ConsoleContext;

// What the "Monitor Setting" group works on: its window's record, the selection and the controls that
// show the record's power and input.
class MonitorSettingHost
{
public:
    virtual ~MonitorSettingHost() = default;
    virtual MONITOR_SETTING& settingRecord() = 0;
    virtual ModelCode selectionModel() const = 0;
    virtual const std::string& selectionModelName() const = 0;
    virtual bool multiMode() const = 0;
    virtual std::vector<PANEL_DATA> checkedMonitors() const = 0;
    // The record's power or input changed: the Power and Input Mode controls and the page follow it.
    virtual void showRecordedPowerAndInput() = 0;
};

// The operation window's "Monitor Setting" group: one monitor's whole record saved to a setting file,
// loaded from one, sent to the checked monitors ("Send all value") or read from one of them ("Receive
// all value").
class CMonitorSettingGroup : public QGroupBox
{
    Q_OBJECT
public:
    CMonitorSettingGroup(ConsoleContext& context, MonitorSettingHost& host, QWidget* parent);

    // Usable for monitors of one model; sending and receiving all values not for the ZR-1190 family;
    // "Send all value" in Multi Mode only.
    void update(bool oneModel, bool zrFamily, bool multi);

    // The name the next save proposes.
    const QString& proposedName() const { return m_proposedName; }

private:
    void saveFile();
    void loadFile();
    void sendAll();
    void receiveAll();

    // The one monitor a reading comes from: asked with "Select Monitor" when several are checked.
    std::optional<PANEL_DATA> chooseSource(const std::vector<PANEL_DATA>& monitors);
    TransferRunner runnerOver(const std::vector<PANEL_DATA>& monitors);
    bool loadIntoRecord(const QString& path);
    void remember(const QString& path);

    ConsoleContext& m_context;
    MonitorSettingHost& m_host;
    QPushButton* m_save;
    QPushButton* m_load;
    QPushButton* m_sendAll;
    QPushButton* m_receiveAll;
    QString m_folder;
    QString m_proposedName;
};

} // namespace lumivane
