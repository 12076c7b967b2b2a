#include "COperationDlg.h"

#include "COperationTabCtrl.h"
#include "CRCOperation.h"
#include "CZRRcOperation.h"
#include "CommandAvailability.h"
#include "CommandText.h"
#include "InputModes.h"
#include "InputSwitch.h"
#include "ModelLookup.h"
#include "SettingLists.h"
#include "Settings.h"
#include "common/CommandRunner.h"
#include "common/ConsoleContext.h"
#include "common/Prompter.h"
#include "common/UiText.h"
#include "tree/CPanelTreeCtrl.h"
#include "tree/ModelUniformity.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumivane {

namespace {

constexpr uint16_t kControlAllowed = 0x4000; // the CONTROL page may be used

QString sendingPowerTitle()
{
    return ConsoleText::tr("Sending Power state and Input mode");
}

QString receivingPowerTitle()
{
    return ConsoleText::tr("Receiving Power state and Input mode");
}

QPushButton* latchButton(const QString& text, const char* objectName, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setCheckable(true);
    button->setAutoDefault(false);
    return button;
}

} // namespace

COperationDlg::COperationDlg(ConsoleContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), m_tree(new CPanelTreeCtrl(context.prompter, this)),
      m_singleButton(latchButton(ConsoleText::tr("Single Mode"), "singleModeButton", this)),
      m_multiButton(latchButton(ConsoleText::tr("Multi Mode"), "multiModeButton", this)),
      m_onButton(latchButton(ConsoleText::tr("ON"), "powerOnButton", this)),
      m_offButton(latchButton(ConsoleText::tr("OFF"), "powerOffButton", this)),
      m_powerGroup(new QGroupBox(ConsoleText::tr("Power"), this)),
      m_inputGroup(new QGroupBox(ConsoleText::tr("Input Mode"), this)), m_inputCombo(new QComboBox(this)),
      m_settingGroup(new CMonitorSettingGroup(context, *this, this)),
      m_tabs(new COperationTabCtrl(context, *m_tree, m_setting, this)),
      m_zrPowerWait(std::chrono::seconds(processSettings().environment.zrPowerWait))
{
    setObjectName("operationPage");
    m_tree->setMode(PanelTreeMode::Operation);
    m_tree->setFixedSize(260, 360);
    m_tree->setListener(this);
    m_inputCombo->setObjectName("inputCombo");
    m_inputCombo->setMinimumContentsLength(22);

    auto* selectGroup = new QGroupBox(ConsoleText::tr("Monitor Select"), this);
    auto* modes = new QHBoxLayout(selectGroup);
    modes->addWidget(m_singleButton);
    modes->addWidget(m_multiButton);
    auto* power = new QHBoxLayout(m_powerGroup);
    power->addWidget(m_onButton);
    power->addWidget(m_offButton);
    (new QVBoxLayout(m_inputGroup))->addWidget(m_inputCombo);

    auto* column = new QVBoxLayout;
    column->addWidget(selectGroup);
    column->addWidget(m_powerGroup);
    column->addWidget(m_inputGroup);
    column->addWidget(m_settingGroup);
    column->addStretch();
    m_tabs->setMinimumWidth(360);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    layout->addLayout(column);
    layout->addWidget(m_tabs);

    connect(m_singleButton, &QPushButton::clicked, this, [this] { setMultiMode(false); });
    connect(m_multiButton, &QPushButton::clicked, this, [this] { setMultiMode(true); });
    connect(m_onButton, &QPushButton::clicked, this, [this] { switchPower(true); });
    connect(m_offButton, &QPushButton::clicked, this, [this] { switchPower(false); });
    connect(m_inputCombo, &QComboBox::activated, this, &COperationDlg::inputChosen);

    m_tree->setCheckBoxes(false); // Single Mode; loads the tree
    resetSetting(kNoInput);
    reevaluate();
}

void COperationDlg::setRestricted(bool restricted, bool inputSelection)
{
    m_restricted = restricted;
    m_inputSelection = inputSelection;
    m_tabs->setVisible(!restricted);
    m_inputGroup->setVisible(inputSelection);
    updateSettingGroup();
}

void COperationDlg::setCustomizeMask(uint16_t mask)
{
    m_customizeMask = mask;
    updateSettingGroup();
    choosePage();
}

