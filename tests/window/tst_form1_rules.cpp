// Melkora's window on the recording platform: every rule of the window, once, for every target.
// The engine makes the window from the real description; a test plays the platform, reporting
// keys, presses and clicks, and reads back what the engine asked the platform to do.

#include "runtime/form_engine.h"
#include "runtime/message_box.h"
#include "tests/support/recording_platform.h"
#include "window/form1.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

using rt::ControlId;

class Form1Rules : public testing::Test {
protected:
    Form1Rules()
        : m_recorder([this](std::u16string_view text) { shown.emplace_back(text); }) {
        window::wireForm1(form);
    }

    ControlId id(std::u16string_view name) const { return form.id(name); }
    recording::Window& native() { return *recording::state().window; }
    rt::FormInput& input() { return native().input; }
    // The middle of a control where the arrangement the platform reported shown puts it.
    rt::Point centre(std::u16string_view name) const {
        const rt::Box& box = form.layout().boxesIn(arrangement)[id(name)];
        return {box.left + box.width / 2, box.top + box.height / 2};
    }
    void fillInputs(std::u16string_view a = u"1") {
        const std::u16string_view texts[] = {a, u"2", u"3", u"4", u"5", u"6"};
        const std::u16string_view names[] = {u"a", u"b", u"c", u"d", u"e", u"f"};
        for (int i = 0; i < 6; ++i) {
            form.setFieldText(names[i], texts[i]);
        }
    }
    std::u16string results() const {
        return form.fieldText(u"x") + u" " + form.fieldText(u"y") + u" " + form.fieldText(u"z");
    }

    rt::FormEngine form{window::form1Description()};
    std::vector<std::u16string> shown;
    rt::ArrangementId arrangement = 0;

private:
    rt::ScopedMessagePresenter m_recorder;
};

TEST_F(Form1Rules, OpensCentredWithTheFocusInAAndTabWalksTheFieldsThenTheButton) {
    EXPECT_EQ(native().caption, u"Melkora");
    // 1280 x 1024 less a window of 680 + 8 by 371 + 30, halved.
    EXPECT_EQ(native().outer, (rt::Box{296, 311, 688, 401}));
    std::u16string chain;
    for (const ControlId created : native().created) {
        chain += window::form1Description().controls[created].name;
        chain += u' ';
    }
    EXPECT_EQ(chain, u"a b c d e f x y z cmdCalculate ");
    // A screen reader tells every field from the others by its name.
    std::set<std::u16string_view> names;
    for (const rt::NativeControl& control : form.layout().controls) {
        EXPECT_TRUE(control.kind != rt::ControlKind::TextField || !control.accessibleName.empty());
        names.insert(control.accessibleName);
    }
    EXPECT_EQ(names.size(), 10u); // nine names, and the button's empty one
    EXPECT_EQ(native().focused, id(u"a"));
    EXPECT_EQ(results(), u"  ");
    EXPECT_TRUE(shown.empty());
}

TEST_F(Form1Rules, KeysThatRunCalculateAndKeysThatMustNot) {
    struct Row {
        const char* name;
        char32_t key;
        unsigned modifiers;
        bool calculates;
    };
    const Row rows[] = {
        {"Enter", rt::kEnterKey, rt::kNoModifier, true},
        {"Alt+C", U'C', rt::kAlt, true},
        {"Ctrl+Enter", rt::kEnterKey, rt::kControl, false},
        {"Shift+Enter", rt::kEnterKey, rt::kShift, false},
        {"Alt+Enter", rt::kEnterKey, rt::kAlt, false},
        {"plain C", U'C', rt::kNoModifier, false},
        {"Alt+Shift+C", U'C', rt::kAlt | rt::kShift, false},
        {"AltGr+C, which is Ctrl+Alt", U'C', rt::kAlt | rt::kControl, false},
        {"Alt+X", U'X', rt::kAlt, false},
        {"Alt and a key of no letter", U'-', rt::kAlt, false},
        {"Escape, as Windows codes it", 0x1B, rt::kNoModifier, false},
        {"Alt and Escape, as Qt codes it", 0x01000000, rt::kAlt, false},
    };
    for (const ControlId focus : {id(u"a"), id(u"y"), id(u"cmdCalculate")}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.name);
            fillInputs();
            form.setFieldText(u"x", u"");
            native().focus(focus);
            EXPECT_EQ(input().keyPressed(row.key, row.modifiers), row.calculates);
            EXPECT_EQ(form.fieldText(u"x"), row.calculates ? u"-3" : u"");
            EXPECT_EQ(native().focused, focus); // Calculate never moves the focus
        }
    }
    // The button's own click, by the mouse or Space, runs it too; a field's id runs nothing.
    form.setFieldText(u"x", u"");
    input().buttonPressed(id(u"a"));
    EXPECT_EQ(form.fieldText(u"x"), u"");
    input().buttonPressed(id(u"cmdCalculate"));
    EXPECT_EQ(results(), u"-3 6 -3");
    EXPECT_TRUE(shown.empty());
}

