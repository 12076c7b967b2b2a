#pragma once

#include <cstdint>

namespace lumivane {

// A monitor's model descriptor: kind in bits 16-31 (0 = not known to the model database), variant in
// bits 0-7, bit 8 set for a kind-7 monitor without expansion board. Made by modelFromName.
class ModelCode
{
public:
    static constexpr uint32_t kNoExpansionBoardBit = 0x100;

    constexpr ModelCode() = default;
    constexpr explicit ModelCode(uint32_t value) : m_value(value) {}

    static constexpr ModelCode of(int kind, int variant, bool withoutExpansionBoard = false)
    {
        return ModelCode(uint32_t(kind) << 16 | (uint32_t(variant) & 0xFF) |
                         (withoutExpansionBoard ? kNoExpansionBoardBit : 0));
    }

    constexpr uint32_t value() const { return m_value; }
    constexpr int kind() const { return int(m_value >> 16); }
    constexpr int variant() const { return int(m_value & 0xFF); }
    constexpr bool lacksExpansionBoard() const { return (m_value & kNoExpansionBoardBit) != 0; }

    friend constexpr bool operator==(ModelCode, ModelCode) = default;

private:
    uint32_t m_value = 0;
};

} // namespace lumivane
