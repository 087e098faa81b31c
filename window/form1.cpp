#include "window/form1.h"

#include "calc/calculate.h"
#include "calc/vector_fields.h"
#include "runtime/number_format.h"
#include "runtime/platform.h"
#include "window/publisher.h"

namespace window {

namespace {

// The vector fields, backed by the window's text fields of the same names.
class FormFields final : public calc::VectorFields {
public:
    explicit FormFields(rt::Form& form)
        : m_form(form) {}
    std::u16string text(std::u16string_view name) const override { return m_form.fieldText(name); }
    void setText(std::u16string_view name, std::u16string_view text) override {
        m_form.setFieldText(name, text);
    }
    void announce(std::u16string_view text) override { m_form.announce(text); }

private:
    rt::Form& m_form;
};

} // namespace

void wireForm1(rt::Form& form) {
    form.onClick(u"cmdCalculate", [&form] {
        FormFields fields(form);
        // Read at each run, so that the numbers follow the user's regional settings.
        calc::calculate(fields, rt::NumberFormat(rt::platform::userNumberSymbols()));
    });
    form.onClick(u"Label16",
                 [&form, link = PublisherLink()]() mutable { link.open(form.nativeHandle()); });
}

} // namespace window
