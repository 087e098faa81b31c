// Event dispatch and its reports, binding by name, and the conversion from twips.

#include "runtime/binding.h"
#include "runtime/dispatcher.h"
#include "runtime/message_box.h"
#include "runtime/twips.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// Counts live instances, to see that an error releases what the handler held.
struct Tracked {
    static inline int live = 0;
    Tracked() { ++live; }
    ~Tracked() { --live; }
    Tracked(const Tracked&) = delete;
    Tracked& operator=(const Tracked&) = delete;
};

TEST(Dispatch, Reports) {
    using K = rt::ErrorKind;
    struct Row {
        const char* name;
        K kind;
        std::u16string subject;
        std::u16string text;
        std::u16string expected;
    };
    const Row rows[] = {
        {"type mismatch names field and text", K::TypeMismatch, u"b", u"abc",
         u"Type mismatch: field b holds \"abc\", which is not a number."},
        {"type mismatch on an empty field", K::TypeMismatch, u"b", u"",
         u"Type mismatch: field b is empty. Please type a number into it."},
        {"type mismatch on a blank field", K::TypeMismatch, u"e", u"   ",
         u"Type mismatch: field e is empty. Please type a number into it."},
        {"long text is cut short", K::TypeMismatch, u"a", std::u16string(1'000'000, u'7') + u"x",
         u"Type mismatch: field a holds \"" + std::u16string(40, u'7') +
             u"\u2026\", which is not a number."},
        {"control characters are made visible", K::TypeMismatch, u"a",
         std::u16string(u"1\u00002\n", 4),
         u"Type mismatch: field a holds \"1\uFFFD2\uFFFD\", which is not a number."},
        {"overflow of a text", K::Overflow, u"c", u"1e400",
         u"Overflow: field c holds \"1e400\", which is too large for a number this program can "
         u"hold."},
        {"overflow of a result", K::Overflow, u"x", u"",
         u"Overflow: the result for x is too large for a number this program can hold."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(rt::reportText(rt::Error(row.kind, row.subject, row.text)), row.expected);
    }
}

TEST(Dispatch, ErrorsSayTheirKindToo) {
    EXPECT_STREQ(rt::Error(rt::ErrorKind::TypeMismatch, u"a").what(), "type mismatch");
    EXPECT_STREQ(rt::Error(rt::ErrorKind::Overflow, u"x").what(), "overflow");
    EXPECT_STREQ(rt::Error(rt::ErrorKind::FunctionNotFound, u"f").what(), "function not found");
}

TEST(Dispatch, ReportsAndGoesOn) {
    std::vector<std::u16string> shown;
    const rt::ScopedMessagePresenter recorder(
        [&](std::u16string_view text) { shown.emplace_back(text); });
    int ran = 0;
    rt::dispatch([&] {
        ++ran;
        rt::raiseFunctionNotFound(u"xdg-utils", u"xdg-open");
    });
    rt::dispatch([&] { ++ran; });
    EXPECT_EQ(ran, 2);
    EXPECT_EQ(shown, std::vector<std::u16string>{u"Function not found: xdg-open could not be "
                                                 u"found. It comes with xdg-utils; please "
                                                 u"install xdg-utils."});
}

TEST(Dispatch, ReleasesTemporaries) {
    const rt::ScopedMessagePresenter recorder([](std::u16string_view) {});
    rt::dispatch([] {
        const Tracked held;
        const auto alsoHeld = std::make_unique<Tracked>();
        EXPECT_EQ(Tracked::live, 2);
        rt::raiseOverflow(u"x");
    });
    EXPECT_EQ(Tracked::live, 0);
}

TEST(Dispatch, SilentOnSuccess) {
    std::vector<std::u16string> shown;
    const rt::ScopedMessagePresenter recorder(
        [&](std::u16string_view text) { shown.emplace_back(text); });
    rt::dispatch([] {});
    EXPECT_TRUE(shown.empty());
}

TEST(Binding, CachesOnlySuccess) {
    int lookups = 0;
    bool available = false;
    rt::Binding<int> binding(u"libdemo", u"demo",
                             [&](std::u16string_view library, std::u16string_view name) {
                                 ++lookups;
                                 EXPECT_EQ(library, u"libdemo");
                                 EXPECT_EQ(name, u"demo");
                                 return available ? std::optional(42) : std::nullopt;
                             });
    EXPECT_FALSE(binding.isBound());
    for (int attempt = 1; attempt <= 2; ++attempt) {
        try {
            binding.get();
            FAIL() << "bound to nothing";
        } catch (const rt::Error& error) {
            EXPECT_EQ(error.kind(), rt::ErrorKind::FunctionNotFound);
            EXPECT_EQ(error.subject(), u"demo");
            EXPECT_EQ(error.detail(), u"libdemo");
        }
        EXPECT_FALSE(binding.isBound());
        EXPECT_EQ(lookups, attempt); // a failure is never remembered
    }
    available = true;
    EXPECT_EQ(binding.get(), 42);
    EXPECT_EQ(binding.get(), 42);
    EXPECT_EQ(lookups, 3); // a success is
    EXPECT_TRUE(binding.isBound());
}

TEST(Twips, ToPixels) {
    struct Row {
        const char* name;
        double dpi;
        rt::Box twips;
        rt::Box pixels;
    };
    const Row rows[] = {
        {"96 dpi: 15 twips a pixel", 96.0, {480, 1080, 975, 735}, {32, 72, 65, 49}},
        {"96 dpi: client area", 96.0, {0, 0, 10200, 5565}, {0, 0, 680, 371}},
        {"144 dpi: 10 twips a pixel", 144.0, {480, 1080, 975, 735}, {48, 108, 98, 74}},
        {"144 dpi: client area", 144.0, {0, 0, 10200, 5565}, {0, 0, 1020, 557}},
        {"192 dpi", 192.0, {6360, 2280, 2895, 615}, {848, 304, 386, 82}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(rt::twipsToPixels(row.twips, row.dpi), row.pixels);
        // Boxes that touch in twips touch in pixels.
        const rt::Box next{row.twips.right(), row.twips.top, 255, row.twips.height};
        EXPECT_EQ(rt::twipsToPixels(next, row.dpi).left, row.pixels.right());
    }
}

} // namespace
