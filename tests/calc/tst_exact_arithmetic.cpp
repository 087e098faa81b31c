// a·b − c·d against an exact oracle, over a million and more inputs in the categories where a
// cheap formula goes wrong: cancellation, ties, the extremes of the range, subnormal results.

#include "calc/exact_arithmetic.h"
#include "tests/support/mpfr_oracle.h"

#include <QTest>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <random>

namespace {

using Random = std::mt19937_64;
using Quad = std::array<double, 4>;
using Generator = std::function<Quad(Random&)>;

double uniform(Random& r, double lo, double hi) {
    return std::uniform_real_distribution(lo, hi)(r);
}
int between(Random& r, int lo, int hi) {
    return std::uniform_int_distribution(lo, hi)(r);
}
double randomSign(Random& r) {
    return (r() & 1) != 0 ? -1.0 : 1.0;
}

// A random 53-bit significand times 2^exponent, with a random sign.
double withExponent(Random& r, int exponent) {
    return randomSign(r) * std::ldexp(uniform(r, 1.0, 2.0), exponent);
}

double randomBits(Random& r) {
    for (;;) {
        const double v = std::bit_cast<double>(r());
        if (std::isfinite(v)) {
            return v;
        }
    }
}

double stepUlps(double v, int steps) {
    for (; steps > 0; --steps) {
        v = std::nextafter(v, std::numeric_limits<double>::infinity());
    }
    for (; steps < 0; ++steps) {
        v = std::nextafter(v, -std::numeric_limits<double>::infinity());
    }
    return v;
}

// c·d close to a·b: the difference cancels most of the digits.
Quad nearCancellation(Random& r, int lo, int hi) {
    const double a = withExponent(r, between(r, lo, hi));
    const double b = withExponent(r, between(r, lo, hi));
    const double c = withExponent(r, between(r, lo, hi));
    const double d = stepUlps((a * b) / c, between(r, -3, 3));
    return {a, b, c, d};
}

Quad withExponents(Random& r, int lo, int hi) {
    return {withExponent(r, between(r, lo, hi)), withExponent(r, between(r, lo, hi)),
            withExponent(r, between(r, lo, hi)), withExponent(r, between(r, lo, hi))};
}

// Odd 27-bit integers: their product is a 54-bit odd integer, exactly halfway between two
// doubles. A tiny second product decides the rounding, which a naive sum gets wrong.
Quad midpointWithTinyRest(Random& r) {
    const auto odd = [&] {
        return static_cast<double>((r() & ((1u << 27) - 1)) | (1u << 26) | 1u);
    };
    const int scale = between(r, -300, 300);
    const double a = std::ldexp(odd(), scale);
    const double b = odd();
    return {a, b, withExponent(r, scale - between(r, 40, 800)),
            withExponent(r, between(r, -60, 0))};
}

// a·b near the largest double, c·d pushing across or pulling back.
Quad overflowBoundary(Random& r) {
    const double max = std::numeric_limits<double>::max();
    const double a = withExponent(r, between(r, 400, 600));
    const double b = stepUlps(max / std::fabs(a), between(r, -4, 2)) * randomSign(r);
    const double c = withExponent(r, between(r, 400, 600));
    const double d = withExponent(r, between(r, 960 - std::ilogb(c), 1023 - std::ilogb(c)));
    return {a, b, c, d};
}

double subnormal(Random& r) {
    return randomSign(r) * std::bit_cast<double>(r() & ((uint64_t{1} << 52) - 1));
}

const std::vector<std::tuple<const char*, int, Generator>>& categories() {
    static const std::vector<std::tuple<const char*, int, Generator>> list{
        {"uniform in [-1, 1]", 150'000,
         [](Random& r) {
             return Quad{uniform(r, -1, 1), uniform(r, -1, 1), uniform(r, -1, 1),
                         uniform(r, -1, 1)};
         }},
        {"random bit patterns", 150'000,
         [](Random& r) {
             return Quad{randomBits(r), randomBits(r), randomBits(r), randomBits(r)};
         }},
        {"integers a user types", 100'000,
         [](Random& r) {
             const auto n = [&] {
                 return static_cast<double>(between(r, -1'000'000'000, 1'000'000'000));
             };
             return Quad{n(), n(), n(), n()};
         }},
        {"near cancellation, moderate range", 150'000,
         [](Random& r) {
             return nearCancellation(r, -40, 40);
         }},
        {"near cancellation, whole range", 100'000,
         [](Random& r) {
             return nearCancellation(r, -500, 500);
         }},
        {"exact midpoints with a tiny second product", 100'000, midpointWithTinyRest},
        {"tiny products", 100'000,
         [](Random& r) {
             return withExponents(r, -1074, -400);
         }},
        {"huge products", 100'000,
         [](Random& r) {
             return withExponents(r, 400, 1023);
         }},
        {"overflow boundary", 50'000, overflowBoundary},
        {"subnormal results", 100'000,
         [](Random& r) {
             return nearCancellation(r, -560, -480);
         }},
        {"subnormal inputs", 50'000,
         [](Random& r) {
             return Quad{subnormal(r), withExponent(r, between(r, 0, 1100)), subnormal(r),
                         withExponent(r, between(r, 0, 1100))};
         }},
        {"normal/subnormal boundary", 50'000,
         [](Random& r) {
             const double a = withExponent(r, between(r, -520, -500));
             const double b = withExponent(r, -1022 - std::ilogb(a) + between(r, -2, 1));
             return Quad{a, b, withExponent(r, -600), withExponent(r, between(r, -480, -420))};
         }},
        {"zeros among the factors", 20'000,
         [](Random& r) {
             Quad q{randomBits(r), randomBits(r), randomBits(r), randomBits(r)};
             q[static_cast<size_t>(between(r, 0, 3))] = randomSign(r) * 0.0;
             return q;
         }},
    };
    return list;
}

} // namespace

class TestExactArithmetic : public QObject {
    Q_OBJECT

private slots:
    void matchesOracle_data();
    void matchesOracle();
    void knownCases_data();
    void knownCases();
};

void TestExactArithmetic::matchesOracle_data() {
    QTest::addColumn<int>("category");
    for (size_t i = 0; i < categories().size(); ++i) {
        QTest::newRow(std::get<0>(categories()[i])) << static_cast<int>(i);
    }
}

void TestExactArithmetic::matchesOracle() {
    QFETCH(int, category);
    const auto& [name, count, generate] = categories()[static_cast<size_t>(category)];
    Random random(1000 + static_cast<unsigned>(category));
    int mismatches = 0;
    for (int i = 0; i < count; ++i) {
        // Fields only ever hold finite numbers; a generator that strays past the range retries.
        Quad q = generate(random);
        while (!std::all_of(q.begin(), q.end(), [](double v) { return std::isfinite(v); })) {
            q = generate(random);
        }
        const auto [a, b, c, d] = q;
        const double ours = calc::differenceOfProducts(a, b, c, d);
        const double exact = oracle::differenceOfProducts(a, b, c, d);
        if (ours != exact && mismatches++ < 5) {
            std::fprintf(stderr, "%a*%a - %a*%a: got %a, exact %a\n", a, b, c, d, ours, exact);
        }
    }
    QCOMPARE(mismatches, 0);
}

void TestExactArithmetic::knownCases_data() {
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("c");
    QTest::addColumn<double>("d");
    QTest::addColumn<double>("expected");

    const double max = std::numeric_limits<double>::max();
    const double inf = std::numeric_limits<double>::infinity();
    const double tiny = std::numeric_limits<double>::denorm_min();
    QTest::newRow("naive rounding loses the last digit")
        << 100000001.0 << 100000001.0 << 100000000.0 << 100000000.0 << 200000001.0;
    QTest::newRow("products too big, difference fine") << 1e300 << 1e10 << 1e300 << 1e10 << 0.0;
    QTest::newRow("difference beyond range") << max << 1.0 << -max << 1.0 << inf;
    QTest::newRow("negative difference beyond range") << -max << 1.0 << max << 1.0 << -inf;
    QTest::newRow("just within range") << max << 1.0 << 0x1p970 << 1.0 << max;
    QTest::newRow("underflow to zero") << 1e-200 << 1e-200 << 0.0 << 1.0 << 0.0;
    QTest::newRow("smallest subnormal survives") << 0x1p-600 << 0x1p-474 << 0.0 << 0.0 << tiny;
    QTest::newRow("tie to even at the subnormal floor")
        << 0x1p-600 << 0x1p-475 << 0.0 << 0.0 << 0.0;
    QTest::newRow("just above half the floor")
        << 0x1p-600 << 0x1.0000000000001p-475 << 0.0 << 0.0 << tiny;
}

void TestExactArithmetic::knownCases() {
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, c);
    QFETCH(double, d);
    QFETCH(double, expected);
    QCOMPARE(calc::differenceOfProducts(a, b, c, d), expected);
    QCOMPARE(oracle::differenceOfProducts(a, b, c, d), expected);
}

QTEST_APPLESS_MAIN(TestExactArithmetic)
#include "tst_exact_arithmetic.moc"
