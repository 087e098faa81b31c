#pragma once

// Conversions between the texts of the fields and IEEE 754 doubles, with one set of number
// symbols.
//
// Text to number reads: surrounding white space, an optional sign (ASCII + and -, U+2212, or the
// locale's own signs), digits (ASCII or the locale's own), optionally the locale's decimal
// separator followed by digits, and an optional exponent (E, e or the locale's own marker, an
// optional sign, digits). Anything else is a type mismatch, group separators included: "1,234"
// in en_US would otherwise quietly become 1234 for a user who meant a decimal. A value beyond
// the range of a double is an overflow; one too small for it becomes zero or a subnormal.
//
// Number to text writes the shortest text that reads back as exactly the same double: ASCII
// digits, ASCII minus, the locale's decimal separator, an exponent as E+NN or E-NN, no group
// separators, and "0" for both zeros. So every text this writes reads back, in every locale.
//
// Neither direction goes near strtod, printf or the process locale: text to number goes through
// std::from_chars, number to text through shortestDecimal; both are locale-independent and
// correctly rounded.

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
};

class NumberFormat {
public:
    explicit NumberFormat(NumberSymbols symbols);

    // The number `text` holds. Raises a type mismatch or an overflow naming `subject`, the
    // field the text came from.
    double toNumber(std::u16string_view text, std::u16string_view subject) const;

    std::u16string toText(double value) const;

    // What goes between numbers in a list read out to the user: ", ", or "; " where the decimal
    // separator is itself a comma, so that "0; 0; 2,5" is heard as three numbers, not four.
    std::u16string_view listSeparator() const;

private:
    NumberSymbols m_symbols;
};

} // namespace rt
