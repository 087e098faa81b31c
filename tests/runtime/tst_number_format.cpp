// Text to number and back, in the locales our users have: the accepted syntax, what is refused,
// the range limits, the round trip of doubles through their text, and decimal texts against
// the oracle's exact answers.

#include "runtime/bit_cast.h"
#include "runtime/error.h"
#include "runtime/number_format.h"
#include "tests/support/locales.h"
#include "tests/support/oracle_files.h"

#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <random>

namespace {

rt::NumberFormat formatFor(std::string_view locale) {
    if (locale == "fa_slash") { // Persian as some systems have it: "/" is the decimal separator
        rt::NumberSymbols symbols = testlocales::symbols("fa_IR");
        symbols.decimalSeparator.assign(1, u'/');
        return rt::NumberFormat(symbols);
    }
    return rt::NumberFormat(testlocales::symbols(locale));
}

// The kind of error a conversion raised, or nothing.
std::optional<rt::ErrorKind> errorOf(const rt::NumberFormat& format, std::u16string_view text) {
    try {
        format.toNumber(text, u"b");
    } catch (const rt::Error& error) {
        return error.kind();
    }
    return std::nullopt;
}

// A double written and read back, through its exact value.
double roundTrip(const rt::NumberFormat& format, double value) {
    return rt::nearestDouble(format.toNumber(format.toText(rt::Rational(value)), u"x"));
}

TEST(NumberFormat, AcceptsNumbers) {
    struct Row {
        const char* name;
        const char* locale;
        std::u16string text;
        double expected;
    };
    const Row rows[] = {
        {"en_US integer", "en_US", u"42", 42.0},
        {"en_US decimal", "en_US", u"2.5", 2.5},
        {"en_US surrounding spaces and tab", "en_US", u" \t-3.25  ", -3.25},
        {"en_US plus sign", "en_US", u"+7", 7.0},
        {"white space of other scripts around", "en_US", u"\u3000\u00A07\u2028", 7.0},
        {"en_US unicode minus", "en_US", u"\u22124", -4.0},
        {"en_US exponent E", "en_US", u"1E3", 1000.0},
        {"en_US exponent e with sign", "en_US", u"25e-1", 2.5},
        {"en_US exponent with plus", "en_US", u"1.5e+2", 150.0},
        {"en_US leading zeros", "en_US", u"007.50", 7.5},
        {"en_US minus zero", "en_US", u"-0", 0.0},
        {"en_US many digits round correctly", "en_US", u"0.1000000000000000055511151231257827",
         0.1},
        {"en_US exponent with many digits", "en_US", u"1e0000000000000000000003", 1000.0},
        {"no digit before the point", "en_US", u".5", 0.5},
        {"no digit after the point", "en_US", u"5.", 5.0},
        {"minus, no digit before the point", "en_US", u"-.5", -0.5},
        {"plus, no digit before the point, exponent", "en_US", u"+.5e3", 500.0},
        {"de_DE comma decimal", "de_DE", u"2,5", 2.5},
        {"de_DE no digit before the comma", "de_DE", u",5", 0.5},
        {"de_DE no digit after the comma", "de_DE", u"5,", 5.0},
        {"de_DE exponent", "de_DE", u"-1,5E-2", -0.015},
        {"he_IL own sign with mark", "he_IL", u"\u200E-1.5", -1.5},
        {"he_IL plain hyphen", "he_IL", u"-1.5", -1.5},
        {"he_IL own sign in exponent", "he_IL", u"1E\u200E-2", 0.01},
        {"ar_EG arabic decimal separator", "ar_EG", u"1\u066B5", 1.5},
        {"ar_EG arabic-indic digits", "ar_EG", u"\u0661\u0662", 12.0},
        {"ar_EG own sign and exponent", "ar_EG", u"\u061C-\u0661\u0627\u0633\u0662", -100.0},
        {"fa_IR own minus", "fa_IR", u"\u200E\u22122\u066B5", -2.5},
        {"fa_IR own exponent", "fa_IR", u"3\u00D7\u06F1\u06F0^2", 300.0},
        {"sv_SE own minus and exponent", "sv_SE", u"\u22121,5\u00D710^3", -1500.0},
        {"my_MM digits outside ASCII", "my_MM", u"\u1041\u1040", 10.0},
        {"C locale", "C", u"-0.5e1", -5.0},
        {"fraction", "en_US", u"1/4", 0.25},
        {"negative fraction", "en_US", u"-3/8", -0.375},
        {"sign on the denominator", "en_US", u"3/-8", -0.375},
        {"spaces around the slash", "en_US", u" 1 / 4 ", 0.25},
        {"fraction slash U+2044", "en_US", u"1\u20444", 0.25},
        {"decimals and exponents in a fraction", "en_US", u"1e3/2.5", 400.0},
        {"de_DE decimal comma in a fraction", "de_DE", u"2,5/2", 1.25},
        {"ar_EG fraction of its own digits", "ar_EG", u"\u0661/\u0664", 0.25},
        {"a slash that is the decimal separator", "fa_slash", u"1/5", 1.5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(rt::nearestDouble(formatFor(row.locale).toNumber(row.text, u"b")), row.expected);
    }
}

TEST(NumberFormat, RefusesNonNumbers) {
    struct Row {
        const char* name;
        const char* locale;
        std::u16string text;
    };
    const Row rows[] = {
        {"empty", "en_US", u""},
        {"only spaces", "en_US", u"   "},
        {"word", "en_US", u"abc"},
        {"trailing letters", "en_US", u"12abc"},
        {"inf", "en_US", u"inf"},
        {"infinity", "en_US", u"Infinity"},
        {"nan", "en_US", u"nan"},
        {"hex", "en_US", u"0x10"},
        {"hex float", "en_US", u"0x1p3"},
        {"exponent without digits", "en_US", u"1e"},
        {"exponent sign without digits", "en_US", u"1e+"},
        {"exponent alone", "en_US", u"e5"},
        {"sign alone", "en_US", u"-"},
        {"two signs", "en_US", u"--1"},
        {"space after sign", "en_US", u"- 1"},
        {"space inside", "en_US", u"1 000"},
        {"decimal point alone", "en_US", u"."},
        {"sign and decimal point", "en_US", u"-."},
        {"decimal point and exponent", "en_US", u".e5"},
        {"two decimal points", "en_US", u"1.2.3"},
        {"en_US group separator", "en_US", u"1,234"},
        {"en_US grouped with decimals", "en_US", u"1,234.5"},
        {"de_DE group separator", "de_DE", u"1.234"},
        {"de_DE point is no decimal separator", "de_DE", u"2.5"},
        {"en_US comma is no decimal separator", "en_US", u"2,5"},
        {"fraction exponent", "en_US", u"1e2.5"},
        {"NUL inside", "en_US", std::u16string(u"1\u00002", 3)},
        {"lone surrogate", "en_US",
         u"\xD800"
         u"1"},
        {"right-to-left mark", "en_US", u"\u200F1"},
        {"combining mark on digit", "en_US", u"1\u0301"},
        {"digits of another script", "en_US", u"\u0661\u0662"},
        {"fullwidth digits", "en_US", u"\uFF11"},
        {"sv_SE no-break space group", "sv_SE", u"1\u00A0000"},
        {"denominator zero", "en_US", u"1/0"},
        {"denominator zero with decimals", "en_US", u"1/0.000"},
        {"no denominator", "en_US", u"1/"},
        {"no numerator", "en_US", u"/2"},
        {"two slashes", "en_US", u"1/2/3"},
        {"double slash", "en_US", u"1//2"},
        {"division sign", "en_US", u"1\u00F73"},
        {"a root", "en_US", u"\u221A2"},
        {"pi", "en_US", u"pi"},
        {"an expression", "en_US", u"1+2"},
        {"fraction slash where the decimal separator is a slash", "fa_slash", u"1\u20444"},
        // Not numbers, whatever number they start with.
        {"too large, then letters", "en_US", u"1e999x"},
        {"too large, then a number", "en_US", u"1e999 2"},
        {"too large over zero", "en_US", u"1e999/0"},
        {"too large over a word", "en_US", u"1e400/abc"},
        {"long digits, then a letter", "en_US", std::u16string(5000, u'9') + u"x"},
        {"long denominator, then a letter", "en_US", u"1/" + std::u16string(5000, u'9') + u"x"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(errorOf(formatFor(row.locale), row.text), rt::ErrorKind::TypeMismatch);
    }
}

TEST(NumberFormat, RangeLimits) {
    const double max = std::numeric_limits<double>::max();
    const double minSubnormal = std::numeric_limits<double>::denorm_min();
    struct Row {
        const char* name;
        std::u16string text;
        bool overflows;
        double expected;
    };
    const Row rows[] = {
        {"largest double", u"1.7976931348623157e308", false, max},
        {"rounds down to largest double", u"1.7976931348623158e308", false, max},
        {"just past the largest double", u"1.7976931348623159e308", true, 0.0},
        {"1e309", u"1e309", true, 0.0},
        {"1e400", u"1e400", true, 0.0},
        {"negative 1e400", u"-1e400", true, 0.0},
        {"huge exponent", u"1e99999999999999999999", true, 0.0},
        {"long integer beyond range", std::u16string(400, u'9'), true, 0.0},
        {"1e-400 is zero", u"1e-400", false, 0.0},
        {"hugely negative exponent is zero", u"1e-99999999999999999999", false, 0.0},
        {"1e-310 is subnormal", u"1e-310", false, 1e-310},
        {"smallest subnormal", u"4.9406564584124654e-324", false, minSubnormal},
        {"just over half the smallest subnormal", u"2.5e-324", false, minSubnormal},
        {"under half the smallest subnormal", u"2.4e-324", false, 0.0},
        {"huge mantissa, tiny exponent", std::u16string(400, u'1') + u"e-500", false,
         1.11111111111111111111111111111e-101},
        // A fraction's parts may lie outside the range; only its value counts.
        {"a numerator beyond the range", u"2e309/100", false, 2e307},
        {"both parts beyond the range", u"1e400/1e399", false, 10.0},
        {"both parts too small for a double", u"1e-400/1e-399", false, 0.1},
        {"a fraction beyond the range", u"1e200/1e-200", true, 0.0},
        {"huge exponents cancel", u"3e999999999/2e999999999", false, 1.5},
        {"a long part beyond the range is too large", std::u16string(1001, u'1') + u"/1e800", true,
         0.0},
    };
    const rt::NumberFormat format = formatFor("en_US");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.overflows) {
            EXPECT_EQ(errorOf(format, row.text), rt::ErrorKind::Overflow);
        } else {
            EXPECT_EQ(rt::nearestDouble(format.toNumber(row.text, u"b")), row.expected);
        }
    }
}

TEST(NumberFormat, WritesText) {
    struct Row {
        const char* name;
        const char* locale;
        double value;
        std::u16string expected;
    };
    const Row rows[] = {
        {"zero", "en_US", 0.0, u"0"},
        {"negative zero", "en_US", -0.0, u"0"},
        {"integer", "en_US", -3.0, u"-3"},
        {"large integer, no group separators", "en_US", 200000001.0, u"200000001"},
        {"decimal", "en_US", 0.1, u"0.1"},
        {"de_DE decimal comma", "de_DE", 2.5, u"2,5"},
        {"small fixed", "en_US", 0.00001, u"0.00001"},
        {"small in exponent form", "en_US", 1.5e-7, u"1.5E-07"},
        {"large in exponent form", "en_US", 1e200, u"1E+200"},
        {"largest fixed", "en_US", 123456789012345.0, u"123456789012345"},
        {"first in exponent form", "en_US", 1e15, u"1E+15"},
        {"smallest subnormal", "en_US", std::numeric_limits<double>::denorm_min(), u"5E-324"},
        {"largest double", "en_US", std::numeric_limits<double>::max(), u"1.7976931348623157E+308"},
        {"sv_SE keeps ASCII minus and E", "sv_SE", -1.5e-20, u"-1,5E-20"},
        {"ar_EG keeps ASCII digits", "ar_EG", -12.5, u"-12\u066B5"},
        {"he_IL keeps ASCII minus", "he_IL", -1.5e300, u"-1.5E+300"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(formatFor(row.locale).toText(rt::Rational(row.value)), row.expected);
    }
}

// Exactly where a short text holds the value, and read back as that very value.
TEST(NumberFormat, WritesExactValues) {
    struct Row {
        const char* name;
        const char* locale;
        rt::Rational value;
        std::u16string expected;
    };
    const rt::Rational third(1, 3);
    const rt::Rational tenth(1, 10);
    const rt::Integer seventeenNines("99999999999999999");
    const Row rows[] = {
        {"a decimal no double holds", "en_US", rt::Rational(76999999901, 10), u"7699999990.1"},
        {"small, in exponent form", "en_US", rt::Rational(20000002, 100000000000000),
         u"2.0000002E-07"},
        {"17 significant digits", "en_US", rt::Rational(seventeenNines, 1000), u"99999999999999.999"},
        {"de_DE decimal comma", "de_DE", rt::Rational(-15, 8), u"-1,875"},
        {"a reduced fraction", "en_US", rt::Rational(26, 24), u"13/12"},
        {"a negative fraction", "en_US", rt::Rational(-1, 33), u"-1/33"},
        {"17 digits together", "en_US", rt::Rational(99999989, 999999937), u"99999989/999999937"},
        {"18 digits together: the nearest double", "en_US", rt::Rational(999999937, 999999929),
         u"1.0000000080000007"},
        {"18 significant digits: the nearest double", "en_US", seventeenNines * 10 + 9,
         u"1E+18"},
        {"no fraction where the slash is the decimal separator", "fa_slash", third,
         u"0/3333333333333333"},
        {"below the normal range: the nearest double", "en_US", tenth * 1e-310, u"1E-311"},
        {"just below the normal range, rounding up to it: the nearest double", "en_US",
         rt::Rational(rt::Integer(22250738585072013), pow(rt::Integer(10), 324)),
         u"2.2250738585072014E-308"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const rt::NumberFormat format = formatFor(row.locale);
        const std::u16string text = format.toText(row.value);
        EXPECT_EQ(text, row.expected);
        const rt::Number back = format.toNumber(text, u"x");
        EXPECT_TRUE(back == row.value || rt::nearestDouble(back) == rt::nearestDouble(row.value));
    }
}

// A point with no digit on one side reads as it would with a zero there, in every test locale:
// "0.25" as ".25", "-0.25" as "-.25", "7" as "7.".
TEST(NumberFormat, PointWithoutDigitsOnOneSide) {
    std::mt19937_64 random(20261210);
    for (const testlocales::NamedSymbols& locale : testlocales::kLocales) {
        SCOPED_TRACE(locale.name);
        const rt::NumberFormat format(locale.symbols);
        const std::u16string& point = locale.symbols.decimalSeparator;
        for (int i = 0; i < 50; ++i) {
            const double fraction = std::ldexp(static_cast<double>(random() >> 11), -53);
            const double whole = std::floor(fraction * 1e6);
            for (const double value : {fraction, -fraction, whole, -whole}) {
                const std::u16string text = format.toText(rt::Rational(value));
                std::u16string shortened = text;
                if (const size_t zero = text.find(u"0" + point); zero <= 1) {
                    shortened.erase(zero, 1);
                } else if (text.find(point) == std::u16string::npos) {
                    shortened += point;
                }
                ASSERT_EQ(format.toNumber(shortened, u"a"), format.toNumber(text, u"a")) << value;
            }
        }
    }
}

// Only a fraction's value counts: parts scaled alike by any power of ten, far beyond a double's
// range either way, read as the fraction itself.
TEST(NumberFormat, FractionPartsScaledAlike) {
    const rt::NumberFormat format = formatFor("en_US");
    const rt::Number expected = rt::Number::fraction(-3, 7);
    for (const char16_t* exponent : {u"0", u"300", u"400", u"-400", u"5000", u"999999999"}) {
        SCOPED_TRACE(std::string(exponent, exponent + std::char_traits<char16_t>::length(exponent)));
        EXPECT_EQ(format.toNumber(u"-3e" + std::u16string(exponent) + u" / 7e" + exponent, u"a"),
                  expected);
    }
}

// A part of over a thousand digits is the double nearest it, on either side of the slash.
TEST(NumberFormat, LongPartOfAFraction) {
    const rt::NumberFormat format = formatFor("en_US");
    const std::u16string longOne = std::u16string(1001, u'1') + u"e-1000";
    const rt::Number nearest = format.toNumber(longOne, u"a");
    ASSERT_EQ(nearest, rt::Number(rt::Rational(rt::nearestDouble(nearest))));
    EXPECT_EQ(format.toNumber(longOne + u"/-4", u"a"), nearest / rt::Number(-4));
    EXPECT_EQ(format.toNumber(u"3/" + longOne, u"a"), rt::Number(3) / nearest);
}

TEST(NumberFormat, ErrorNamesFieldAndText) {
    try {
        formatFor("en_US").toNumber(u" abc ", u"e");
        FAIL() << "no error raised";
    } catch (const rt::Error& error) {
        EXPECT_EQ(error.kind(), rt::ErrorKind::TypeMismatch);
        EXPECT_EQ(error.subject(), u"e");
        EXPECT_EQ(error.text(), u" abc ");
    }
}

// Every double, written in any of the test locales, reads back as exactly itself, and a
// non-zero double never reads back as zero. (The Qt layer's test does the same for every locale
// Qt knows.)
TEST(NumberFormat, RoundTripInEveryTestLocale) {
    std::mt19937_64 random(20261207);
    for (const testlocales::NamedSymbols& locale : testlocales::kLocales) {
        SCOPED_TRACE(locale.name);
        const rt::NumberFormat format(locale.symbols);
        int mismatches = 0;
        for (int i = 0; i < 5000; ++i) {
            const double value = rt::bitCast<double>(random());
            if (std::isfinite(value) && roundTrip(format, value) != value) {
                ++mismatches;
            }
        }
        EXPECT_EQ(mismatches, 0);
        for (const double special : {std::numeric_limits<double>::denorm_min(),
                                     -std::numeric_limits<double>::max(), 1e-5, 1e15, 0.1, -2.5}) {
            EXPECT_EQ(roundTrip(format, special), special);
        }
    }
}

// No shorter text would do: dropping the last significant digit gives another double.
TEST(NumberFormat, ShortestText) {
    const rt::NumberFormat format = formatFor("C");
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const double value = rt::bitCast<double>(random() >> 2); // positive, finite
        const std::u16string text = format.toText(rt::Rational(value));
        const size_t ePos = text.find(u'E');
        std::u16string mantissa = text.substr(0, ePos);
        const std::u16string exponent = ePos == std::u16string::npos ? u"" : text.substr(ePos);
        if (mantissa.find(u'.') == std::u16string::npos) {
            continue;
        }
        mantissa.pop_back();
        if (mantissa.back() == u'.') {
            mantissa.pop_back();
        }
        ASSERT_NE(rt::nearestDouble(format.toNumber(mantissa + exponent, u"x")), value) << value;
    }
}

// Decimal texts, from a few digits to many, across the whole range and past it, read exactly as
// MPFR reads them.
TEST(NumberFormat, MatchesDecimalOracle) {
    const oracle::Cases& cases = oraclefiles::cases();
    ASSERT_GE(cases.decimal.size(), 10'000u);
    const rt::NumberFormat format = formatFor("en_US");
    int mismatches = 0;
    for (const oracle::DecimalCase& c : cases.decimal) {
        double ours = 0;
        try {
            ours = rt::nearestDouble(
                format.toNumber(std::u16string(c.text.begin(), c.text.end()), u"a"));
        } catch (const rt::Error& error) {
            ours = error.kind() == rt::ErrorKind::Overflow ? std::numeric_limits<double>::infinity()
                                                           : -1.0;
        }
        if (ours != c.exact && mismatches++ < 5) {
            ADD_FAILURE() << c.text << ": got " << ours << ", exact " << c.exact;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

} // namespace
