#include "runtime/number_format.h"

#include "runtime/error.h"
#include "runtime/shortest_decimal.h"
#include "runtime/text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
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

    void skipSpaces() {
        while (!atEnd() && isSpace(m_text[m_pos])) {
            ++m_pos;
        }
    }

    // The ASCII digits from the cursor on, consumed.
    std::u16string_view takeAsciiDigits() {
        const size_t start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] >= u'0' && m_text[m_pos] <= u'9') {
            ++m_pos;
        }
        return m_text.substr(start, m_pos - start);
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

// A decimal as it was typed: value = ±digits · 10^scale, the digits without leading or trailing
// zeros, so none for zero.
struct DecimalText {
    bool negative = false;
    std::string digits;
    long long scale = 0;

    // ⌊log10 |value|⌋, where the value is not zero.
    long long magnitude() const { return scale + static_cast<long long>(digits.size()) - 1; }
    bool exact() const { return digits.size() <= kMaxExactDigits; }
};

// Reads a decimal at the cursor into `decimal`, leaving the cursor just after; false where there
// is none. A digit on either side of the decimal separator is enough: ".5" and "5." are read as
// every calculator reads them.
bool takeDecimal(Cursor& in, const SignTokens& signs, const NumberSymbols& symbols,
                 DecimalText& decimal) {
    decimal.negative = takeSign(in, signs);
    // ASCII digits are taken as runs rather than a code point at a time: a pasted million of
    // them costs a few instructions each.
    const auto append = [&](std::u16string_view run) {
        for (const char16_t digit : run) {
            if (digit != u'0' || !decimal.digits.empty()) {
                decimal.digits.push_back(static_cast<char>(digit));
            }
        }
    };
    const auto takeDigits = [&](bool fraction) {
        std::size_t count = 0;
        for (;;) {
            const std::u16string_view run = in.takeAsciiDigits();
            append(run);
            count += run.size();
            // Where the locale's digits are ASCII, the run took them all.
            const int d = symbols.zeroDigit == U'0' ? -1 : in.takeDigit(symbols.zeroDigit);
            if (d < 0) {
                break;
            }
            const auto ascii = static_cast<char16_t>(u'0' + d);
            append({&ascii, 1});
            ++count;
        }
        if (fraction) {
            decimal.scale -= static_cast<long long>(count);
        }
        return count;
    };
    std::size_t digitCount = takeDigits(false);
    if (in.take(symbols.decimalSeparator)) {
        digitCount += takeDigits(true);
    }
    if (digitCount == 0) {
        return false;
    }
    if (in.take(u"E") || in.take(u"e") || in.take(symbols.exponent)) {
        const bool negativeExponent = takeSign(in, signs);
        long long exponent = 0;
        int exponentCount = 0;
        for (int d; (d = in.takeDigit(symbols.zeroDigit)) >= 0; ++exponentCount) {
            exponent = std::min(exponent * 10 + d, kExponentCap);
        }
        if (exponentCount == 0) {
            return false;
        }
        decimal.scale += negativeExponent ? -exponent : exponent;
    }
    while (!decimal.digits.empty() && decimal.digits.back() == '0') {
        decimal.digits.pop_back();
        ++decimal.scale;
    }
    return true;
}

constexpr std::array<std::uint64_t, 20> kPowersOfTen = [] {
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t power = 1;
    for (std::uint64_t& p : powers) {
        p = power;
        power *= 10;
    }
    return powers;
}();

Integer powerOfTen(long long exponent) {
    if (exponent < static_cast<long long>(kPowersOfTen.size())) {
        return kPowersOfTen[static_cast<std::size_t>(exponent)];
    }
    return boost::multiprecision::pow(Integer(10), static_cast<unsigned>(exponent));
}

