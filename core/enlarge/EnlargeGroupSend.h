#pragma once

#include "EnlargeChecks.h"
#include "EnlargeLayout.h"

#include <functional>

namespace lumivane {

// Sends a group-mode wall: every placed monitor in cell order, a monitor in no group alone, a group as a
// whole once its input check passes, each of its monitors after its own check. `sendCell` sends one cell's
// monitor (groupModeMonitorList); communication errors are the run's to report and do not stop the walk.
// False, with nothing sent, while a rectangle is pending.
bool sendGroupModeWall(const EnlargeLayout& layout, WallCheckLink& link, const CheckPrompt& ask,
                       const std::function<void(int cell)>& sendCell);

} // namespace lumivane
