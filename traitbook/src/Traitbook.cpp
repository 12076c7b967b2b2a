// The exported operations: thin, defensive readers of the model table.
#include "traitbook.h"

#include "ModelTable.h"

#include <algorithm>
#include <cstring>

using namespace lumivane::traitbook;

namespace {

// The port for `terminal` in `slot`, or nullptr.
const Port* findPort(const Model& model, int32_t terminal, int32_t slot)
{
    auto found = std::ranges::find_if(model.ports,
                                      [=](const Port& port) { return port.terminal == terminal && port.slot == slot; });
    return found == model.ports.end() ? nullptr : &*found;
}

// The port with `inputNumber`: the one in `slot` when there is one, else the first.
const Port* findPortByNumber(const Model& model, int32_t inputNumber, int32_t slot)
{
    const Port* first = nullptr;
    for (const Port& port : model.ports) {
        if (port.inputNumber != inputNumber) {
            continue;
        }
        if (port.slot == slot) {
            return &port;
        }
        if (first == nullptr) {
            first = &port;
        }
    }
    return first;
}

// The distinct terminals of the model, slot modes left out, in table order.
int32_t listTerminals(const Model& model, int32_t* buffer, int32_t capacity)
{
    int32_t count = 0;
    for (size_t i = 0; i < model.ports.size(); ++i) {
        const Port& port = model.ports[i];
        auto earlier = model.ports.first(i);
        bool seen = std::ranges::any_of(
            earlier, [&](const Port& other) { return other.slot == 0 && other.terminal == port.terminal; });
        if (port.slot != 0 || seen) {
            continue;
        }
        if (buffer != nullptr && count < capacity) {
            buffer[count] = port.terminal;
        }
        ++count;
    }
    return count;
}

int32_t listOrientations(const Model& model, int32_t* buffer, int32_t capacity)
{
    const auto count = int32_t(model.orientations.size());
    if (buffer != nullptr && capacity > 0) {
        std::copy_n(model.orientations.begin(), std::min(count, capacity), buffer);
    }
    return count;
}

} // namespace

extern "C" {

int32_t TraitLookup(const char* modelName, uint32_t* code)
{
    if (modelName == nullptr || code == nullptr) {
        return 0;
    }
    const Model* model = findModel(std::string_view(modelName));
    if (model == nullptr) {
        return 0;
    }
    *code = model->code();
    return 1;
}

int32_t TraitList(int32_t category, int32_t* buffer, int32_t capacity, uint32_t code)
{
    const Model* model = findModel(code);
    if (model == nullptr) {
        return 0;
    }
    switch (category) {
    case TRAIT_LIST_INPUT_TERMINALS:
        return listTerminals(*model, buffer, capacity);
    case TRAIT_LIST_ORIENTATIONS:
        return listOrientations(*model, buffer, capacity);
    default:
        return 0;
    }
}

int32_t TraitToInputNumber(int32_t category, int32_t* pair, uint32_t code)
{
    const Model* model = findModel(code);
    if (category != TRAIT_LIST_INPUT_TERMINALS || pair == nullptr || model == nullptr) {
        return 0;
    }
    const Port* port = findPort(*model, pair[0], pair[1]);
    if (port == nullptr) {
        return 0;
    }
    pair[0] = port->inputNumber;
    return 1;
}

int32_t TraitFromInputNumber(int32_t category, int32_t* pair, uint32_t code)
{
    const Model* model = findModel(code);
    if (category != TRAIT_LIST_INPUT_TERMINALS || pair == nullptr || model == nullptr) {
        return 0;
    }
    const Port* port = findPortByNumber(*model, pair[0], pair[1]);
    if (port == nullptr) {
        return 0;
    }
    pair[0] = port->terminal;
    pair[1] = port->slot;
    return 1;
}

const char* TraitTerminalName(int32_t terminal)
{
    const Terminal* found = findTerminal(terminal);
    return found == nullptr ? nullptr : found->name;
}

int32_t TraitTerminalIsVideo(int32_t terminal)
{
    const Terminal* found = findTerminal(terminal);
    return found != nullptr && found->isVideo ? 1 : 0;
}

int32_t TraitFeature(const char* feature, uint32_t code)
{
    const Model* model = findModel(code);
    if (feature == nullptr || model == nullptr) {
        return 0;
    }
    uint32_t wanted = kNoFeature;
    if (std::strcmp(feature, "colorsys") == 0) {
        wanted = kColorSystem;
    } else if (std::strcmp(feature, "motion") == 0) {
        wanted = kMotion;
    }
    return (model->features & wanted) != 0 ? 1 : 0;
}

int32_t TraitTerminalSelect(int32_t terminal, int32_t* number, uint32_t code)
{
    const Model* model = findModel(code);
    if (model == nullptr) {
        return TRAIT_SELECT_NONE;
    }
    // The connector's own entry decides; a terminal reached only through a D-SUB slot has its answer there.
    const Port* port = findPort(*model, terminal, 0);
    for (int32_t slot = 1; port == nullptr && slot <= 2; ++slot) {
        port = findPort(*model, terminal, slot);
    }
    if (port == nullptr || port->select == TRAIT_SELECT_NONE) {
        return TRAIT_SELECT_NONE;
    }
    if (number != nullptr) {
        *number = port->selectNumber;
    }
    return port->select;
}

const char* TraitModelName(int32_t index)
{
    const auto all = models();
    return index >= 0 && size_t(index) < all.size() ? all[size_t(index)].name : nullptr;
}

} // extern "C"
