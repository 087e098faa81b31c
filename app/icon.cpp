#include "app/icon.h"

#include "app/icon_pixels.h"

namespace app {

QImage iconImage(int scale) {
    QImage image(kIconSize, kIconSize, QImage::Format_RGB32);
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            image.setPixel(x, y, iconPixel(x, y));
        }
    }
    return scale == 1
               ? image
               : image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QIcon icon() {
    QIcon result;
    for (int scale : kWindowIconScales) {
        result.addPixmap(QPixmap::fromImage(iconImage(scale)));
    }
    return result;
}

} // namespace app
