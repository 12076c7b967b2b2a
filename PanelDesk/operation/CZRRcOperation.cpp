#include "CZRRcOperation.h"

#include "ChoiceRow.h"
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

constexpr int kVolumeMaximum = 60;
constexpr int kMuteOn = 1;
constexpr int kMuteOff = 2;
constexpr int kStretchPc = 7; // shown for a WIDE value the page does not know
constexpr int kAvModePc = 7;  // shown for an AVMD value the page does not know
constexpr int kNoChoice = -1;

int within(int value, int low, int high, int otherwise)
{
    return value >= low && value <= high ? value : otherwise;
}

} // namespace

QString CZRRcOperation::sendingTitle() const
{
    return ConsoleText::tr("Sending settings");
}

CZRRcOperation::CZRRcOperation(ConsoleContext& context, CPanelTreeCtrl& tree, ZrControlBlock& block, QWidget* parent)
    : CBaseOperation(context, tree, block.received, parent), m_block(block),
      m_send(new QPushButton(ConsoleText::tr("Send"), this)),
      m_receive(new QPushButton(ConsoleText::tr("Receive"), this))
{
    setObjectName("zrControlPage");
    auto* grid = new QGridLayout;
    m_wide = new ChoiceRow(ConsoleText::tr("WIDE :"), "zrWide",
                           {{ConsoleText::tr("Side Bar [AV]"), "zrWideSideBarButton", 1},
                            {ConsoleText::tr("S.Stretch [AV]"), "zrWideSmartStretchButton", 2},
                            {ConsoleText::tr("Zoom [AV]"), "zrWideZoomAvButton", 3},
                            {ConsoleText::tr("Stretch [AV]"), "zrWideStretchAvButton", 4},
                            {ConsoleText::tr("Normal [PC]"), "zrWideNormalPcButton", 5},
                            {ConsoleText::tr("Zoom [PC]"), "zrWideZoomPcButton", 6},
                            {ConsoleText::tr("Stretch [PC]"), "zrWideStretchPcButton", 7},
                            {ConsoleText::tr("Dot by Dot [PC/AV]"), "zrWideDotByDotButton", 8},
                            {ConsoleText::tr("Full Screen [AV]"), "zrWideFullScreenButton", 9}},
                           grid, 0, this, 3);
    m_avMode = new ChoiceRow(ConsoleText::tr("AV MODE :"), "zrAvMode",
                             {{ConsoleText::tr("STANDARD"), "zrAvStandardButton", 1},
                              {ConsoleText::tr("MOVIE"), "zrAvMovieButton", 2},
                              {ConsoleText::tr("GAME"), "zrAvGameButton", 3},
                              {ConsoleText::tr("USER"), "zrAvUserButton", 4},
                              {ConsoleText::tr("DYNAMIC (Fixed)"), "zrAvDynamicFixedButton", 5},
                              {ConsoleText::tr("DYNAMIC"), "zrAvDynamicButton", 6},
                              {ConsoleText::tr("PC"), "zrAvPcButton", 7}},
                             grid, 1, this, 4);
    m_volume = new SliderRow(ConsoleText::tr("VOLUME :"), "zrVolume", 0, kVolumeMaximum, grid, 2, this);
    m_mute = new ChoiceRow(
        ConsoleText::tr("MUTE :"), "zrMute",
        {{ConsoleText::tr("ON"), "zrMuteOnButton", kMuteOn}, {ConsoleText::tr("OFF"), "zrMuteOffButton", kMuteOff}},
        grid, 3, this);
    m_sleepTimer = new ChoiceRow(ConsoleText::tr("SLEEP TIMER (Set Only) :"), "zrSleepTimer",
                                 {{ConsoleText::tr("OFF"), "zrSleepOffButton", 0},
                                  {ConsoleText::tr("30 MIN"), "zrSleep30Button", 1},
                                  {ConsoleText::tr("60 MIN"), "zrSleep60Button", 2},
                                  {ConsoleText::tr("90 MIN"), "zrSleep90Button", 3},
                                  {ConsoleText::tr("120 MIN"), "zrSleep120Button", 4}},
                                 grid, 4, this);
    grid->setColumnStretch(1, 1);
    m_send->setObjectName("zrSendButton");
    m_receive->setObjectName("zrReceiveButton");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_receive);
    buttons->addWidget(m_send);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(m_wide, &ChoiceRow::chosen, this,
            [this](int value) { choose(m_wide, m_block.WIDE, value, {settingItem("WIDE", value)}); });
    connect(m_avMode, &ChoiceRow::chosen, this,
            [this](int value) { choose(m_avMode, m_block.AVMD, value, zrAvModeItems(m_block, value)); });
    connect(m_volume, &SliderRow::settled, this, &CZRRcOperation::settleVolume);
    connect(m_mute, &ChoiceRow::chosen, this,
            [this](int value) { choose(m_mute, m_block.MUTE, value, {settingItem("MUTE", value)}); });
    connect(m_sleepTimer, &ChoiceRow::chosen, this, &CZRRcOperation::setSleepTimer);
    connect(m_send, &QPushButton::clicked, this, [this] {
        sendTicked(tickedRows(), sendingTitle(), [this](unsigned rows) { return zrControlSendList(m_block, rows); });
    });
    connect(m_receive, &QPushButton::clicked, this, &CZRRcOperation::receiveFromOne);
    setMultiMode(false);
}

