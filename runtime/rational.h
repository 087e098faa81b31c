#pragma once

// Exact numbers: what the fields' texts mean and what the command computes with. A decimal
// such as 1.1 has no double; held as the fraction 11/10 it stays what the user typed, and the
// cross product of numbers held so is exact. Doubles come in only at the edges: for the range
// a number may have, and for writing a result that no short text holds exactly.
//
// The big integers are Boost.Multiprecision's (header-only).

#include "runtime/multiprecision.h"

#include <cstdint>
#include <memory>

namespace rt {

using Integer = boost::multiprecision::cpp_int;
using Rational = boost::multiprecision::cpp_rational;

// An exact number, as the command reads, computes and writes them. Nearly every number typed,
// and every product of two of them, is a fraction of two machine integers; held as one, a whole
// Calculate run stays as fast as it was with doubles (a Rational normalises through big-integer
// division at every step, several times slower). Only where a result would not fit does a
// Number hold a Rational, so no value is ever rounded.
class Number {
public:
    Number() = default;
    Number(std::int64_t integer); // NOLINT: an integer is a number
    Number(const Rational& value); // NOLINT: and so is every rational

    // numerator / denominator, reduced; `denominator` must not be zero.
    static Number fraction(std::int64_t numerator, std::int64_t denominator);

    int sign() const;
    Rational exact() const;
    Number operator-() const;

    friend Number operator*(const Number& left, const Number& right);
    friend Number operator-(const Number& left, const Number& right);
    friend Number operator/(const Number& left, const Number& right); // `right` is not zero
    friend bool operator==(const Number& left, const Number& right);

    // Numerator and denominator where they are machine integers (the denominator > 0, the
    // numerator never INT64_MIN, so that its negation fits too).
    bool isSmall() const { return !m_big; }
    std::int64_t smallNumerator() const { return m_numerator; }
    std::int64_t smallDenominator() const { return m_denominator; }

private:
    std::int64_t m_numerator = 0;
    std::int64_t m_denominator = 1;
    std::shared_ptr<const Rational> m_big; // shared, never changed: a copy stays cheap
};

// The double nearest `value`, ties to even, subnormals and zero included; an infinity of its
// sign where that lies beyond the largest double. Boost's own conversion rounds twice in the
// subnormal range (to 53 bits, then again to what the exponent leaves), so this is ours.
double nearestDouble(const Rational& value);
double nearestDouble(const Number& value);

// The bit length of |numerator| less that of the denominator, m: 2^(m - 1) < |value| < 2^(m + 1).
// `value` must not be zero.
long long binaryMagnitude(const Rational& value);

// Whether `value`'s nearest double is infinite: a number Melkora cannot hold.
bool beyondDoubleRange(const Rational& value);
bool beyondDoubleRange(const Number& value);

} // namespace rt
