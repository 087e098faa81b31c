#include "runtime/twips.h"

#include <cmath>

namespace rt {

int twipsToPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

Box twipsToPixels(const Box& twips, double dotsPerInch) {
    const int left = twipsToPixels(twips.left, dotsPerInch);
    const int top = twipsToPixels(twips.top, dotsPerInch);
    const int right = twipsToPixels(twips.right(), dotsPerInch);
    const int bottom = twipsToPixels(twips.bottom(), dotsPerInch);
    return {left, top, right - left, bottom - top};
}

} // namespace rt
