// Fuzzes the whole Calculate command over a map of fields. Input: a byte choosing the locale,
// then the texts of a, b, c, d, e, f separated by newlines (UTF-8).
//
// Properties: a run writes only result fields, and only texts that read back as the exact value
// or its nearest double; it stops exactly
// where a straightforward model of the rules says, with the error the model expects; the
// parallel notice comes exactly when all three results are zero.

#include "calc/calculate.h"
#include "runtime/error.h"
#include "runtime/message_box.h"
#include "tests/support/locales.h"
#include "tests/support/map_fields.h"
#include "tests/support/utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

const std::array<rt::NumberSymbols, 4>& locales() {
    static const std::array<rt::NumberSymbols, 4> all{
        testlocales::symbols("C"), testlocales::symbols("de_DE"), testlocales::symbols("he_IL"),
        testlocales::symbols("ar_EG")};
    return all;
}

struct Expected {
    std::array<std::optional<rt::Rational>, 3> results; // each component's exact value
    std::optional<rt::ErrorKind> kind;
    std::u16string subject;
};

// The rules, written out plainly: components x, y, z; four operands each in table order; the
// first product checked, then the second and the difference.
Expected model(const MapFields& fields, const rt::NumberFormat& format) {
    static const std::array<std::pair<char, const char*>, 3> components{
        {{'x', "bfce"}, {'y', "cdaf"}, {'z', "aebd"}}};
    Expected expected;
    for (size_t i = 0; i < components.size(); ++i) {
        const auto [result, operands] = components[i];
        std::array<rt::Rational, 4> v{};
        for (size_t k = 0; k < 4; ++k) {
            const std::u16string name(1, static_cast<char16_t>(operands[k]));
            try {
                v[k] = format.toNumber(fields[name], name).exact();
            } catch (const rt::Error& error) {
                expected.kind = error.kind();
                expected.subject = name;
                return expected;
            }
            if (k == 1 && rt::beyondDoubleRange(v[0] * v[1])) {
                expected.kind = rt::ErrorKind::Overflow;
                expected.subject = std::u16string(1, static_cast<char16_t>(result));
                return expected;
            }
        }
        const rt::Rational difference = v[0] * v[1] - v[2] * v[3];
        if (rt::beyondDoubleRange(v[2] * v[3]) || rt::beyondDoubleRange(difference)) {
            expected.kind = rt::ErrorKind::Overflow;
            expected.subject = std::u16string(1, static_cast<char16_t>(result));
            return expected;
        }
        expected.results[i] = difference;
    }
    return expected;
}

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const rt::NumberFormat format(locales()[data[0] % locales().size()]);
    const std::u16string text = fromUtf8({reinterpret_cast<const char*>(data + 1), size - 1});
    std::vector<std::u16string> texts(1);
    for (const char16_t c : text) {
        if (c == u'\n') {
            texts.emplace_back();
        } else {
            texts.back().push_back(c);
        }
    }
    texts.resize(std::max<size_t>(texts.size(), 6));
    MapFields fields;
    const std::u16string inputs = u"abcdef";
    for (size_t i = 0; i < inputs.size(); ++i) {
        fields.set(inputs.substr(i, 1), texts[i]);
    }
    for (const char16_t* name : {u"x", u"y", u"z"}) {
        fields.set(name, u"before");
    }
    const MapFields before = fields;
    const Expected expected = model(fields, format);

    std::vector<std::u16string> shown;
    const rt::ScopedMessagePresenter recorder(
        [&](std::u16string_view text) { shown.emplace_back(text); });
    std::optional<rt::Error> raised;
    try {
        calc::calculate(fields, format);
    } catch (const rt::Error& error) {
        raised = error;
    }

    check(raised.has_value() == expected.kind.has_value());
    if (raised) {
        check(raised->kind() == *expected.kind && raised->subject() == expected.subject);
        check(shown.empty());
    }
    for (size_t i = 0; i < inputs.size(); ++i) {
        check(fields[inputs.substr(i, 1)] == before[inputs.substr(i, 1)]);
    }
    const std::u16string results = u"xyz";
    bool allZero = true;
    for (size_t i = 0; i < 3; ++i) {
        const std::optional<rt::Rational>& value = expected.results[i];
        if (!value) {
            check(fields[results.substr(i, 1)] == u"before");
            allZero = false;
            continue;
        }
        // What is written means the value, or where no short text holds it, its nearest double.
        const double nearest = rt::nearestDouble(*value);
        const rt::Rational written = format.toNumber(fields[results.substr(i, 1)], u"x").exact();
        check(written == *value || rt::nearestDouble(written) == nearest);
        allZero = allZero && nearest == 0;
    }
    check(shown.size() == (!raised && allZero ? 1 : 0));
    return 0;
}
