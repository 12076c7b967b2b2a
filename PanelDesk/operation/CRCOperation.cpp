#include "CRCOperation.h"

#include "ChoiceRow.h"
#include "CommandAvailability.h"
#include "CommandText.h"
#include "SettingLists.h"
#include "SliderRow.h"
#include "common/CommandRunner.h"
#include "common/ConsoleContext.h"
#include "common/UiText.h"
#include "tree/CPanelTreeCtrl.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumivane {

namespace {

constexpr int kLevelMaximum = 31; // BRIGHT and VOLUME

} // namespace

QString CRCOperation::sendingTitle() const
{
    return ConsoleText::tr("Sending CONTROL setting");
}

CRCOperation::CRCOperation(ConsoleContext& context, CPanelTreeCtrl& tree, ControlBlock& block, QWidget* parent)
    : CBaseOperation(context, tree, block.received, parent), m_block(block),
      m_send(new QPushButton(ConsoleText::tr("Send"), this)),
      m_receive(new QPushButton(ConsoleText::tr("Receive"), this))
{
    setObjectName("controlPage");
    auto* grid = new QGridLayout;
    m_size = new ChoiceRow(ConsoleText::tr("SIZE :"), "size",
                           {{ConsoleText::tr("WIDE"), "sizeWideButton", 1},
                            {ConsoleText::tr("ZOOM1"), "sizeZoom1Button", 2},
                            {ConsoleText::tr("ZOOM2"), "sizeZoom2Button", 3},
                            {ConsoleText::tr("NORMAL"), "sizeNormalButton", 4},
                            {ConsoleText::tr("Dot by Dot"), "sizeDotByDotButton", 5}},
                           grid, 0, this);
    m_colourMode = new ChoiceRow(ConsoleText::tr("COLOR MODE :"), "colourMode",
                                 {{ConsoleText::tr("STD"), "colourStdButton", 0},
                                  {ConsoleText::tr("VIVID"), "colourVividButton", 2},
                                  {ConsoleText::tr("sRGB"), "colourSrgbButton", 3},
                                  {ConsoleText::tr("OFFICE"), "colourOfficeButton", 1},
                                  {ConsoleText::tr("HIGH ILLUMINANCE"), "colourHighIlluminanceButton", 4}},
                                 grid, 1, this);
    m_bright = new SliderRow(ConsoleText::tr("BRIGHT :"), "bright", 0, kLevelMaximum, grid, 2, this);
    m_volume = new SliderRow(ConsoleText::tr("VOLUME :"), "volume", 0, kLevelMaximum, grid, 3, this);
    m_mute = new ChoiceRow(ConsoleText::tr("MUTE :"), "mute",
                           {{ConsoleText::tr("ON"), "muteOnButton", 1}, {ConsoleText::tr("OFF"), "muteOffButton", 0}},
                           grid, 4, this);
    grid->setColumnStretch(1, 1);
    m_send->setObjectName("sendButton");
    m_receive->setObjectName("receiveButton");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_receive);
    buttons->addWidget(m_send);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(m_size, &ChoiceRow::chosen, this,
            [this](int value) { choose(m_size, m_block.WIDE, value, {settingItem("WIDE", value)}); });
    connect(m_colourMode, &ChoiceRow::chosen, this,
            [this](int value) { choose(m_colourMode, m_block.BMOD, value, {settingItem("BMOD", value)}); });
    connect(m_bright, &SliderRow::settled, this, [this](int value) { settle(m_bright, m_block.VLMP, "VLMP", value); });
    connect(m_volume, &SliderRow::settled, this, [this](int value) { settle(m_volume, m_block.VOLM, "VOLM", value); });
    connect(m_mute, &ChoiceRow::chosen, this,
            [this](int value) { choose(m_mute, m_block.MUTE, value, {settingItem("MUTE", value)}); });
    connect(m_send, &QPushButton::clicked, this, [this] {
        sendTicked(tickedRows(), sendingTitle(),
                   [this](unsigned rows) { return controlSendList(m_block, m_input, rows); });
    });
    connect(m_receive, &QPushButton::clicked, this, &CRCOperation::receiveFromOne);
    showMode(false);
}

