// The publisher link on the recording platform: how a missing opener is reported and looked for
// again. What a click hands to the opener is the window's rules' (tst_form1_rules.cpp).

#include "runtime/dispatcher.h"
#include "runtime/message_box.h"
#include "tests/support/recording_platform.h"
#include "window/publisher.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

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
