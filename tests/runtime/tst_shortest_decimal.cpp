// The shortest decimal against the standard library's std::to_chars, which gives the same
// digits by the same definition: digit for digit at the edges of every binary exponent, around
// the powers of ten, and over random doubles.

#include "runtime/bit_cast.h"
#include "runtime/shortest_decimal.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>

namespace {

// The standard library's shortest digits are the reference where it has them: not in libc++ 13,
// the browser build's, where the oracle's cases hold the conversions instead.
#if defined(__cpp_lib_to_chars)

// "ddd" and the exponent of its last digit, as the library writes the value.
std::string libraryDigits(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific);
    const std::string text(buffer, result.ptr);
    const size_t ePos = text.find('e');
    std::string digits = text.substr(0, ePos);
    if (digits.size() > 1) {
        digits.erase(1, 1);
    }
    const int exponent = std::stoi(text.substr(ePos + 1)) - static_cast<int>(digits.size()) + 1;
    return digits + "e" + std::to_string(exponent);
}

std::string ourDigits(double value) {
    const rt::Decimal decimal = rt::shortestDecimal(value);
    return std::to_string(decimal.significand) + "e" + std::to_string(decimal.exponent);
}

TEST(ShortestDecimal, SameDigitsAsTheLibrary) {
    int mismatches = 0;
    const auto check = [&](double value) {
        if (!(value > 0) || !std::isfinite(value)) {
            return;
        }
        const std::string expected = libraryDigits(value);
        if (ourDigits(value) != expected && mismatches++ < 5) {
            ADD_FAILURE() << std::hexfloat << value << ": " << ourDigits(value) << ", library "
                          << expected;
        }
    };
    // Each binary exponent's first, second and last significands, and its middle: the interval
    // is lopsided at a power of two, and the subnormals have a different form.
    constexpr std::uint64_t kLast = (std::uint64_t{1} << 52) - 1;
    for (std::uint64_t exponent = 0; exponent < 2047; ++exponent) {
        for (const std::uint64_t significand : {std::uint64_t{0}, std::uint64_t{1}, kLast - 1,
                                                kLast, std::uint64_t{1} << 51}) {
            check(rt::bitCast<double>(exponent << 52 | significand));
        }
    }
    // Decimal boundaries: the powers of ten and their neighbours, and small integers, which
    // have trailing zeros to drop.
    for (double power = 1e-300; power < 1e300; power *= 10) {
        check(power);
        check(std::nextafter(power, 0.0));
        check(std::nextafter(power, std::numeric_limits<double>::infinity()));
    }
    for (int i = 1; i < 100'000; ++i) {
        check(i);
        check(i * 1e-3);
    }
    std::mt19937_64 random(12071);
    for (int i = 0; i < 1'000'000; ++i) {
        check(rt::bitCast<double>(random() >> 1));
    }
    EXPECT_EQ(mismatches, 0);
}

#endif

} // namespace
