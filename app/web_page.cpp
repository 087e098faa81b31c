// Writes the web page's window into its template: the markup, and the styles that place and
// paint it after the page's own, in the page itself, so that the first frame waits for no
// further request. Run by the build, under Node, so that the page shows the window in its
// first frame and the module only attaches to it. The content policy names the one inline
// style it allows by its SHA-256.
//
//   melkora-web-page <index.html.in> <base.css> <index.html>

#include "runtime/platform.h"
#include "runtime/web/web_markup.h"
#include "window/form1.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

bool read(const char* path, std::string& into) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    into = text.str();
    return static_cast<bool>(file);
}

bool write(const char* path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    return static_cast<bool>(file.flush());
}

bool replace(std::string& text, const std::string& marker, const std::string& by) {
    const std::size_t at = text.find(marker);
    if (at == std::string::npos) {
        return false;
    }
    text.replace(at, marker.size(), by);
    return true;
}

// FIPS 180-4's SHA-256, which is all a content policy's hash needs.
std::array<std::uint8_t, 32> sha256(const std::string& text) {
    static constexpr std::uint32_t k[64] = {
        0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4,
        0xab1c5ed5, 0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe,
        0x9bdc06a7, 0xc19bf174, 0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f,
        0x4a7484aa, 0x5cb0a9dc, 0x76f988da, 0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7,
        0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967, 0x27b70a85, 0x2e1b2138, 0x4d2c6dfc,
        0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85, 0xa2bfe8a1, 0xa81a664b,
        0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070, 0x19a4c116,
        0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
        0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7,
        0xc67178f2};
    std::uint32_t h[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                          0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::string message = text;
    message.push_back(static_cast<char>(0x80));
    while (message.size() % 64 != 56) {
        message.push_back('\0');
    }
    const std::uint64_t bits = static_cast<std::uint64_t>(text.size()) * 8;
    for (int shift = 56; shift >= 0; shift -= 8) {
        message.push_back(static_cast<char>(bits >> shift));
    }
    const auto rotate = [](std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); };
    for (std::size_t block = 0; block < message.size(); block += 64) {
        std::uint32_t w[64];
        for (int i = 0; i < 16; ++i) {
            w[i] = 0;
            for (int j = 0; j < 4; ++j) {
                w[i] = (w[i] << 8) |
                       static_cast<std::uint8_t>(message[block + static_cast<std::size_t>(4 * i + j)]);
            }
        }
        for (int i = 16; i < 64; ++i) {
            const std::uint32_t s0 = rotate(w[i - 15], 7) ^ rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const std::uint32_t s1 = rotate(w[i - 2], 17) ^ rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        std::uint32_t v[8];
        std::copy(h, h + 8, v);
        for (int i = 0; i < 64; ++i) {
            const std::uint32_t s1 = rotate(v[4], 6) ^ rotate(v[4], 11) ^ rotate(v[4], 25);
            const std::uint32_t choice = (v[4] & v[5]) ^ (~v[4] & v[6]);
            const std::uint32_t t1 = v[7] + s1 + choice + k[i] + w[i];
            const std::uint32_t s0 = rotate(v[0], 2) ^ rotate(v[0], 13) ^ rotate(v[0], 22);
            const std::uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
            std::copy_backward(v, v + 7, v + 8);
            v[4] += t1;
            v[0] = t1 + s0 + majority;
        }
        for (int i = 0; i < 8; ++i) {
            h[i] += v[i];
        }
    }
    std::array<std::uint8_t, 32> digest{};
    for (std::size_t i = 0; i < digest.size(); ++i) {
        digest[i] = static_cast<std::uint8_t>(h[i / 4] >> (24 - 8 * (i % 4)));
    }
    return digest;
}

template <std::size_t N> std::string base64(const std::array<std::uint8_t, N>& bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < N; i += 3) {
        const std::uint32_t group = (std::uint32_t{bytes[i]} << 16) |
                                    (i + 1 < N ? std::uint32_t{bytes[i + 1]} << 8 : 0) |
                                    (i + 2 < N ? std::uint32_t{bytes[i + 2]} : 0);
        out.push_back(kDigits[(group >> 18) & 63]);
        out.push_back(kDigits[(group >> 12) & 63]);
        out.push_back(i + 1 < N ? kDigits[(group >> 6) & 63] : '=');
        out.push_back(i + 2 < N ? kDigits[group & 63] : '=');
    }
    return out;
}

} // namespace

// A window description the page cannot be written from stops the build, with the error already
// on standard error: a tool has no one else to tell.
void rt::platform::reportProgrammingError(std::u16string_view /*text*/) {
}

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fputs("usage: melkora-web-page <index.html.in> <base.css> <index.html>\n", stderr);
        return 2;
    }
    const rt::FormDescription& description = window::form1Description();
    const rt::FormLayout layout = rt::layOut(description, 96.0);
    std::string page;
    std::string styles;
    if (!read(argv[1], page) || !read(argv[2], styles)) {
        std::fprintf(stderr, "melkora-web-page: cannot read %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    styles += rt::web::windowStyles(layout);
    if (!replace(page, "{{style-hash}}", "'sha256-" + base64(sha256(styles)) + "'") ||
        !replace(page, "{{caption}}", rt::web::toUtf8(description.window.caption)) ||
        !replace(page, "{{styles}}", styles) ||
        !replace(page, "{{window}}", rt::web::windowMarkup(layout))) {
        std::fprintf(stderr, "melkora-web-page: %s lacks a {{...}} marker\n", argv[1]);
        return 1;
    }
    if (!write(argv[3], page)) {
        std::fprintf(stderr, "melkora-web-page: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
