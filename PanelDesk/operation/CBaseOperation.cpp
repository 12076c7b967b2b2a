#include "CBaseOperation.h"

#include "CSelectMonitorDlg.h"
#include "ChoiceRow.h"
#include "common/CommandRunner.h"
#include "common/ConsoleContext.h"
#include "common/Prompter.h"
#include "common/UiText.h"
#include "tree/CPanelTreeCtrl.h"

namespace lumivane {

CBaseOperation::CBaseOperation(ConsoleContext& context, CPanelTreeCtrl& tree, int32_t& received, QWidget* parent)
    : QWidget(parent), m_context(context), m_tree(tree), m_received(received)
{
}

void CBaseOperation::choose(ChoiceRow* row, int32_t& stored, int value, std::vector<CommandItem> items)
{
    change(
        stored, value, [row] { row->tick(); }, [&] { return sendNow(sendingTitle(), std::move(items)); });
    showChoices();
}

bool CBaseOperation::receive()
{
    return receive(m_tree.selectedMonitors());
}

bool CBaseOperation::receive(const std::vector<PANEL_DATA>& monitors)
{
    std::vector<CommandItem> items = receiveList();
    const bool received = m_context.runner.run(this, receiveTitle(), items, monitors);
    if (received)
        m_received = 1;
    refreshPage();
    return received;
}

void CBaseOperation::receiveFromOne()
{
    const std::vector<PANEL_DATA> monitors = m_tree.selectedMonitors();
    if (monitors.empty())
        return;
    if (monitors.size() == 1) {
        receive(monitors);
        return;
    }
    CSelectMonitorDlg choice(monitors, this);
    if (m_context.dialogs.exec(choice) == QDialog::Accepted)
        receive({choice.chosen()});
}

CBaseOperation::Change CBaseOperation::change(int32_t& stored, int value, const std::function<void()>& tick,
                                              const std::function<bool()>& send)
{
    if (value == stored)
        return Change::Unchanged;
    if (m_multi) {
        stored = value;
        tick();
        return Change::Ticked;
    }
    if (!send())
        return Change::Refused;
    stored = value;
    return Change::Sent;
}

bool CBaseOperation::sendNow(const QString& title, std::vector<CommandItem> items)
{
    const std::vector<PANEL_DATA> monitors = m_tree.selectedMonitors();
    if (monitors.empty()) {
        m_context.prompter.error(this, uiText(183)); // "Please select monitor."
        return false;
    }
    return m_context.runner.run(this, title, items, monitors);
}

void CBaseOperation::sendTicked(unsigned rows, const QString& title,
                                const std::function<std::vector<CommandItem>(unsigned rows)>& list)
{
    if (rows == 0) {
        m_context.prompter.exclamation(this, ConsoleText::tr("Please check the item to send."));
        return;
    }
    const std::vector<PANEL_DATA> monitors = m_tree.selectedMonitors();
    if (monitors.empty()) {
        m_context.prompter.error(this, uiText(183));
        return;
    }
    std::vector<CommandItem> items = list(rows);
    m_context.runner.run(this, title, items, monitors);
}

} // namespace lumivane
