#pragma once

#include "EnlargeLayout.h"

#include <functional>
#include <optional>
#include <string>

namespace lumivane {

// Enlarge setting files (".esf"): comma-separated key, value pairs read by position. Line 1
// "EnlargeSetting", version; line 2 size, orientation, bezels (and in version 2 group mode); then one line
// per placed monitor in cell order. Version 2 is written when group mode is on or a side exceeds 5; it
// codes the size as H × 100 + V where version 1 has H × 10 + V, and adds each cell's group record.

inline constexpr const char* kEnlargeFileMark = "EnlargeSetting";

enum class EnlargeFileStatus
{
    Ok,
    CannotOpen,         // message 199, with the path
    Broken,             // message 200
    UnsupportedVersion, // message 201
};

std::string enlargeFileMessage(EnlargeFileStatus status, const std::string& path);

// The version a layout is saved as.
int enlargeFileVersion(const EnlargeLayout& layout);

// Writes the layout; monitors `isPresent` no longer knows are left out. A file that cannot be written
// leaves the previous one whole.
EnlargeFileStatus writeEnlargeFile(const std::string& path, const EnlargeLayout& layout,
                                   const std::function<bool(int32_t panelNo)>& isPresent = {});

// The monitor of the tree with that panel number, none when it is no longer registered.
using WallMonitorLookup = std::function<std::optional<WallMonitor>(int32_t panelNo)>;

struct EnlargeFileReading
{
    EnlargeFileStatus status = EnlargeFileStatus::Ok;
    int passedOver = 0; // monitor lines not placed: unknown monitor, no such cell, cell or monitor taken
};

// Reads a file into `layout`, which changes only when the file is read whole (status Ok). Monitors
// `lookup` does not know are passed over; the loaded layout is neither changed nor sent, cell 0 selected.
EnlargeFileReading readEnlargeFile(const std::string& path, const WallMonitorLookup& lookup, EnlargeLayout& layout);

} // namespace lumivane
