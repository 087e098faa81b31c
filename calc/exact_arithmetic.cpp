#include "calc/exact_arithmetic.h"

#include "runtime/bit_cast.h"
#include "runtime/uint128.h"

#ifdef __FAST_MATH__
#error "calc/ must not be built with -ffast-math: it relies on exact IEEE 754 semantics"
#endif

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>

// How it works: a double is m·2^e with an integer m of at most 53 bits, so a product of two is
// exactly an integer of at most 106 bits times a power of two. The two products are aligned on
// a common power of two in a 256-bit integer and subtracted exactly; the difference is then
// rounded once into a double. When the exponents lie too far apart to align (more than 120
// bits), the smaller product is far below the last bit of the larger, and all that it can
// change is the direction of rounding; a stand-in of the same sign just below that last bit
// changes it the same way.

namespace calc {

namespace {

using rt::multiplyWide;
using rt::U128;

constexpr int kMantissaBits = 52;
constexpr int kExponentBias = 1075; // value = mantissa · 2^(biased exponent − 1075)
constexpr int kMinExponent = -1074; // of the last bit of a subnormal
constexpr int kMaxBiasedExponent = 2046;
constexpr int kMaxAlignment = 120; // 106 + 120 bits still fit in 256
constexpr uint64_t kHiddenBit = uint64_t{1} << kMantissaBits;

// A non-negative integer of up to 256 bits.
struct U256 {
    U128 hi = 0;
    U128 lo = 0;

    static U256 shiftedLeft(U128 value, int shift) {
        if (shift == 0) {
            return {0, value};
        }
        if (shift >= 128) {
            return {value << (shift - 128), 0};
        }
        return {value >> (128 - shift), value << shift};
    }

    friend bool operator<(const U256& l, const U256& r) {
        return l.hi != r.hi ? l.hi < r.hi : l.lo < r.lo;
    }
    friend U256 operator+(const U256& l, const U256& r) {
        const U128 lo = l.lo + r.lo;
        return {l.hi + r.hi + (lo < l.lo ? 1 : 0), lo};
    }
    friend U256 operator-(const U256& l, const U256& r) {
        return {l.hi - r.hi - (l.lo < r.lo ? 1 : 0), l.lo - r.lo};
    }
    bool isZero() const { return hi == 0 && lo == 0; }

    static int bitWidth(U128 v) {
        const auto high = static_cast<uint64_t>(v >> 64);
        return high != 0 ? 64 + std::bit_width(high)
                         : static_cast<int>(std::bit_width(static_cast<uint64_t>(v)));
    }
    int bitWidth() const { return hi != 0 ? 128 + bitWidth(hi) : bitWidth(lo); }

    // Bits [shift, shift + 64) as an integer; the caller knows that no higher bit is set.
    uint64_t bitsFrom(int shift) const {
        if (shift >= 128) {
            return static_cast<uint64_t>(hi >> (shift - 128));
        }
        if (shift == 0) {
            return static_cast<uint64_t>(lo);
        }
        return static_cast<uint64_t>((lo >> shift) | (hi << (128 - shift)));
    }

