#pragma once

#include "EnlargeChecks.h"
#include "EnlargeLayout.h"
#include "tree/PanelData.h"

#include <QString>

#include <map>
#include <string>
#include <vector>

class QWidget;

namespace lumivane {

struct ConsoleContext;

// The monitor of a tree item as the wall model knows it.
WallMonitor wallMonitorOf(const PANEL_DATA& data);

// A question of group mode's checks as the operator reads it: the message with its "%s" filled by the
// monitors' short names in turn (the AV-input notice names all of them in one).
QString checkQuestionText(const CheckQuestion& question);

// How the enlarge editor talks to the monitors: every exchange is a run of the console's runner (the run
// window over a worker), every question goes through the prompter.
class WallSender
{
public:
    WallSender(ConsoleContext& context, QWidget* parent) : m_context(context), m_parent(parent) {}

    // "Send": the wall to the placed monitors (normal mode in one run; group mode monitor by monitor after
    // the checks), enlarge cleared on the checked monitors that are not placed. `monitors` are all the
    // tree's monitors. True when the wall went out (group mode: the walk was made), which allows the
    // position adjustment.
    bool sendWall(const EnlargeLayout& layout, const std::vector<PANEL_DATA>& checked,
                  const std::vector<PANEL_DATA>& monitors);
    // "ON" / "OFF" of the ID indication on the checked monitors, stopping at the first that fails.
    void idIndication(const std::vector<PANEL_DATA>& checked, bool on);
    // One adjustment command to one monitor; true when it took it.
    bool sendShift(const PANEL_DATA& monitor, const std::string& command);

private:
    bool sendNormalMode(const EnlargeLayout& layout, const std::vector<int>& cells,
                        const std::vector<PANEL_DATA>& placed);
    bool sendGroupMode(const EnlargeLayout& layout, const std::map<int32_t, PANEL_DATA>& byNumber);
    void clearEnlarge(const EnlargeLayout& layout, const std::vector<PANEL_DATA>& notPlaced);
    CheckAnswer ask(const CheckQuestion& question);

    ConsoleContext& m_context;
    QWidget* m_parent;
};

} // namespace lumivane
