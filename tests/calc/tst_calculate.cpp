// The Calculate command over a plain map of fields: the results, where a run stops on bad
// input or overflow and what it leaves behind, and the notice for parallel vectors.

#include "calc/calculate.h"
#include "runtime/error.h"
#include "runtime/message_box.h"
#include "tests/support/locales.h"
#include "tests/support/map_fields.h"
#include "tests/support/oracle_files.h"
#include "tests/support/utf8.h"

#include <array>
#include <gtest/gtest.h>
#include <optional>
#include <random>

namespace {

using Vector = std::array<double, 3>;

const rt::NumberFormat& usFormat() {
    static const rt::NumberFormat format(testlocales::symbols("en_US"));
    return format;
}

MapFields fieldsFor(const Vector& u, const Vector& v) {
    MapFields fields;
    for (size_t i = 0; i < 3; ++i) {
        fields.set(std::u16string(1, static_cast<char16_t>(u'a' + i)),
                   usFormat().toText(rt::Rational(u[i])));
        fields.set(std::u16string(1, static_cast<char16_t>(u'd' + i)),
                   usFormat().toText(rt::Rational(v[i])));
    }
    return fields;
}

Vector resultOf(const MapFields& fields) {
    Vector result{};
    for (size_t i = 0; i < 3; ++i) {
        const std::u16string name(1, static_cast<char16_t>(u'x' + i));
        result[i] = rt::nearestDouble(usFormat().toNumber(fields[name], name));
    }
    return result;
}

// Runs the command, recording what it shows; returns the error that ended it, if one did.
struct Outcome {
    std::optional<rt::Error> error;
    std::vector<std::u16string> shown;
};

Outcome run(MapFields& fields, const rt::NumberFormat& format = usFormat()) {
    Outcome outcome;
    const rt::ScopedMessagePresenter recorder(
        [&](std::u16string_view text) { outcome.shown.emplace_back(text); });
    try {
        calc::calculate(fields, format);
    } catch (const rt::Error& error) {
        outcome.error = error;
    }
    return outcome;
}

Vector cross(const Vector& u, const Vector& v) {
    MapFields fields = fieldsFor(u, v);
    const Outcome outcome = run(fields);
    EXPECT_FALSE(outcome.error.has_value()) << outcome.error->what();
    return resultOf(fields);
}

TEST(Calculate, BasisVectors) {
    const Vector i{1, 0, 0}, j{0, 1, 0}, k{0, 0, 1};
    struct Row {
        const char* name;
        Vector u, v, expected;
    };
    const Row rows[] = {
        {"i x j = k", i, j, k},           {"j x k = i", j, k, i},
        {"k x i = j", k, i, j},           {"j x i = -k", j, i, {0, 0, -1}},
        {"k x j = -i", k, j, {-1, 0, 0}}, {"i x k = -j", i, k, {0, -1, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(cross(row.u, row.v), row.expected);
    }
}

TEST(Calculate, Examples) {
    struct Row {
        const char* name;
        Vector u, v, expected;
    };
    const Row rows[] = {
        {"(1,2,3) x (4,5,6)", {1, 2, 3}, {4, 5, 6}, {-3, 6, -3}},
        {"tiny products underflow to zero", {0, 1e-200, 0}, {0, 0, 1e-200}, {0, 0, 0}},
        {"exact where naive doubles lose a digit",
         {0, 100000001, 100000000},
         {0, 100000000, 100000001},
         {200000001, 0, 0}},
        {"huge products, representable difference",
         {0, 1e200, 1e200},
         {0, 1e-100, 1e-100},
         {0, 0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(cross(row.u, row.v), row.expected);
    }
}

// With one rounding of each exact component, a x b = -(b x a) holds exactly.
TEST(Calculate, AntiCommutative) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> value(-1e6, 1e6);
    for (int n = 0; n < 2000; ++n) {
        const Vector u{value(random), value(random), value(random)};
        const Vector v{value(random), value(random), value(random)};
        const Vector uv = cross(u, v);
        const Vector vu = cross(v, u);
        ASSERT_EQ(uv, (Vector{-vu[0], -vu[1], -vu[2]}));
    }
}

// Small integers give exact components, so the result is exactly perpendicular to both.
TEST(Calculate, SmallIntegerResultsArePerpendicular) {
    std::mt19937_64 random(11);
    std::uniform_int_distribution<int> value(-99999, 99999);
    const auto dot = [](const Vector& p, const Vector& q) {
        return p[0] * q[0] + p[1] * q[1] + p[2] * q[2];
    };
    for (int n = 0; n < 2000; ++n) {
        const Vector u{double(value(random)), double(value(random)), double(value(random))};
        const Vector v{double(value(random)), double(value(random)), double(value(random))};
        const Vector w = cross(u, v);
        ASSERT_EQ(dot(u, w), 0.0);
        ASSERT_EQ(dot(v, w), 0.0);
    }
}

TEST(Calculate, StopPoints) {
    using K = rt::ErrorKind;
    struct Row {
        const char* name;
        std::array<std::u16string, 6> texts; // a..f
        K kind;
        std::u16string subject;
        std::string written; // the result fields that got new text
    };
    const Row rows[] = {
        {"all empty stops at b, nothing written",
         {u"", u"", u"", u"", u"", u""},
         K::TypeMismatch,
         u"b",
         ""},
        {"bad b stops at x", {u"1", u"x", u"3", u"4", u"5", u"6"}, K::TypeMismatch, u"b", ""},
        {"bad f stops at x", {u"1", u"2", u"3", u"4", u"5", u"?"}, K::TypeMismatch, u"f", ""},
        {"bad c stops at x", {u"1", u"2", u"c", u"4", u"5", u"6"}, K::TypeMismatch, u"c", ""},
        {"bad e stops at x, second product",
         {u"1", u"2", u"3", u"4", u"e", u"6"},
         K::TypeMismatch,
         u"e",
         ""},
        {"bad a lets x be written, stops at y",
         {u"abc", u"2", u"3", u"4", u"5", u"6"},
         K::TypeMismatch,
         u"a",
         "x"},
        {"bad d lets x be written, stops at y",
         {u"1", u"2", u"3", u"d", u"5", u"6"},
         K::TypeMismatch,
         u"d",
         "x"},
        {"bad c and f: f is converted first",
         {u"1", u"2", u"c", u"4", u"5", u"f"},
         K::TypeMismatch,
         u"f",
         ""},
        {"bad a and d: d is converted first",
         {u"a", u"2", u"3", u"d", u"5", u"6"},
         K::TypeMismatch,
         u"d",
         "x"},
        {"text beyond range in b", {u"1", u"1e400", u"3", u"4", u"5", u"6"}, K::Overflow, u"b", ""},
        {"first product of x overflows",
         {u"0", u"1e200", u"0", u"0", u"0", u"1e200"},
         K::Overflow,
         u"x",
         ""},
        {"second product of x overflows",
         {u"0", u"0", u"1e200", u"0", u"1e200", u"0"},
         K::Overflow,
         u"x",
         ""},
        {"difference of x overflows",
         {u"0", u"1e154", u"1e154", u"0", u"-1e154", u"1e154"},
         K::Overflow,
         u"x",
         ""},
        {"overflow in y after x is written",
         {u"0", u"0", u"1e200", u"1e200", u"0", u"0"},
         K::Overflow,
         u"y",
         "x"},
        {"overflow in z after x and y",
         {u"1e200", u"0", u"0", u"0", u"1e200", u"0"},
         K::Overflow,
         u"z",
         "xy"},
        {"trailing space is fine, the product still overflows",
         {u"0", u"1e200", u"0", u"0", u"0", u"1e200 "},
         K::Overflow,
         u"x",
         ""},
        {"first product checked before the second is read",
         {u"0", u"1e200", u"bad", u"0", u"0", u"1e200"},
         K::Overflow,
         u"x",
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MapFields fields;
        for (size_t i = 0; i < 6; ++i) {
            fields.set(std::u16string(1, static_cast<char16_t>(u'a' + i)), row.texts[i]);
        }
        for (const char16_t* name : {u"x", u"y", u"z"}) {
            fields.set(name, u"before");
        }
        const Outcome outcome = run(fields);
        ASSERT_TRUE(outcome.error.has_value());
        EXPECT_EQ(outcome.error->kind(), row.kind);
        EXPECT_EQ(outcome.error->subject(), row.subject);
        EXPECT_TRUE(outcome.shown.empty());
        // The finished components were written in order, and nothing was read (or announced)
        // after the failing component's four fields.
        std::vector<std::string> writes;
        size_t reads = 0;
        for (const std::string& entry : fields.log()) {
            if (entry.starts_with("write")) {
                writes.push_back(entry);
            } else {
                ++reads;
            }
        }
        const std::vector<std::string> allWrites{"write x", "write y", "write z"};
        EXPECT_EQ(writes, std::vector(allWrites.begin(),
                                      allWrites.begin() + static_cast<long>(row.written.size())));
        EXPECT_EQ(reads, 4 * (row.written.size() + 1));
        for (const char name : std::string("xyz")) {
            const bool written = row.written.find(name) != std::string::npos;
            EXPECT_EQ(fields[std::u16string(1, static_cast<char16_t>(name))] != u"before", written)
                << name;
        }
    }
}

TEST(Calculate, ReadsEachComponentAfresh) {
    MapFields fields = fieldsFor({1, 2, 3}, {4, 5, 6});
    run(fields);
    const std::vector<std::string> expected{
        "read b", "read f", "read c", "read e", "write x", //
        "read c", "read d", "read a", "read f", "write y", //
        "read a", "read e", "read b", "read d", "write z", //
        "read x", "read y", "read z", "announce Cross product: -3, 6, -3",
    };
    EXPECT_EQ(fields.log(), expected);
}

TEST(Calculate, WritesOnlyResultFields) {
    MapFields fields = fieldsFor({1.5, -2, 3e10}, {4, 5.25, -6});
    const MapFields before = fields;
    run(fields);
    for (const char16_t* name : {u"a", u"b", u"c", u"d", u"e", u"f"}) {
        EXPECT_EQ(fields[name], before[name]);
    }
    for (const std::string& entry : fields.log()) {
        EXPECT_TRUE(entry.starts_with("read") || entry.starts_with("announce") ||
                    entry == "write x" || entry == "write y" || entry == "write z")
            << entry;
    }
}

TEST(Calculate, ParallelNotice) {
    struct Row {
        const char* name;
        Vector u, v;
        bool shown;
    };
    const Row rows[] = {
        {"parallel vectors", {1, 2, 3}, {2, 4, 6}, true},
        {"opposite vectors", {1, 2, 3}, {-1, -2, -3}, true},
        {"zero vector", {0, 0, 0}, {4, 5, 6}, true},
        {"results that underflow to zero", {1e-200, 0, 0}, {0, 1e-200, 0}, true},
        {"perpendicular vectors are not parallel", {1, 0, 0}, {0, 1, 0}, false},
        {"general vectors", {1, 2, 3}, {4, 5, 6}, false},
        {"a tiny but non-zero result", {1e-160, 0, 0}, {0, 1e-160, 0}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MapFields fields = fieldsFor(row.u, row.v);
        const Outcome outcome = run(fields);
        EXPECT_FALSE(outcome.error.has_value());
        EXPECT_EQ(outcome.shown, row.shown ? std::vector<std::u16string>{u"they are parallel!!"}
                                           : std::vector<std::u16string>{});
    }
}

// The numbers as typed, not the doubles nearest them: parallel is parallel, and a component
// that a short text holds is written exactly.
TEST(Calculate, ExactOnTheNumbersAsTyped) {
    struct Row {
        const char* name;
        const char* locale;
        std::array<std::u16string, 6> texts; // a..f
        std::array<std::u16string, 3> expected;
        bool parallel;
    };
    const Row rows[] = {
        {"decimals in proportion", "en_US", {u"1.1", u"2.2", u"3.3", u"2", u"4", u"6"},
         {u"0", u"0", u"0"}, true},
        {"tenths in proportion", "en_US", {u"0.1", u"0.2", u"0.3", u"0.3", u"0.6", u"0.9"},
         {u"0", u"0", u"0"}, true},
        {"de_DE decimals in proportion", "de_DE", {u"1,1", u"2,2", u"3,3", u"2", u"4", u"6"},
         {u"0", u"0", u"0"}, true},
        {"fractions in proportion", "en_US", {u"1/3", u"2/3", u"1", u"1/2", u"1", u"3/2"},
         {u"0", u"0", u"0"}, true},
        {"near-parallel is not", "en_US", {u"1.1", u"2.2", u"3.3", u"2", u"4", u"6.0000000000000001"},
         {u"2.2E-16", u"-1.1E-16", u"0"}, false},
        {"a difference no double holds", "en_US", {u"0.1", u"0.7", u"3", u"0.001", u"3.3", u"1.1e10"},
         {u"7699999990.1", u"-1099999999.997", u"0.3293"}, false},
        {"fractions", "en_US", {u"1/2", u"1/3", u"1/4", u"1", u"1", u"1"},
         {u"1/12", u"-0.25", u"1/6"}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MapFields fields;
        for (size_t i = 0; i < 6; ++i) {
            fields.set(std::u16string(1, static_cast<char16_t>(u'a' + i)), row.texts[i]);
        }
        const Outcome outcome = run(fields, rt::NumberFormat(testlocales::symbols(row.locale)));
        EXPECT_FALSE(outcome.error.has_value());
        EXPECT_EQ((std::array{fields[u"x"], fields[u"y"], fields[u"z"]}), row.expected);
        EXPECT_EQ(outcome.shown.size(), row.parallel ? 1u : 0u);
    }
}

// Vectors typed as people type them, in two locales, against GMP's exact rationals: each
// component written exactly where a short text holds it and else as its nearest double, each
// read back as what it shows; overflow where the exact values leave a double's range; the
// notice for the pairs parallel as typed, and not for those a trillionth off.
TEST(Calculate, MatchesTheExactOracleOnTypedVectors) {
    const std::vector<oracle::TypedVectorCase>& cases = oraclefiles::cases().typedVectors;
    ASSERT_GE(cases.size(), 2000u) << "no oracle case file, or one without typed vectors";
    const auto failures = [] {
        return ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
    };
    for (const oracle::TypedVectorCase& c : cases) {
        MapFields fields;
        std::string typed;
        for (size_t i = 0; i < 6; ++i) {
            fields.set(std::u16string(1, static_cast<char16_t>(u'a' + i)), fromUtf8(c.texts[i]));
            typed += " " + c.texts[i];
        }
        SCOPED_TRACE(c.locale + typed);
        const rt::NumberFormat format(testlocales::symbols(c.locale));
        const Outcome outcome = run(fields, format);
        if (!c.overflow.empty()) {
            EXPECT_TRUE(outcome.error && outcome.error->kind() == rt::ErrorKind::Overflow &&
                        outcome.error->subject() == fromUtf8(c.overflow));
        } else if (outcome.error) {
            ADD_FAILURE() << outcome.error->what();
        } else {
            for (size_t i = 0; i < 3; ++i) {
                const oracle::TypedVectorCase::Component& expected = c.components[i];
                const std::u16string name(1, static_cast<char16_t>(u'x' + i));
                const rt::Number written = format.toNumber(fields[name], name);
                const rt::Rational exact(rt::Integer(expected.numerator),
                                         rt::Integer(expected.denominator));
                EXPECT_EQ(rt::nearestDouble(written), expected.nearest) << "component " << i;
                EXPECT_TRUE(!expected.exactlyWritable || written.exact() == exact)
                    << "component " << i;
            }
            EXPECT_EQ(outcome.shown.size(), c.notice ? 1u : 0u);
        }
        if (failures() >= 5) {
            break; // enough to go on
        }
    }
}

TEST(Calculate, FollowsTheLocale) {
    const rt::NumberFormat german(testlocales::symbols("de_DE"));
    MapFields fields{{u"a", u"1,5"}, {u"b", u"0"},    {u"c", u"0"},
                     {u"d", u"0"},   {u"e", u"2,25"}, {u"f", u"0"}};
    EXPECT_FALSE(run(fields, german).error.has_value());
    EXPECT_EQ(fields[u"z"], u"3,375");
    // A listener counts three numbers, none of them split at its decimal comma.
    EXPECT_EQ(fields.log().back(), "announce Cross product: 0; 0; 3,375");
    fields.set(u"a", u"1.5");
    EXPECT_EQ(run(fields, german).error->subject(), u"a");
}

} // namespace