    // Whether bit `index` is set, and whether any bit below it is.
    bool bit(int index) const {
        return index >= 128 ? ((hi >> (index - 128)) & 1) != 0 : ((lo >> index) & 1) != 0;
    }
    bool anyBelow(int index) const {
        if (index >= 128) {
            const int inHi = index - 128;
            return lo != 0 || (inHi > 0 && (hi << (128 - inHi)) != 0);
        }
        return index > 0 && (lo << (128 - index)) != 0;
    }
};

// |v| = mantissa · 2^exponent, with the mantissa normalised to 53 bits (subnormals too).
struct Unpacked {
    uint64_t mantissa;
    int exponent;
    bool negative;
};

Unpacked unpack(double v) {
    const auto bits = rt::bitCast<uint64_t>(v);
    const bool negative = (bits >> 63) != 0;
    const auto biased = static_cast<int>((bits >> kMantissaBits) & 0x7FF);
    uint64_t mantissa = bits & (kHiddenBit - 1);
    if (biased != 0) {
        return {mantissa | kHiddenBit, biased - kExponentBias, negative};
    }
    const int shift = kMantissaBits + 1 - std::bit_width(mantissa);
    return {mantissa << shift, kMinExponent - shift, negative};
}

// An exact product: magnitude · 2^exponent, with the magnitude in [2^104, 2^106).
struct Product {
    U128 magnitude;
    int exponent;
    bool negative;
};

Product multiply(double x, double y) {
    const Unpacked ux = unpack(x);
    const Unpacked uy = unpack(y);
    return {multiplyWide(ux.mantissa, uy.mantissa), ux.exponent + uy.exponent,
            ux.negative != uy.negative};
}

// magnitude · 2^exponent, rounded once to the nearest double, ties to even.
double roundToDouble(const U256& magnitude, int exponent, bool negative) {
    const int width = magnitude.bitWidth();
    // The exponent of the result's last bit: 53 bits below its top, or the subnormal floor.
    const int last = std::max(exponent + width - (kMantissaBits + 1), kMinExponent);
    const int shift = last - exponent;
    uint64_t mantissa = 0;
    if (shift <= 0) {
        mantissa = magnitude.bitsFrom(0) << -shift; // exact; only ever for subnormals
    } else if (shift <= width) {
        mantissa = magnitude.bitsFrom(shift);
        const bool half = magnitude.bit(shift - 1);
        const bool sticky = magnitude.anyBelow(shift - 1);
        if (half && (sticky || (mantissa & 1) != 0)) {
            ++mantissa;
        }
    } // else: less than half of the smallest subnormal, so zero

    int biased = last + kExponentBias;
    if (mantissa >> (kMantissaBits + 1) != 0) { // rounding carried into a new top bit
        mantissa >>= 1;
        ++biased;
    }
    uint64_t bits = 0;
    if (mantissa >= kHiddenBit) {
        if (biased > kMaxBiasedExponent) {
            return negative ? -std::numeric_limits<double>::infinity()
                            : std::numeric_limits<double>::infinity();
        }
        bits = (static_cast<uint64_t>(biased) << kMantissaBits) | (mantissa - kHiddenBit);
    } else {
        bits = mantissa; // subnormal (biased exponent 0)
    }
    return rt::bitCast<double>(bits | (negative ? uint64_t{1} << 63 : 0));
}

} // namespace

double differenceOfProducts(double a, double b, double c, double d) {
    if (a == 0 || b == 0 || c == 0 || d == 0) {
        // With a zero factor one product is exactly zero, and what is left is a single
        // product, rounded once by the hardware; zeros then also get the signs IEEE gives them.
        return (a * b) - (c * d);
    }
    Product big = multiply(a, b);
    Product small = multiply(c, d);
    small.negative = !small.negative; // a·b + (−c·d)
    if (big.exponent < small.exponent) {
        std::swap(big, small);
    }
    const int gap = big.exponent - small.exponent;

    U256 bigPart;
    U256 smallPart;
    int exponent = 0;
    if (gap <= kMaxAlignment) {
        bigPart = U256::shiftedLeft(big.magnitude, gap);
        smallPart = U256::shiftedLeft(small.magnitude, 0);
        exponent = small.exponent;
    } else {
        // The small product lies below 2^(big.exponent − 14), the stand-in at 2^(exponent − 2).
        bigPart = U256::shiftedLeft(big.magnitude, 2);
        smallPart = U256::shiftedLeft(1, 0);
        exponent = big.exponent - 2;
    }

    if (big.negative == small.negative) {
        return roundToDouble(bigPart + smallPart, exponent, big.negative);
    }
    if (smallPart < bigPart) {
        return roundToDouble(bigPart - smallPart, exponent, big.negative);
    }
    if (bigPart < smallPart) {
        return roundToDouble(smallPart - bigPart, exponent, small.negative);
    }
    return 0.0;
}

} // namespace calc
