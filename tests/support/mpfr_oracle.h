#pragma once

// Exact answers from MPFR, to hold the arithmetic and the conversions against.
//
// MPFR's default exponent range is far wider than a double's, so products of doubles and their
// differences are exact at enough precision; the one rounding to a double, with its subnormals
// and its overflow, is done here by hand rather than trusting a range switch.

#include <cmath>
#include <limits>
#include <mpfr.h>
#include <string>

namespace oracle {

// Enough bits for the exact difference of any two products of doubles: their exponents lie
// at most about 4300 bits apart, and each has 106 bits.
inline constexpr mpfr_prec_t kExactBits = 4400;

class Number {
public:
    explicit Number(mpfr_prec_t bits) { mpfr_init2(m_value, bits); }
    ~Number() { mpfr_clear(m_value); }
    Number(const Number&) = delete;
    Number& operator=(const Number&) = delete;
    mpfr_ptr get() { return m_value; }

private:
    mpfr_t m_value;
};

// `value` rounded once to the nearest double (ties to even), with subnormals and overflow to
// infinity as IEEE 754 has them. `value` is changed.
inline double roundToDouble(mpfr_ptr value) {
    if (mpfr_zero_p(value)) {
        return mpfr_signbit(value) ? -0.0 : 0.0;
    }
    const bool negative = mpfr_signbit(value) != 0;
    const double infinity = negative ? -std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::infinity();
    const mpfr_exp_t exponent = mpfr_get_exp(value); // value in [2^(exponent-1), 2^exponent)
    if (exponent > 1024) {
        return infinity;
    }
    // The bits a double has for this value: 53 for normal numbers, fewer for subnormals.
    const mpfr_exp_t bits = exponent >= -1021 ? 53 : exponent + 1074;
    if (bits <= 0) {
        // Below 2^-1074: rounds to the smallest subnormal if above its half, else to zero.
        Number half(2);
        mpfr_set_ui_2exp(half.get(), 1, -1075, MPFR_RNDN);
        const int above = mpfr_cmpabs(value, half.get()) > 0;
        const double tiny = above ? std::numeric_limits<double>::denorm_min() : 0.0;
        return negative ? -tiny : tiny;
    }
    mpfr_prec_round(value, bits, MPFR_RNDN);
    if (mpfr_get_exp(value) > 1024) {
        return infinity;
    }
    return mpfr_get_d(value, MPFR_RNDN); // exact now
}

// a·b − c·d, rounded once.
inline double differenceOfProducts(double a, double b, double c, double d) {
    Number ab(106), cd(106), difference(kExactBits);
    mpfr_set_d(difference.get(), a, MPFR_RNDN);
    mpfr_mul_d(ab.get(), difference.get(), b, MPFR_RNDN);
    mpfr_set_d(difference.get(), c, MPFR_RNDN);
    mpfr_mul_d(cd.get(), difference.get(), d, MPFR_RNDN);
    mpfr_sub(difference.get(), ab.get(), cd.get(), MPFR_RNDN);
    return roundToDouble(difference.get());
}

// The double nearest the decimal number `text` (ASCII digits, '.', 'e'), rounded once.
inline double decimalToDouble(const std::string& text) {
    Number value(3000);
    mpfr_strtofr(value.get(), text.c_str(), nullptr, 10, MPFR_RNDN);
    return roundToDouble(value.get());
}

} // namespace oracle
