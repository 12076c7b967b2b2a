#pragma once

#include "CommandItem.h"
#include "ModelCode.h"
#include "tessera.h"

#include <cstdint>

namespace lumivane {

// The command that lets a ZR-1190 be powered on over the link ("Enable Power On").
inline constexpr const char* kEnablePowerOnCommand = "RSPW0001";

// The registration steps a search and "Get Monitor's Information" share, on an open link. Each returns
// the link status of its query (0 also when the model has no such query).

// Kind 7: "OPTB????", bit 0 of `modelFlags` set when the answer is non-zero and cleared when it is 0.
int32_t readExpansionBoard(LinkHandle link, ModelCode model, int32_t& modelFlags);
// Kind 7 variant 6: "OPTS????" and its value sent back; bit 1 set when the monitor accepts it. A failure
// leaves the flags as they are.
void confirmOptionSetting(LinkHandle link, ModelCode model, int32_t& modelFlags);
// Class D: "MDEL????" into `mdelValue`; other models get 0 when the console's Language setting is 6,
// else 1, without a query.
int32_t readMdelValue(LinkHandle link, ModelCode model, int language, int32_t& mdelValue);

// What "Get Monitor's Information" works on: the monitor as registered going in, with what the monitor
// reported coming out. Kept apart from the run's own monitor records, which the run reads meanwhile.
struct MonitorInformation
{
    TESSERA_PANEL_DATA monitor{};
    int language = 0; // the Language setting (for nMdelValue)
};

// Asks the monitor on `link` for its model ("INF1????"); a ZR-1190 ("Brela") gets "RSPW0001" and
// nothing more. Others: serial number ("SRNO????"), for a LAN monitor the MAC address ("MACA????", as six
// pairs joined by "-"), then expansion board, option setting and MDEL value for the new model. A failed
// INF1, SRNO, OPTB or MDEL query ends it with that status; a failed MACA or OPTS step is passed over.
// `reportText` (kCommandTextSize bytes) names the command last sent.
int32_t readMonitorInformation(LinkHandle link, MonitorInformation& information, char* reportText);

// Takes what the monitor reported (`read`) into the record as registered now: model, serial number, MAC
// address, model flags and MDEL value; everything else stays.
void takeMonitorInformation(TESSERA_PANEL_DATA& registered, const TESSERA_PANEL_DATA& read);

// A Custom item that runs readMonitorInformation for `information` (which must outlive the run). Made
// for a run over that one monitor.
CommandItem monitorInformationItem(MonitorInformation* information);

} // namespace lumivane
