// Writes the oracle's case file (oracle_cases.h) for the core's tests on every target:
//
//   make_oracle_cases <file>
//
// A tenth of each arithmetic category of the full MPFR run, random decimal texts, and vectors
// typed as people type them (decimals, exponents, fractions; parallel, nearly parallel and
// random pairs) in two locales, with what GMP's exact rationals make of their cross product.

#include "tests/support/case_generators.h"
#include "tests/support/mpfr_oracle.h"
#include "tests/support/oracle_cases.h"

#include <cfloat>
#include <cstdio>
#include <gmpxx.h>

namespace {

// The double nearest `value`, rounded once by MPFR in a double's own exponent range.
double nearestDouble(const mpq_class& value) {
    const mpfr_exp_t emin = mpfr_get_emin();
    const mpfr_exp_t emax = mpfr_get_emax();
    mpfr_set_emin(-1073);
    mpfr_set_emax(1024);
    oracle::Number rounded(53);
    const int inexact = mpfr_set_q(rounded.get(), value.get_mpq_t(), MPFR_RNDN);
    mpfr_subnormalize(rounded.get(), inexact, MPFR_RNDN);
    const double nearest = mpfr_get_d(rounded.get(), MPFR_RNDN);
    mpfr_set_emin(emin);
    mpfr_set_emax(emax);
    return nearest;
}

int digitCount(const mpz_class& n) {
    return static_cast<int>(mpz_class(abs(n)).get_str().size());
}

// The significant digits of `value` as a decimal, or 0 where no decimal holds it.
int decimalDigits(const mpq_class& value) {
    if (value == 0) {
        return 1;
    }
    mpz_class rest = value.get_den();
    int twos = 0;
    int fives = 0;
    for (; rest % 2 == 0; rest /= 2) {
        ++twos;
    }
    for (; rest % 5 == 0; rest /= 5) {
        ++fives;
    }
    if (rest != 1) {
        return 0;
    }
    mpz_class scaled = abs(value.get_num());
    for (int i = twos; i < std::max(twos, fives); ++i) {
        scaled *= 2;
    }
    for (int i = fives; i < std::max(twos, fives); ++i) {
        scaled *= 5;
    }
    while (scaled % 10 == 0) {
        scaled /= 10;
    }
    return digitCount(scaled);
}

// How a person might type `value`: an integer, a plain decimal, or a fraction.
std::string typed(const mpq_class& value, const std::string& separator) {
    if (value.get_den() == 1) {
        return value.get_num().get_str();
    }
    if (decimalDigits(value) == 0 || decimalDigits(value) > 30) {
        return value.get_num().get_str() + "/" + value.get_den().get_str();
    }
    mpz_class power = 1;
    while (mpq_class(value * power).get_den() != 1) {
        power *= 10;
    }
    const mpz_class digits = abs(mpz_class(value * power));
    const mpz_class whole = digits / power;
    const mpz_class fraction = digits % power + power; // with a leading 1 that keeps its zeros
    return (value < 0 ? "-" : "") + whole.get_str() + separator + fraction.get_str().substr(1);
}

struct Operand {
    mpq_class value;
    std::string text;
};

class TypedVectors {
public:
    TypedVectors(std::string locale, std::string separator, unsigned seed)
        : m_locale(std::move(locale)), m_separator(std::move(separator)), m_random(seed) {}

    oracle::TypedVectorCase next(int index) {
        std::array<Operand, 6> operands;
        for (Operand& operand : operands) {
            operand = randomOperand();
        }
        if (index % 4 == 1 || index % 8 == 2) {
            // The second vector a multiple of the first, typed from its exact values.
            const mpq_class factor = randomOperand().value;
            for (size_t i = 0; i < 3; ++i) {
                mpq_class value = operands[i].value * (factor == 0 ? mpq_class(3, 7) : factor);
                if (index % 8 == 2 && i == 2) {
                    value += mpq_class(1, 1'000'000'000'000); // nearly parallel, not quite
                }
                operands[i + 3] = {value, typed(value, m_separator)};
            }
        }
        if (index % 40 == 3 || index % 40 == 7) {
            // Far out: products beyond the largest double, or below the smallest.
            const bool large = index % 40 == 3;
            operands[1] = farOut(large);
            operands[5] = farOut(large);
            if (!large) {
                operands[2] = {0, "0"}; // so that x is b·f alone
            }
        }
        return caseOf(operands);
    }

private:
    Operand farOut(bool large) {
        const int mantissa = cases::between(m_random, 1, 99);
        // Large: 10^300 to 10^500 a product. Small: 10^-330 to 10^-300, zero, subnormal or normal.
        const int exponent = large ? cases::between(m_random, 150, 250) : -cases::between(m_random, 150, 165);
        mpz_class power = 1;
        for (int i = 0; i < std::abs(exponent); ++i) {
            power *= 10;
        }
        const mpq_class value = large ? mpq_class(mantissa * power) : mpq_class(mantissa, power);
        return {value, std::to_string(mantissa) + "e" + std::to_string(exponent)};
    }

