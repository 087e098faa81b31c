// Writes the program's icon for Windows, from the pixel map the window uses: the map itself at
// 16 x 16, and 32 and 48 pixels beside it, each pixel a block, each image 24-bit with no
// transparent pixel.
//
//   melkora-icon-ico <file>
//
// Standard C++ only: a native build writes Melkora.exe's icon with it, and the web build the
// page's favicon, under Node.

#include "app/icon_pixels.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

void putLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// One 24-bit bitmap: its header, its rows bottom-up, each padded to four bytes, and an AND
// mask of zeros, since no pixel is transparent.
std::string bitmap(int scale) {
    const int size = app::kIconSize * scale;
    const int colourStride = (size * 3 + 3) / 4 * 4;
    const int maskStride = (size + 31) / 32 * 4;
    std::string out;
    putLittleEndian(out, 40, 4);                                   // header size
    putLittleEndian(out, static_cast<std::uint32_t>(size), 4);     // width
    putLittleEndian(out, static_cast<std::uint32_t>(2 * size), 4); // colour and mask
    putLittleEndian(out, 1, 2);                                    // planes
    putLittleEndian(out, 24, 2);                                   // bits per pixel
    putLittleEndian(out, 0, 4);                                    // no compression
    putLittleEndian(out, static_cast<std::uint32_t>((colourStride + maskStride) * size), 4);
    out.append(16, '\0'); // resolution and palette: none
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const rt::Rgb pixel = app::iconPixel(x / scale, y / scale);
            putLittleEndian(out, pixel & 0xFFFFFF, 3); // blue, green, red
        }
        out.append(static_cast<std::size_t>(colourStride - size * 3), '\0');
    }
    out.append(static_cast<std::size_t>(maskStride * size), '\0');
    return out;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: melkora-icon-ico <file>\n", stderr);
        return 2;
    }
    constexpr int kScales[] = {1, 2, 3};
    std::string directory;
    std::string bitmaps;
    putLittleEndian(directory, 0, 2);
    putLittleEndian(directory, 1, 2); // an icon, not a cursor
    putLittleEndian(directory, std::size(kScales), 2);
    const auto offset = static_cast<std::uint32_t>(6 + 16 * std::size(kScales));
    for (const int scale : kScales) {
        const std::string image = bitmap(scale);
        directory.push_back(static_cast<char>(app::kIconSize * scale));
        directory.push_back(static_cast<char>(app::kIconSize * scale));
        putLittleEndian(directory, 0, 2); // no palette, reserved
        putLittleEndian(directory, 1, 2); // planes
        putLittleEndian(directory, 24, 2);
        putLittleEndian(directory, static_cast<std::uint32_t>(image.size()), 4);
        putLittleEndian(directory, offset + static_cast<std::uint32_t>(bitmaps.size()), 4);
        bitmaps += image;
    }
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << directory << bitmaps;
    if (!file.flush()) {
        std::fprintf(stderr, "melkora-icon-ico: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
