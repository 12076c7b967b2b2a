#include "TerminalCommands.h"

#include "traitbook.h"

#include <cstdio>

namespace lumivane {
namespace {

std::string withValue(const char* code, int32_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%s%04d", code, value);
    return text;
}

// The terminal the model database knows and the slot the input is reached in, if the input has a slot.
struct TerminalAndSlot
{
    int32_t terminal;
    std::optional<int32_t> slot;
};

TerminalAndSlot slotOf(int32_t terminal)
{
    switch (terminal) {
    case kTerminalDsubComponent:
        return {TRAIT_TERMINAL_COMPONENT, 1};
    case kTerminalDsubVideo:
        return {TRAIT_TERMINAL_VIDEO, 2};
    case TRAIT_TERMINAL_DSUB:
    case TRAIT_TERMINAL_VIDEO:
        return {terminal, 0};
    default:
        return {terminal, std::nullopt};
    }
}

} // namespace

std::optional<TerminalCommands> terminalCommandsFor(ModelCode model, InputModeIndex index)
{
    if (index > kLastSeriesInput) {
        return std::nullopt;
    }
    std::optional<int32_t> terminal = model.kind() == 3 ? inputTerminalForKind3(index) : std::nullopt;
    if (!terminal) {
        terminal = inputTerminal(index);
    }
    if (!terminal) {
        return std::nullopt;
    }
    auto [selectTerminal, slot] = slotOf(*terminal);

    TerminalCommands commands;
    int32_t number = 0;
    switch (TraitTerminalSelect(selectTerminal, &number, model.value())) {
    case TRAIT_SELECT_DVSL:
        commands.terminalCommand = withValue("DVSL", number);
        break;
    case TRAIT_SELECT_HDSL:
        commands.terminalCommand = withValue("HDSL", number);
        break;
    case TRAIT_SELECT_BNSL:
        // Without the expansion board there are no BNC connectors: the D-SUB slot alone selects component.
        if (!(slot == 1 && model.kind() == 7 && model.lacksExpansionBoard())) {
            commands.terminalCommand = withValue("BNSL", number);
        }
        // RGB on the BNC connectors frees the D-SUB connector for PC use again.
        if (number == 1 && !slot) {
            slot = 0;
        }
        break;
    default:
        if (!slot) {
            return std::nullopt;
        }
        break;
    }
    if (slot) {
        commands.slotCommand = withValue("SLDS", *slot);
    }
    return commands;
}

} // namespace lumivane
