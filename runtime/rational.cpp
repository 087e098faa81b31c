#include "runtime/rational.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace rt {

namespace {

constexpr int kMantissaBits = 53;
constexpr int kLastSubnormalBit = -1074; // the exponent of the smallest subnormal's bit
constexpr int kMaxBinaryMagnitude = 1024; // 2^1024 is beyond the largest double

} // namespace

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
    // 2^(magnitude - 1) < |value| < 2^(magnitude + 1), so the quotient below has one or two
    // bits more than a mantissa, or fewer where the subnormals' fixed last bit cuts it short.
    const auto magnitude = static_cast<long long>(msb(num)) - static_cast<long long>(msb(den));
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

bool beyondDoubleRange(const Rational& value) {
    if (value.sign() == 0) {
        return false;
    }
    // Far from the edge, the bit lengths tell.
    const auto magnitude = static_cast<long long>(msb(abs(numerator(value)))) -
                           static_cast<long long>(msb(denominator(value)));
    if (magnitude < kMaxBinaryMagnitude - 2) {
        return false;
    }
    return std::isinf(nearestDouble(value));
}

} // namespace rt
