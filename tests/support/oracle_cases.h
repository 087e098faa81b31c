#pragma once

// Exact answers computed once by MPFR on the build machine, written to a file, and read back by
// the core's tests on every target: the Windows build, which has no MPFR, is held against the
// same oracle as the Linux one.
//
// The file is text, one case a line, every double as the 16 hex digits of its bits:
//   C <index> <name>                     a category of the arithmetic cases
//   A <category> <a> <b> <c> <d> <exact> a·b − c·d rounded once
//   D <exact> <text>                     the double nearest the decimal <text>; infinite where
//                                        it lies beyond the range of a double
//   V <fields, tab-separated>            six texts typed in a locale and what Calculate must
//                                        make of them, computed with GMP's exact rationals:
//     V\t<locale>\t<a>..<f>\t<overflow>\t(<numerator>\t<denominator>\t<nearest>\t<exactly
//     writable>) for x, y, z\t<notice>; <overflow> is the component that overflows, or "-"

#include <array>
#include <string>
#include <vector>

namespace oracle {

struct ArithmeticCase {
    int category;
    double a, b, c, d;
    double exact;
};

struct DecimalCase {
    std::string text;
    double exact;
};

struct TypedVectorCase {
    std::string locale;
    std::array<std::string, 6> texts; // UTF-8, a to f
    std::string overflow;             // "x", "y" or "z" where the run stops there, else empty
    struct Component {
        std::string numerator, denominator; // the exact value, in lowest terms
        double nearest;
        bool exactlyWritable; // in at most 17 significant digits, or 17 digits of a fraction
    };
    std::array<Component, 3> components;
    bool notice;
};

struct Cases {
    std::vector<std::string> categories;
    std::vector<ArithmeticCase> arithmetic;
    std::vector<DecimalCase> decimal;
    std::vector<TypedVectorCase> typedVectors;
};

// False where the file cannot be written.
bool writeCases(const std::string& path, const Cases& cases);

// The cases in the file at `path`; empty where it cannot be read or is malformed.
Cases readCases(const std::string& path);

} // namespace oracle