TEST_F(Form1Rules, AStopPointIsReportedWithTheWindowAsTheRunLeftIt) {
    fillInputs();
    form.setFieldText(u"d", u"four");
    form.setFieldText(u"y", u"old");
    input().keyPressed(rt::kEnterKey, rt::kNoModifier);
    EXPECT_EQ(shown, std::vector<std::u16string>{
                         u"Type mismatch: field d holds \"four\", which is not a number."});
    EXPECT_EQ(results(), u"-3 old ");
    EXPECT_EQ(native().focused, id(u"a"));
}

TEST_F(Form1Rules, TheCreditLabelOpensThePageOncePerClick) {
    struct Row {
        const char* name;
        std::u16string_view pressOn;
        std::u16string_view releaseOn;
        bool doubleClick;
        size_t requests;
    };
    const Row rows[] = {
        {"a click on the credit label", u"Label16", u"Label16", false, 1},
        {"a double-click on it", u"Label16", u"Label16", true, 1},
        {"pressed on it, released on the label beside it", u"Label16", u"Label25", false, 0},
        {"pressed beside it, released on it", u"Label25", u"Label16", false, 0},
        {"a click on the label beside it", u"Label25", u"Label25", false, 0},
        {"a click on the title over the bar", u"Label26", u"Label26", false, 0},
    };
    // In the window's own arrangement and in the narrow one, each at the boxes it has.
    for (arrangement = 0; arrangement <= form.layout().narrower.size(); ++arrangement) {
        input().arranged(arrangement);
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message() << row.name << ", arrangement " << arrangement);
            recording::state().openCalls.clear();
            input().mousePressed(centre(row.pressOn), false);
            input().mouseReleased(centre(row.releaseOn));
            if (row.doubleClick) {
                input().mousePressed(centre(row.pressOn), true);
                input().mouseReleased(centre(row.releaseOn));
            }
            ASSERT_EQ(recording::state().openCalls.size(), row.requests);
            if (row.requests > 0) {
                EXPECT_EQ(recording::state().openCalls[0].window, native().handle());
                EXPECT_EQ(recording::state().openCalls[0].address, u"http://www.melkora.org/");
            }
        }
    }
    // Where the credit line stands in one arrangement is no link in the other, and a press made
    // before the phone turned is no click when released after.
    arrangement = 1;
    const rt::Point narrowLink = centre(u"Label16");
    arrangement = 0;
    const rt::Point ownLink = centre(u"Label16");
    recording::state().openCalls.clear();
    for (const auto& [shown, at] : {std::pair{0, narrowLink}, std::pair{1, ownLink}}) {
        input().arranged(shown);
        input().mousePressed(at, false);
        input().mouseReleased(at);
    }
    input().mousePressed(narrowLink, false);
    input().arranged(0);
    input().arranged(1);
    input().mouseReleased(narrowLink);
    EXPECT_EQ(recording::state().openCalls.size(), 0u);
    input().arranged(0);
    // The bare window and a rectangle's inside are no label.
    const rt::Box& bar = form.layout().boxes[id(u"Shape4")];
    for (const rt::Point at : {rt::Point{bar.right() - 3, bar.top + 3}, rt::Point{676, 3}}) {
        input().mousePressed(at, false);
        input().mouseReleased(at);
    }
    EXPECT_EQ(recording::state().openCalls.size(), 0u);
    EXPECT_EQ(recording::state().openerLookups, 1); // bound at the first click, then reused
    EXPECT_EQ(native().focused, id(u"a"));
    EXPECT_TRUE(shown.empty());
}

