// Melkora's window as the core sees it, on a form of plain texts: every name the wiring uses is
// in the description, the button runs Calculate with the user's number symbols, the credit
// label hands the page over from the window's own handle; and a name the description does not
// hold stops the program rather than being guessed at.

#include "runtime/form.h"
#include "runtime/message_box.h"
#include "tests/support/null_platform.h"
#include "window/form1.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

class PlainForm final : public rt::Form {
public:
    void onClick(std::u16string_view name, std::function<void()> handler) override {
        rt::controlIndex(window::form1Description(), name);
        handlers[std::u16string(name)] = std::move(handler);
    }
    std::u16string fieldText(std::u16string_view name) const override {
        rt::controlIndex(window::form1Description(), name);
        const auto it = texts.find(std::u16string(name));
        return it != texts.end() ? it->second : std::u16string();
    }
    void setFieldText(std::u16string_view name, std::u16string_view text) override {
        rt::controlIndex(window::form1Description(), name);
        texts[std::u16string(name)] = text;
    }
    rt::NativeHandle nativeHandle() override { return 0xF0F0; }

    std::map<std::u16string, std::function<void()>> handlers;
    std::map<std::u16string, std::u16string> texts;
};

TEST(Form1Wiring, ButtonCalculatesInTheUserLocaleAndLabelOpensThePage) {
    PlainForm form;
    window::wireForm1(form);
    ASSERT_EQ(form.handlers.size(), 2u);

    nullplatform::state().symbols.decimalSeparator = u",";
    form.texts = {{u"a", u"1,5"}, {u"b", u"0"}, {u"c", u"0"},
                  {u"d", u"0"},   {u"e", u"2"}, {u"f", u"0"}};
    form.handlers.at(u"cmdCalculate")();
    EXPECT_EQ(form.texts[u"z"], u"3");
    form.texts[u"a"] = u"0,25";
    form.handlers.at(u"cmdCalculate")(); // the symbols are read at every run
    EXPECT_EQ(form.texts[u"z"], u"0,5");

    form.handlers.at(u"Label16")();
    ASSERT_EQ(nullplatform::state().shellCalls.size(), 1u);
    EXPECT_EQ(nullplatform::state().shellCalls[0].window, 0xF0F0u);
}

TEST(Form1WiringDeathTest, UnknownNamesStopTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(rt::controlIndex(window::form1Description(), u"cmdCalc"),
                 "no control named cmdCalc");
    const rt::ControlRecord twice[] = {window::form1Description().controls[0],
                                       window::form1Description().controls[0]};
    const rt::FormDescription duplicated{window::form1Description().window, twice};
    EXPECT_DEATH(rt::checkControlNames(duplicated), "twice: cmdCalculate");
}

} // namespace
