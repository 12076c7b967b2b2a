#pragma once

#include "InputModes.h"
#include "ModelCode.h"
#include "tessera.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace lumivane {

// Message numbers of the server's texts.
namespace serverMessages {
inline constexpr int kStatusErrorReply = 530; // "Error reply. Please check whether the model ..."
inline constexpr int kStatusOk = 535;         // "OK. (Status = %s)"
inline constexpr int kPowerOn = 538;
inline constexpr int kPowerOff = 539;
inline constexpr int kPoweredOn = 551;       // "Powered on successfully."
inline constexpr int kPoweredOff = 552;      // "Powered off successfully."
inline constexpr int kInputChanged = 553;    // "Changed input to %d, successfully."
inline constexpr int kConnectionError = 565; // short text of kConnectionErrorFlags
inline constexpr int kSignalWaiting = 568;
inline constexpr int kNoSignal = 569;
} // namespace serverMessages

// Newer models are those whose kind is none of 1 to 6, 8 and 100; their status bits lie differently.
bool isNewerStatusModel(ModelCode model);

// Reads a status reply: leading spaces skipped, then exactly four hexadecimal digits of either case.
// Nothing when any other character stands there.
std::optional<uint16_t> readStatusWord(std::string_view reply);

// The long-text message of a nonzero or zero status word (532, 534, 572, 533, 598, 600, 567; 535 for 0).
int statusMessage(uint16_t word, bool newerModel);
// The short-text message of a nonzero status word (573, 575, 577, 574, 599, 601, 576).
int shortStatusMessage(uint16_t word, bool newerModel);
// The long text with "%s" filled with `shownText`.
std::string statusText(uint16_t word, bool newerModel, std::string_view shownText);

// "Power On", "Signal waiting" or "Power Off" for a power-state reply.
std::string powerText(int power);
// The short status: "Connection Error" for kConnectionErrorFlags, the short text of the status bits
// otherwise, the power text for a good status.
std::string shortStatusText(uint32_t statusFlags, ModelCode model, int power);
// The server's own name of an input ("---", "PC DVI", ..., "INPUT1"); empty for any other identifier.
std::string serverInputName(InputModeIndex index);

// The message of a failed command or check for `status`, with the monitor's address or COM port filled in.
std::string communicationErrorText(const TESSERA_PANEL_DATA& monitor, int32_t status);
// The message when the link to the monitor could not be opened (busy port or address).
std::string openFailureMessage(const TESSERA_PANEL_DATA& monitor);

// The ModelCode of a monitor record; the program folder (for "ModelName.txt") is looked up once.
ModelCode monitorModel(const TESSERA_PANEL_DATA& monitor);

// "ZR-1190" for the stored model name "Brela", else the name itself.
std::string shownModelName(std::string_view storedName);

// "Schedule of today: 4 actions, the next at 08:00." for the server log after the day was planned.
std::string todaysScheduleText(size_t actions, std::time_t next);

// The "%d.%d.%d.%d" of a LAN monitor's address.
std::string ipAddressText(uint32_t address);

} // namespace lumivane
