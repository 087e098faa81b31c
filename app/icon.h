#pragma once

#include <QIcon>
#include <QImage>

namespace app {

// The whole-number scalings at which the icon is installed in the icon theme: 16 to 256 pixels.
inline constexpr int kIconScales[] = {1, 2, 3, 4, 8, 16};

// The window carries only the sizes a title bar or task switcher draws (16 to 64 pixels);
// larger views take the installed icon. Every pixel offered goes to the X server in the
// window's icon property, twice, before the first frame: 256 pixels square would be most of
// the icon's cost at start-up.
inline constexpr int kWindowIconScales[] = {1, 2, 3, 4};

// The program's icon, a sheet of paper with a folded corner: its 16 x 16 pixel map, each pixel
// drawn as a `scale` x `scale` block, never smoothed.
QImage iconImage(int scale = 1);

// The window icon, at every size of kWindowIconScales.
QIcon icon();

} // namespace app
