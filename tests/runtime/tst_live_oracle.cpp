// Exact arithmetic rounded to doubles, and the text conversion, against MPFR itself, live: over a million cases of
// a·b − c·d in every category, and the cases the oracle is known to answer. Linux only, where
// MPFR is; every target runs a tenth of these from the oracle's case file.

#include "runtime/rational.h"
#include "tests/support/case_generators.h"
#include "tests/support/mpfr_oracle.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(LiveOracle, ArithmeticInEveryCategory) {
    const auto& categories = cases::categories();
    for (size_t i = 0; i < categories.size(); ++i) {
        SCOPED_TRACE(categories[i].name);
        cases::Random random(1000 + i);
        int mismatches = 0;
        for (int n = 0; n < categories[i].count; ++n) {
            const auto [a, b, c, d] = cases::finiteCase(categories[i], random);
            const double ours = rt::nearestDouble(rt::Rational(a) * rt::Rational(b) -
                                                  rt::Rational(c) * rt::Rational(d));
            const double exact = oracle::differenceOfProducts(a, b, c, d);
            if (ours != exact && mismatches++ < 5) {
                std::fprintf(stderr, "%a*%a - %a*%a: got %a, exact %a\n", a, b, c, d, ours, exact);
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

// The oracle's own rounding, at the edges where it does the work by hand.
TEST(LiveOracle, OracleKnowsTheEdges) {
    const double max = std::numeric_limits<double>::max();
    const double tiny = std::numeric_limits<double>::denorm_min();
    EXPECT_EQ(oracle::differenceOfProducts(100000001.0, 100000001.0, 100000000.0, 100000000.0),
              200000001.0);
    EXPECT_EQ(oracle::differenceOfProducts(max, 1.0, -max, 1.0),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(oracle::differenceOfProducts(max, 1.0, -0x1p969, 1.0), max);
    EXPECT_EQ(oracle::differenceOfProducts(max, 1.0, -0x1p970, 1.0),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(oracle::differenceOfProducts(0x1p-600, 0x1p-474, 0.0, 0.0), tiny);
    EXPECT_EQ(oracle::differenceOfProducts(0x1p-600, 0x1p-475, 0.0, 0.0), 0.0);
    EXPECT_EQ(oracle::decimalToDouble("2.5e-324"), tiny);
    EXPECT_EQ(oracle::decimalToDouble("1.7976931348623159e308"),
              std::numeric_limits<double>::infinity());
}

} // namespace
