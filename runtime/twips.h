#pragma once

#include <QRect>

namespace rt {

inline constexpr int kTwipsPerInch = 1440;

// The one conversion from twips to pixels, at `dotsPerInch` logical dots per inch.
int twipsToPixels(int twips, double dotsPerInch);

// A box in twips as pixels. Its edges are converted, not its size, so that boxes that touch in
// twips still touch at any scale.
QRect twipsToPixels(const QRect& twips, double dotsPerInch);

} // namespace rt
