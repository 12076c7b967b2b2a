#pragma once

#include "InputModes.h"
#include "ModelCode.h"
#include "MonitorSetting.h"
#include "tree/PanelData.h"

#include <QWidget>

#include <vector>

class QPushButton;

namespace lumivane {

class ChoiceRow;
class CPanelTreeCtrl;
class SliderRow;
struct ConsoleContext;

// The "CONTROL" page of the main series: picture size, colour mode, brightness, volume and mute of the
// checked monitors, bound to the window's ControlBlock. In Single Mode a change is sent at once and kept only when the
// run succeeds; in Multi Mode it is kept and ticks its row, and "Send" sends the ticked rows.
class CRCOperation : public QWidget
{
    Q_OBJECT
public:
    CRCOperation(ConsoleContext& context, CPanelTreeCtrl& tree, ControlBlock& block, QWidget* parent = nullptr);

    void setMultiMode(bool multi);
    // The input chosen in the window and the model of the selection decide which choices are offered.
    void setInputMode(InputModeIndex input, ModelCode model);
    void refreshPage();
    bool needsReceive() const { return m_block.received == 0; }
    // Reads the block from `monitors` ("Receiving CONTROL setting"); true when it succeeded.
    bool receive(const std::vector<PANEL_DATA>& monitors);
    bool receive(); // from the checked monitors

private:
    void settle(SliderRow* row, int32_t& stored, const char* code, int value);
    void choose(ChoiceRow* row, int32_t& stored, const char* code, int value);
    bool sendNow(const char* code, int value);
    void sendTicked();
    void receiveFromOne(); // the Receive button
    void showChoices();

    ConsoleContext& m_context;
    CPanelTreeCtrl& m_tree;
    ControlBlock& m_block;
    bool m_multi = false;
    InputModeIndex m_input = kNoInput;
    ChoiceRow* m_size;
    ChoiceRow* m_colourMode;
    SliderRow* m_bright;
    SliderRow* m_volume;
    ChoiceRow* m_mute;
    QPushButton* m_send;
    QPushButton* m_receive;
};

} // namespace lumivane
