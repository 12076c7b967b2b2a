#pragma once

#include "CommandItem.h"
#include "MonitorSetting.h"
#include "SettingFile.h"
#include "SettingLists.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

// The steps that copy one monitor's settings to others through a setting file, and that send or receive
// all values at once. The console and lumictl run the same steps; each says how a run is carried out.

// The runs of a transfer, each shown to the operator under its own title.
enum class TransferRun
{
    ReadingPowerInput, // "Receiving Power state and Input mode"
    ReceivingSettings, // "Receiving settings"
    SendingPowerInput, // "Sending Power state and Input mode"
    SendingSettings,   // "Sending settings"
};

// Runs `items` over the monitors of the step; true when every command of every monitor succeeded.
using TransferRunner = std::function<bool(TransferRun run, std::vector<CommandItem>& items)>;

// Brings `setting` up to date from one source monitor. With `readPowerInput` the source's power and
// input are read first and the record is reset to the defaults for that input; then "Receive all value"
// runs for the blocks of `scope` when an input is known, and every block counts as received. False when
// a run failed: the record must not pass for the monitor's settings then (no file is written from it).
bool receiveFromSource(const TransferRunner& run, MONITOR_SETTING& setting, ModelCode model, int language,
                       bool readPowerInput, ReceiveScope scope);

// Opens a setting file for loading into monitors of `targetModelName`: the header, then the family test.
SettingFileStatus openForLoading(SettingFileReader& reader, const std::string& path,
                                 std::string_view targetModelName);

// Sends a loaded record: power and input, then, while on with an input, "Send all value". A failed power
// and input run clears the record's input and sends nothing more. True when every run succeeded.
bool sendLoadedSetting(const TransferRunner& run, MONITOR_SETTING& setting, ModelCode model);

} // namespace lumivane
