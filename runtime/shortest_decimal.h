#pragma once

// The shortest decimal that reads back as exactly the given double, by Ulf Adams's Ryū
// algorithm (PLDI 2018): the same digits std::to_chars writes, from 128-bit multiplications and
// two tables of powers of five. It is ours because libstdc++ links its to_chars for double as
// one piece with the fixed-precision and long double code and their tables, which would be
// two-fifths of the Windows program.

#include <cstdint>

namespace rt {

// significand × 10^exponent, with no trailing zero in the significand (at most 17 digits).
struct Decimal {
    std::uint64_t significand = 0;
    int exponent = 0;
};

// For a finite double above zero: of the decimals that read back as `value`, one with the
// fewest digits; of those, the nearest to `value`; of two equally near, the one ending in an
// even digit.
Decimal shortestDecimal(double value);

} // namespace rt
