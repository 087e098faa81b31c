#pragma once

// The program's icon, a sheet of paper with a folded corner, as data: 16 x 16 opaque pixels,
// the same on every platform and in every file the build makes of it (the desktop's PNGs and
// SVG, the Windows .ico).

#include "runtime/form_description.h"

namespace app {

inline constexpr int kIconSize = 16;

// The colour of the pixel in column `x` and row `y`, the top row first.
rt::Rgb iconPixel(int x, int y);

} // namespace app
