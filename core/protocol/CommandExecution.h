#pragma once

#include "CommandItem.h"

#include <cstdint>

namespace lumivane {

// Carries out one command item over an open link and returns the link's status code (0 = success):
// settings through the "command" key, queries through "command:" + text. A failed query leaves its
// result storage as it was. `monitorPosition` is the monitor's place in the run's list (SendPerMonitor).
// Custom items and unknown kinds do nothing here and succeed; the run calls a Custom item's routine.
// A query item without data is sent and its value dropped. A SendPerMonitor item without data, with a
// negative position or with a format that is not a single integer conversion fails with status 1
// without touching the link.
int32_t executeCommandItem(LinkHandle link, CommandItem& item, int monitorPosition);

} // namespace lumivane
