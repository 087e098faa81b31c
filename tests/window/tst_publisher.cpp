// The publisher link on the recording platform: what each click hands to the opener, and how a
// missing opener is reported and looked for again.

#include "runtime/dispatcher.h"
#include "runtime/message_box.h"
#include "tests/support/recording_platform.h"
#include "window/publisher.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(PublisherLink, EveryClickOneRequestFromTheWindow) {
    window::PublisherLink link;
    for (const rt::NativeHandle window : {rt::NativeHandle{0x1234}, rt::NativeHandle{0x5678}}) {
        link.open(window);
    }
    const auto& calls = recording::state().openCalls;
    ASSERT_EQ(calls.size(), 2u);
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].address, u"http://www.melkora.org/");
    }
    EXPECT_EQ(calls[0].window, 0x1234u);
    EXPECT_EQ(calls[1].window, 0x5678u);
    EXPECT_EQ(recording::state().openerLookups, 1); // bound at the first click, then reused
}

TEST(PublisherLink, MissingOpenerIsReportedAndLookedForAgain) {
    std::vector<std::u16string> shown;
    const rt::ScopedMessagePresenter recorder(
        [&](std::u16string_view text) { shown.emplace_back(text); });
    recording::state().openerAvailable = false;
    window::PublisherLink link;
    rt::dispatch([&] { link.open(1); });
    rt::dispatch([&] { link.open(1); });
    EXPECT_EQ(recording::state().openerLookups, 2);
    EXPECT_TRUE(recording::state().openCalls.empty());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], u"Function not found: OpenTest could not be found. It comes with "
                        u"opener.test; please install opener.test.");

    recording::state().openerAvailable = true; // installed in the meantime
    rt::dispatch([&] { link.open(1); });
    EXPECT_EQ(recording::state().openCalls.size(), 1u);
    EXPECT_EQ(shown.size(), 2u);
}

} // namespace
