#pragma once

// The core's text is UTF-16, as both platforms' text fields hold it: char16_t code units in
// std::u16string. These are the few helpers the core needs on it; nothing here depends on
// the process locale.

#include <string>
#include <string_view>

namespace rt {

// White space as the text fields' users know it: the ASCII controls tab to carriage return,
// the space, U+0085, and every Unicode space, line and paragraph separator.
bool isSpace(char16_t c);

// `text` without white space at either end.
std::u16string_view trimmed(std::u16string_view text);

// ASCII widened to UTF-16, one code unit per byte.
std::u16string widen(std::string_view ascii);

inline bool isHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
inline bool isLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace rt
