#pragma once

// The number symbols of the locales the tests name, written out as data so that the core's
// tests run where no locale database is at hand (the Windows build under Wine). The Qt layer's
// test checks each against QLocale, so this table cannot drift from what users get.

#include "runtime/number_format.h"

#include <array>
#include <string_view>

namespace testlocales {

struct NamedSymbols {
    std::string_view name;
    rt::NumberSymbols symbols;
};

// clang-format off
inline const std::array<NamedSymbols, 10> kLocales{{
    {"C",     {u".",      u"-",            u"+",       u"e",                    U'0',      u","}},
    {"en_US", {u".",      u"-",            u"+",       u"E",                    U'0',      u","}},
    {"de_DE", {u",",      u"-",            u"+",       u"E",                    U'0',      u"."}},
    {"he_IL", {u".",      u"\u200E-",      u"\u200E+", u"E",                    U'0',      u","}},
    {"ar_EG", {u"\u066B", u"\u061C-",      u"\u061C+", u"\u0627\u0633",         U'\u0660', u"\u066C"}},
    {"fa_IR", {u"\u066B", u"\u200E\u2212", u"\u200E+", u"\u00D7\u06F1\u06F0^",  U'\u06F0', u"\u066C"}},
    {"sv_SE", {u",",      u"\u2212",       u"+",       u"\u00D710^",            U'0',      u"\u00A0"}},
    {"my_MM", {u".",      u"-",            u"+",       u"E",                    U'\u1040', u","}},
    {"bn_BD", {u".",      u"-",            u"+",       u"E",                    U'\u09E6', u","}},
    {"fr_CH", {u",",      u"-",            u"+",       u"E",                    U'0',      u"\u202F"}},
}};
// clang-format on

// The symbols of the locale `name`; stops the test program if the table has no such locale.
const rt::NumberSymbols& symbols(std::string_view name);

} // namespace testlocales
