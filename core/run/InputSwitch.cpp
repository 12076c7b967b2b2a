#include "InputSwitch.h"

#include "CommandAvailability.h"
#include "CommandText.h"
#include "ModelLookup.h"
#include "TerminalCommands.h"
#include "corvalink.h"

#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

namespace lumivane {
namespace {

constexpr int kZrInputQueries = 5;
constexpr auto kZrQueryPause = std::chrono::milliseconds(1000);

void setReport(char* reportText, const std::string& text)
{
    std::strncpy(reportText, text.c_str(), kCommandTextSize - 1);
    reportText[kCommandTextSize - 1] = '\0';
}

int32_t send(LinkHandle link, const std::string& command, char* reportText)
{
    setReport(reportText, command);
    return LinkSet(link, "command", command.c_str(), 0, 0, 0);
}

std::optional<int32_t> query(LinkHandle link, ModelCode model, const char* code, char* reportText, int32_t& status)
{
    const std::string command = queryCommand(code);
    if (!isCommandAvailable(model, command))
        return std::nullopt;
    setReport(reportText, command);
    int32_t value = 0;
    status = LinkGetNumber(link, ("command:" + command).c_str(), &value, 0, 0, 0);
    return status == 0 ? std::optional(value) : std::nullopt;
}

int32_t switchZrInput(LinkHandle link, ModelCode model, InputModeIndex index, char* reportText)
{
    const int32_t wanted = inputNumberFromIndex(model, index);
    if (wanted == 0)
        return 0;
    int32_t current = 0;
    int32_t status = 0;
    setReport(reportText, queryCommand("IAVD"));
    for (int attempt = 0; attempt < kZrInputQueries; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(kZrQueryPause);
        status = LinkGetNumber(link, "command:IAVD????", &current, 0, 0, 0);
        if (status != LINK_MONITOR_ERROR)
            break;
    }
    if (status != 0)
        return status;
    return current == wanted ? 0 : send(link, settingCommand("IAVD", wanted), reportText);
}

// Whether `command` ("DVSL0002") differs from what the monitor reports for its code.
bool differs(const std::string& command, std::optional<int32_t> current)
{
    return !command.empty() && (!current || settingCommand(commandCode(command), *current) != command);
}

int32_t switchSeriesInput(LinkHandle link, ModelCode model, InputModeIndex index, char* reportText)
{
    int32_t status = 0;
    const std::optional<int32_t> windows = query(link, model, "MWIN", reportText, status);
    if (status != 0)
        return status;
    std::optional<int32_t> terminal;
    const std::optional<TerminalCommands> commands = terminalCommandsFor(model, index);
    if (commands && !commands->terminalCommand.empty()) {
        const std::string code(commandCode(commands->terminalCommand));
        terminal = query(link, model, code.c_str(), reportText, status);
        if (status != 0)
            return status;
    }
    const std::optional<int32_t> slot = query(link, model, "SLDS", reportText, status);
    if (status != 0)
        return status;

    bool changeNeeded = false;
    if (commands) {
        const bool slotUnchecked = (index == 7 && slot != 1) || (index == 9 && slot != 2);
        changeNeeded = (!slotUnchecked && differs(commands->slotCommand, slot)) ||
                       differs(commands->terminalCommand, terminal);
    }
    if (windows == 3 && (status = send(link, "MWIN0000", reportText)) != 0)
        return status;
    if (changeNeeded) {
        if (!commands->terminalCommand.empty() && isCommandAvailable(model, commands->terminalCommand) &&
            (status = send(link, commands->terminalCommand, reportText)) != 0)
            return status;
        if (!commands->slotCommand.empty() && (status = send(link, commands->slotCommand, reportText)) != 0)
            return status;
    }
    int32_t number = inputNumberFromIndex(model, index);
    if (number == 0)
        number = inputNumberFromIndex(ModelCode(), index);
    return number == 0 ? 0 : send(link, settingCommand("INPS", number), reportText);
}

int32_t switchInputRoutine(char* reportText, LinkHandle link, const char* modelName, int32_t modelFlags, void* data)
{
    return switchInput(link, modelName, modelFlags, *static_cast<const InputModeIndex*>(data), reportText);
}

} // namespace

int32_t switchInput(LinkHandle link, const char* modelName, int32_t modelFlags, InputModeIndex index,
                    char* reportText)
{
    const ModelCode model = modelFromName(modelName, modelFlags);
    if (isZrModelName(modelName))
        return switchZrInput(link, model, index, reportText);
    return switchSeriesInput(link, model, index, reportText);
}

CommandItem inputSwitchItem(const InputModeIndex* index)
{
    CommandItem item{};
    item.kind = CommandItemKind::Custom;
    setReport(item.text, settingCommand("INPS", *index));
    item.data = const_cast<InputModeIndex*>(index);
    item.routine = switchInputRoutine;
    return item;
}

} // namespace lumivane
