// Writes the program's icon as the desktop wants it, from the same pixel map the window uses:
// PNGs at whole-number scalings for the hicolor theme, and an SVG with one square per pixel.
//
//   melkora-icon-export <theme folder> <icon name>
//   melkora-icon-export --ico <file>
//
// The second writes the icon for Windows: the pixel map itself at 16 x 16, and 32 and 48
// pixels beside it, each 24-bit with no transparent pixel.
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

void putLittleEndian(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// An icon file with one 24-bit bitmap for each image: its header, its rows bottom-up, each
// padded to four bytes, and an AND mask of zeros, since no pixel is transparent.
bool writeIco(const QList<QImage>& images, const QString& path) {
    QByteArray directory;
    QByteArray bitmaps;
    putLittleEndian(directory, 0, 2);
    putLittleEndian(directory, 1, 2); // an icon, not a cursor
    putLittleEndian(directory, static_cast<quint32>(images.size()), 2);
    const auto offset = static_cast<quint32>(6 + 16 * images.size());
    for (const QImage& image : images) {
        const int size = image.width();
        const int colourStride = (size * 3 + 3) / 4 * 4;
        const int maskStride = ((size + 31) / 32) * 4;
        QByteArray bitmap;
        putLittleEndian(bitmap, 40, 4);                             // header size
        putLittleEndian(bitmap, static_cast<quint32>(size), 4);     // width
        putLittleEndian(bitmap, static_cast<quint32>(2 * size), 4); // colour and mask
        putLittleEndian(bitmap, 1, 2);                              // planes
        putLittleEndian(bitmap, 24, 2);                             // bits per pixel
        putLittleEndian(bitmap, 0, 4);                              // no compression
        putLittleEndian(bitmap, static_cast<quint32>((colourStride + maskStride) * size), 4);
        bitmap.append(16, '\0'); // resolution and palette: none
        for (int y = size - 1; y >= 0; --y) {
            for (int x = 0; x < size; ++x) {
                const QRgb pixel = image.pixel(x, y);
                bitmap.append(static_cast<char>(qBlue(pixel)));
                bitmap.append(static_cast<char>(qGreen(pixel)));
                bitmap.append(static_cast<char>(qRed(pixel)));
            }
            bitmap.append(colourStride - size * 3, '\0');
        }
        bitmap.append(maskStride * size, '\0');

        directory.append(static_cast<char>(size));
        directory.append(static_cast<char>(size));
        putLittleEndian(directory, 0, 2); // no palette, reserved
        putLittleEndian(directory, 1, 2); // planes
        putLittleEndian(directory, 24, 2);
        putLittleEndian(directory, static_cast<quint32>(bitmap.size()), 4);
        putLittleEndian(directory, offset + static_cast<quint32>(bitmaps.size()), 4);
        bitmaps += bitmap;
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(directory + bitmaps) == directory.size() + bitmaps.size() && file.flush();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: melkora-icon-export <theme folder> <icon name>\n"
                   "       melkora-icon-export --ico <file>\n",
                   stderr);
        return 2;
    }
    if (qstrcmp(argv[1], "--ico") == 0) {
        if (!writeIco({app::iconImage(1), app::iconImage(2), app::iconImage(3)},
                      QFile::decodeName(argv[2]))) {
            std::fprintf(stderr, "melkora-icon-export: cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
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
