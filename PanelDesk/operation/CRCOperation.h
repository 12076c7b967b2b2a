#pragma once

#include "InputModes.h"
#include "MonitorSetting.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace lumivane {

class CPanelTreeCtrl;
class SliderRow;
struct ConsoleContext;

// The "CONTROL" page of the main series: brightness, volume and mute of the checked monitors, bound to the
// window's ControlBlock. In Single Mode a change is sent at once and kept only when the run succeeds; in
// Multi Mode it is kept and ticks its row, and "Send" sends the ticked rows.
class CRCOperation : public QWidget
{
    Q_OBJECT
public:
    CRCOperation(ConsoleContext& context, CPanelTreeCtrl& tree, ControlBlock& block, QWidget* parent = nullptr);

    void setMultiMode(bool multi);
    void setInputMode(InputModeIndex input);
    void refreshPage();
    bool needsReceive() const { return m_block.received == 0; }
    // Reads the block from the checked monitors ("Receiving CONTROL setting"); true when it succeeded.
    bool receive();

private:
    void settle(SliderRow* row, int32_t& stored, const char* code, int value);
    void chooseMute(int32_t value);
    bool sendNow(const char* code, int value);
    void sendTicked();
    void showMute();

    ConsoleContext& m_context;
    CPanelTreeCtrl& m_tree;
    ControlBlock& m_block;
    bool m_multi = false;
    InputModeIndex m_input = kNoInput;
    SliderRow* m_bright;
    SliderRow* m_volume;
    QCheckBox* m_muteCheck;
    QLabel* m_muteLabel;
    QPushButton* m_muteOn;
    QPushButton* m_muteOff;
    QPushButton* m_send;
};

} // namespace lumivane