TEST_F(Form1Rules, PaintedBackToFrontSoTheTitleAndCaptionStayVisible) {
    const auto& paint = form.layout().paint;
    const auto position = [&](std::u16string_view name, rt::PaintItem::Kind kind) {
        for (size_t i = 0; i < paint.size(); ++i) {
            if (paint[i].control == id(name) && paint[i].kind == kind) {
                return i;
            }
        }
        return paint.size();
    };
    using Kind = rt::PaintItem::Kind;
    EXPECT_LT(position(u"Shape4", Kind::Fill), position(u"Label26", Kind::Text));
    EXPECT_LT(position(u"Label26", Kind::Text), paint.size());
    EXPECT_LT(position(u"Shape1", Kind::Frame), position(u"Label15", Kind::Fill));
    EXPECT_LT(position(u"Label15", Kind::Fill), paint.size());
    EXPECT_EQ(paint.back().control, id(u"Label15"));
    // The frames are empty inside, and colours the description gives are taken as they stand.
    EXPECT_EQ(position(u"Shape1", Kind::Fill), paint.size());
    EXPECT_EQ(paint[position(u"Label16", Kind::Text)].colour.rgb, rt::rgb(0x00, 0x00, 0xC0));
    EXPECT_EQ(paint[position(u"Label26", Kind::Text)].colour.rgb, rt::rgb(0xFF, 0xFF, 0xFF));
    // A label with no text colour of its own gets the platform's, by name.
    EXPECT_EQ(paint[position(u"Label14", Kind::Text)].colour.standard,
              rt::StandardColour::WindowText);
}

// In every arrangement, at every scale: every control inside the client area; and in the
// narrower ones, made for a finger, no control over another and no text over another.
TEST_F(Form1Rules, EveryControlLiesInsideTheClientAreaAtEveryScale) {
    const auto overlap = [](const rt::Box& l, const rt::Box& r) {
        return l.left < r.right() && r.left < l.right() && l.top < r.bottom() && r.top < l.bottom();
    };
    const auto& records = window::form1Description().controls;
    for (const double dpi : {96.0, 120.0, 144.0, 192.0}) {
        const int layOutsBefore = native().layOuts;
        input().dpiChanged(dpi);
        EXPECT_EQ(native().layOuts, layOutsBefore + (dpi == 96.0 ? 0 : 1));
        const rt::FormLayout& layout = form.layout();
        std::vector<rt::Arrangement> arrangements{{layout.client, layout.boxes}};
        arrangements.insert(arrangements.end(), layout.narrower.begin(), layout.narrower.end());
        for (size_t n = 0; n < arrangements.size(); ++n) {
            SCOPED_TRACE(testing::Message() << dpi << " dpi, arrangement " << n);
            const rt::Box client{0, 0, arrangements[n].client.width, arrangements[n].client.height};
            const std::vector<rt::Box>& boxes = arrangements[n].boxes;
            for (ControlId i = 0; i < boxes.size(); ++i) {
                EXPECT_TRUE(client.contains(boxes[i].left, boxes[i].top) &&
                            client.contains(boxes[i].right() - 1, boxes[i].bottom() - 1))
                    << std::string(records[i].name.begin(), records[i].name.end());
                for (ControlId j = 0; n > 0 && j < i; ++j) {
                    const rt::ControlKind l = records[i].kind, r = records[j].kind;
                    const bool texts = l == rt::ControlKind::Label && r == l;
                    const bool controls =
                        l != rt::ControlKind::Label && l != rt::ControlKind::Rectangle &&
                        r != rt::ControlKind::Label && r != rt::ControlKind::Rectangle;
                    EXPECT_FALSE((texts || controls) && overlap(boxes[i], boxes[j]))
                        << i << " on " << j;
                }
            }
            if (n > 0) {
                EXPECT_LT(client.width, arrangements[n - 1].client.width);
            }
        }
        EXPECT_EQ(layout.fonts.front().pixels, static_cast<int>(16 * dpi / 96 + 0.5));
    }
    EXPECT_EQ(form.layout().client, (rt::Size{1360, 742}));
}

