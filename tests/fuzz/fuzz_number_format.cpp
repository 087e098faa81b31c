// Fuzzes text to number in several locales. Input: a byte choosing the locale, a byte choosing
// the encoding (even: UTF-8, odd: raw UTF-16, which reaches lone surrogates), then the text.
//
// Properties: a conversion gives an exact number within the range of doubles or raises a type
// mismatch or an overflow naming the field and its text; the number's text reads back as the
// same number, or where no short text holds it, as one with the same nearest double.

#include "runtime/error.h"
#include "runtime/number_format.h"
#include "tests/support/locales.h"
#include "tests/support/utf8.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const std::vector<rt::NumberFormat>& formats() {
    static const std::vector<rt::NumberFormat> all = [] {
        std::vector<rt::NumberFormat> list;
        for (const testlocales::NamedSymbols& locale : testlocales::kLocales) {
            list.emplace_back(locale.symbols);
        }
        return list;
    }();
    return all;
}

std::u16string textOf(const uint8_t* data, size_t size, bool utf16) {
    if (!utf16) {
        return fromUtf8({reinterpret_cast<const char*>(data), size});
    }
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, size / 2 * 2);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const rt::NumberFormat& format = formats()[data[0] % formats().size()];
    const std::u16string text = textOf(data + 2, size - 2, (data[1] & 1) != 0);
    rt::Rational value;
    try {
        value = format.toNumber(text, u"a").exact();
    } catch (const rt::Error& error) {
        if (error.kind() == rt::ErrorKind::FunctionNotFound || error.subject() != u"a" ||
            error.text() != text) {
            std::abort();
        }
        return 0;
    }
    if (rt::beyondDoubleRange(value)) {
        std::abort();
    }
    // Raises nothing, and reads back as the value, or where no short text holds it, as a number
    // with the same nearest double.
    const rt::Rational back = format.toNumber(format.toText(value), u"x").exact();
    if (back != value && rt::nearestDouble(back) != rt::nearestDouble(value)) {
        std::abort();
    }
    return 0;
}
