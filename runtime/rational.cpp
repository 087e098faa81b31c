#include "runtime/rational.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace rt {

namespace {

constexpr int kMantissaBits = 53;
constexpr int kLastSubnormalBit = -1074; // the exponent of the smallest subnormal's bit
constexpr int kMaxBinaryMagnitude = 1024; // 2^1024 is beyond the largest double

} // namespace

long long binaryMagnitude(const Rational& value) {
    return static_cast<long long>(msb(abs(numerator(value)))) -
           static_cast<long long>(msb(denominator(value)));
}

double nearestDouble(const Rational& value) {
    if (value.sign() == 0) {
        return 0.0;
    }
    const Integer& top = numerator(value);
    const Integer& bottom = denominator(value);
    // Two integers that doubles hold exactly: IEEE division rounds their quotient once.
    if (msb(abs(top)) < kMantissaBits && msb(bottom) < kMantissaBits) {
        return static_cast<double>(top) / static_cast<double>(bottom);
    }
    Integer num = abs(top);
    Integer den = bottom;
    // The quotient below has one or two bits more than a mantissa, or fewer where the
    // subnormals' fixed last bit cuts it short.
    const long long magnitude = binaryMagnitude(value);
    const double sign = value.sign() < 0 ? -1.0 : 1.0;
    if (magnitude > kMaxBinaryMagnitude) {
        return sign * std::numeric_limits<double>::infinity();
    }
    if (magnitude < kLastSubnormalBit - 1) { // below half the smallest subnormal
        return sign * 0.0;
    }
    const int last = std::max(static_cast<int>(magnitude) - (kMantissaBits + 1), kLastSubnormalBit);
    if (last < 0) {
        num <<= static_cast<unsigned>(-last);
    } else {
        den <<= static_cast<unsigned>(last);
    }
    Integer quotient;
    Integer remainder;
    divide_qr(num, den, quotient, remainder);

    // Round away the bits below a mantissa's 53 (below the last subnormal bit, none).
    const int width = quotient == 0 ? 0 : static_cast<int>(msb(quotient)) + 1;
    const int extra = std::max(width - kMantissaBits, 0);
    auto mantissa = static_cast<std::uint64_t>(quotient >> extra);
    if (extra > 0) {
        const bool half = bit_test(quotient, static_cast<unsigned>(extra - 1));
        const bool sticky =
            remainder != 0 || (extra > 1 && lsb(quotient) < static_cast<unsigned>(extra - 1));
        if (half && (sticky || (mantissa & 1) != 0)) {
            ++mantissa;
        }
    } else if (remainder != 0) {
        // The quotient is exact up to the last subnormal bit; what is left decides alone.
        const int comparison = Integer(remainder << 1).compare(den);
        if (comparison > 0 || (comparison == 0 && (mantissa & 1) != 0)) {
            ++mantissa;
        }
    }
    // At most 2^53 · 2^971: exact, or infinite where rounding carried past the largest double.
    return sign * std::ldexp(static_cast<double>(mantissa), last + extra);
}

namespace {

constexpr std::int64_t kNoSmallNumerator = std::numeric_limits<std::int64_t>::min();

// Stein's binary gcd: shifts and subtractions, several times faster than std::gcd's divisions
// on the small numbers that every Calculate run reduces.
std::int64_t gcd(std::int64_t left, std::int64_t right) {
    auto a = static_cast<std::uint64_t>(left < 0 ? -left : left);
    auto b = static_cast<std::uint64_t>(right < 0 ? -right : right);
    if (a == 0 || b == 0) {
        return static_cast<std::int64_t>(a | b);
    }
    const int shift = std::countr_zero(a | b);
    a >>= std::countr_zero(a);
    do {
        b >>= std::countr_zero(b);
        if (a > b) {
            std::swap(a, b);
        }
        b -= a;
    } while (b != 0);
    return static_cast<std::int64_t>(a << shift);
}

// Whether an integer fits a Number's small form (so its negation fits too).
bool fitsSmall(const Integer& integer) {
    return msb(abs(integer)) < 63;
}

} // namespace

Number::Number(std::int64_t integer) {
    if (integer == kNoSmallNumerator) {
        m_big = std::make_shared<const Rational>(integer);
    } else {
        m_numerator = integer;
    }
}

Number::Number(const Rational& value) {
    if (value.sign() == 0) {
        return;
    }
    const Integer& top = boost::multiprecision::numerator(value);
    const Integer& bottom = boost::multiprecision::denominator(value);
    if (fitsSmall(top) && fitsSmall(bottom)) {
        m_numerator = static_cast<std::int64_t>(top);
        m_denominator = static_cast<std::int64_t>(bottom);
    } else {
        m_big = std::make_shared<const Rational>(value);
    }
}