// The exact value of a decimal of at most kMaxExactDigits digits, taken with `scale` for its
// own, which the caller keeps within a few thousand.
Number exactValue(const DecimalText& decimal, long long scale) {
    // What people type: at most 18 digits, a power of ten that a machine integer holds.
    constexpr std::size_t kSmallDigits = 18;
    if (decimal.digits.size() <= kSmallDigits && scale > -19 && scale < 19) {
        std::int64_t digits = 0;
        for (const char digit : decimal.digits) {
            digits = digits * 10 + (digit - '0');
        }
        if (decimal.negative) {
            digits = -digits;
        }
        const auto power =
            static_cast<std::int64_t>(kPowersOfTen[static_cast<std::size_t>(std::abs(scale))]);
        if (scale < 0) {
            return Number::fraction(digits, power);
        }
        std::int64_t whole = 0;
        if (!__builtin_mul_overflow(digits, power, &whole)) {
            return Number(whole);
        }
    }
    Integer digits(decimal.digits.c_str());
    if (decimal.negative) {
        digits = -digits;
    }
    return scale >= 0 ? Rational(digits * powerOfTen(scale)) : Rational(digits, powerOfTen(-scale));
}

// A decimal of more than kMaxExactDigits digits, as the double nearest it; nullopt where that
// is infinite.
std::optional<Number> roundedValue(const DecimalText& decimal) {
    const std::optional<double> nearest =
        asciiToDouble(decimal.digits + 'e' + std::to_string(decimal.scale));
    if (!nearest) {
        if (decimal.magnitude() >= 0) {
            return std::nullopt;
        }
        return Number();
    }
    return Rational(decimal.negative ? -*nearest : *nearest);
}

// top / bottom (no bottom stands for 1), or nullopt where it lies beyond the range of a
// double. Only the quotient's range counts, not its parts': "2e309/100" is 2E+307.
std::optional<Number> valueOf(const DecimalText& top, const DecimalText* bottom) {
    if (top.digits.empty()) {
        return Number();
    }
    // ⌊log10 |top / bottom|⌋ is this or one less. Far outside the range of doubles the answer is
    // known without a digit converted, and without a power of ten as large as the exponent.
    const long long magnitude = top.magnitude() - (bottom ? bottom->magnitude() : 0);
    if (magnitude > kMaxDecimalMagnitude) {
        return std::nullopt;
    }
    if (magnitude < kMinDecimalMagnitude) {
        return Number();
    }
    if (!bottom) {
        return top.exact() ? exactValue(top, top.scale) : roundedValue(top);
    }
    if (top.exact() && bottom->exact()) {
        // Only the scales' difference counts, and the magnitude and the digits bound it.
        return exactValue(top, top.scale - bottom->scale) / exactValue(*bottom, 0);
    }
    // A long part is the double nearest it. An infinite one is too large, and so is a quotient
    // by a zero one; within the range of doubles, it bounds the other part's scale.
    std::optional<Number> numerator;
    if (!top.exact()) {
        numerator = roundedValue(top);
        if (!numerator || numerator->sign() == 0) {
            return numerator;
        }
    }
    std::optional<Number> denominator;
    if (!bottom->exact()) {
        denominator = roundedValue(*bottom);
        if (!denominator || denominator->sign() == 0) {
            return std::nullopt;
        }
    }
    return (numerator ? *numerator : exactValue(top, top.scale)) /
           (denominator ? *denominator : exactValue(*bottom, bottom->scale));
}

// Below this binary magnitude a number may round to zero as a double.
constexpr long long kTinyMagnitude = -1070;

} // namespace

NumberFormat::NumberFormat(NumberSymbols symbols)
    : m_symbols(std::move(symbols)) {
}

bool NumberFormat::readsFractions() const {
    const auto hasSlash = [](std::u16string_view symbol) {
        return symbol.find_first_of(u"/\u2044") != std::u16string_view::npos;
    };
    return !hasSlash(m_symbols.decimalSeparator) && !hasSlash(m_symbols.groupSeparator);
}

