#pragma once

// Handing an address to the user's default handler for web addresses, the one request the
// program makes outside its own window. The platform names the facility that does it and how
// to bind it by name (platform.h); whatever shape the system's call has (an 8-bit code page, a
// verb, a show command) is the platform layer's business.

#include "runtime/binding.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace rt {

// A window as the operating system knows it: an HWND on Windows, an X11 window id on Linux.
using NativeHandle = std::uintptr_t;

// Hands `address` off from `window` and returns without waiting; what becomes of the request
// is not reported.
using OpenAddress = std::function<void(NativeHandle window, std::u16string_view address)>;

struct AddressOpener {
    std::u16string_view library;  // where it comes from, for the report when it is missing
    std::u16string_view function; // what is looked up
    Binding<OpenAddress>::Lookup lookup;
};

} // namespace rt
