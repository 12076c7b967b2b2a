#include "CRCOperation.h"

#include "SettingLists.h"
#include "SliderRow.h"
#include "common/CommandRunner.h"
#include "common/ConsoleContext.h"
#include "common/Prompter.h"
#include "common/UiText.h"
#include "tree/CPanelTreeCtrl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumivane {

namespace {

constexpr int kLevelMaximum = 31; // BRIGHT and VOLUME

QString sendingTitle()
{
    return ConsoleText::tr("Sending CONTROL setting");
}

} // namespace

CRCOperation::CRCOperation(ConsoleContext& context, CPanelTreeCtrl& tree, ControlBlock& block, QWidget* parent)
    : QWidget(parent), m_context(context), m_tree(tree), m_block(block),
      m_muteCheck(new QCheckBox(ConsoleText::tr("MUTE :"), this)),
      m_muteLabel(new QLabel(ConsoleText::tr("MUTE :"), this)), m_muteOn(new QPushButton(ConsoleText::tr("ON"), this)),
      m_muteOff(new QPushButton(ConsoleText::tr("OFF"), this)), m_send(new QPushButton(ConsoleText::tr("Send"), this))
{
    setObjectName("controlPage");
    auto* grid = new QGridLayout;
    m_bright = new SliderRow(ConsoleText::tr("BRIGHT :"), "bright", 0, kLevelMaximum, grid, 0, this);
    m_volume = new SliderRow(ConsoleText::tr("VOLUME :"), "volume", 0, kLevelMaximum, grid, 1, this);
    m_muteCheck->setObjectName("muteCheck");
    m_muteLabel->setObjectName("muteLabel");
    m_muteOn->setObjectName("muteOnButton");
    m_muteOff->setObjectName("muteOffButton");
    m_send->setObjectName("sendButton");
    for (QPushButton* button : {m_muteOn, m_muteOff}) {
        button->setCheckable(true);
        button->setAutoDefault(false);
    }
    auto* mute = new QHBoxLayout;
    mute->addWidget(m_muteOn);
    mute->addWidget(m_muteOff);
    mute->addStretch();
    grid->addWidget(m_muteCheck, 2, 0);
    grid->addWidget(m_muteLabel, 2, 0);
    grid->addLayout(mute, 2, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_send);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(m_bright, &SliderRow::settled, this, [this](int value) { settle(m_bright, m_block.VLMP, "VLMP", value); });
    connect(m_volume, &SliderRow::settled, this, [this](int value) { settle(m_volume, m_block.VOLM, "VOLM", value); });
    connect(m_muteOn, &QPushButton::clicked, this, [this] { chooseMute(1); });
    connect(m_muteOff, &QPushButton::clicked, this, [this] { chooseMute(0); });
    connect(m_send, &QPushButton::clicked, this, &CRCOperation::sendTicked);
    setMultiMode(false);
}

void CRCOperation::setMultiMode(bool multi)
{
    m_multi = multi;
    m_bright->setMultiMode(multi);
    m_volume->setMultiMode(multi);
    m_muteCheck->setVisible(multi);
    m_muteCheck->setChecked(false);
    m_muteLabel->setVisible(!multi);
    m_send->setVisible(multi);
}

void CRCOperation::setInputMode(InputModeIndex input)
{
    if (input == kNoInput)
        return;
    m_input = input;
    refreshPage();
}

void CRCOperation::refreshPage()
{
    m_bright->show(m_block.VLMP);
    m_volume->show(m_block.VOLM);
    showMute();
}

void CRCOperation::showMute()
{
    m_muteOn->setChecked(m_block.MUTE == 1);
    m_muteOff->setChecked(m_block.MUTE != 1);
}

bool CRCOperation::receive()
{
    std::vector<CommandItem> items = controlReceiveList(m_block, m_input);
    const bool received =
        m_context.runner.run(this, ConsoleText::tr("Receiving CONTROL setting"), items, m_tree.selectedMonitors());
    if (received)
        m_block.received = 1;
    refreshPage();
    return received;
}

void CRCOperation::settle(SliderRow* row, int32_t& stored, const char* code, int value)
{
    if (value == stored)
        return;
    if (m_multi) {
        stored = value;
        row->tick();
        return;
    }
    if (!sendNow(code, value)) {
        row->show(stored);
        return;
    }
    stored = value;
    if (row == m_volume) { // a volume change ends the mute on the monitor
        m_block.MUTE = 0;
        showMute();
    }
}

void CRCOperation::chooseMute(int32_t value)
{
    if (value != m_block.MUTE) {
        if (m_multi) {
            m_block.MUTE = value;
            m_muteCheck->setChecked(true);
        } else if (sendNow("MUTE", value)) {
            m_block.MUTE = value;
        }
    }
    showMute(); // a failed send leaves the former choice marked
}

bool CRCOperation::sendNow(const char* code, int value)
{
    const std::vector<PANEL_DATA> monitors = m_tree.selectedMonitors();
    if (monitors.empty()) {
        m_context.prompter.error(this, uiText(183)); // "Please select monitor."
        return false;
    }
    CommandItem item = settingItem(code, value);
    return m_context.runner.run(this, sendingTitle(), {&item, 1}, monitors);
}

void CRCOperation::sendTicked()
{
    unsigned rows = 0;
    if (m_bright->ticked())
        rows |= ControlRowBright;
    if (m_volume->ticked())
        rows |= ControlRowVolume;
    if (m_muteCheck->isChecked())
        rows |= ControlRowMute;
    if (rows == 0) {
        m_context.prompter.exclamation(this, ConsoleText::tr("Please check the item to send."));
        return;
    }
    const std::vector<PANEL_DATA> monitors = m_tree.selectedMonitors();
    if (monitors.empty()) {
        m_context.prompter.error(this, uiText(183));
        return;
    }
    std::vector<CommandItem> items = controlSendList(m_block, m_input, rows);
    m_context.runner.run(this, sendingTitle(), items, monitors);
}

} // namespace lumivane
