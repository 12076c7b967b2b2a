#include "SettingTransfer.h"

#include "SettingLists.h"

namespace lumivane {

namespace {

bool runUnlessEmpty(const TransferRunner& run, TransferRun which, std::vector<CommandItem>& items)
{
    return items.empty() || run(which, items);
}

} // namespace

bool receiveFromSource(const TransferRunner& run, MONITOR_SETTING& setting, ModelCode model, int language,
                       bool readPowerInput, ReceiveScope scope)
{
    if (readPowerInput) {
        PowerInputReading reading;
        std::vector<CommandItem> items{powerInputReadItem(&reading)};
        if (!run(TransferRun::ReadingPowerInput, items))
            return false;
        resetToDefaults(setting, model, reading.input, language);
        // The monitor's own power: a monitor that is on with an input of no index must not give a record
        // that switches others off.
        setting.power = reading.power;
    }
    // Without an input a file ends after the power, so the values are not asked for.
    if (setting.input == kNoInput)
        return true;
    std::vector<CommandItem> items = receiveAllList(setting, model, scope);
    if (!runUnlessEmpty(run, TransferRun::ReceivingSettings, items))
        return false;
    markAllReceived(setting);
    return true;
}

SettingFileStatus openForLoading(SettingFileReader& reader, const std::string& path,
                                 std::string_view targetModelName)
{
    const SettingFileStatus opened = reader.open(path);
    return opened == SettingFileStatus::Ok ? reader.checkFamily(targetModelName) : opened;
}

bool sendLoadedSetting(const TransferRunner& run, MONITOR_SETTING& setting, ModelCode model)
{
    std::vector<CommandItem> items = powerInputSendList(setting);
    if (!run(TransferRun::SendingPowerInput, items)) {
        setting.input = kNoInput;
        return false;
    }
    if (setting.power == 0 || setting.input == kNoInput)
        return true;
    items = sendAllList(setting, model);
    return runUnlessEmpty(run, TransferRun::SendingSettings, items);
}

} // namespace lumivane
