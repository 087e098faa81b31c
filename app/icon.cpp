#include "app/icon.h"

#include <array>

namespace app {

namespace {

// clang-format off
constexpr std::array<const char*, 16> kPixelMap{
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

QRgb colourOf(char key) {
    switch (key) {
    case 'G':
        return qRgb(0x86, 0x86, 0x86);
    case 'M':
        return qRgb(0x99, 0x99, 0x99);
    case 'K':
        return qRgb(0x00, 0x00, 0x00);
    case 'L':
        return qRgb(0xCC, 0xCC, 0xCC);
    default:
        return qRgb(0xFF, 0xFF, 0xFF);
    }
}

} // namespace

QImage iconImage(int scale) {
    QImage image(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            image.setPixel(x, y, colourOf(kPixelMap[static_cast<size_t>(y)][x]));
        }
    }
    return scale == 1 ? image
                      : image.scaled(image.size() * scale, Qt::IgnoreAspectRatio,
                                     Qt::FastTransformation);
}

QIcon icon() {
    QIcon result;
    for (int scale : kWindowIconScales) {
        result.addPixmap(QPixmap::fromImage(iconImage(scale)));
    }
    return result;
}

} // namespace app
