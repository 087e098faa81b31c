// The publisher link on the core's own platform: what each click hands to the shell, and how a
// missing shell is reported and looked for again.

#include "runtime/dispatcher.h"
#include "runtime/message_box.h"
#include "tests/support/null_platform.h"
#include "window/publisher.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(PublisherLink, EveryClickOneRequestFromTheWindow) {
    window::PublisherLink link;
    for (const rt::NativeHandle window : {rt::NativeHandle{0x1234}, rt::NativeHandle{0x5678}}) {
        link.open(window);
    }
    const auto& calls = nullplatform::state().shellCalls;
    ASSERT_EQ(calls.size(), 2u);
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].operation, "open");
        EXPECT_EQ(calls[i].file, "http://www.melkora.org/");
        EXPECT_EQ(calls[i].showCommand, 0);
    }
    EXPECT_EQ(calls[0].window, 0x1234u);
    EXPECT_EQ(calls[1].window, 0x5678u);
    EXPECT_EQ(nullplatform::state().shellLookups, 1); // bound at the first click, then reused
}

TEST(PublisherLink, MissingShellIsReportedAndLookedForAgain) {
    std::vector<std::u16string> shown;
    const rt::ScopedMessagePresenter recorder(
        [&](std::u16string_view text) { shown.emplace_back(text); });
    nullplatform::state().shellAvailable = false;
    window::PublisherLink link;
    rt::dispatch([&] { link.open(1); });
    rt::dispatch([&] { link.open(1); });
    EXPECT_EQ(nullplatform::state().shellLookups, 2);
    EXPECT_TRUE(nullplatform::state().shellCalls.empty());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], u"Function not found: OpenTest could not be found. It comes with "
                        u"shell.test; please install shell.test.");

    nullplatform::state().shellAvailable = true; // installed in the meantime
    rt::dispatch([&] { link.open(1); });
    EXPECT_EQ(nullplatform::state().shellCalls.size(), 1u);
    EXPECT_EQ(shown.size(), 2u);
}

} // namespace
