#pragma once

#include "CommandItem.h"
#include "tree/PanelData.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

namespace lumivane {

class ChoiceRow;
class CPanelTreeCtrl;
struct ConsoleContext;

// What the CONTROL pages share: the checked monitors of the tree are the targets; in Single Mode a change
// is sent at once and kept only when the run succeeds, in Multi Mode it is kept and ticks its row; the
// page's block is read from one monitor by "Receive".
class CBaseOperation : public QWidget
{
    Q_OBJECT
public:
    bool needsReceive() const { return m_received == 0; }
    // Reads the page's block from `monitors`; true when it succeeded. The page shows the values afterwards.
    bool receive(const std::vector<PANEL_DATA>& monitors);
    bool receive(); // from the checked monitors
    virtual void refreshPage() = 0;

protected:
    // `received` is the received flag of the page's block.
    CBaseOperation(ConsoleContext& context, CPanelTreeCtrl& tree, int32_t& received, QWidget* parent);

    enum class Change
    {
        Unchanged, // the value is the stored one: nothing sent
        Ticked,    // Multi Mode: stored, row ticked
        Sent,      // Single Mode: sent and stored
        Refused,   // Single Mode: the send failed, the stored value holds
    };
    // Applies `value` to `stored`: `tick` ticks the row in Multi Mode, `send` sends it in Single Mode.
    Change change(int32_t& stored, int value, const std::function<void()>& tick, const std::function<bool()>& send);
    // A button of `row` was chosen: its row is ticked in Multi Mode, `items` are sent in Single Mode. The
    // choices are redrawn from the stored values afterwards, so a refused choice never stays marked.
    void choose(ChoiceRow* row, int32_t& stored, int value, std::vector<CommandItem> items);
    // Runs `items` over the checked monitors at once; "Please select monitor." when none is checked.
    bool sendNow(const QString& title, std::vector<CommandItem> items);
    // The Send button: the list of the ticked `rows` to every checked monitor.
    void sendTicked(unsigned rows, const QString& title,
                    const std::function<std::vector<CommandItem>(unsigned rows)>& list);
    void receiveFromOne(); // the Receive button: asks which monitor when several are checked

    virtual std::vector<CommandItem> receiveList() = 0;
    virtual QString receiveTitle() const = 0;
    virtual QString sendingTitle() const = 0;
    virtual void showChoices() = 0;

    ConsoleContext& m_context;
    CPanelTreeCtrl& m_tree;
    bool m_multi = false;

private:
    int32_t& m_received;
};

} // namespace lumivane
