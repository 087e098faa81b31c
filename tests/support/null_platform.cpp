#include "tests/support/null_platform.h"

#include "runtime/platform.h"

#include <cstdio>
#include <cstdlib>

namespace nullplatform {

State& state() {
    static State current;
    return current;
}

void reset() {
    state() = State{};
}

} // namespace nullplatform

namespace rt::platform {

// As an ANSI code page would: ASCII as it is, anything else as '?'.
std::string toNarrowText(std::u16string_view text) {
    std::string narrow;
    for (const char16_t c : text) {
        narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return narrow;
}

void showMessageBox(std::u16string_view text) {
    std::fprintf(stderr, "a message box was shown with no presenter installed: %s\n",
                 toNarrowText(text).c_str());
    std::abort();
}

NumberSymbols userNumberSymbols() {
    return nullplatform::state().symbols;
}

ShellFacility shellFacility() {
    return {u"shell.test", u"OpenTest",
            [](std::u16string_view, std::u16string_view) -> std::optional<ShellExecute> {
                nullplatform::State& state = nullplatform::state();
                ++state.shellLookups;
                if (!state.shellAvailable) {
                    return std::nullopt;
                }
                return [](const ShellRequest& request) {
                    nullplatform::state().shellCalls.push_back(
                        {request.window, std::string(request.operation), std::string(request.file),
                         request.showCommand});
                };
            }};
}

} // namespace rt::platform