Number NumberFormat::toNumber(std::u16string_view text, std::u16string_view subject) const {
    const SignTokens signs{{m_symbols.negativeSign, u"-", kUnicodeMinus},
                           {m_symbols.positiveSign, u"+"}};
    // The syntax first, to the last character, and the value only then: a text that is not a
    // number is a type mismatch, however large the number it starts with.
    Cursor in(trimmed(text));
    DecimalText top;
    DecimalText bottom;
    const DecimalText* divisor = nullptr; // set where the text is a fraction
    if (!takeDecimal(in, signs, m_symbols, top)) {
        raiseTypeMismatch(subject, text);
    }
    if (!in.atEnd()) {
        in.skipSpaces();
        if (!readsFractions() || !(in.take(u"/") || in.take(u"\u2044"))) {
            raiseTypeMismatch(subject, text);
        }
        in.skipSpaces();
        if (!takeDecimal(in, signs, m_symbols, bottom) || !in.atEnd() || bottom.digits.empty()) {
            raiseTypeMismatch(subject, text);
        }
        divisor = &bottom;
    }
    const std::optional<Number> quotient = valueOf(top, divisor);
    if (!quotient || beyondDoubleRange(*quotient)) {
        raiseOverflow(subject, text);
    }
    const Number& value = *quotient;
    // A machine integer's fraction is never that small.
    if (!value.isSmall()) {
        const Rational exact = value.exact();
        if (binaryMagnitude(exact) < kTinyMagnitude && nearestDouble(exact) == 0.0) {
            return Number();
        }
    }
    return value;
}

std::u16string_view NumberFormat::listSeparator() const {
    return m_symbols.decimalSeparator.find(u',') == std::u16string::npos ? u", " : u"; ";
}

namespace {

// ⌊log10 2⌋ · 2^20, rounded down: digit counts from bit lengths, never more than there are.
constexpr long long kLog10Of2Scaled = 315652;

struct ExactDecimal {
    std::uint64_t significand = 0; // without trailing zeros, at most 17 digits
    long long exponent = 0;        // of its last digit
};

constexpr std::uint64_t kSeventeenDigits = 100'000'000'000'000'000;

// |value| as a decimal of at most 17 significant digits, where one holds it exactly.
std::optional<ExactDecimal> shortExactDecimal(const Integer& numerator, const Integer& denominator) {
    // A fraction in lowest terms is a terminating decimal when its denominator is 2^twos · 5^fives.
    const auto twos = static_cast<long long>(lsb(denominator));
    Integer rest = denominator >> static_cast<unsigned>(twos);
    long long fives = 0;
    for (Integer quotient, remainder; rest != 1; ++fives) {
        divide_qr(rest, Integer(5), quotient, remainder);
        if (remainder != 0) {
            return std::nullopt;
        }
        rest = quotient;
    }
    // value = n · 10^-k
    const long long k = std::max(twos, fives);
    Integer n = numerator << static_cast<unsigned>(k - twos);
    if (k > fives) {
        n *= boost::multiprecision::pow(Integer(5), static_cast<unsigned>(k - fives));
    }
    // Where n is long, enough of its trailing digits must be zeros; drop them at once.
    long long exponent = -k;
    const long long digitsAtLeast = (static_cast<long long>(msb(n)) * kLog10Of2Scaled >> 20) + 1;
    if (digitsAtLeast > 18) { // leaving at most 19 digits, which a 64-bit integer holds
        const long long dropped = digitsAtLeast - 18;
        Integer quotient;
        Integer remainder;
        divide_qr(n, boost::multiprecision::pow(Integer(10), static_cast<unsigned>(dropped)),
                  quotient, remainder);
        if (remainder != 0) {
            return std::nullopt;
        }
        n = quotient;
        exponent += dropped;
    }
    if (msb(n) >= 64) {
        return std::nullopt;
    }
    auto significand = static_cast<std::uint64_t>(n);
    while (significand % 10 == 0) {
        significand /= 10;
        ++exponent;
    }
    if (significand >= kSeventeenDigits) {
        return std::nullopt;
    }
    return ExactDecimal{significand, exponent};
}

// The same on machine integers, for the fractions of nearly every result.
std::optional<ExactDecimal> shortExactDecimal(std::uint64_t numerator, std::uint64_t denominator) {
    const int twos = std::countr_zero(denominator);
    std::uint64_t rest = denominator >> twos;
    int fives = 0;
    for (; rest % 5 == 0; rest /= 5) {
        ++fives;
    }
    if (rest != 1) {
        return std::nullopt;
    }
    const int k = std::max(twos, fives);
    std::uint64_t n = numerator;
    for (int i = 0; i < k - twos; ++i) {
        if (__builtin_mul_overflow(n, std::uint64_t{2}, &n)) {
            return shortExactDecimal(Integer(numerator), Integer(denominator));
        }
    }
    for (int i = 0; i < k - fives; ++i) {
        if (__builtin_mul_overflow(n, std::uint64_t{5}, &n)) {
            return shortExactDecimal(Integer(numerator), Integer(denominator));
        }
    }
    long long exponent = -k;
    for (; n % 10 == 0; n /= 10) {
        ++exponent;
    }
    if (n >= kSeventeenDigits) {
        return std::nullopt;
    }
    return ExactDecimal{n, exponent};
}

// Whether |value| lies below 2^-1022, the smallest normal double: judged on the exact value,
// which may round up to it.
bool belowNormalRange(const Number& value) {
    if (value.isSmall()) { // at least 2^-63
        return false;
    }
    const Rational exact = value.exact();
    const long long magnitude = binaryMagnitude(exact);
    constexpr long long kMinNormalMagnitude = -1022;
    if (magnitude != kMinNormalMagnitude) {
        return magnitude < kMinNormalMagnitude;
    }
    return (abs(numerator(exact)) << static_cast<unsigned>(-kMinNormalMagnitude)) <
           denominator(exact);
}

int digitCount(std::uint64_t n) {
    return static_cast<int>(std::to_string(n).size());
}

} // namespace

