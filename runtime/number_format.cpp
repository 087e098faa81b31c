#include "runtime/number_format.h"

#include "runtime/error.h"
#include "runtime/shortest_decimal.h"
#include "runtime/text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace rt {

namespace {

constexpr std::u16string_view kUnicodeMinus = u"\u2212";

// Beyond these decimal magnitudes a double is certainly infinite or certainly zero, so the
// digits need not be converted at all (and a huge exponent cannot overflow the arithmetic).
constexpr long long kMaxDecimalMagnitude = 309;
constexpr long long kMinDecimalMagnitude = -326;
constexpr long long kExponentCap = 1'000'000'000;

// The double nearest to `digits`, ASCII digits with an exponent ("123e-4"); nullopt when it is
// out of the range of doubles, beyond the largest or, for some libraries, below the smallest.
std::optional<double> asciiToDouble(const std::string& digits) {
#if defined(__cpp_lib_to_chars)
    double value = 0.0;
    const auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (status == std::errc::result_out_of_range) {
        return std::nullopt;
    }
    return value;
#else
    // A standard library without from_chars for double (libc++ before 20, in the browser
    // build): its C library is musl, whose strtod is correctly rounded and reads '.' in every
    // locale, which these digits do not need anyway.
    const double value = std::strtod(digits.c_str(), nullptr);
    if (std::isinf(value)) {
        return std::nullopt;
    }
    return value;
#endif
}

// A forward reader over the text, by code point, so that locales whose digits lie outside the
// Basic Multilingual Plane are read as digits and not as two stray surrogates.
class Cursor {
public:
    explicit Cursor(std::u16string_view text)
        : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }

    bool take(std::u16string_view token) {
        if (token.empty() || m_text.compare(m_pos, token.size(), token) != 0) {
            return false;
        }
        m_pos += token.size();
        return true;
    }

    // The value of the digit at the cursor (ASCII or from the locale's set), consuming it, or -1.
    int takeDigit(char32_t zero) {
        if (atEnd()) {
            return -1;
        }
        char32_t cp = m_text[m_pos];
        size_t width = 1;
        if (isHighSurrogate(cp) && m_pos + 1 < m_text.size() && isLowSurrogate(m_text[m_pos + 1])) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (m_text[m_pos + 1] - 0xDC00);
            width = 2;
        }
        int digit = -1;
        if (cp >= U'0' && cp <= U'9') {
            digit = static_cast<int>(cp - U'0');
        } else if (cp >= zero && cp <= zero + 9) {
            digit = static_cast<int>(cp - zero);
        }
        if (digit >= 0) {
            m_pos += width;
        }
        return digit;
    }

private:
    std::u16string_view m_text;
    size_t m_pos = 0;
};

struct SignTokens {
    std::array<std::u16string_view, 3> negative;
    std::array<std::u16string_view, 2> positive;
};

// Reads an optional sign. The locale's own signs go first: he_IL's is U+200E followed by an
// ASCII hyphen, and must not be mistaken for a stray mark in front of a plain "-".
bool takeSign(Cursor& in, const SignTokens& signs) {
    for (std::u16string_view token : signs.negative) {
        if (in.take(token)) {
            return true;
        }
    }
    for (std::u16string_view token : signs.positive) {
        if (in.take(token)) {
            return false;
        }
    }
    return false;
}

} // namespace

NumberFormat::NumberFormat(NumberSymbols symbols)
    : m_symbols(std::move(symbols)) {
}

