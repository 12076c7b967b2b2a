#pragma once

#include "CBaseOperation.h"
#include "InputModes.h"
#include "ModelCode.h"
#include "MonitorSetting.h"

class QPushButton;

namespace lumivane {

class ChoiceRow;
class CPanelTreeCtrl;
class SliderRow;

// The "CONTROL" page of the main series: picture size, colour mode, brightness, volume and mute of the
// checked monitors, bound to the window's ControlBlock. In Single Mode a change is sent at once and kept only when the
// run succeeds; in Multi Mode it is kept and ticks its row, and "Send" sends the ticked rows.
class CRCOperation : public CBaseOperation
{
    Q_OBJECT
public:
    CRCOperation(ConsoleContext& context, CPanelTreeCtrl& tree, ControlBlock& block, QWidget* parent = nullptr);

    void setMultiMode(bool multi);
    // The input chosen in the window and the model of the selection decide which choices are offered.
    void setInputMode(InputModeIndex input, ModelCode model);
    void refreshPage() override;

private:
    std::vector<CommandItem> receiveList() override;
    QString receiveTitle() const override;
    QString sendingTitle() const override;
    void showMode(bool multi);
    void checkEnlarged();
    bool sizeRowEnabled() const;
    void settle(SliderRow* row, int32_t& stored, const char* code, int value);
    unsigned tickedRows() const;
    void showChoices() override;

    ControlBlock& m_block;
    InputModeIndex m_input = kNoInput;
    bool m_sizeAllowed = false; // no checked monitor shows an enlarged picture
    ChoiceRow* m_size;
    ChoiceRow* m_colourMode;
    SliderRow* m_bright;
    SliderRow* m_volume;
    ChoiceRow* m_mute;
    QPushButton* m_send;
    QPushButton* m_receive;
};

} // namespace lumivane
