#include "app/icon_pixels.h"

#include <array>

namespace app {

namespace {

// clang-format off
constexpr std::array<const char*, kIconSize> kPixelMap{
    "WWWWWWWWWWWWWWWW",
    "WWGGGGGGGGMWWWWW",
    "WWGWWWWWWWMKWWWW",
    "WWGWWWWWWWMWKWWW",
    "WWGWWWWWWWMKKKWW",
    "WWGWWWWWWWWWLKWW",
    "WWGWWWWWWWWWLKWW",
    "WWGWWWWWWWWWLKWW",
    "WWGWWWWWWWWWLKWW",
    "WWGWWWWWWWWWLKWW",
    "WWGWWWWWWWWWLKWW",
    "WWGWWWWWWWWWLKWW",
    "WWGWWWWWWWWWLKWW",
    "WWGWWWWWWWWWLKWW",
    "WWGLLLLLLLLLLKWW",
    "WWKKKKKKKKKKKKWW",
};
// clang-format on

} // namespace

rt::Rgb iconPixel(int x, int y) {
    switch (kPixelMap[static_cast<std::size_t>(y)][x]) {
    case 'G':
        return rt::rgb(0x86, 0x86, 0x86);
    case 'M':
        return rt::rgb(0x99, 0x99, 0x99);
    case 'K':
        return rt::rgb(0x00, 0x00, 0x00);
    case 'L':
        return rt::rgb(0xCC, 0xCC, 0xCC);
    default:
        return rt::rgb(0xFF, 0xFF, 0xFF);
    }
}

} // namespace app