void CRCOperation::setMultiMode(bool multi)
{
    showMode(multi);
    checkEnlarged();
}

// A monitor that shows part of an enlarged picture (a video wall) must keep its picture size: the SIZE
// row is offered only when none of the checked monitors does.
void CRCOperation::checkEnlarged()
{
    const std::vector<PANEL_DATA> monitors = m_tree.selectedMonitors();
    int32_t allowed = monitors.empty() ? 0 : 1;
    if (!monitors.empty()) {
        CommandItem check = enlargeCheckItem(&allowed);
        m_context.runner.run(this, receiveTitle(), {&check, 1}, monitors);
    }
    m_sizeAllowed = allowed != 0;
    m_size->setRowEnabled(sizeRowEnabled());
    showChoices();
}

bool CRCOperation::sizeRowEnabled() const
{
    return m_sizeAllowed && m_input != kUsbInput;
}

void CRCOperation::showMode(bool multi)
{
    m_multi = multi;
    m_size->setMultiMode(multi);
    m_colourMode->setMultiMode(multi);
    m_bright->setMultiMode(multi);
    m_volume->setMultiMode(multi);
    m_mute->setMultiMode(multi);
    m_send->setVisible(multi);
}

void CRCOperation::setInputMode(InputModeIndex input, ModelCode model)
{
    if (input == kNoInput)
        return;
    m_input = input;
    const bool pcSide = isPcSideInput(input);
    // The same five buttons stand for other WIDE values on a PC-side input.
    m_size->setValues(pcSide ? std::vector<int>{1, 4, 5, 2, 3} : std::vector<int>{1, 2, 3, 4, 5});
    m_size->setRowEnabled(sizeRowEnabled());
    m_colourMode->setChoiceEnabled(3, pcSide); // sRGB
    m_colourMode->setChoiceEnabled(1, isCommandAvailable(model, settingCommand("BMOD", 1)));
    m_colourMode->setChoiceEnabled(4, isCommandAvailable(model, settingCommand("BMOD", 4)));
    refreshPage();
}

void CRCOperation::refreshPage()
{
    m_bright->show(m_block.VLMP);
    m_volume->show(m_block.VOLM);
    showChoices();
}

void CRCOperation::showChoices()
{
    m_size->show(m_block.WIDE);
    m_colourMode->show(m_block.BMOD >= 1 && m_block.BMOD <= 4 ? m_block.BMOD : 0);
    m_mute->show(m_block.MUTE == 1 ? 1 : 0);
}

std::vector<CommandItem> CRCOperation::receiveList()
{
    return controlReceiveList(m_block, m_input);
}

QString CRCOperation::receiveTitle() const
{
    return ConsoleText::tr("Receiving CONTROL setting");
}

void CRCOperation::settle(SliderRow* row, int32_t& stored, const char* code, int value)
{
    const Change result = change(
        stored, value, [row] { row->tick(); }, [&] { return sendNow(sendingTitle(), {settingItem(code, value)}); });
    if (result == Change::Refused) {
        row->show(stored);
    } else if (result == Change::Sent && row == m_volume) { // a volume change ends the mute on the monitor
        m_block.MUTE = 0;
        showChoices();
    }
}

unsigned CRCOperation::tickedRows() const
{
    unsigned rows = 0;
    if (m_size->ticked())
        rows |= ControlRowSize;
    if (m_colourMode->ticked())
        rows |= ControlRowColourMode;
    if (m_bright->ticked())
        rows |= ControlRowBright;
    if (m_volume->ticked())
        rows |= ControlRowVolume;
    if (m_mute->ticked())
        rows |= ControlRowMute;
    return rows;
}

} // namespace lumivane