void CZRRcOperation::setMultiMode(bool multi)
{
    m_multi = multi;
    m_wide->setMultiMode(multi);
    m_avMode->setMultiMode(multi);
    m_volume->setMultiMode(multi);
    m_mute->setMultiMode(multi);
    m_send->setVisible(multi);
}

void CZRRcOperation::setInputMode(InputModeIndex input)
{
    if (input != kNoInput)
        refreshPage();
}

void CZRRcOperation::refreshPage()
{
    m_volume->show(m_block.VOLM);
    showChoices();
}

void CZRRcOperation::showChoices()
{
    m_wide->show(within(m_block.WIDE, 1, 9, kStretchPc));
    m_avMode->show(within(m_block.AVMD, 1, 6, kAvModePc));
    m_mute->show(m_block.MUTE == kMuteOn ? kMuteOn : kMuteOff);
    m_sleepTimer->show(kNoChoice); // set only: nothing is known to be marked
}

std::vector<CommandItem> CZRRcOperation::receiveList()
{
    return zrControlReceiveList(m_block);
}

QString CZRRcOperation::receiveTitle() const
{
    return ConsoleText::tr("Receiving settings");
}

void CZRRcOperation::settleVolume(int value)
{
    const Change result = change(
        m_block.VOLM, value, [this] { m_volume->tick(); },
        [&] { return sendNow(sendingTitle(), {settingItem("VOLM", value)}); });
    if (result == Change::Refused) {
        m_volume->show(m_block.VOLM);
    } else if (result == Change::Sent) { // a volume change ends the mute on the monitor
        m_block.MUTE = kMuteOff;
        showChoices();
    }
}

// Sent at once in both modes and not stored: the monitor counts the time down itself.
void CZRRcOperation::setSleepTimer(int value)
{
    const std::vector<PANEL_DATA> monitors = m_tree.selectedMonitors();
    if (!monitors.empty()) {
        CommandItem item = settingItem("OFTM", value);
        m_context.runner.run(this, sendingTitle(), {&item, 1}, monitors);
    }
    showChoices();
}

unsigned CZRRcOperation::tickedRows() const
{
    unsigned rows = 0;
    if (m_wide->ticked())
        rows |= ZrRowWide;
    if (m_avMode->ticked())
        rows |= ZrRowAvMode;
    if (m_volume->ticked())
        rows |= ZrRowVolume;
    if (m_mute->ticked())
        rows |= ZrRowMute;
    return rows;
}

} // namespace lumivane
