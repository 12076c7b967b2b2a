#pragma once

#include "CBaseOperation.h"
#include "InputModes.h"
#include "MonitorSetting.h"

class QPushButton;

namespace lumivane {

class ChoiceRow;
class CPanelTreeCtrl;
class SliderRow;

// The "CONTROL" page of the ZR-1190 family: wide mode, AV mode, volume and mute of the checked monitors,
// bound to the window's ZrControlBlock, and a sleep timer that is only ever set, never stored.
class CZRRcOperation : public CBaseOperation
{
    Q_OBJECT
public:
    CZRRcOperation(ConsoleContext& context, CPanelTreeCtrl& tree, ZrControlBlock& block, QWidget* parent = nullptr);

    void setMultiMode(bool multi);
    // No control depends on the input; a chosen input only shows the stored values.
    void setInputMode(InputModeIndex input);
    void refreshPage() override;

private:
    std::vector<CommandItem> receiveList() override;
    QString receiveTitle() const override;
    QString sendingTitle() const override;

    void settleVolume(int value);
    void setSleepTimer(int value);
    unsigned tickedRows() const;
    void showChoices() override;

    ZrControlBlock& m_block;
    ChoiceRow* m_wide;
    ChoiceRow* m_avMode;
    SliderRow* m_volume;
    ChoiceRow* m_mute;
    ChoiceRow* m_sleepTimer;
    QPushButton* m_send;
    QPushButton* m_receive;
};

} // namespace lumivane
