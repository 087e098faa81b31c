#pragma once

// The Qt layer's edge: the core's UTF-16 text to QString and back. Both hold UTF-16 code units,
// so nothing is re-encoded, only copied.

#include <QString>
#include <string>
#include <string_view>

namespace rt {

inline QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string toU16String(QStringView text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

} // namespace rt
