// Fuzzes the whole Calculate command over a map of fields. Input: a byte choosing the locale,
// then the texts of a, b, c, d, e, f separated by newlines (UTF-8).
//
// Properties: a run writes only result fields, and only texts that read back; it stops exactly
// where a straightforward model of the rules says, with the error the model expects; the
// parallel notice comes exactly when all three results are zero.

#include "calc/calculate.h"
#include "calc/exact_arithmetic.h"
#include "runtime/error.h"
#include "runtime/message_box.h"
#include "tests/support/map_fields.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

const std::array<QLocale, 4>& locales() {
    static const std::array<QLocale, 4> all{QLocale("C"), QLocale("de_DE"), QLocale("he_IL"),
                                            QLocale("ar_EG")};
    return all;
}

struct Expected {
    std::array<std::optional<double>, 3> results; // what each component writes
    std::optional<rt::ErrorKind> kind;
    QString subject;
};

// The rules, written out plainly: components x, y, z; four operands each in table order; the
// first product checked, then the second and the difference.
Expected model(const MapFields& fields, const rt::NumberFormat& format) {
    static const std::array<std::pair<char, const char*>, 3> components{
        {{'x', "bfce"}, {'y', "cdaf"}, {'z', "aebd"}}};
    Expected expected;
    for (size_t i = 0; i < components.size(); ++i) {
        const auto [result, operands] = components[i];
        std::array<double, 4> v{};
        for (size_t k = 0; k < 4; ++k) {
            const QString name(QChar::fromLatin1(operands[k]));
            try {
                v[k] = format.toNumber(fields[name], name);
            } catch (const rt::Error& error) {
                expected.kind = error.kind();
                expected.subject = name;
                return expected;
            }
            if (k == 1 && !std::isfinite(v[0] * v[1])) {
                expected.kind = rt::ErrorKind::Overflow;
                expected.subject = QChar::fromLatin1(result);
                return expected;
            }
        }
        const double difference = calc::differenceOfProducts(v[0], v[1], v[2], v[3]);
        if (!std::isfinite(v[2] * v[3]) || !std::isfinite(difference)) {
            expected.kind = rt::ErrorKind::Overflow;
            expected.subject = QChar::fromLatin1(result);
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
    const QStringList texts =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1))
            .split(u'\n');
    MapFields fields;
    const QString inputs = "abcdef";
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        fields.set(inputs[i], texts.value(i));
    }
    for (const char* name : {"x", "y", "z"}) {
        fields.set(name, "before");
    }
    const MapFields before = fields;
    const Expected expected = model(fields, format);

    QStringList shown;
    const rt::ScopedMessagePresenter recorder([&](const QString& text) { shown << text; });
    std::optional<rt::Error> raised;
    try {
        calc::calculate(fields, format);
    } catch (const rt::Error& error) {
        raised = error;
    }

    check(raised.has_value() == expected.kind.has_value());
    if (raised) {
        check(raised->kind() == *expected.kind && raised->subject() == expected.subject);
        check(shown.isEmpty());
    }
    for (const QChar name : inputs) {
        check(fields[name] == before[name]);
    }
    const QString results = "xyz";
    bool allZero = true;
    for (qsizetype i = 0; i < 3; ++i) {
        const std::optional<double>& value = expected.results[static_cast<size_t>(i)];
        if (!value) {
            check(fields[results[i]] == "before");
            allZero = false;
            continue;
        }
        check(format.toNumber(fields[results[i]], u"x") == *value);
        allZero = allZero && *value == 0;
    }
    check(shown.size() == (!raised && allZero ? 1 : 0));
    return 0;
}
