// What the core needs of the platform (runtime/platform.h), in a web page; the browser's half
// is web_window.js.

#include "runtime/platform.h"
#include "runtime/text.h"

#include <cstddef>
#include <string>

extern "C" {
void melkora_showMessage(const char16_t* text, std::size_t length);
std::size_t melkora_numberSymbols(char16_t* into, std::size_t capacity);
int melkora_viewportWidth();
int melkora_viewportHeight();
int melkora_canOpenAddresses();
void melkora_openAddress(const char16_t* address, std::size_t length);
}

namespace rt {

namespace {

std::optional<OpenAddress> findOpener(std::u16string_view /*library*/,
                                      std::u16string_view /*name*/) {
    if (melkora_canOpenAddresses() == 0) {
        return std::nullopt;
    }
    return [](NativeHandle /*window*/, std::u16string_view address) {
        melkora_openAddress(address.data(), address.size());
    };
}

} // namespace

namespace platform {

// The CSS pixel is the page's unit, at 96 of them to the inch whatever the screen.
Screen mainScreen() {
    return {{0, 0, melkora_viewportWidth(), melkora_viewportHeight()}, 96.0};
}

void showMessageBox(std::u16string_view text) {
    melkora_showMessage(text.data(), text.size());
}

void reportProgrammingError(std::u16string_view text) {
    melkora_showMessage(text.data(), text.size());
}

NumberSymbols userNumberSymbols() {
    char16_t buffer[64];
    const std::u16string_view all(buffer, melkora_numberSymbols(buffer, std::size(buffer)));
    std::u16string_view fields[6];
    std::size_t start = 0;
    for (std::u16string_view& field : fields) {
        const std::size_t end = all.find(u'\0', start);
        if (end == std::u16string_view::npos) {
            return {}; // the C locale's
        }
        field = all.substr(start, end - start);
        start = end + 1;
    }
    const std::u16string_view zero = fields[4];
    char32_t zeroDigit = zero.empty() ? U'0' : zero[0];
    if (zero.size() == 2 && isHighSurrogate(zero[0]) && isLowSurrogate(zero[1])) {
        zeroDigit = 0x10000 + ((zero[0] - 0xD800) << 10) + (zero[1] - 0xDC00);
    }
    return {
        .decimalSeparator = std::u16string(fields[0]),
        .negativeSign = std::u16string(fields[1]),
        .positiveSign = std::u16string(fields[2]),
        .exponent = std::u16string(fields[3]),
        .zeroDigit = zeroDigit,
        .groupSeparator = std::u16string(fields[5]),
    };
}

AddressOpener addressOpener() {
    // The page's own way to a new browsing context, which a page it is embedded in may take
    // away.
    return {u"a web browser", u"window.open", findOpener};
}

} // namespace platform

} // namespace rt