void COperationDlg::reloadMonitorTree()
{
    m_tree->reload();
    reevaluate();
}

void COperationDlg::setMultiMode(bool multi)
{
    m_multi = multi;
    m_tree->setCheckBoxes(multi); // reloads: nothing is checked or selected afterwards
    reevaluate();
}

void COperationDlg::itemClicked(QTreeWidgetItem* /*item*/, bool onCheckBox)
{
    if (m_multi && onCheckBox)
        reevaluate();
}

void COperationDlg::selectionChanged()
{
    if (m_multi)
        return;
    reevaluate();
    if (m_selectionState != kNoMonitor)
        readPowerAndInput();
}

void COperationDlg::resetSetting(InputModeIndex input)
{
    resetToDefaults(m_setting, m_model, input, processSettings().environment.language);
}

void COperationDlg::reevaluate()
{
    int flags = 0;
    m_selectionState = m_tree->modelUniformityOfSelection(m_modelName, flags);
    if (m_selectionState == kOneModel)
        m_model = modelFromName(m_modelName, flags);
    refillInputs();
    if (m_selectionState == kOneModel)
        resetSetting(kNoInput);
    updateControls();
    choosePage();
}

void COperationDlg::updateControls()
{
    m_singleButton->setChecked(!m_multi);
    m_multiButton->setChecked(m_multi);
    const bool on = m_setting.power == 1;
    const bool latched = !m_multi && m_selectionState != kNoMonitor; // the power of a known monitor
    m_onButton->setChecked(latched && on);
    m_offButton->setChecked(latched && !on);
    m_powerGroup->setEnabled(m_selectionState != kNoMonitor);
    m_inputGroup->setEnabled((m_selectionState == kOneModel || m_selectionState == kMixedModels) && (m_multi || on));
    updateSettingGroup();
}

void COperationDlg::updateSettingGroup()
{
    constexpr uint16_t kMonitorSettingAllowed = 0x0080;
    m_settingGroup->setVisible(!m_restricted && (m_customizeMask & kMonitorSettingAllowed));
    m_settingGroup->update(m_selectionState == kOneModel, m_modelName == "Brela", m_multi);
}

std::vector<PANEL_DATA> COperationDlg::checkedMonitors() const
{
    return m_tree->selectedMonitors();
}

void COperationDlg::showRecordedPowerAndInput()
{
    showInput(m_setting.input);
    updateControls();
    choosePage();
}

void COperationDlg::refillInputs()
{
    m_inputCombo->clear();
    const ModelCode model = m_selectionState == kOneModel ? m_model : ModelCode();
    for (InputModeIndex input : selectableInputs(model))
        m_inputCombo->addItem(QString::fromStdString(inputModeName(input)), input);
    m_inputCombo->insertItem(0, uiText(111), kNoInput); // "---"
    m_inputCombo->setCurrentIndex(0);
    m_placeholderShown = true;
    m_setting.input = kNoInput;
}

void COperationDlg::showInput(InputModeIndex input)
{
    const int position = m_inputCombo->findData(input);
    if (input != kNoInput && position >= 0) {
        m_inputCombo->setCurrentIndex(position);
        removeInputPlaceholder();
        return;
    }
    if (!m_placeholderShown) {
        m_inputCombo->insertItem(0, uiText(111), kNoInput);
        m_placeholderShown = true;
    }
    m_inputCombo->setCurrentIndex(0);
}

void COperationDlg::removeInputPlaceholder()
{
    if (!m_placeholderShown)
        return;
    m_inputCombo->removeItem(0);
    m_placeholderShown = false;
}

void COperationDlg::choosePage()
{
    m_tabs->setEnabled(m_multi || m_setting.power == 1);
    if (m_selectionState == kNoMonitor)
        m_tabs->showMessage(uiText(183)); // "Please select monitor."
    else if (m_selectionState == kMixedModels)
        m_tabs->showMessage(ConsoleText::tr("You can only control Power and Input Mode when \"Monitor Name\" and \n"
                                            "\"With Expansion Board\" settings of the selected monitors are not "
                                            "unified."));
    else if (m_selectionState == kMixedWithZr)
        m_tabs->showMessage(
            ConsoleText::tr("You can control Power only, when both ZR-1190 and QX-Series are selected."));
    else if (!(m_customizeMask & kControlAllowed))
        m_tabs->showMessage(ConsoleText::tr("Control is not available because of authority."));
    else if (!m_multi && m_setting.power != 1)
        m_tabs->showMessage(ConsoleText::tr("Please power on the monitor and input signal."));
    else if (m_setting.input != kNoInput)
        showControlPage();
    else
        m_tabs->showMessage(ConsoleText::tr("Please select Input Mode."));
}

