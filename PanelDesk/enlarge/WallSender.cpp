#include "WallSender.h"

#include "CommandText.h"
#include "EnlargeGroupSend.h"
#include "EnlargeSendLists.h"
#include "ModelLookup.h"
#include "SettingLists.h"
#include "common/CommandRunner.h"
#include "common/ConsoleContext.h"
#include "common/Prompter.h"
#include "common/UiText.h"

#include <cstdio>

namespace lumivane {

namespace {

constexpr int kSendingEnlarge = 240;
constexpr int kClearingEnlarge = 241;
constexpr int kCommunicating = 242;
constexpr int kAvInputNotice = 7660;

std::vector<CommandItem> textItems(const std::string& command)
{
    std::vector<CommandItem> items(1);
    std::snprintf(items[0].text, sizeof items[0].text, "%s", command.c_str());
    return items;
}

// What group mode's checks ask of single monitors, each as a run of one item.
class RunnerWallLink final : public WallCheckLink
{
public:
    RunnerWallLink(ConsoleContext& context, QWidget* parent, const std::map<int32_t, PANEL_DATA>& monitors)
        : m_context(context), m_parent(parent), m_monitors(monitors)
    {
    }
    std::optional<int32_t> query(const WallMonitor& monitor, std::string_view code) override
    {
        int32_t value = 0;
        std::vector<CommandItem> items{queryItem(code, &value)};
        return run(monitor, items) ? std::optional(value) : std::nullopt;
    }
    bool send(const WallMonitor& monitor, const std::string& command) override
    {
        std::vector<CommandItem> items = textItems(command);
        return run(monitor, items);
    }

private:
    bool run(const WallMonitor& monitor, std::vector<CommandItem>& items)
    {
        const auto found = m_monitors.find(monitor.panelNo);
        return found != m_monitors.end() &&
               m_context.runner.run(m_parent, uiText(kCommunicating), items, {found->second});
    }

    ConsoleContext& m_context;
    QWidget* m_parent;
    const std::map<int32_t, PANEL_DATA>& m_monitors;
};

} // namespace

WallMonitor wallMonitorOf(const PANEL_DATA& data)
{
    return {data.number, data.name, modelFromName(data.szModel, data.nModelFlags)};
}

QString checkQuestionText(const CheckQuestion& question)
{
    QString text = uiFormatText(question.message);
    std::vector<std::string> names = question.names;
    if (question.message == kAvInputNotice && names.size() > 1) {
        std::string joined;
        for (const std::string& name : names)
            joined += (joined.empty() ? "" : ", ") + name;
        names = {joined};
    }
    // Filled by hand, not by printf: a name is text, whatever it holds.
    for (const std::string& name : names) {
        const qsizetype at = text.indexOf("%s");
        if (at < 0)
            break;
        text.replace(at, 2, QString::fromStdString(name));
    }
    return text;
}

bool WallSender::sendWall(const EnlargeLayout& layout, const std::vector<PANEL_DATA>& checked,
                          const std::vector<PANEL_DATA>& monitors)
{
    std::vector<PANEL_DATA> notPlaced;
    bool anyCheckedPlaced = false;
    for (const PANEL_DATA& monitor : checked) {
        if (layout.cellOf(monitor.number))
            anyCheckedPlaced = true;
        else
            notPlaced.push_back(monitor);
    }
    std::map<int32_t, PANEL_DATA> byNumber;
    for (const PANEL_DATA& monitor : monitors)
        byNumber[monitor.number] = monitor;
    // Every placed monitor, in cell order.
    std::vector<int> cells;
    std::vector<PANEL_DATA> placed;
    for (int index = 0; index < layout.cellCount(); ++index)
        if (const auto& monitor = layout.cell(index).monitor; monitor && byNumber.count(monitor->panelNo)) {
            cells.push_back(index);
            placed.push_back(byNumber[monitor->panelNo]);
        }

    bool sent = false;
    if (anyCheckedPlaced && !cells.empty())
        sent = layout.groupMode() ? sendGroupMode(layout, byNumber) : sendNormalMode(layout, cells, placed);
    clearEnlarge(layout, notPlaced);
    return sent;
}

bool WallSender::sendNormalMode(const EnlargeLayout& layout, const std::vector<int>& cells,
                                const std::vector<PANEL_DATA>& placed)
{
    NormalModeSendList list(layout, cells);
    return m_context.runner.run(m_parent, uiText(kSendingEnlarge), list.items(), placed);
}

bool WallSender::sendGroupMode(const EnlargeLayout& layout, const std::map<int32_t, PANEL_DATA>& byNumber)
{
    RunnerWallLink link(m_context, m_parent, byNumber);
    return sendGroupModeWall(
        layout, link, [this](const CheckQuestion& question) { return ask(question); },
        [&](int index) {
            const WallMonitor& monitor = *layout.cell(index).monitor;
            std::vector<CommandItem> items = groupModeMonitorList(layout, index, monitor.model);
            m_context.runner.run(m_parent, uiText(kSendingEnlarge), items, {byNumber.at(monitor.panelNo)});
        });
}

void WallSender::clearEnlarge(const EnlargeLayout& layout, const std::vector<PANEL_DATA>& notPlaced)
{
    for (const PANEL_DATA& monitor : notPlaced) {
        std::vector<CommandItem> items = clearEnlargeList(layout.orientation(), wallMonitorOf(monitor).model);
        m_context.runner.run(m_parent, uiText(kClearingEnlarge), items, {monitor});
    }
}

void WallSender::idIndication(const std::vector<PANEL_DATA>& checked, bool on)
{
    for (const PANEL_DATA& monitor : checked) {
        std::vector<CommandItem> items = idIndicationList(wallMonitorOf(monitor), on);
        if (items.empty())
            continue;
        if (!m_context.runner.run(m_parent, uiText(kCommunicating), items, {monitor}))
            return;
    }
}

bool WallSender::sendShift(const PANEL_DATA& monitor, const std::string& command)
{
    std::vector<CommandItem> items = textItems(command);
    return m_context.runner.run(m_parent, uiText(kSendingEnlarge), items, {monitor});
}

CheckAnswer WallSender::ask(const CheckQuestion& question)
{
    Prompt prompt;
    prompt.text = checkQuestionText(question);
    switch (question.buttons) {
    case CheckQuestion::Ok:
        prompt.buttons = QMessageBox::Ok;
        prompt.icon = question.errorIcon ? QMessageBox::Critical : QMessageBox::Warning;
        break;
    case CheckQuestion::YesNo:
        prompt.buttons = QMessageBox::Yes | QMessageBox::No;
        prompt.icon = QMessageBox::Question;
        break;
    case CheckQuestion::YesNoCancel:
        prompt.buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        prompt.icon = QMessageBox::Question;
        break;
    }
    const QMessageBox::StandardButton answer = m_context.prompter.ask(m_parent, prompt);
    if (answer == QMessageBox::Yes)
        return CheckAnswer::Yes;
    return answer == QMessageBox::No ? CheckAnswer::No : CheckAnswer::Cancel;
}

} // namespace lumivane
