#pragma once

// The publisher's credit line, and what a click on it does: hand the publisher's home page to
// the desktop's handler for web addresses, the user's browser.

#include "runtime/binding.h"

#include <QString>

namespace window {

inline constexpr char kCreditLine[] = "by Melkora Software";

struct OpenRequest {
    const char* verb; // picks the freedesktop tool that carries it out: xdg-<verb>
    const char* address;
};

inline constexpr OpenRequest kHomePage{"open", "http://www.melkora.org/"};

class PublisherLink {
public:
    PublisherLink();

    // Starts the request and returns at once, never waiting for the browser. Raises function
    // not found where xdg-open is not installed; a request that fails once made is silent.
    void open();

private:
    rt::Binding<QString> m_opener; // the path of xdg-open, found at the first click
};

} // namespace window
