#pragma once

#include "CommandText.h"

#include <cstdint>

// The link library's handle object (corvalink.h); declared here so that command lists need no link.
struct LINK_OBJECT;

namespace lumivane {

using LinkHandle = LINK_OBJECT*;

enum class CommandItemKind : int32_t
{
    SendText = 0,       // sends text as a setting
    ReadNumber = 1,     // queries text, stores one int32_t in data
    ReadPair = 2,       // queries text, stores two int32_t in data
    ReadText = 3,       // queries text, stores the reply in data (textLimit bytes)
    Custom = 5,         // the run calls routine instead
    SetClock = 8,       // builds the DATE command from the PC clock into text and sends it
    SendPerMonitor = 9, // formats text with data[monitor position] (int32_t array) and sends the result
};

// A Custom item's routine: the text shown in an error report (kCommandTextSize bytes, the routine may
// set it), the open link, the monitor's model name and nModelFlags, and the item's data. Returns a link
// status code (0 = success).
using CommandRoutine = int32_t (*)(char* reportText, LinkHandle link, const char* modelName, int32_t modelFlags,
                                   void* data);

// One entry of a command list. Lists are plain arrays built and freed by the caller; a run may rewrite
// text (SetClock, the RSET rule of isCommandAvailable). Value-initialise ({}) before filling.
struct CommandItem
{
    CommandItemKind kind = CommandItemKind::SendText;
    char text[kCommandTextSize] = {};
    void* data = nullptr;
    int32_t textLimit = 0;   // ReadText: capacity of data, terminator included
    int32_t reportValue = 0; // SendPerMonitor: the value an error report fills into text
    CommandRoutine routine = nullptr;
};

} // namespace lumivane
