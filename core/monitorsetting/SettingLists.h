#pragma once

#include "CommandItem.h"
#include "InputSwitch.h"
#include "MonitorSetting.h"

#include <chrono>
#include <vector>

namespace lumivane {

// The command lists that send a MONITOR_SETTING to monitors and read it back, run with runCommandList.
// Query items store into the record and Custom items read from it while the run goes on, so the record
// must outlive the run.

// The rows of the CONTROL page of the main series; in Multi Mode only the ticked rows are sent.
enum ControlRow : unsigned
{
    ControlRowSize = 1,
    ControlRowColourMode = 2,
    ControlRowBright = 4,
    ControlRowVolume = 8,
    ControlRowMute = 16,
    AllControlRows = 31,
};

// The rows of the ZR-1190 CONTROL page.
enum ZrControlRow : unsigned
{
    ZrRowWide = 1,
    ZrRowAvMode = 2,
    ZrRowVolume = 4,
    ZrRowMute = 8,
    AllZrRows = 15,
};

// An item kind a run carries out as nothing (success): the SIZE row where the input (USB) has none.
inline constexpr CommandItemKind kDoNothingItem = static_cast<CommandItemKind>(7);

// The USB input, where the picture size cannot be set.
inline constexpr InputModeIndex kUsbInput = 11;

// Main series: WIDE (skipped per monitor while it shows an enlarged picture), BMOD, VLMP, VOLM, MUTE.
std::vector<CommandItem> controlSendList(ControlBlock& block, InputModeIndex input, unsigned rows = AllControlRows);
std::vector<CommandItem> controlReceiveList(ControlBlock& block, InputModeIndex input);

// ZR-1190 family: WIDE, AVMD, VOLM, MUTE; the receive list also reads them in that order.
std::vector<CommandItem> zrControlSendList(ZrControlBlock& block, unsigned rows = AllZrRows);
std::vector<CommandItem> zrControlReceiveList(ZrControlBlock& block);

// The AV MODE choice of the ZR-1190 page: "AVMD%04d" with `avMode`, then "ACSU????" into block.ACSU.
std::vector<CommandItem> zrAvModeItems(ZrControlBlock& block, int32_t avMode);

// Whether the picture size may be set: a Custom item after whose run `*allowed` is 0 when any monitor of
// the run shows an enlarged picture. The caller sets `*allowed` to 1 before the run.
CommandItem enlargeCheckItem(int32_t* allowed);

// The six colour-management settings of one quantity, red to yellow ("CMHR0005" ... "CMHY0000").
std::vector<CommandItem> cmsSetList(const CmsBlock& block, CmsQuantity quantity);
std::vector<CommandItem> cmsQueryList(CmsBlock& block, CmsQuantity quantity);

// Colour management goes with "Send all value" only for a model of the main series that accepts it, on
// an input that is not PC-side, with the picture's FLES at 0; with "Receive all value" the same without
// the FLES test.
bool cmsSendAllowed(ModelCode model, InputModeIndex input, const PictureBlock& picture);
bool cmsReceiveAllowed(ModelCode model, InputModeIndex input);

// "Send all value": the CONTROL list of the model's page, all rows, then the colour-management set
// lists where allowed. Uses setting.input.
std::vector<CommandItem> sendAllList(MONITOR_SETTING& setting, ModelCode model);

enum class ReceiveScope
{
    Everything,
    MissingOnly
};

// "Receive all value": the CONTROL query list and the colour-management query lists where allowed;
// with MissingOnly only for blocks whose received flag is 0. Mark the record received after the run.
std::vector<CommandItem> receiveAllList(MONITOR_SETTING& setting, ModelCode model, ReceiveScope scope);

// The monitor's power and input as the operation window reads them.
struct PowerInputReading
{
    int32_t power = 0;               // 1 on, 0 off
    InputModeIndex input = kNoInput; // none while off or when the monitor's input is not one of ours
    // Set before the run for the read-back right after "POWR0001": the power is not asked again, and a
    // ZR-1190 monitor, which refuses queries while it starts, is asked for its input up to three more
    // times, `zrPowerWait` apart.
    bool afterSwitchingOn = false;
    std::chrono::milliseconds zrPowerWait{0};
};

// A Custom item that reads power and input of each monitor of a run into `*reading` (which must outlive
// the run; with several monitors the last one wins).
CommandItem powerInputReadItem(PowerInputReading* reading);

// A SendText item: the setting command `code` with `value` ("VLMP0020").
CommandItem settingItem(std::string_view code, int32_t value);
// A ReadNumber item: the query of `code` ("VLMP????") into `*into`.
CommandItem queryItem(std::string_view code, int32_t* into);

// What the terminal check found on a monitor before it is switched to `input` (the last monitor of a run).
struct TerminalReading
{
    InputModeIndex input = kNoInput;
    TerminalCheck check;
};

// A Custom item that runs the input switch's terminal check (multi-window mode, terminal-select and slot
// values) for `reading->input` on each monitor of a run, without changing anything.
CommandItem terminalCheckItem(TerminalReading* reading);

// Power and input as a setting file is applied: "POWR%04d" with the power, then, while on and when the
// record names an input, the input switch to setting.input.
std::vector<CommandItem> powerInputSendList(const MONITOR_SETTING& setting);

} // namespace lumivane