    Operand randomOperand() {
        const auto between = [&](int lo, int hi) { return cases::between(m_random, lo, hi); };
        const bool negative = between(0, 3) == 0;
        mpq_class value;
        std::string text;
        switch (between(0, 4)) {
        case 0: // an integer
            value = between(0, 999'999);
            text = value.get_num().get_str();
            break;
        case 1: // a short decimal
        case 2: {
            const int places = between(1, 6);
            value = mpq_class(between(0, 9'999'999), 1);
            for (int i = 0; i < places; ++i) {
                value /= 10;
            }
            text = typed(value, m_separator);
            break;
        }
        case 3: { // an exponent, far out now and then, to reach overflow and underflow
            const int exponent = between(0, 9) == 0 ? between(-200, 200) : between(-12, 12);
            const int mantissa = between(1, 99'999);
            value = mantissa;
            mpq_class power = 1;
            for (int i = 0; i < std::abs(exponent); ++i) {
                power *= 10;
            }
            if (exponent < 0) {
                value /= power;
            } else {
                value *= power;
            }
            text = std::to_string(mantissa) + (between(0, 1) ? "e" : "E") + std::to_string(exponent);
            break;
        }
        default: { // a fraction, written as people write them
            const int top = between(0, 999);
            const int bottom = between(1, 999);
            value = mpq_class(top, bottom);
            value.canonicalize();
            static const char* const kSlashes[] = {"/", " / ", "\xE2\x81\x84"}; // U+2044
            const bool signBelow = negative && between(0, 1) == 0;
            text = std::to_string(top) + kSlashes[between(0, 2)] + (signBelow ? "-" : "") +
                   std::to_string(bottom);
            if (signBelow) {
                return {-value, text};
            }
        }
        }
        return negative ? Operand{-value, "-" + text} : Operand{value, text};
    }

    oracle::TypedVectorCase caseOf(const std::array<Operand, 6>& operands) {
        oracle::TypedVectorCase c;
        c.locale = m_locale;
        for (size_t i = 0; i < 6; ++i) {
            c.texts[i] = operands[i].text;
        }
        static constexpr std::array<std::array<int, 4>, 3> kProducts{
            {{1, 5, 2, 4}, {2, 3, 0, 5}, {0, 4, 1, 3}}};
        c.notice = true;
        for (size_t i = 0; i < 3; ++i) {
            const auto& p = kProducts[i];
            const mpq_class first = operands[p[0]].value * operands[p[1]].value;
            const mpq_class second = operands[p[2]].value * operands[p[3]].value;
            const mpq_class exact = first - second;
            if (std::isinf(nearestDouble(first)) || std::isinf(nearestDouble(second)) ||
                std::isinf(nearestDouble(exact))) {
                c.overflow = std::string(1, static_cast<char>('x' + i));
                c.notice = false;
                return c;
            }
            oracle::TypedVectorCase::Component& component = c.components[i];
            component.numerator = exact.get_num().get_str();
            component.denominator = exact.get_den().get_str();
            component.nearest = nearestDouble(exact);
            const int digits = decimalDigits(exact);
            component.exactlyWritable =
                exact == 0 || (std::fabs(component.nearest) >= DBL_MIN &&
                               ((digits > 0 && digits <= 17) ||
                                digitCount(exact.get_num()) + digitCount(exact.get_den()) <= 17));
            c.notice = c.notice && component.nearest == 0;
        }
        return c;
    }

    std::string m_locale;
    std::string m_separator;
    cases::Random m_random;
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: make_oracle_cases <file>\n", stderr);
        return 2;
    }
    oracle::Cases cases;
    const auto& categories = cases::categories();
    for (size_t i = 0; i < categories.size(); ++i) {
        cases.categories.emplace_back(categories[i].name);
        cases::Random random(500 + i);
        for (int n = 0; n < categories[i].count / 10; ++n) {
            const auto [a, b, c, d] = cases::finiteCase(categories[i], random);
            cases.arithmetic.push_back(
                {static_cast<int>(i), a, b, c, d, oracle::differenceOfProducts(a, b, c, d)});
        }
    }
    cases::Random random(2880);
    for (int n = 0; n < 20'000; ++n) {
        std::string text = cases::decimalText(random, n);
        const double exact = oracle::decimalToDouble(text);
        cases.decimal.push_back({std::move(text), exact});
    }
    unsigned seed = 37;
    for (const auto& [locale, separator] : {std::pair{"en_US", "."}, std::pair{"de_DE", ","}}) {
        TypedVectors vectors(locale, separator, ++seed);
        for (int n = 0; n < 1200; ++n) {
            cases.typedVectors.push_back(vectors.next(n));
        }
    }
    if (!oracle::writeCases(argv[1], cases)) {
        std::fprintf(stderr, "make_oracle_cases: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
