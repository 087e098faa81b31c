#include "calc/calculate.h"

#include "calc/exact_arithmetic.h"
#include "runtime/error.h"
#include "runtime/message_box.h"

#include <array>
#include <cmath>
#include <string>

namespace calc {

namespace {

struct Component {
    char16_t result;
    std::array<char16_t, 4> operands; // first product's two, then the second product's two
};

constexpr std::array<Component, 3> kComponents{{
    {u'x', {u'b', u'f', u'c', u'e'}},
    {u'y', {u'c', u'd', u'a', u'f'}},
    {u'z', {u'a', u'e', u'b', u'd'}},
}};

std::u16string_view nameOf(const char16_t& letter) {
    return {&letter, 1};
}

void computeComponent(VectorFields& fields, const rt::NumberFormat& format,
                      const Component& component) {
    std::array<std::u16string, 4> texts;
    for (size_t i = 0; i < texts.size(); ++i) {
        texts[i] = fields.text(nameOf(component.operands[i]));
    }
    const auto number = [&](size_t i) {
        return format.toNumber(texts[i], nameOf(component.operands[i]));
    };
    const std::u16string_view result = nameOf(component.result);

    const double p = number(0);
    const double q = number(1);
    if (!std::isfinite(p * q)) {
        rt::raiseOverflow(result);
    }
    const double r = number(2);
    const double s = number(3);
    const double difference = differenceOfProducts(p, q, r, s);
    if (!std::isfinite(r * s) || !std::isfinite(difference)) {
        rt::raiseOverflow(result);
    }
    fields.setText(result, format.toText(difference));
}

} // namespace

void calculate(VectorFields& fields, const rt::NumberFormat& format) {
    for (const Component& component : kComponents) {
        computeComponent(fields, format, component);
    }

    // All three read back before any is judged.
    std::array<double, 3> results{};
    std::u16string announcement = u"Cross product: ";
    for (size_t i = 0; i < kComponents.size(); ++i) {
        const std::u16string_view name = nameOf(kComponents[i].result);
        const std::u16string text = fields.text(name);
        results[i] = format.toNumber(text, name);
        if (i > 0) {
            announcement += format.listSeparator();
        }
        announcement += text;
    }
    // The focus stays where the user typed, so nothing else would tell a screen reader's user
    // that the results are there; before the notice, which is about them.
    fields.announce(announcement);
    if (results[0] == 0.0 && results[1] == 0.0 && results[2] == 0.0) {
        rt::messageBox(kParallelNotice);
    }
}

} // namespace calc