TEST(Placement, CentredInTheWorkAreaWithTheCaptionAlwaysOnTheScreen) {
    struct Row {
        const char* name;
        rt::Size frame;
        rt::Box workArea;
        rt::Point expected;
    };
    const Row rows[] = {
        {"centred", {688, 401}, {0, 0, 1280, 1024}, {296, 311}},
        {"below a panel at the top", {688, 401}, {0, 40, 1280, 984}, {296, 331}},
        {"on a second screen", {688, 401}, {1280, 0, 1920, 1080}, {1896, 339}},
        {"a screen smaller than the window", {688, 401}, {0, 24, 640, 376}, {0, 24}},
        {"narrower only", {688, 401}, {10, 0, 600, 1024}, {10, 311}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(rt::placement(row.frame, row.workArea), row.expected);
    }
}

TEST(Caption, AmpersandMarksTheAcceleratorAndTwoShowOne) {
    struct Row {
        std::u16string_view text;
        std::u16string_view shown;
        size_t underlined;
        char32_t accelerator;
    };
    constexpr size_t kNone = std::u16string::npos;
    const Row rows[] = {
        {u"&Calculate", u"Calculate", 0, U'C'},
        {u"Save && &quit", u"Save & quit", 7, U'Q'},
        {u"Fish &&chips", u"Fish &chips", kNone, 0},
        {u"&&&Go", u"&Go", 1, U'G'},
        {u"&One &Two", u"One Two", 0, U'O'},
        {u"trailing &", u"trailing &", kNone, 0},
        {u"&-minus", u"-minus", 0, 0}, // underlined, but no key to press
        {u"plain", u"plain", kNone, 0},
    };
    for (const Row& row : rows) {
        const rt::Caption caption = rt::parseCaption(row.text);
        EXPECT_EQ(caption.shown, row.shown);
        EXPECT_EQ(caption.underlined, row.underlined);
        EXPECT_EQ(caption.accelerator, row.accelerator);
        // The markup given to the native buttons reads back as the same caption.
        EXPECT_EQ(rt::parseCaption(caption.markup()).shown, caption.shown);
        EXPECT_EQ(rt::parseCaption(caption.markup()).underlined, caption.underlined);
    }
}

TEST_F(Form1Rules, NumbersFollowTheUserSettingsAtEveryRun) {
    recording::state().symbols.decimalSeparator = u",";
    form.setFieldText(u"a", u"1,5");
    for (const auto name : {u"b", u"c", u"d", u"f"}) {
        form.setFieldText(name, u"0");
    }
    form.setFieldText(u"e", u"2");
    input().buttonPressed(id(u"cmdCalculate"));
    EXPECT_EQ(form.fieldText(u"z"), u"3");
    form.setFieldText(u"a", u"0,25");
    input().buttonPressed(id(u"cmdCalculate"));
    EXPECT_EQ(form.fieldText(u"z"), u"0,5");
}

TEST(Start, BuildsTheWindowWiresItAndRunsItsLoop) {
    static int wired = 0;
    EXPECT_EQ(rt::start(window::form1Description(), [](rt::Form&) { ++wired; }), 0);
    EXPECT_EQ(wired, 1);
}

TEST(Form1DeathTest, ProgrammingErrorsStopTheProgramAndSaySo) {
    // Each death in a new run of the program, whatever threads this one has; but an emulator
    // that cannot start the program again (qemu-user) asks for a fork of this one instead.
    if (std::getenv("GTEST_DEATH_TEST_STYLE") == nullptr) {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
    EXPECT_DEATH_IF_SUPPORTED(rt::controlIndex(window::form1Description(), u"cmdCalc"),
                              "Programming error: the window has no control named cmdCalc");
    const rt::ControlRecord twice[] = {window::form1Description().controls[0],
                                       window::form1Description().controls[0]};
    const rt::FormDescription duplicated{window::form1Description().window, twice};
    EXPECT_DEATH_IF_SUPPORTED(rt::FormEngine{duplicated}, "twice: cmdCalculate");
    // An arrangement places every control.
    const rt::FormDescription& form1 = window::form1Description();
    const rt::ArrangementRecord narrow = form1.narrower[0];
    const rt::ArrangementRecord cut{narrow.clientWidth, narrow.clientHeight,
                                    narrow.boxes.first(30)};
    EXPECT_DEATH_IF_SUPPORTED((rt::FormEngine{{form1.window, form1.controls, {&cut, 1}}}),
                              "no box in an arrangement: Shape4");
    EXPECT_DEATH_IF_SUPPORTED(
        {
            rt::FormEngine form(window::form1Description());
            form.onClick(u"a", [] {});
        },
        "takes no clicks: a");
    EXPECT_DEATH_IF_SUPPORTED(
        {
            rt::FormEngine form(window::form1Description());
            form.fieldText(u"Label16");
        },
        "no text field: Label16");
}

} // namespace
