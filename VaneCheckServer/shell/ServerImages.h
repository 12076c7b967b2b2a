#pragma once

#include <QIcon>

namespace lumivane {

// The tray icon for one of the icon states 528 (monitoring and schedules), 532 (monitoring), 533 (schedules)
// and 534 (neither), drawn from the SVG pictures in the program's resources.
QIcon trayIcon(int iconId);

// The status list's picture with the given place in its strip (statusImages); a null icon for any other.
QIcon statusImage(int index);

} // namespace lumivane
