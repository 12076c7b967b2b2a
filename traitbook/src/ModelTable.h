#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace lumivane::traitbook {

// One way into a model: a terminal (or a D-SUB slot mode of it), the input number the monitor uses for
// it, and the command that switches a shared connector to it.
struct Port
{
    int32_t terminal;
    int32_t slot;        // 0 the terminal itself; 1 component or 2 video through the D-SUB connector
    int32_t inputNumber; // the value of "INPS"
    int32_t select;      // TRAIT_SELECT_*
    int32_t selectNumber;
};

enum Feature : uint32_t
{
    kNoFeature = 0,
    kColorSystem = 1u << 0, // "colorsys"
    kMotion = 1u << 1,      // "motion"
};

struct Model
{
    const char* name;
    uint16_t kind;
    uint8_t variant;
    std::span<const Port> ports;
    std::span<const int32_t> orientations;
    uint32_t features;

    constexpr uint32_t code() const { return uint32_t(kind) << 16 | variant; }
};

struct Terminal
{
    int32_t id;
    const char* name; // nullptr: no pixel timing to report
    bool isVideo;
};

// The model list, in the order TraitModelName enumerates it.
std::span<const Model> models();

// The answers for code 0 (a model not known by name): the usual input numbering of the series, so that a
// monitor of an unknown model can still be switched between its inputs.
const Model& genericModel();

std::span<const Terminal> terminals();

const Model* findModel(std::string_view name);
// Bits 8-15 of `code` are ignored; kind 0 gives the generic model.
const Model* findModel(uint32_t code);
const Terminal* findTerminal(int32_t id);

} // namespace lumivane::traitbook
