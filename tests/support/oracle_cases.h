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

struct Cases {
    std::vector<std::string> categories;
    std::vector<ArithmeticCase> arithmetic;
    std::vector<DecimalCase> decimal;
};

// False where the file cannot be written.
bool writeCases(const std::string& path, const Cases& cases);

// The cases in the file at `path`; empty where it cannot be read or is malformed.
Cases readCases(const std::string& path);

} // namespace oracle
