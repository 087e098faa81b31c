#pragma once

// An unsigned 128-bit integer with the few operations the exact arithmetic and the shortest
// decimal need. Where the compiler has one (64-bit GCC and Clang) it is the built-in type;
// 32-bit targets have none, and get a pair of 64-bit halves with the same operators.
// MELKORA_PORTABLE_INT128 forces the pair, so that the tests can hold it against the oracle on
// any machine.

#include <cstdint>

namespace rt {

#if defined(__SIZEOF_INT128__) && !defined(MELKORA_PORTABLE_INT128)

__extension__ typedef unsigned __int128 U128;

// The full product of two 64-bit integers.
inline U128 multiplyWide(std::uint64_t a, std::uint64_t b) {
    return U128{a} * b;
}

#else

class U128 {
public:
    constexpr U128() = default;
    constexpr U128(std::uint64_t low) // NOLINT(google-explicit-constructor): as the built-in
        : m_lo(low) {}
    constexpr U128(std::uint64_t high, std::uint64_t low)
        : m_hi(high)
        , m_lo(low) {}

    explicit constexpr operator std::uint64_t() const { return m_lo; }

    // Shifts by 0 to 127 places, as the built-in type allows.
    friend constexpr U128 operator<<(U128 v, int shift) {
        if (shift == 0) {
            return v;
        }
        if (shift >= 64) {
            return {v.m_lo << (shift - 64), 0};
        }
        return {(v.m_hi << shift) | (v.m_lo >> (64 - shift)), v.m_lo << shift};
    }
    friend constexpr U128 operator>>(U128 v, int shift) {
        if (shift == 0) {
            return v;
        }
        if (shift >= 64) {
            return {0, v.m_hi >> (shift - 64)};
        }
        return {v.m_hi >> shift, (v.m_lo >> shift) | (v.m_hi << (64 - shift))};
    }
    friend constexpr U128 operator|(U128 l, U128 r) { return {l.m_hi | r.m_hi, l.m_lo | r.m_lo}; }
    friend constexpr U128 operator&(U128 l, U128 r) { return {l.m_hi & r.m_hi, l.m_lo & r.m_lo}; }
    friend constexpr U128 operator+(U128 l, U128 r) {
        const std::uint64_t lo = l.m_lo + r.m_lo;
        return {l.m_hi + r.m_hi + (lo < l.m_lo ? 1 : 0), lo};
    }
    friend constexpr U128 operator-(U128 l, U128 r) {
        return {l.m_hi - r.m_hi - (l.m_lo < r.m_lo ? 1 : 0), l.m_lo - r.m_lo};
    }
    friend constexpr bool operator==(U128 l, U128 r) {
        return l.m_hi == r.m_hi && l.m_lo == r.m_lo;
    }
    friend constexpr bool operator<(U128 l, U128 r) {
        return l.m_hi != r.m_hi ? l.m_hi < r.m_hi : l.m_lo < r.m_lo;
    }

private:
    std::uint64_t m_hi = 0;
    std::uint64_t m_lo = 0;
};

// The full product of two 64-bit integers, from four 32-bit partial products.
constexpr U128 multiplyWide(std::uint64_t a, std::uint64_t b) {
    constexpr std::uint64_t kLow = 0xFFFFFFFF;
    const std::uint64_t low = (a & kLow) * (b & kLow);
    const std::uint64_t cross1 = (a & kLow) * (b >> 32);
    const std::uint64_t cross2 = (a >> 32) * (b & kLow);
    const std::uint64_t high = (a >> 32) * (b >> 32);
    const std::uint64_t middle = (low >> 32) + (cross1 & kLow) + (cross2 & kLow);
    return {high + (cross1 >> 32) + (cross2 >> 32) + (middle >> 32), (middle << 32) | (low & kLow)};
}

#endif

} // namespace rt
