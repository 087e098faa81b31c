#include "calc/calculate.h"

#include "runtime/error.h"
#include "runtime/message_box.h"

#include <array>
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

    // Exact throughout; only a value that a double could not hold stops the run.
    const auto checked = [&](rt::Number value) {
        if (rt::beyondDoubleRange(value)) {
            rt::raiseOverflow(result);
        }
        return value;
    };
    // Converted one statement at a time: the order of a product's operands is unspecified.
    const auto product = [&](size_t i) {
        const rt::Number left = number(i);
        const rt::Number right = number(i + 1);
        return checked(left * right);
    };
    const rt::Number first = product(0);
    const rt::Number second = product(2);
    fields.setText(result, format.toText(checked(first - second)));
}

} // namespace

void calculate(VectorFields& fields, const rt::NumberFormat& format) {
    for (const Component& component : kComponents) {
        computeComponent(fields, format, component);
    }

    // All three read back before any is judged.
    bool allZero = true;
    std::u16string announcement = u"Cross product: ";
    for (size_t i = 0; i < kComponents.size(); ++i) {
        const std::u16string_view name = nameOf(kComponents[i].result);
        const std::u16string text = fields.text(name);
        allZero = allZero && format.toNumber(text, name).sign() == 0;
        if (i > 0) {
            announcement += format.listSeparator();
        }
        announcement += text;
    }
    // The focus stays where the user typed, so nothing else would tell a screen reader's user
    // that the results are there; before the notice, which is about them.
    fields.announce(announcement);
    if (allZero) {
        rt::messageBox(kParallelNotice);
    }
}

} // namespace calc
