#pragma once

// The Win32 layer's edge: the core's UTF-16 text and Windows' wide strings are the same code
// units (wchar_t is 16 bits there), so nothing is re-encoded, only copied.

#include <string>
#include <string_view>

namespace rt {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide strings are UTF-16");

inline std::wstring toWide(std::u16string_view text) {
    return {text.begin(), text.end()};
}

inline std::u16string fromWide(std::wstring_view text) {
    return {text.begin(), text.end()};
}

} // namespace rt