Number Number::fraction(std::int64_t numerator, std::int64_t denominator) {
    if (numerator == kNoSmallNumerator || denominator == kNoSmallNumerator) {
        return Rational(numerator, denominator);
    }
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const std::int64_t divisor = gcd(numerator, denominator);
    Number number;
    number.m_numerator = numerator / divisor;
    number.m_denominator = denominator / divisor;
    return number;
}

int Number::sign() const {
    if (m_big) {
        return m_big->sign();
    }
    return (m_numerator > 0) - (m_numerator < 0);
}

Rational Number::exact() const {
    if (m_big) {
        return *m_big;
    }
    return Rational(m_numerator, m_denominator);
}

Number Number::operator-() const {
    if (m_big) {
        return Rational(-*m_big);
    }
    Number negated = *this;
    negated.m_numerator = -m_numerator;
    return negated;
}

// The small forms' arithmetic checks every step for overflow and hands anything that leaves a
// machine integer to the Rational, whose result comes back small wherever it fits.

Number operator*(const Number& left, const Number& right) {
    if (left.isSmall() && right.isSmall()) {
        // Cross-cancelled first, the product is in lowest terms already.
        const std::int64_t leftCancel = gcd(left.m_numerator, right.m_denominator);
        const std::int64_t rightCancel = gcd(right.m_numerator, left.m_denominator);
        Number product;
        if (!__builtin_mul_overflow(left.m_numerator / leftCancel, right.m_numerator / rightCancel,
                                    &product.m_numerator) &&
            !__builtin_mul_overflow(left.m_denominator / rightCancel,
                                    right.m_denominator / leftCancel, &product.m_denominator) &&
            product.m_numerator != kNoSmallNumerator) {
            return product;
        }
    }
    return left.exact() * right.exact();
}

Number operator-(const Number& left, const Number& right) {
    if (left.isSmall() && right.isSmall()) {
        const std::int64_t common = gcd(left.m_denominator, right.m_denominator);
        const std::int64_t leftScale = right.m_denominator / common;
        const std::int64_t rightScale = left.m_denominator / common;
        std::int64_t leftPart = 0;
        std::int64_t rightPart = 0;
        std::int64_t numerator = 0;
        std::int64_t denominator = 0;
        if (!__builtin_mul_overflow(left.m_numerator, leftScale, &leftPart) &&
            !__builtin_mul_overflow(right.m_numerator, rightScale, &rightPart) &&
            !__builtin_sub_overflow(leftPart, rightPart, &numerator) &&
            !__builtin_mul_overflow(left.m_denominator, leftScale, &denominator)) {
            return Number::fraction(numerator, denominator);
        }
    }
    return left.exact() - right.exact();
}

Number operator/(const Number& left, const Number& right) {
    if (right.isSmall()) {
        Number reciprocal;
        reciprocal.m_numerator = right.m_numerator < 0 ? -right.m_denominator : right.m_denominator;
        reciprocal.m_denominator = right.m_numerator < 0 ? -right.m_numerator : right.m_numerator;
        return left * reciprocal;
    }
    return left.exact() / right.exact();
}

bool operator==(const Number& left, const Number& right) {
    // Small wherever it fits, so a small and a big Number always differ.
    if (left.isSmall() != right.isSmall()) {
        return false;
    }
    if (left.isSmall()) {
        return left.m_numerator == right.m_numerator && left.m_denominator == right.m_denominator;
    }
    return *left.m_big == *right.m_big;
}

double nearestDouble(const Number& value) {
    constexpr std::int64_t kExactInDouble = std::int64_t{1} << kMantissaBits;
    if (value.isSmall() && value.smallNumerator() < kExactInDouble &&
        -value.smallNumerator() < kExactInDouble && value.smallDenominator() < kExactInDouble) {
        return static_cast<double>(value.smallNumerator()) /
               static_cast<double>(value.smallDenominator());
    }
    return nearestDouble(value.exact());
}

bool beyondDoubleRange(const Number& value) {
    return !value.isSmall() && beyondDoubleRange(value.exact());
}

bool beyondDoubleRange(const Rational& value) {
    if (value.sign() == 0) {
        return false;
    }
    // Far from the edge, the bit lengths tell.
    if (binaryMagnitude(value) < kMaxBinaryMagnitude - 2) {
        return false;
    }
    return std::isinf(nearestDouble(value));
}

} // namespace rt
