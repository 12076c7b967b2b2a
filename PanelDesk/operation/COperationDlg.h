#pragma once

#include "CMonitorSettingGroup.h"
#include "MonitorSetting.h"
#include "tree/CPanelTreeListner.h"

#include <QWidget>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

class QComboBox;
class QGroupBox;
class QPushButton;

namespace lumivane {

class COperationTabCtrl;
class CPanelTreeCtrl;
struct ConsoleContext;

// The main window's page for working the checked monitors: Single and Multi Mode, power, the input mode and
// the setting pages. It owns the window's MONITOR_SETTING; the tree's selection, the operator's mask, the
// mode and the power state decide what is enabled and which page is shown.
class COperationDlg : public QWidget, private CPanelTreeListner, private MonitorSettingHost
{
    Q_OBJECT
public:
    explicit COperationDlg(ConsoleContext& context, QWidget* parent = nullptr);

    // Restricted layout: power only, and the input mode when `inputSelection`.
    void setRestricted(bool restricted, bool inputSelection);
    // The Normal Operator's mask (all bits for the other roles).
    void setCustomizeMask(uint16_t mask);
    // The pause between the input queries of a ZR-1190 monitor that is still starting after "ON"; the
    // console's ZRPowerWait setting unless set here.
    void setZrPowerWait(std::chrono::milliseconds pause) { m_zrPowerWait = pause; }
    void reloadMonitorTree();

    bool restricted() const { return m_restricted; }
    bool inputSelection() const { return m_inputSelection; }
    uint16_t customizeMask() const { return m_customizeMask; }
    CPanelTreeCtrl* tree() const { return m_tree; }
    COperationTabCtrl* tabs() const { return m_tabs; }
    bool multiMode() const override { return m_multi; }
    const MONITOR_SETTING& setting() const { return m_setting; }
    CMonitorSettingGroup* settingGroup() const { return m_settingGroup; }

    void setMultiMode(bool multi);

private:
    // CPanelTreeListner
    void itemClicked(QTreeWidgetItem* item, bool onCheckBox) override;
    void selectionChanged() override;

    // MonitorSettingHost
    MONITOR_SETTING& settingRecord() override { return m_setting; }
    ModelCode selectionModel() const override { return m_model; }
    const std::string& selectionModelName() const override { return m_modelName; }
    std::vector<PANEL_DATA> checkedMonitors() const override;
    void showRecordedPowerAndInput() override;

    void reevaluate();
    void readPowerAndInput();
    void switchPower(bool on);
    void inputChosen(int position);
    bool mayLeaveWindows(InputModeIndex input, const std::vector<PANEL_DATA>& monitors);
    void refillInputs();
    void showInput(InputModeIndex input);
    void removeInputPlaceholder();
    void choosePage();
    void showControlPage();
    void updateControls();
    void updateSettingGroup();
    void resetSetting(InputModeIndex input);

    ConsoleContext& m_context;
    MONITOR_SETTING m_setting; // before the pages, which are bound to its blocks
    CPanelTreeCtrl* m_tree;
    QPushButton* m_singleButton;
    QPushButton* m_multiButton;
    QPushButton* m_onButton;
    QPushButton* m_offButton;
    QGroupBox* m_powerGroup;
    QGroupBox* m_inputGroup;
    QComboBox* m_inputCombo;
    CMonitorSettingGroup* m_settingGroup;
    COperationTabCtrl* m_tabs;

    bool m_multi = false;
    bool m_restricted = false;
    std::chrono::milliseconds m_zrPowerWait;
    bool m_inputSelection = true;
    uint16_t m_customizeMask = 0xFFFF;
    int m_selectionState = 0; // ModelUniformity of the checked (Single Mode: selected) monitors
    std::string m_modelName;
    ModelCode m_model;
    bool m_placeholderShown = false;
};

} // namespace lumivane
