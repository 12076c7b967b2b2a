#include "InputSwitch.h"

#include "CommandAvailability.h"
#include "CommandText.h"
#include "ModelLookup.h"
#include "TerminalCommands.h"
#include "corvalink.h"

#include <chrono>
#include <cstring>
#include <map>
#include <optional>
#include <string_view>
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

int32_t queryValue(LinkHandle link, std::string_view code, int32_t& value)
{
    return LinkGetNumber(link, ("command:" + queryCommand(code)).c_str(), &value, 0, 0, 0);
}

// The DVI and BNC terminal-select commands belong to the expansion board: a kind-7 monitor without it
// has neither, whatever its model has.
bool hasTerminalCommand(ModelCode model, std::string_view command)
{
    const std::string_view code = commandCode(command);
    if ((code == "DVSL" || code == "BNSL") && model.kind() == 7 && model.lacksExpansionBoard())
        return false;
    return isCommandAvailable(model, command);
}

bool hasQuery(ModelCode model, std::string_view code)
{
    return hasTerminalCommand(model, queryCommand(code));
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

int32_t switchSeriesInput(LinkHandle link, ModelCode model, InputModeIndex index, char* reportText)
{
    TerminalCheck check;
    int32_t status = checkTerminals(link, model, index, check);
    if (status != 0)
        return status;
    if (check.windows == 3 && (status = send(link, "MWIN0000", reportText)) != 0)
        return status;
    if (check.changeNeeded && (status = sendTerminalCommands(link, model, index, reportText)) != 0)
        return status;
    const int32_t number = seriesInputNumber(model, index);
    return number == 0 ? 0 : send(link, settingCommand("INPS", number), reportText);
}

int32_t switchInputRoutine(char* reportText, LinkHandle link, const char* modelName, int32_t modelFlags, void* data)
{
    return switchInput(link, modelName, modelFlags, *static_cast<const InputModeIndex*>(data), reportText);
}

} // namespace

int32_t checkTerminals(LinkHandle link, ModelCode model, InputModeIndex index, TerminalCheck& check)
{
    check = TerminalCheck{};
    int32_t status = 0;
    if (hasQuery(model, "MWIN") && (status = queryValue(link, "MWIN", check.windows)) != 0)
        return status;

    // The current terminal-select and slot values; 0 where the monitor has no such command.
    std::map<std::string, int32_t, std::less<>> current;
    for (const char* code : {"DVSL", "BNSL", "HDSL", "SLDS"}) {
        if (!hasQuery(model, code))
            continue;
        if ((status = queryValue(link, code, current[code])) != 0)
            return status;
    }
    const auto valueOf = [&](std::string_view code) {
        const auto found = current.find(code);
        return found == current.end() ? 0 : found->second;
    };

    const std::optional<TerminalCommands> commands = terminalCommandsFor(model, index);
    if (!commands)
        return 0;
    // Inputs 7 and 9 share the BNC and D-SUB connectors with 12 and 13: their slot only matters while
    // the monitor is in that other use of the slot.
    const int32_t slot = valueOf("SLDS");
    const bool slotMatters = (index != 7 && index != 9) || (index == 7 && slot == 1) || (index == 9 && slot == 2);
    const std::string& slotCommand = commands->slotCommand;
    const std::string& terminalCommand = commands->terminalCommand;
    check.changeNeeded =
        (!slotCommand.empty() && hasTerminalCommand(model, slotCommand) && slotMatters &&
         slotCommand != settingCommand("SLDS", slot)) ||
        (!terminalCommand.empty() && hasTerminalCommand(model, terminalCommand) &&
         terminalCommand != settingCommand(commandCode(terminalCommand), valueOf(commandCode(terminalCommand))));
    return 0;
}

int32_t sendTerminalCommands(LinkHandle link, ModelCode model, InputModeIndex index, char* reportText)
{
    const std::optional<TerminalCommands> commands = terminalCommandsFor(model, index);
    if (!commands)
        return 0;
    for (const std::string* command : {&commands->terminalCommand, &commands->slotCommand}) {
        if (command->empty() || !hasTerminalCommand(model, *command))
            continue;
        if (reportText)
            setReport(reportText, *command);
        if (const int32_t status = LinkSet(link, "command", command->c_str(), 0, 0, 0); status != 0)
            return status;
    }
    return 0;
}

int32_t seriesInputNumber(ModelCode model, InputModeIndex index)
{
    const int32_t number = inputNumberFromIndex(model, index);
    return number != 0 ? number : inputNumberFromIndex(ModelCode(), index);
}

int32_t inputNumberFor(const char* modelName, int32_t modelFlags, InputModeIndex index)
{
    const ModelCode model = modelFromName(modelName, modelFlags);
    if (isZrModelName(modelName))
        return index >= kFirstZrInput && index <= kLastZrInput ? inputNumberFromIndex(model, index) : 0;
    return index <= kLastSeriesInput ? seriesInputNumber(model, index) : 0;
}

int32_t switchInput(LinkHandle link, const char* modelName, int32_t modelFlags, InputModeIndex index, char* reportText)
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
