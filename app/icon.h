#pragma once

#include <QIcon>
#include <QImage>

namespace app {

// The 16 x 16 pixel map of the program's icon, a sheet of paper with a folded corner.
QImage iconImage();

// The icon at 16, 32, 48, 64, 128 and 256 pixels: whole multiples of the map, each pixel a
// square block, never smoothed.
QIcon icon();

inline constexpr int kIconScales[] = {1, 2, 3, 4, 8, 16};

} // namespace app
