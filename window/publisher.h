#pragma once

// The publisher's credit line, and what a click on it does: hand the publisher's home page to
// the system's handler for web addresses, the user's browser.
//
// The platform's facility is bound by name at the first click, and again after a click that
// found none (opener.h, platform.h).

#include "app/version.h"
#include "runtime/binding.h"
#include "runtime/opener.h"

#include <string_view>

namespace window {

inline constexpr std::u16string_view kCreditLine = u"by Melkora Software";

inline constexpr std::u16string_view kHomePage = app::kHomePage;

class PublisherLink {
public:
    PublisherLink();

    // Hands the home page off from the window `window` and returns at once, never waiting for
    // the browser. Raises function not found where the platform's facility cannot be bound;
    // a request that fails once made is silent.
    void open(rt::NativeHandle window);

private:
    rt::Binding<rt::OpenAddress> m_opener;
};

} // namespace window
