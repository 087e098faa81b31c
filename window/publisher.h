#pragma once

// The publisher's credit line, and what a click on it does: hand the publisher's home page to
// the system's handler for web addresses, the user's browser.
//
// The request goes the way the shell takes it on Windows: the window's handle, the operation
// and the address as 8-bit strings, no parameters, no directory, and a show command that
// hides. The platform's facility is bound by name at the first click, and again after a click
// that found none (shell.h, platform.h).

#include "runtime/binding.h"
#include "runtime/shell.h"

#include <string_view>

namespace window {

inline constexpr std::u16string_view kCreditLine = u"by Melkora Software";

struct OpenRequest {
    std::u16string_view operation;
    std::u16string_view address;
};

inline constexpr OpenRequest kHomePage{u"open", u"http://www.melkora.org/"};

// The show command: the handler, not the program, decides how the browser's window appears.
inline constexpr int kHide = 0;

class PublisherLink {
public:
    PublisherLink();

    // Hands the request off from the window `window` and returns at once, never waiting for
    // the browser. Raises function not found where the platform's facility cannot be bound;
    // a request that fails once made is silent.
    void open(rt::NativeHandle window);

private:
    rt::Binding<rt::ShellExecute> m_shell;
};

} // namespace window
