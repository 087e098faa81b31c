#pragma once

// What each platform layer supplies to the core, and all of it: runtime/qt/ defines these for
// Linux, runtime/win32/ for Windows, and tests/support/null_platform.cpp for the core's own
// tests. Everything else the core does is standard C++.

#include "runtime/number_format.h"
#include "runtime/shell.h"

#include <string>
#include <string_view>

namespace rt::platform {

// The platform's modal box: `text`, an OK button, no icon, the application's name as title.
void showMessageBox(std::u16string_view text);

// The number symbols of the user's regional settings, read afresh at each call.
NumberSymbols userNumberSymbols();

// `text` as the 8-bit string that the platform's C interfaces take: the system's ANSI code
// page on Windows, the locale's encoding (UTF-8) elsewhere.
std::string toNarrowText(std::u16string_view text);

// The facility that opens an address in the user's browser.
ShellFacility shellFacility();

} // namespace rt::platform
