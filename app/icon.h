#pragma once

#include <QIcon>
#include <QImage>

namespace app {

// The whole-number scalings at which the icon is offered: 16 to 256 pixels.
inline constexpr int kIconScales[] = {1, 2, 3, 4, 8, 16};

// The program's icon, a sheet of paper with a folded corner: its 16 x 16 pixel map, each pixel
// drawn as a `scale` x `scale` block, never smoothed.
QImage iconImage(int scale = 1);

// The icon at every size of kIconScales.
QIcon icon();

} // namespace app