std::u16string NumberFormat::toText(const Number& value) const {
    if (value.sign() == 0) {
        return u"0";
    }
    const bool negative = value.sign() < 0;

    // Exactly, where a short text holds the value and a double's normal range does; a component
    // below that range is written as the double nearest it, as every calculator does.
    if (!belowNormalRange(value)) {
        // A machine integer's fraction is written as one where it is short; a big one never is.
        std::optional<ExactDecimal> exact;
        std::optional<std::pair<std::uint64_t, std::uint64_t>> fraction;
        if (value.isSmall()) {
            fraction.emplace(std::abs(value.smallNumerator()), value.smallDenominator());
            exact = shortExactDecimal(fraction->first, fraction->second);
        } else {
            const Rational big = value.exact();
            exact = shortExactDecimal(abs(boost::multiprecision::numerator(big)),
                                      boost::multiprecision::denominator(big));
        }
        if (exact) {
            const std::string digits = std::to_string(exact->significand);
            const auto first = static_cast<int>(exact->exponent) + static_cast<int>(digits.size()) - 1;
            return decimalText(negative, digits, first);
        }
        if (readsFractions() && fraction &&
            digitCount(fraction->first) + digitCount(fraction->second) <= 17) {
            return (negative ? u"-" : u"") + widen(std::to_string(fraction->first)) + u'/' +
                   widen(std::to_string(fraction->second));
        }
    }
    // The shortest digits that read back as the nearest double.
    const double nearest = nearestDouble(value);
    if (nearest == 0) {
        return u"0";
    }
    const Decimal decimal = shortestDecimal(std::fabs(nearest));
    const std::string digits = std::to_string(decimal.significand);
    return decimalText(negative, digits, decimal.exponent + static_cast<int>(digits.size()) - 1);
}

// The layout is ours to choose: `digits` as d.ddd · 10^exponent.
std::u16string NumberFormat::decimalText(bool negative, std::string_view digits,
                                         int exponent) const {
    const std::u16string_view separator = m_symbols.decimalSeparator;
    std::u16string out;
    out.reserve(32);
    if (negative) {
        out += u'-';
    }
    const auto digitCount = static_cast<int>(digits.size());
    const auto digitRun = [&](int from, int count) {
        out += widen(digits.substr(static_cast<size_t>(from), static_cast<size_t>(count)));
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
