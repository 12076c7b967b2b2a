#include "SettingLists.h"

#include "CommandAvailability.h"
#include "CommandText.h"
#include "InputSwitch.h"
#include "ModelClasses.h"
#include "ModelLookup.h"
#include "corvalink.h"

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

namespace lumivane {
namespace {

// An enlarge magnification above this means the monitor shows part of a video wall: its picture size
// must stay as the wall set it.
constexpr int32_t kLargestUnenlargedMagnification = 11;
constexpr char kCmsLetters[] = {'H', 'S', 'V'};
constexpr char kCmsColours[] = {'R', 'G', 'B', 'C', 'M', 'Y'};

void setText(char* target, const std::string& text)
{
    std::strncpy(target, text.c_str(), kCommandTextSize - 1);
    target[kCommandTextSize - 1] = '\0';
}

} // namespace

CommandItem settingItem(std::string_view code, int32_t value)
{
    CommandItem item{};
    item.kind = CommandItemKind::SendText;
    setText(item.text, settingCommand(code, value));
    return item;
}

CommandItem queryItem(std::string_view code, int32_t* into)
{
    CommandItem item{};
    item.kind = CommandItemKind::ReadNumber;
    setText(item.text, queryCommand(code));
    item.data = into;
    return item;
}

namespace {

CommandItem customItem(std::string_view text, int32_t* data, CommandRoutine routine)
{
    CommandItem item{};
    item.kind = CommandItemKind::Custom;
    setText(item.text, std::string(text));
    item.data = data;
    item.routine = routine;
    return item;
}

int32_t queryNumber(LinkHandle link, std::string_view code, int32_t& value, char* reportText)
{
    const std::string command = queryCommand(code);
    setText(reportText, command);
    return LinkGetNumber(link, ("command:" + command).c_str(), &value, 0, 0, 0);
}

// Whether the monitor answers that it shows an enlarged picture; a monitor that cannot say does not.
bool showsEnlargedPicture(LinkHandle link, const char* modelName, int32_t modelFlags, char* reportText)
{
    if (!isCommandAvailable(modelFromName(modelName, modelFlags), queryCommand("EMHV")))
        return false;
    int32_t magnification = 0;
    return queryNumber(link, "EMHV", magnification, reportText) == 0 && magnification > kLargestUnenlargedMagnification;
}

int32_t enlargeCheckRoutine(char* reportText, LinkHandle link, const char* modelName, int32_t modelFlags, void* data)
{
    if (showsEnlargedPicture(link, modelName, modelFlags, reportText))
        *static_cast<int32_t*>(data) = 0;
    return 0;
}

// Sends WIDE unless the monitor shows an enlarged picture.
int32_t sendWideRoutine(char* reportText, LinkHandle link, const char* modelName, int32_t modelFlags, void* data)
{
    if (showsEnlargedPicture(link, modelName, modelFlags, reportText))
        return 0;
    const std::string command = settingCommand("WIDE", *static_cast<const int32_t*>(data));
    setText(reportText, command);
    return LinkSet(link, "command", command.c_str(), 0, 0, 0);
}

int32_t receiveWideRoutine(char* reportText, LinkHandle link, const char*, int32_t, void* data)
{
    int32_t value = 0;
    const int32_t status = queryNumber(link, "WIDE", value, reportText);
    if (status == 0)
        *static_cast<int32_t*>(data) = value;
    return status;
}

// How often a ZR-1190 monitor is asked for its input when the first answer is a failure.
struct ZrInputRetry
{
    int repeats;
    std::chrono::milliseconds pause;
    bool afterSwitchingOn; // repeat on any failure but a time-out, not only on ERR
};

ZrInputRetry zrInputRetry(const PowerInputReading& reading)
{
    if (reading.afterSwitchingOn)
        return {3, reading.zrPowerWait, true};
    return {4, std::chrono::milliseconds(1000), false};
}

int32_t readZrInput(LinkHandle link, ModelCode model, const ZrInputRetry& retry, InputModeIndex& input,
                    char* reportText)
{
    const auto worthRepeating = [&retry](int32_t status) {
        return retry.afterSwitchingOn ? status != 0 && status != LINK_TIMEOUT : status == LINK_MONITOR_ERROR;
    };
    int32_t number = 0;
    int32_t status = queryNumber(link, "IAVD", number, reportText);
    for (int repeat = 0; repeat < retry.repeats && worthRepeating(status); ++repeat) {
        std::this_thread::sleep_for(retry.pause);
        status = queryNumber(link, "IAVD", number, reportText);
    }
    if (status == 0)
        input = inputIndexFromNumber(model, number);
    return status;
}

int32_t readSeriesInput(LinkHandle link, ModelCode model, InputModeIndex& input, char* reportText)
{
    int32_t number = 0;
    int32_t status = queryNumber(link, "INPS", number, reportText);
    if (status != 0)
        return status;
    int32_t slot = 0;
    if (hasDsubAvModes(model) && (status = queryNumber(link, "SLDS", slot, reportText)) != 0)
        return status;
    input = inputIndexFromNumber(model, number, slot);
    return 0;
}

int32_t terminalCheckRoutine(char* /*reportText*/, LinkHandle link, const char* modelName, int32_t modelFlags,
                             void* data)
{
    TerminalReading& reading = *static_cast<TerminalReading*>(data);
    return checkTerminals(link, modelFromName(modelName, modelFlags), reading.input, reading.check);
}

int32_t readPowerInputRoutine(char* reportText, LinkHandle link, const char* modelName, int32_t modelFlags, void* data)
{
    PowerInputReading& reading = *static_cast<PowerInputReading*>(data);
    int32_t power = 1; // just switched on
    int32_t status = reading.afterSwitchingOn ? 0 : queryNumber(link, "POWR", power, reportText);
    if (status != 0)
        return status;
    PowerInputReading result = reading;
    result.power = power == 1 ? 1 : 0;
    result.input = kNoInput;
    if (result.power == 1) {
        const ModelCode model = modelFromName(modelName, modelFlags);
        status = isKind6(model) ? readZrInput(link, model, zrInputRetry(reading), result.input, reportText)
                                : readSeriesInput(link, model, result.input, reportText);
        if (status != 0)
            return status;
    }
    reading = result;
    return 0;
}

void append(std::vector<CommandItem>& list, const std::vector<CommandItem>& more)
{
    list.insert(list.end(), more.begin(), more.end());
}

} // namespace

std::vector<CommandItem> controlSendList(ControlBlock& block, InputModeIndex input, unsigned rows)
{
    std::vector<CommandItem> items;
    if (rows & ControlRowSize) {
        if (input == kUsbInput) {
            CommandItem nothing{};
            nothing.kind = kDoNothingItem;
            items.push_back(nothing);
        } else {
            items.push_back(customItem(settingCommand("WIDE", block.WIDE), &block.WIDE, sendWideRoutine));
        }
    }
    if (rows & ControlRowColourMode)
        items.push_back(settingItem("BMOD", block.BMOD));
    if (rows & ControlRowBright)
        items.push_back(settingItem("VLMP", block.VLMP));
    if (rows & ControlRowVolume)
        items.push_back(settingItem("VOLM", block.VOLM));
    if (rows & ControlRowMute)
        items.push_back(settingItem("MUTE", block.MUTE));
    return items;
}

std::vector<CommandItem> controlReceiveList(ControlBlock& block, InputModeIndex input)
{
    std::vector<CommandItem> items;
    if (input == kUsbInput) {
        CommandItem nothing{};
        nothing.kind = kDoNothingItem;
        items.push_back(nothing);
    } else {
        items.push_back(customItem(queryCommand("WIDE"), &block.WIDE, receiveWideRoutine));
    }
    items.push_back(queryItem("BMOD", &block.BMOD));
    items.push_back(queryItem("VLMP", &block.VLMP));
    items.push_back(queryItem("VOLM", &block.VOLM));
    items.push_back(queryItem("MUTE", &block.MUTE));
    return items;
}

std::vector<CommandItem> zrControlSendList(ZrControlBlock& block, unsigned rows)
{
    std::vector<CommandItem> items;
    if (rows & ZrRowWide)
        items.push_back(settingItem("WIDE", block.WIDE));
    if (rows & ZrRowAvMode)
        items.push_back(settingItem("AVMD", block.AVMD));
    if (rows & ZrRowVolume)
        items.push_back(settingItem("VOLM", block.VOLM));
    if (rows & ZrRowMute)
        items.push_back(settingItem("MUTE", block.MUTE));
    return items;
}

std::vector<CommandItem> zrControlReceiveList(ZrControlBlock& block)
{
    return {queryItem("WIDE", &block.WIDE), queryItem("AVMD", &block.AVMD), queryItem("VOLM", &block.VOLM),
            queryItem("MUTE", &block.MUTE)};
}

std::vector<CommandItem> zrAvModeItems(ZrControlBlock& block, int32_t avMode)
{
    return {settingItem("AVMD", avMode), queryItem("ACSU", &block.ACSU)};
}

CommandItem enlargeCheckItem(int32_t* allowed)
{
    return customItem(queryCommand("EMHV"), allowed, enlargeCheckRoutine);
}

std::vector<CommandItem> cmsSetList(const CmsBlock& block, CmsQuantity quantity)
{
    std::vector<CommandItem> items;
    for (int colour = 0; colour < 6; ++colour)
        items.push_back(
            settingItem(std::string{'C', 'M', kCmsLetters[quantity], kCmsColours[colour]}, block.colour[colour]));
    return items;
}

std::vector<CommandItem> cmsQueryList(CmsBlock& block, CmsQuantity quantity)
{
    std::vector<CommandItem> items;
    for (int colour = 0; colour < 6; ++colour)
        items.push_back(
            queryItem(std::string{'C', 'M', kCmsLetters[quantity], kCmsColours[colour]}, &block.colour[colour]));
    return items;
}

bool cmsReceiveAllowed(ModelCode model, InputModeIndex input)
{
    return !isKind6(model) && !isPcSideInput(input) && isCommandAvailable(model, settingCommand("CMHR", 0));
}

bool cmsSendAllowed(ModelCode model, InputModeIndex input, const PictureBlock& picture)
{
    return cmsReceiveAllowed(model, input) && picture.FLES == 0;
}

std::vector<CommandItem> sendAllList(MONITOR_SETTING& setting, ModelCode model)
{
    if (usesZrControl(model))
        return zrControlSendList(setting.zrControl);
    std::vector<CommandItem> items = controlSendList(setting.control, setting.input);
    if (cmsSendAllowed(model, setting.input, setting.picture))
        for (int quantity = CmsHue; quantity <= CmsValue; ++quantity)
            append(items, cmsSetList(setting.cms[quantity], CmsQuantity(quantity)));
    return items;
}

std::vector<CommandItem> receiveAllList(MONITOR_SETTING& setting, ModelCode model, ReceiveScope scope)
{
    const bool missingOnly = scope == ReceiveScope::MissingOnly;
    if (usesZrControl(model))
        return missingOnly && setting.zrControl.received ? std::vector<CommandItem>{}
                                                         : zrControlReceiveList(setting.zrControl);
    std::vector<CommandItem> items;
    if (!missingOnly || !setting.control.received)
        items = controlReceiveList(setting.control, setting.input);
    if (cmsReceiveAllowed(model, setting.input))
        for (int quantity = CmsHue; quantity <= CmsValue; ++quantity)
            if (!missingOnly || !setting.cms[quantity].received)
                append(items, cmsQueryList(setting.cms[quantity], CmsQuantity(quantity)));
    return items;
}

CommandItem powerInputReadItem(PowerInputReading* reading)
{
    CommandItem item{};
    item.kind = CommandItemKind::Custom;
    setText(item.text, queryCommand("POWR"));
    item.data = reading;
    item.routine = readPowerInputRoutine;
    return item;
}

CommandItem terminalCheckItem(TerminalReading* reading)
{
    CommandItem item{};
    item.kind = CommandItemKind::Custom;
    setText(item.text, queryCommand("MWIN"));
    item.data = reading;
    item.routine = terminalCheckRoutine;
    return item;
}

std::vector<CommandItem> powerInputSendList(const MONITOR_SETTING& setting)
{
    std::vector<CommandItem> items{settingItem("POWR", setting.power)};
    if (setting.power != 0 && setting.input != kNoInput)
        items.push_back(inputSwitchItem(&setting.input));
    return items;
}

} // namespace lumivane
