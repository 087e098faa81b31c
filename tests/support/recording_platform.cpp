#include "tests/support/recording_platform.h"

#include <cstdio>
#include <cstdlib>

namespace recording {

State& state() {
    static State current;
    return current;
}

void reset() {
    state() = State{};
}

rt::Size Window::outerSize(rt::Size client, double /*dotsPerInch*/) const {
    return {client.width + state().frame.width, client.height + state().frame.height};
}

void Window::open(const rt::FormLayout& layout, std::u16string_view caption, const rt::Box& outer) {
    this->layout = &layout;
    this->caption = caption;
    this->outer = outer;
    for (const rt::NativeControl& control : layout.controls) {
        created.push_back(control.id);
    }
}

std::u16string Window::text(rt::ControlId field) const {
    const auto found = texts.find(field);
    return found != texts.end() ? found->second : std::u16string();
}

void Window::setText(rt::ControlId field, std::u16string_view text) {
    texts[field] = text;
}

} // namespace recording

namespace rt::platform {

std::unique_ptr<NativeWindow> createWindow(FormInput& input) {
    auto window = std::make_unique<recording::Window>(input);
    recording::state().window = window.get();
    return window;
}

Screen mainScreen() {
    return recording::state().screen;
}

void showMessageBox(std::u16string_view text) {
    std::string shown;
    for (const char16_t c : text) {
        shown.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    std::fprintf(stderr, "a message box was shown with no presenter installed: %s\n",
                 shown.c_str());
    std::abort();
}

void reportProgrammingError(std::u16string_view /*text*/) {
    // Standard error has it already, which is where a death test looks.
}

NumberSymbols userNumberSymbols() {
    return recording::state().symbols;
}

AddressOpener addressOpener() {
    return {u"opener.test", u"OpenTest",
            [](std::u16string_view, std::u16string_view) -> std::optional<OpenAddress> {
                recording::State& state = recording::state();
                ++state.openerLookups;
                if (!state.openerAvailable) {
                    return std::nullopt;
                }
                return [](NativeHandle window, std::u16string_view address) {
                    recording::state().openCalls.push_back({window, std::u16string(address)});
                };
            }};
}

} // namespace rt::platform
