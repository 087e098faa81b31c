// Writes the program's icon as a PNG of any size, from the pixel map the window uses, each
// pixel a square block, with no smoothing: for the installed web page's icons.
//
//   melkora-icon-png <size> <file>
//
// An indexed image, compressed with deflate's fixed codes and only two kinds of match, a run of
// the same byte and a repeat of the row above: all the blocks of a scaled-up pixel map need.
// Standard C++ only, like the Windows icon's writer.

#include "app/icon_pixels.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class BitWriter {
public:
    void bits(std::uint32_t value, int count) { // least significant bit first
        for (int i = 0; i < count; ++i) {
            if (m_used == 0) {
                m_out.push_back(0);
            }
            m_out.back() |= static_cast<std::uint8_t>(((value >> i) & 1u) << m_used);
            m_used = (m_used + 1) % 8;
        }
    }
    void code(std::uint32_t code, int length) { // Huffman codes go most significant bit first
        for (int i = length - 1; i >= 0; --i) {
            bits((code >> i) & 1u, 1);
        }
    }
    Bytes take() { return std::move(m_out); }

private:
    Bytes m_out;
    int m_used = 0;
};

// Deflate's fixed literal/length code.
void symbol(BitWriter& out, int value) {
    if (value < 144) {
        out.code(0x30 + value, 8);
    } else if (value < 256) {
        out.code(0x190 + (value - 144), 9);
    } else if (value < 280) {
        out.code(value - 256, 7);
    } else {
        out.code(0xC0 + (value - 280), 8);
    }
}

void match(BitWriter& out, int length, int distance) {
    static constexpr std::array<int, 29> kLengthBase{3,  4,  5,  6,  7,  8,  9,  10,  11,  13,
                                                     15, 17, 19, 23, 27, 31, 35, 43,  51,  59,
                                                     67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr std::array<int, 29> kLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    static constexpr std::array<int, 30> kDistanceBase{
        1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    static constexpr std::array<int, 30> kDistanceExtra{0, 0, 0, 0, 1, 1, 2, 2,  3,  3,
                                                        4, 4, 5, 5, 6, 6, 7, 7,  8,  8,
                                                        9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
    const auto l = static_cast<std::size_t>(
        std::upper_bound(kLengthBase.begin(), kLengthBase.end(), length) - kLengthBase.begin() - 1);
    symbol(out, 257 + static_cast<int>(l));
    out.bits(static_cast<std::uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
    const auto d = static_cast<std::size_t>(
        std::upper_bound(kDistanceBase.begin(), kDistanceBase.end(), distance) -
        kDistanceBase.begin() - 1);
    out.code(static_cast<std::uint32_t>(d), 5);
    out.bits(static_cast<std::uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

// The longest run at `at` that repeats the bytes `distance` back, at most 258.
int repeatLength(const Bytes& data, std::size_t at, std::size_t distance) {
    if (at < distance) {
        return 0;
    }
    int length = 0;
    while (length < 258 && at + static_cast<std::size_t>(length) < data.size() &&
           data[at + static_cast<std::size_t>(length)] ==
               data[at + static_cast<std::size_t>(length) - distance]) {
        ++length;
    }
    return length;
}

Bytes deflate(const Bytes& data, std::size_t stride) {
    BitWriter out;
    out.bits(1, 1); // the last block
    out.bits(1, 2); // fixed codes
    for (std::size_t at = 0; at < data.size();) {
        const int row = repeatLength(data, at, stride);
        const int run = repeatLength(data, at, 1);
        const int length = std::max(row, run);
        if (length >= 3) {
            match(out, length, static_cast<int>(row >= run ? stride : 1));
            at += static_cast<std::size_t>(length);
        } else {
            symbol(out, data[at++]);
        }
    }
    symbol(out, 256); // end of block
    return out.take();
}

void putBigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

std::uint32_t crc32(const Bytes& bytes, std::size_t from) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void chunk(Bytes& png, const char* type, const Bytes& data) {
    putBigEndian(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    putBigEndian(png, crc32(png, start));
}

Bytes png(int size) {
    std::vector<rt::Rgb> palette;
    const auto indexOf = [&palette](rt::Rgb colour) {
        const auto found = std::find(palette.begin(), palette.end(), colour);
        if (found == palette.end()) {
            palette.push_back(colour);
            return static_cast<std::uint8_t>(palette.size() - 1);
        }
        return static_cast<std::uint8_t>(found - palette.begin());
    };
    const auto stride = static_cast<std::size_t>(size) + 1;
    Bytes rows;
    for (int y = 0; y < size; ++y) {
        rows.push_back(0); // no filter
        for (int x = 0; x < size; ++x) {
            rows.push_back(indexOf(
                app::iconPixel(x * app::kIconSize / size, y * app::kIconSize / size) & 0xFFFFFF));
        }
    }

    Bytes zlib{0x78, 0x01};
    const Bytes deflated = deflate(rows, stride);
    zlib.insert(zlib.end(), deflated.begin(), deflated.end());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : rows) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian(zlib, (b << 16) | a);

    Bytes header;
    putBigEndian(header, static_cast<std::uint32_t>(size));
    putBigEndian(header, static_cast<std::uint32_t>(size));
    header.insert(header.end(), {8, 3, 0, 0, 0}); // 8-bit indices into a palette
    Bytes colours;
    for (const rt::Rgb colour : palette) {
        colours.insert(colours.end(), {static_cast<std::uint8_t>(colour >> 16),
                                       static_cast<std::uint8_t>(colour >> 8),
                                       static_cast<std::uint8_t>(colour)});
    }
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    chunk(out, "IHDR", header);
    chunk(out, "PLTE", colours);
    chunk(out, "IDAT", zlib);
    chunk(out, "IEND", {});
    return out;
}

} // namespace

int main(int argc, char* argv[]) {
    const int size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size < app::kIconSize || size > 4096) {
        std::fputs("usage: melkora-icon-png <size, 16 to 4096> <file>\n", stderr);
        return 2;
    }
    const Bytes image = png(size);
    std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    if (!file.flush()) {
        std::fprintf(stderr, "melkora-icon-png: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
