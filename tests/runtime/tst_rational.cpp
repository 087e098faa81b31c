// The rounding of exact numbers to doubles, on a·b − c·d of doubles against the oracle: the
// cases in every category where rounding is hard (ties, the edges of the range, subnormals),
// and the cases that show why. Whatever the target's floating point, a mistake shows here as a
// wrong digit.

#include "runtime/rational.h"
#include "tests/support/oracle_files.h"

#include <cmath>
#include <gtest/gtest.h>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

double exactDifference(double a, double b, double c, double d) {
    return rt::nearestDouble(rt::Rational(a) * rt::Rational(b) - rt::Rational(c) * rt::Rational(d));
}

TEST(NearestDouble, MatchesOracleInEveryCategory) {
    const oracle::Cases& cases = oraclefiles::cases();
    ASSERT_GE(cases.arithmetic.size(), 100'000u) << "no oracle case file, or an incomplete one";
    std::vector<int> checked(cases.categories.size());
    std::vector<int> mismatches(cases.categories.size());
    for (const oracle::ArithmeticCase& c : cases.arithmetic) {
        const double ours = exactDifference(c.a, c.b, c.c, c.d);
        ++checked[static_cast<size_t>(c.category)];
        if (ours != c.exact && mismatches[static_cast<size_t>(c.category)]++ < 3) {
            ADD_FAILURE() << cases.categories[static_cast<size_t>(c.category)] << ": "
                          << std::hexfloat << c.a << '*' << c.b << " - " << c.c << '*' << c.d
                          << ": got " << ours << ", exact " << c.exact;
        }
    }
    for (size_t i = 0; i < cases.categories.size(); ++i) {
        SCOPED_TRACE(cases.categories[i]);
        EXPECT_GT(checked[i], 1000);
        EXPECT_EQ(mismatches[i], 0);
    }
}

TEST(NearestDouble, KnownCases) {
    const double max = std::numeric_limits<double>::max();
    const double inf = std::numeric_limits<double>::infinity();
    const double tiny = std::numeric_limits<double>::denorm_min();
    struct Row {
        const char* name;
        double a, b, c, d;
        double expected;
    };
    const Row rows[] = {
        {"naive rounding loses the last digit", 100000001.0, 100000001.0, 100000000.0, 100000000.0,
         200000001.0},
        {"products too big, difference fine", 1e300, 1e10, 1e300, 1e10, 0.0},
        {"difference beyond range", max, 1.0, -max, 1.0, inf},
        {"negative difference beyond range", -max, 1.0, max, 1.0, -inf},
        {"less than half an ulp past the largest double", max, 1.0, -0x1p969, 1.0, max},
        {"half an ulp past the largest double ties to infinity", max, 1.0, -0x1p970, 1.0, inf},
        {"half an ulp below the largest double ties to even", max, 1.0, 0x1p970, 1.0,
         0x1.ffffffffffffep1023},
        {"underflow to zero", 1e-200, 1e-200, 0.0, 1.0, 0.0},
        {"smallest subnormal survives", 0x1p-600, 0x1p-474, 0.0, 0.0, tiny},
        {"tie to even at the subnormal floor", 0x1p-600, 0x1p-475, 0.0, 0.0, 0.0},
        {"just above half the floor", 0x1p-600, 0x1.0000000000001p-475, 0.0, 0.0, tiny},
        {"a single product rounded once, just above a midpoint", 0x1.0000004000001p0, 0x1.0000002000001p0, 0.0, 1.0,
         0x1.0000006000003p0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(exactDifference(row.a, row.b, row.c, row.d), row.expected);
    }
}

// A Number computes on machine integers until a step would overflow; across that edge, and on
// both sides of it, its arithmetic must agree with the Rational's, and its result be small
// exactly where it fits.
TEST(Number, AgreesWithRationalAcrossTheMachineIntegersEdge) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const std::vector<rt::Rational> values = {
        0, 1, -1, 7, rt::Rational(-3, 4), rt::Rational(1, 3), kMax, -kMax,
        rt::Rational(rt::Integer(kMax) + 1), rt::Rational(-rt::Integer(kMax) - 1),
        rt::Rational(1, kMax), rt::Rational(-kMax, 2), rt::Rational(3037000499LL, 3037000500LL),
        rt::Rational(rt::Integer(1) << 62, 3), rt::Rational(5, rt::Integer(1) << 63),
    };
    const auto canonical = [](const rt::Number& number) {
        const rt::Rational exact = number.exact();
        const auto fits = [](const rt::Integer& n) { return n == 0 || msb(abs(n)) < 63; };
        return number.isSmall() == (fits(numerator(exact)) && fits(denominator(exact)));
    };
    for (const rt::Rational& a : values) {
        for (const rt::Rational& b : values) {
            SCOPED_TRACE(a.str() + " and " + b.str());
            const rt::Number left(a);
            const rt::Number right(b);
            EXPECT_TRUE((left * right).exact() == a * b && canonical(left * right));
            EXPECT_TRUE((left - right).exact() == a - b && canonical(left - right));
            EXPECT_TRUE((-left).exact() == -a && canonical(-left));
            if (b != 0) {
                EXPECT_TRUE((left / right).exact() == a / b && canonical(left / right));
            }
            EXPECT_EQ(left == right, a == b);
        }
    }
}

} // namespace
