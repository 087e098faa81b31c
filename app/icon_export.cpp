// Writes the program's icon as the desktop wants it, from the same pixel map the window uses:
// PNGs at whole-number scalings for the hicolor theme, and an SVG with one square per pixel.
//
//   melkora-icon-export <theme folder> <icon name>
//
// Run by the build, so the installed icons cannot drift from the program's own.

#include "app/icon.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdio>

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

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: melkora-icon-export <theme folder> <icon name>\n", stderr);
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
         writeSvg(app::iconImage(), theme.filePath("scalable/apps/" + name + ".svg"));
    if (!ok) {
        std::fprintf(stderr, "melkora-icon-export: cannot write the icons into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
