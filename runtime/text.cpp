#include "runtime/text.h"

namespace rt {

bool isSpace(char16_t c) {
    if (c == u' ' || (c >= u'\t' && c <= u'\r')) {
        return true;
    }
    switch (c) {
    case u'\u0085':
    case u'\u00A0':
    case u'\u1680':
    case u'\u2028':
    case u'\u2029':
    case u'\u202F':
    case u'\u205F':
    case u'\u3000':
        return true;
    default:
        return c >= u'\u2000' && c <= u'\u200A';
    }
}

std::u16string_view trimmed(std::u16string_view text) {
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::u16string widen(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

} // namespace rt