double NumberFormat::toNumber(std::u16string_view text, std::u16string_view subject) const {
    const SignTokens signs{{m_symbols.negativeSign, u"-", kUnicodeMinus},
                           {m_symbols.positiveSign, u"+"}};

    Cursor in(trimmed(text));
    const auto mismatch = [&] {
        raiseTypeMismatch(subject, text);
    };

    const bool negative = takeSign(in, signs);

    // The significant digits without leading zeros, and the power of ten of their last digit.
    std::string digits;
    long long scale = 0;
    int digitCount = 0;
    for (int d; (d = in.takeDigit(m_symbols.zeroDigit)) >= 0; ++digitCount) {
        if (d != 0 || !digits.empty()) {
            digits.push_back(static_cast<char>('0' + d));
        }
    }
    if (digitCount == 0) {
        mismatch();
    }
    if (in.take(m_symbols.decimalSeparator)) {
        int fractionCount = 0;
        for (int d; (d = in.takeDigit(m_symbols.zeroDigit)) >= 0; ++fractionCount) {
            if (d != 0 || !digits.empty()) {
                digits.push_back(static_cast<char>('0' + d));
            }
            --scale;
        }
        if (fractionCount == 0) {
            mismatch();
        }
    }
    if (in.take(u"E") || in.take(u"e") || in.take(m_symbols.exponent)) {
        const bool negativeExponent = takeSign(in, signs);
        long long exponent = 0;
        int exponentCount = 0;
        for (int d; (d = in.takeDigit(m_symbols.zeroDigit)) >= 0; ++exponentCount) {
            exponent = std::min(exponent * 10 + d, kExponentCap);
        }
        if (exponentCount == 0) {
            mismatch();
        }
        scale += negativeExponent ? -exponent : exponent;
    }
    if (!in.atEnd()) {
        mismatch();
    }

    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
        ++scale;
    }
    if (digits.empty()) {
        return negative ? -0.0 : 0.0;
    }
    const long long magnitude = scale + static_cast<long long>(digits.size()) - 1;
    if (magnitude > kMaxDecimalMagnitude) {
        raiseOverflow(subject, text);
    }
    if (magnitude < kMinDecimalMagnitude) {
        return negative ? -0.0 : 0.0;
    }

    digits.push_back('e');
    digits += std::to_string(scale);
    double value = 0.0;
    if (const std::optional<double> converted = asciiToDouble(digits)) {
        value = *converted;
    } else if (magnitude >= 0) {
        raiseOverflow(subject, text);
    } // else it rounds to zero
    return negative ? -value : value;
}

std::u16string_view NumberFormat::listSeparator() const {
    return m_symbols.decimalSeparator.find(u',') == std::u16string::npos ? u", " : u"; ";
}

std::u16string NumberFormat::toText(double value) const {
    if (value == 0.0) {
        return u"0";
    }
    // The shortest digits that round-trip; the layout is ours to choose.
    const Decimal decimal = shortestDecimal(std::fabs(value));
    const std::string digits = std::to_string(decimal.significand);
    const int exponent = decimal.exponent + static_cast<int>(digits.size()) - 1; // d.ddd × 10^x

    const std::u16string_view separator = m_symbols.decimalSeparator;
    std::u16string out;
    out.reserve(32);
    if (value < 0) {
        out += u'-';
    }
    const auto digitCount = static_cast<int>(digits.size());
    const auto digitRun = [&](int from, int count) {
        out += widen(
            std::string_view(digits).substr(static_cast<size_t>(from), static_cast<size_t>(count)));
    };
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            out += u'0';
            out += separator;
            out.append(static_cast<size_t>(-exponent - 1), u'0');
            digitRun(0, digitCount);
        } else {
            const int whole = exponent + 1;
            digitRun(0, std::min(whole, digitCount));
            if (whole > digitCount) {
                out.append(static_cast<size_t>(whole - digitCount), u'0');
            } else if (whole < digitCount) {
                out += separator;
                digitRun(whole, digitCount - whole);
            }
        }
        return out;
    }
    digitRun(0, 1);
    if (digitCount > 1) {
        out += separator;
        digitRun(1, digitCount - 1);
    }
    out += exponent < 0 ? u"E-" : u"E+";
    const int absExponent = std::abs(exponent);
    if (absExponent < 10) {
        out += u'0';
    }
    out += widen(std::to_string(absExponent));
    return out;
}

} // namespace rt
