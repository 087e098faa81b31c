#pragma once

// Conversions between the texts of the fields and exact numbers, with one set of number symbols.
//
// Text to number reads a decimal: surrounding white space, an optional sign (ASCII + and -,
// U+2212, or the locale's own signs), digits (ASCII or the locale's own) with the locale's
// decimal separator before, among or after them ("2.5", ".5", "5."), and an optional exponent
// (E, e or the locale's own marker, an optional sign, digits). Or a fraction: two decimals
// joined by "/" or U+2044 (fraction slash), with white space around it allowed and a sign on
// either part, so "-2/5", "2/-5" and "1e3 / 7"; a denominator of zero is no number. Not where
// the locale's decimal or group separator is itself a slash: there "1/2" might mean one and a
// half. Anything else is a type mismatch, group separators included ("1,234" in en_US would
// otherwise quietly become 1234 for a user who meant a decimal), and so are expressions: "÷",
// roots, pi. The whole text is judged a number or not before its value is looked at, so
// "1e999x" is a type mismatch, not an overflow.
//
// The value is exact. A number beyond the range of a double is an overflow, one too small for
// a double to tell from zero is zero, and only the number counts, not its parts: "2e309/100" is
// 2E+307. One limit keeps a pasted text from building gigantic integers: a decimal, or a part
// of a fraction, of more than kMaxExactDigits significant digits is taken as the double nearest
// it (and is too large where that is infinite).
//
// Number to text writes a value exactly where a short text can and its exact value lies in the
// normal range of doubles: a decimal of at most 17 significant digits, else a reduced fraction
// whose numerator and denominator have at most 17 digits together. Anything else is written as
// the shortest decimal that reads back as the double nearest the value. Always ASCII digits,
// ASCII minus, the locale's decimal separator, an exponent as E+NN or E-NN outside 1E-05 to
// 1E+15, no group separators, and "0" for zero. So every text this writes reads back, in every
// locale, and means what it shows.
//
// Neither direction goes near strtod, printf or the process locale.

#include "runtime/rational.h"

#include <string>
#include <string_view>

namespace rt {

// The symbols of the user's regional settings that numbers are written with. Each platform
// fills them from its own settings (platform.h); the defaults are those of the C locale.
struct NumberSymbols {
    std::u16string decimalSeparator = u".";
    std::u16string negativeSign = u"-";
    std::u16string positiveSign = u"+";
    std::u16string exponent = u"e";
    char32_t zeroDigit = U'0'; // the locale's own digit zero; U+0030 where it writes ASCII digits
    std::u16string groupSeparator; // never read; a slash here rules out fractions
};

// Beyond this many significant digits a decimal is read as the double nearest it: a thousand
// digits are far more than anyone types, and a million pasted ones stay as cheap as a double.
inline constexpr std::size_t kMaxExactDigits = 1000;

class NumberFormat {
public:
    explicit NumberFormat(NumberSymbols symbols);

    // The number `text` holds. Raises a type mismatch or an overflow naming `subject`, the
    // field the text came from.
    Number toNumber(std::u16string_view text, std::u16string_view subject) const;

    // The value must lie within the range of a double.
    std::u16string toText(const Number& value) const;

    // What goes between numbers in a list read out to the user: ", ", or "; " where the decimal
    // separator is itself a comma, so that "0; 0; 2,5" is heard as three numbers, not four.
    std::u16string_view listSeparator() const;

    // Whether fractions are read (and so written) with these symbols.
    bool readsFractions() const;

private:
    std::u16string decimalText(bool negative, std::string_view digits, int exponent) const;

    NumberSymbols m_symbols;
};

} // namespace rt