void COperationDlg::showControlPage()
{
    CBaseOperation* page = m_modelName == "Brela"
                               ? static_cast<CBaseOperation*>(m_tabs->showZrControl(m_multi, m_setting.input))
                               : m_tabs->showControl(m_multi, m_setting.input, m_model);
    if (!m_multi && page->needsReceive())
        page->receive();
}

// The monitor's power and input as it reports them; a failed reading leaves both as they were.
void COperationDlg::readPowerAndInput()
{
    PowerInputReading reading;
    CommandItem read = powerInputReadItem(&reading);
    if (!m_context.runner.run(this, receivingPowerTitle(), {&read, 1}, m_tree->selectedMonitors()))
        return;
    m_setting.power = reading.power;
    resetSetting(reading.input);
    showInput(reading.input);
    updateControls();
    choosePage();
}

void COperationDlg::switchPower(bool on)
{
    const std::vector<PANEL_DATA> monitors = m_tree->selectedMonitors();
    if (monitors.empty()) {
        m_context.prompter.error(this, uiText(183));
        updateControls();
        return;
    }
    std::vector<CommandItem> items{settingItem("POWR", on ? 1 : 0)};
    PowerInputReading reading;
    reading.afterSwitchingOn = true;
    reading.zrPowerWait = m_zrPowerWait;
    const bool readBack = on && !m_multi;
    if (readBack)
        items.push_back(powerInputReadItem(&reading));
    const bool succeeded = m_context.runner.run(this, sendingPowerTitle(), items, monitors);
    if (m_multi) {
        m_setting.power = on ? 1 : 0; // whatever the result, so that the pages become usable
    } else if (succeeded) {
        m_setting.power = readBack ? reading.power : 0;
        const InputModeIndex input = readBack ? reading.input : kNoInput;
        resetSetting(input);
        if (input == kNoInput)
            refillInputs();
        showInput(input);
    }
    updateControls();
    choosePage();
}

// A monitor that shows several windows (PIP or PbyP) leaves them when its input changes: the operator
// decides first. False when the check failed or the operator keeps the windows.
bool COperationDlg::mayLeaveWindows(InputModeIndex input, const std::vector<PANEL_DATA>& monitors)
{
    if (m_modelName == "Brela" || !isCommandAvailable(m_model, queryCommand("MWIN")))
        return true;
    TerminalReading reading;
    reading.input = input;
    CommandItem check = terminalCheckItem(&reading);
    if (!m_context.runner.run(this, sendingPowerTitle(), {&check, 1}, monitors))
        return false;
    constexpr int32_t kPictureInPicture = 3;
    return reading.check.windows != kPictureInPicture ||
           m_context.prompter.ask(this, {QString(),
                                         ConsoleText::tr("You can not change input mode while PIP or PbyP setting is "
                                                         "active.\nWill you cancel PIP or PbyP setting?"),
                                         QMessageBox::Question, QMessageBox::Yes | QMessageBox::No}) ==
               QMessageBox::Yes;
}

void COperationDlg::inputChosen(int position)
{
    if (m_placeholderShown && position == 0)
        return;
    const InputModeIndex chosen = m_inputCombo->itemData(position).toInt();
    removeInputPlaceholder();
    const InputModeIndex previous = m_setting.input;
    if (!m_multi && chosen == previous)
        return;
    const std::vector<PANEL_DATA> monitors = m_tree->selectedMonitors();
    if (!m_multi && monitors.size() == 1 && !mayLeaveWindows(chosen, monitors)) {
        showInput(previous);
        return;
    }
    InputModeIndex wanted = chosen;
    CommandItem item = inputSwitchItem(&wanted);
    const bool succeeded = m_context.runner.run(this, sendingPowerTitle(), {&item, 1}, monitors);
    if (succeeded || m_multi)
        resetSetting(chosen);
    showInput(m_setting.input);
    choosePage();
}

} // namespace lumivane
