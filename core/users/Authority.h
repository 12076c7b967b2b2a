#pragma once

#include <cstdint>

namespace lumivane {

// The three roles an operator logs in with; 0 is "not logged in" (log-in cancelled).
enum class Authority : int32_t {
    None = 0,
    Administrator = 1,
    NormalOperator = 2,
    RestrictedOperator = 3,
};

// Functions a Normal Operator may use, as a 16-bit mask ([Config] Customize).
namespace customizeBits {
inline constexpr uint16_t kControl = 0x4000;
inline constexpr uint16_t kScreen = 0x2000;
inline constexpr uint16_t kPicture = 0x1000;
inline constexpr uint16_t kAudio = 0x0800;
inline constexpr uint16_t kSetup = 0x0400;
inline constexpr uint16_t kOption = 0x0200;
inline constexpr uint16_t kFunction = 0x0100;
inline constexpr uint16_t kMonitorSetting = 0x0080;
inline constexpr uint16_t kSchedule = 0x0040;
inline constexpr uint16_t kEnlarge = 0x0020;
inline constexpr uint16_t kPipPbyP = 0x0010;
inline constexpr uint16_t kMonitorControl = 0x0008;
// Bits that follow "CONTROL": cleared whenever it is not granted.
inline constexpr uint16_t kControlPages = 0x2000 | 0x1000 | 0x0800 | 0x0400 | 0x0200 | 0x0100 | 0x0080;
inline constexpr uint16_t kAll = 0xFFFF;
} // namespace customizeBits

// The mask after the customising dialog, which shows only "CONTROL", "Schedule" and "Monitor Control":
// other bits keep their values, but the control-page bits go when "CONTROL" is not granted.
uint16_t customizeMaskFromDialog(uint16_t oldMask, bool control, bool schedule, bool monitorControl);

// What the console and the status window offer to the logged-in operator.
struct FunctionAccess {
    bool restrictedLayout = false;  // only power (and perhaps input) and "Monitoring"
    bool inputSelection = true;     // the input mode may be changed
    bool monitorControl = true;     // "Monitor Control" (registration)
    bool schedule = true;           // "Schedule"
    bool mailMonitoringSetting = true;
    bool passwordSetting = true;
    uint16_t operationMask = customizeBits::kAll; // mask the operation window works with
};

FunctionAccess functionAccessFor(Authority authority, uint16_t customizeMask, bool inputModeAvailable);

} // namespace lumivane
