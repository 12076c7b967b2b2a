#pragma once

#include <QIcon>
#include <QPixmap>

#include <array>

namespace lumivane {

// The panel tree's images: one strip of 19 images of 16 × 16, used by these fixed indexes.
namespace panelImages {
inline constexpr int kGroup = 0;
inline constexpr int kMonitor = 1;
inline constexpr int kRoot = 3;
inline constexpr int kPlaced = 5;           // the monitor sits in the enlarge layout
inline constexpr int kOtherSchedule = 6;    // the monitor has another schedule than the one shown
inline constexpr int kSelectedSchedule = 7; // the monitor has the schedule shown
inline constexpr int kNotSelectable = 8;
inline constexpr int kNotInUse = 10;
inline constexpr int kOtherModel = 11; // a known model outside the display families
inline constexpr int kUnknownModel = 12;
inline constexpr int kCount = 19;
inline constexpr int kSize = 16;
} // namespace panelImages

// The strip, `scale` times 16 pixels high (2 for high-density screens).
QPixmap panelImageStrip(int scale = 1);
// The images of the strip as icons, at 16 and 32 pixels, by index.
using PanelImageList = std::array<QIcon, panelImages::kCount>;
PanelImageList panelImageList();
// The console's window icon.
QIcon applicationIcon();

} // namespace lumivane
