#pragma once

// Inputs for a·b − c·d in the categories where a cheap formula goes wrong: cancellation, ties,
// the extremes of the range, subnormal results. Each category has its name, how many cases the
// full run takes, and a generator; generators only ever give finite inputs, since fields hold
// nothing else.

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace cases {

using Random = std::mt19937_64;
using Quad = std::array<double, 4>;
using Generator = std::function<Quad(Random&)>;

struct Category {
    const char* name;
    int count; // in the full run against MPFR; the case file holds a tenth
    Generator generate;
};

inline double uniform(Random& r, double lo, double hi) {
    return std::uniform_real_distribution(lo, hi)(r);
}
inline int between(Random& r, int lo, int hi) {
    return std::uniform_int_distribution(lo, hi)(r);
}
inline double randomSign(Random& r) {
    return (r() & 1) != 0 ? -1.0 : 1.0;
}

// A random 53-bit significand times 2^exponent, with a random sign.
inline double withExponent(Random& r, int exponent) {
    return randomSign(r) * std::ldexp(uniform(r, 1.0, 2.0), exponent);
}

inline double randomBits(Random& r) {
    for (;;) {
        const double v = std::bit_cast<double>(r());
        if (std::isfinite(v)) {
            return v;
        }
    }
}

inline double stepUlps(double v, int steps) {
    for (; steps > 0; --steps) {
        v = std::nextafter(v, std::numeric_limits<double>::infinity());
    }
    for (; steps < 0; ++steps) {
        v = std::nextafter(v, -std::numeric_limits<double>::infinity());
    }
    return v;
}

// c·d close to a·b: the difference cancels most of the digits.
inline Quad nearCancellation(Random& r, int lo, int hi) {
    const double a = withExponent(r, between(r, lo, hi));
    const double b = withExponent(r, between(r, lo, hi));
    const double c = withExponent(r, between(r, lo, hi));
    const double d = stepUlps((a * b) / c, between(r, -3, 3));
    return {a, b, c, d};
}

inline Quad withExponents(Random& r, int lo, int hi) {
    return {withExponent(r, between(r, lo, hi)), withExponent(r, between(r, lo, hi)),
            withExponent(r, between(r, lo, hi)), withExponent(r, between(r, lo, hi))};
}

// Odd 27-bit integers: their product is a 54-bit odd integer, exactly halfway between two
// doubles. A tiny second product decides the rounding, which a naive sum gets wrong.
inline Quad midpointWithTinyRest(Random& r) {
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
inline Quad overflowBoundary(Random& r) {
    const double max = std::numeric_limits<double>::max();
    const double a = withExponent(r, between(r, 400, 600));
    const double b = stepUlps(max / std::fabs(a), between(r, -4, 2)) * randomSign(r);
    const double c = withExponent(r, between(r, 400, 600));
    const double d = withExponent(r, between(r, 960 - std::ilogb(c), 1023 - std::ilogb(c)));
    return {a, b, c, d};
}

inline double subnormal(Random& r) {
    return randomSign(r) * std::bit_cast<double>(r() & ((uint64_t{1} << 52) - 1));
}

inline const std::vector<Category>& categories() {
    static const std::vector<Category> list{
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

// A case of `category`, retried until all four inputs are finite.
inline Quad finiteCase(const Category& category, Random& random) {
    for (;;) {
        const Quad q = category.generate(random);
        if (std::all_of(q.begin(), q.end(), [](double v) { return std::isfinite(v); })) {
            return q;
        }
    }
}

// Random decimal texts (ASCII digits, '.', 'e'), from a few digits to many, across the whole
// range of a double and past both ends.
inline std::string decimalText(Random& random, int index) {
    const auto digits = [&](int count) {
        std::string out;
        for (int i = 0; i < count; ++i) {
            out.push_back(static_cast<char>('0' + random() % 10));
        }
        return out;
    };
    const int length = std::uniform_int_distribution(1, index % 10 == 0 ? 60 : 20)(random);
    const int exponent = std::uniform_int_distribution(-360, 330)(random);
    std::string text = digits(length);
    if (random() % 2 != 0) {
        text += "." + digits(std::uniform_int_distribution(1, 20)(random));
    }
    return text + "e" + std::to_string(exponent);
}

} // namespace cases
