#include "runtime/shortest_decimal.h"

#include "runtime/bit_cast.h"
#include "runtime/multiprecision.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace rt {

namespace {

using std::uint32_t;
using std::uint64_t;

constexpr int kMantissaBits = 52;
constexpr int kExponentBias = 1023;
constexpr int kPow5Bits = 125;    // significant bits of each power of five in the tables
constexpr int kPow5InvBits = 125; // and of each reciprocal

// ⌈log2 5^e⌉ for e ≥ 1, and 1 for e = 0: the bit length of 5^e.
constexpr int pow5Bits(int e) {
    return static_cast<int>((static_cast<uint32_t>(e) * 1217359) >> 19) + 1;
}
// ⌊log10 2^e⌋ and ⌊log10 5^e⌋, for 0 ≤ e ≤ 1650.
constexpr int log10Pow2(int e) {
    return static_cast<int>((static_cast<uint32_t>(e) * 78913) >> 18);
}
constexpr int log10Pow5(int e) {
    return static_cast<int>((static_cast<uint32_t>(e) * 732923) >> 20);
}

// 125-bit numbers, as two 64-bit halves.
struct Split {
    uint64_t low = 0;
    uint64_t high = 0;
};

#include "runtime/pow5_tables.inc"

// (m · factor) >> shift, for shift ≥ 64; the 192-bit product never exists whole.
uint64_t mulShift(uint64_t m, const Split& factor, int shift) {
    using U128 = boost::multiprecision::uint128_t;
    const U128 low = U128(m) * factor.low;
    const U128 high = U128(m) * factor.high;
    const U128 sum = (low >> 64) + high;
    return static_cast<uint64_t>(sum >> (shift - 64));
}

int pow5Factor(uint64_t value) {
    int count = 0;
    while (value % 5 == 0) {
        value /= 5;
        ++count;
    }
    return count;
}

bool multipleOfPowerOf5(uint64_t value, int p) {
    return pow5Factor(value) >= p;
}

bool multipleOfPowerOf2(uint64_t value, int p) {
    return (value & ((uint64_t{1} << p) - 1)) == 0;
}

} // namespace

Decimal shortestDecimal(double value) {
    const auto bits = rt::bitCast<uint64_t>(value);
    const uint64_t ieeeMantissa = bits & ((uint64_t{1} << kMantissaBits) - 1);
    const auto ieeeExponent = static_cast<int>((bits >> kMantissaBits) & 0x7FF);

    // value = m2 · 2^e2, with two more bits below for the bounds of its rounding interval.
    int e2 = 0;
    uint64_t m2 = 0;
    if (ieeeExponent == 0) {
        e2 = 1 - kExponentBias - kMantissaBits - 2;
        m2 = ieeeMantissa;
    } else {
        e2 = ieeeExponent - kExponentBias - kMantissaBits - 2;
        m2 = (uint64_t{1} << kMantissaBits) | ieeeMantissa;
    }
    // A round-to-even reader takes the interval's ends for an even mantissa.
    const bool acceptBounds = (m2 & 1) == 0;

    // The interval is [mm, mp] around mv, in quarters of the last place; at a power of two the
    // gap below is half the gap above.
    const uint64_t mv = 4 * m2;
    const uint64_t mmShift = (ieeeMantissa != 0 || ieeeExponent <= 1) ? 1 : 0;

    // vr, vp, vm: mv, mp and mm divided by 10^e10, truncated; and whether the truncation lost
    // only zeros, where that can happen.
    uint64_t vr = 0;
    uint64_t vp = 0;
    uint64_t vm = 0;
    int e10 = 0;
    bool vmIsTrailingZeros = false;
    bool vrIsTrailingZeros = false;
    const auto scaleAll = [&](const Split& factor, int shift) {
        vr = mulShift(4 * m2, factor, shift);
        vp = mulShift(4 * m2 + 2, factor, shift);
        vm = mulShift(4 * m2 - 1 - mmShift, factor, shift);
    };
    if (e2 >= 0) {
        const int q = log10Pow2(e2) - (e2 > 3 ? 1 : 0);
        e10 = q;
        const int k = kPow5InvBits + pow5Bits(q) - 1;
        scaleAll(kPow5Inv[static_cast<size_t>(q)], -e2 + q + k);
        if (q <= 21) {
            // At most one of mp, mv and mm is a multiple of 5.
            if (mv % 5 == 0) {
                vrIsTrailingZeros = multipleOfPowerOf5(mv, q);
            } else if (acceptBounds) {
                vmIsTrailingZeros = multipleOfPowerOf5(mv - 1 - mmShift, q);
            } else {
                vp -= multipleOfPowerOf5(mv + 2, q) ? 1 : 0;
            }
        }
    } else {
        const int q = log10Pow5(-e2) - (-e2 > 1 ? 1 : 0);
        e10 = q + e2;
        const int i = -e2 - q;
        const int k = pow5Bits(i) - kPow5Bits;
        scaleAll(kPow5[static_cast<size_t>(i)], q - k);
        if (q <= 1) {
            // mv = 4·m2 has two trailing zero bits; mm has one exactly when mmShift is 1.
            vrIsTrailingZeros = true;
            if (acceptBounds) {
                vmIsTrailingZeros = mmShift == 1;
            } else {
                --vp;
            }
        } else if (q < 63) {
            vrIsTrailingZeros = multipleOfPowerOf2(mv, q);
        }
    }

    // Drop digits while the interval still holds a shorter number, remembering what rounding
    // the digits dropped from vr call for.
    int removed = 0;
    uint64_t lastRemovedDigit = 0;
    const auto dropDigit = [&] {
        vrIsTrailingZeros &= lastRemovedDigit == 0;
        lastRemovedDigit = vr % 10;
        vr /= 10;
        vp /= 10;
        vm /= 10;
        ++removed;
    };
    while (vp / 10 > vm / 10) {
        vmIsTrailingZeros &= vm % 10 == 0;
        dropDigit();
    }
    // Where mm itself is acceptable and ends in zeros, so can the output.
    if (vmIsTrailingZeros) {
        while (vm % 10 == 0) {
            dropDigit();
        }
    }
    if (vrIsTrailingZeros && lastRemovedDigit == 5 && vr % 2 == 0) {
        lastRemovedDigit = 4; // exactly halfway: to even
    }
    // vr is taken as it is unless it lies outside the interval or the digits dropped round up.
    const bool belowInterval = vr == vm && (!acceptBounds || !vmIsTrailingZeros);
    const uint64_t output = vr + ((belowInterval || lastRemovedDigit >= 5) ? 1 : 0);

    Decimal result{output, e10 + removed};
    while (result.significand % 10 == 0) {
        result.significand /= 10;
        ++result.exponent;
    }
    return result;
}

} // namespace rt
