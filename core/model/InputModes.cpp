#include "InputModes.h"

#include "ModelClasses.h"
#include "traitbook.h"

#include <algorithm>
#include <iterator>

namespace lumivane {
namespace {

constexpr int32_t kNoTerminal = -1;

struct InputMode
{
    const char* name;
    int32_t terminal;
    int32_t kind3Terminal;
};

// Indexes 0 to 13.
// clang-format off
constexpr InputMode kInputModes[] = {
    // name                    terminal                      terminal for kind 3
    {"---",                    kNoTerminal,                  kNoTerminal},
    {"PC DVI",                 TRAIT_TERMINAL_DVI,           TRAIT_TERMINAL_DVI},
    {"PC HDMI",                TRAIT_TERMINAL_HDMI,          kNoTerminal},
    {"PC D-SUB (VGA)",         TRAIT_TERMINAL_DSUB,          TRAIT_TERMINAL_DSUB},
    {"PC RGB (5BNC)",          TRAIT_TERMINAL_RGB_5BNC,      TRAIT_TERMINAL_RGB_5BNC},
    {"AV DVI",                 TRAIT_TERMINAL_AV_DVI,        kNoTerminal},
    {"AV HDMI",                TRAIT_TERMINAL_AV_HDMI,       kNoTerminal},
    {"AV Component (3BNC)",    TRAIT_TERMINAL_COMPONENT,     TRAIT_TERMINAL_COMPONENT},
    {"AV S-Video",             TRAIT_TERMINAL_SVIDEO,        TRAIT_TERMINAL_VIDEO_SVIDEO},
    {"AV Video (Composite)",   TRAIT_TERMINAL_VIDEO,         TRAIT_TERMINAL_VIDEO_SVIDEO},
    {"AV Video/S-Video",       TRAIT_TERMINAL_VIDEO_SVIDEO,  TRAIT_TERMINAL_VIDEO_SVIDEO},
    {"USB",                    TRAIT_TERMINAL_USB,           kNoTerminal},
    {"AV Component (D-SUB)",   kTerminalDsubComponent,       kNoTerminal},
    {"AV Video (D-SUB)",       kTerminalDsubVideo,           kNoTerminal},
};
// clang-format on

const InputMode* findInputMode(InputModeIndex index)
{
    return index >= 0 && index <= kLastSeriesInput ? &kInputModes[index] : nullptr;
}

std::optional<int32_t> terminalOrNothing(int32_t terminal)
{
    return terminal == kNoTerminal ? std::nullopt : std::optional<int32_t>(terminal);
}

// The terminal the model reaches the index through: kind 3 its own column, falling back to the first.
std::optional<int32_t> terminalForModel(ModelCode model, InputModeIndex index)
{
    if (model.kind() == 3) {
        if (std::optional<int32_t> terminal = inputTerminalForKind3(index)) {
            return terminal;
        }
    }
    return inputTerminal(index);
}

// A terminal id as the model database knows it, with the D-SUB slot it is reached in.
struct TerminalInSlot
{
    int32_t terminal;
    int32_t slot;
};

TerminalInSlot resolveDsubModes(int32_t terminal)
{
    if (terminal == kTerminalDsubComponent) {
        return {TRAIT_TERMINAL_COMPONENT, 1};
    }
    if (terminal == kTerminalDsubVideo) {
        return {TRAIT_TERMINAL_VIDEO, 2};
    }
    return {terminal, 0};
}

std::vector<int32_t> listedTerminals(ModelCode model)
{
    std::vector<int32_t> terminals(
        size_t(std::max(0, TraitList(TRAIT_LIST_INPUT_TERMINALS, nullptr, 0, model.value()))));
    const int32_t count =
        TraitList(TRAIT_LIST_INPUT_TERMINALS, terminals.data(), int32_t(terminals.size()), model.value());
    terminals.resize(std::min(terminals.size(), size_t(std::max(0, count))));
    return terminals;
}

} // namespace

std::string inputModeName(InputModeIndex index)
{
    if (index >= kFirstZrInput && index <= kLastZrInput) {
        return "INPUT" + std::to_string(index - 100);
    }
    const InputMode* mode = findInputMode(index);
    return mode == nullptr ? std::string() : mode->name;
}

std::optional<int32_t> inputTerminal(InputModeIndex index)
{
    const InputMode* mode = findInputMode(index);
    return mode == nullptr ? std::nullopt : terminalOrNothing(mode->terminal);
}

std::optional<int32_t> inputTerminalForKind3(InputModeIndex index)
{
    const InputMode* mode = findInputMode(index);
    return mode == nullptr ? std::nullopt : terminalOrNothing(mode->kind3Terminal);
}

std::vector<InputModeIndex> selectableInputs(ModelCode model)
{
    std::vector<InputModeIndex> inputs;
    if (model.kind() == 0) {
        for (InputModeIndex index = 1; index <= kLastSeriesInput; ++index) {
            inputs.push_back(index);
        }
        return inputs;
    }
    if (isKind6(model)) {
        for (InputModeIndex index = kFirstZrInput; index <= kLastZrInput; ++index) {
            inputs.push_back(index);
        }
        return inputs;
    }
    const std::vector<int32_t> terminals = listedTerminals(model);
    for (InputModeIndex index = 1; index <= kLastSeriesInput; ++index) {
        const std::optional<int32_t> terminal = inputTerminal(index);
        if (terminal && std::ranges::find(terminals, *terminal) != terminals.end()) {
            inputs.push_back(index);
        }
    }
    if (hasDsubAvModes(model)) {
        inputs.push_back(kDsubComponentInput);
        inputs.push_back(kDsubVideoInput);
    }
    return inputs;
}

int32_t inputNumberFromIndex(ModelCode model, InputModeIndex index, int32_t* slot)
{
    if (slot != nullptr) {
        *slot = 0;
    }
    if (isKind6(model)) {
        return index >= kFirstZrInput && index <= kLastZrInput ? index - 100 : 0;
    }
    const std::optional<int32_t> terminal = terminalForModel(model, index);
    if (!terminal) {
        return 0;
    }
    const TerminalInSlot resolved = resolveDsubModes(*terminal);
    int32_t pair[2] = {resolved.terminal, resolved.slot};
    if (TraitToInputNumber(TRAIT_LIST_INPUT_TERMINALS, pair, model.value()) == 0) {
        return 0;
    }
    if (slot != nullptr) {
        *slot = resolved.slot;
    }
    return pair[0];
}

InputModeIndex inputIndexFromNumber(ModelCode model, int32_t number, int32_t slot)
{
    if (isKind6(model)) {
        return number >= 1 && number <= kLastZrInput - 100 ? number + 100 : kNoInput;
    }
    int32_t pair[2] = {number, slot};
    if (TraitFromInputNumber(TRAIT_LIST_INPUT_TERMINALS, pair, model.value()) == 0) {
        return kNoInput;
    }
    const int32_t terminal = pair[0];
    const int32_t terminalSlot = pair[1];
    if (terminal == TRAIT_TERMINAL_COMPONENT && terminalSlot == 1) {
        return kDsubComponentInput;
    }
    if (terminal == TRAIT_TERMINAL_VIDEO && terminalSlot == 2) {
        return kDsubVideoInput;
    }
    for (InputModeIndex index = 1; index <= kLastSeriesInput; ++index) {
        if (inputTerminal(index) == terminal) {
            return index;
        }
    }
    return kNoInput;
}

bool isPcInput(InputModeIndex index)
{
    const std::optional<int32_t> terminal = inputTerminal(index);
    if (!terminal || *terminal == kTerminalDsubComponent || *terminal == kTerminalDsubVideo) {
        return false;
    }
    return TraitTerminalName(*terminal) != nullptr && TraitTerminalIsVideo(*terminal) == 0;
}

bool isZrInputIndex(InputModeIndex index)
{
    return index > 100;
}

bool isCompositeVideoIndex(InputModeIndex index)
{
    return index == 9 || index == 10 || index == 13;
}

bool isAnalogVideoIndex(InputModeIndex index)
{
    return index == 8 || isCompositeVideoIndex(index);
}

} // namespace lumivane
