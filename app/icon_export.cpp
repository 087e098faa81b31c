// Writes the program's icon as the desktop wants it, from the same pixel map the window uses:
// PNGs at whole-number scalings for the hicolor theme, and an SVG with one square per pixel; and
// as the web page wants it: for its manifest, a maskable one, and one for an iPhone's home screen.
//
//   melkora-icon-export <theme folder> <icon name> <page folder>
//
// Run by the build, so the installed icons cannot drift from the program's own; the web build
// takes the page's from here, as the Windows build takes its .ico.

#include "app/icon.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTextStream>
#include <cstdio>
#include <utility>

namespace {

bool writeSvg(const QImage& image, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    QTextStream out(&file);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << image.width() << "\" height=\""
        << image.height() << "\" viewBox=\"0 0 " << image.width() << ' ' << image.height()
        << "\" shape-rendering=\"crispEdges\">\n";
    // One rectangle per run of equal pixels in a row.
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width();) {
            const QRgb colour = image.pixel(x, y);
            int run = 1;
            while (x + run < image.width() && image.pixel(x + run, y) == colour) {
                ++run;
            }
            out << "  <rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << run
                << "\" height=\"1\" fill=\"" << QColor(colour).name() << "\"/>\n";
            x += run;
        }
    }
    out << "</svg>\n";
    return out.status() == QTextStream::Ok && file.flush();
}

// The icon scaled by `scale` in the middle of a white square `size` pixels wide: the pixel map's
// own ground, so that nothing shows where it ends.
QImage onWhite(int size, int scale) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QImage icon = app::iconImage(scale);
    QPainter(&image).drawImage((size - icon.width()) / 2, (size - icon.height()) / 2, icon);
    return image;
}

bool writePageIcons(const QDir& page) {
    // A maskable icon is cut to a circle or a rounded square as the phone likes: what matters
    // lies within the middle circle of four fifths of its width, as the paper here does.
    const std::pair<const char*, QImage> icons[] = {
        {"icon-192.png", app::iconImage(12)},
        {"icon-512.png", app::iconImage(32)},
        {"icon-maskable.png", onWhite(512, 18)},
        {"apple-touch-icon.png", onWhite(180, 11)},
    };
    bool ok = page.mkpath(".");
    for (const auto& [name, image] : icons) {
        ok = ok && image.save(page.filePath(name), "PNG");
    }
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fputs("usage: melkora-icon-export <theme folder> <icon name> <page folder>\n", stderr);
        return 2;
    }
    const QDir theme(QFile::decodeName(argv[1]));
    const QString name = QFile::decodeName(argv[2]);
    bool ok = true;
    for (int scale : app::kIconScales) {
        const QImage image = app::iconImage(scale);
        const QString folder = QStringLiteral("%1x%1/apps").arg(image.width());
        ok = ok && theme.mkpath(folder) &&
             image.save(theme.filePath(folder + u'/' + name + ".png"), "PNG");
    }
    ok = ok && theme.mkpath("scalable/apps") &&
         writeSvg(app::iconImage(), theme.filePath("scalable/apps/" + name + ".svg")) &&
         writePageIcons(QDir(QFile::decodeName(argv[3])));
    if (!ok) {
        std::fprintf(stderr, "melkora-icon-export: cannot write the icons into %s and %s\n",
                     argv[1], argv[3]);
        return 1;
    }
    return 0;
}
