#pragma once

// Handing an address to the user's default handler for web addresses, the one request the
// program makes outside its own window. The platform names the facility that does it and
// knows how to bind it (platform.h); the caller converts its texts to 8-bit strings first.

#include "runtime/binding.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace rt {

// A window as the operating system knows it: an HWND on Windows, an X11 window id on Linux.
using NativeHandle = std::uintptr_t;

struct ShellRequest {
    NativeHandle window;
    std::string_view operation; // "open"
    std::string_view file;      // the address
    int showCommand;            // 0 hides any window the handler itself might open
};

// Hands the request off and returns without waiting; what becomes of it is not reported.
using ShellExecute = std::function<void(const ShellRequest& request)>;

struct ShellFacility {
    std::u16string_view library;  // where it comes from, for the report when it is missing
    std::u16string_view function; // what is looked up
    Binding<ShellExecute>::Lookup lookup;
};

} // namespace rt
