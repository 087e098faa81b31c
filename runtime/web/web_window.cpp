// The window engine's NativeWindow (runtime/platform.h) in a web page. The build has already
// made the window, as the page's markup (web_markup.h); the browser paints it, scales it with
// the page's zoom and device pixel ratio, and runs the event loop. So this window attaches to
// what the page holds, reads and writes the inputs' values, moves the focus, and reports what
// the user does, and which of the window's arrangements the page's styles show for the
// viewport. The browser's half is web_window.js.

#include "runtime/platform.h"

#include <cstddef>
#include <emscripten/emscripten.h>
#include <string>

extern "C" {
void melkora_attach(const char16_t* caption, std::size_t length);
void melkora_focus(std::size_t control);
std::size_t melkora_textLength(std::size_t field);
void melkora_copyText(std::size_t field, char16_t* into);
void melkora_setText(std::size_t field, const char16_t* text, std::size_t length);
void melkora_announce(const char16_t* text, std::size_t length);
}

namespace rt {

namespace {

// The page has one window, and what the user does there comes in through the functions below.
FormInput* g_input = nullptr;

class WebWindow final : public NativeWindow {
public:
    explicit WebWindow(FormInput& input) { g_input = &input; }
    ~WebWindow() override { g_input = nullptr; }

    // The page has no frame of its own: the browser's is round all of it.
    Size outerSize(Size client, double /*dotsPerInch*/) const override { return client; }

    // The page centres the window in the viewport itself.
    void open(const FormLayout& /*layout*/, std::u16string_view caption,
              const Box& /*outer*/) override {
        melkora_attach(caption.data(), caption.size());
    }

    // The browser lays out again at another zoom or pixel ratio; the engine never asks.
    void layOutAgain() override {}

    std::u16string text(ControlId field) const override {
        std::u16string text(melkora_textLength(field), u'\0');
        melkora_copyText(field, text.data());
        return text;
    }

    void setText(ControlId field, std::u16string_view text) override {
        melkora_setText(field, text.data(), text.size());
    }

    void focus(ControlId control) override { melkora_focus(control); }

    void announce(std::u16string_view text) override { melkora_announce(text.data(), text.size()); }

    // Nothing outside the page knows it by a handle.
    NativeHandle handle() const override { return 0; }

    // The page shows already, and the browser runs its events after main has returned.
    std::optional<int> run() override { return std::nullopt; }
};

} // namespace

namespace platform {

std::unique_ptr<NativeWindow> createWindow(FormInput& input) {
    return std::make_unique<WebWindow>(input);
}

} // namespace platform

} // namespace rt

// What the page reports, from web_window.js.
extern "C" {

EMSCRIPTEN_KEEPALIVE void melkora_buttonPressed(std::size_t button) {
    rt::g_input->buttonPressed(button);
}

EMSCRIPTEN_KEEPALIVE int melkora_keyPressed(unsigned key, unsigned modifiers) {
    return rt::g_input->keyPressed(key, modifiers) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void melkora_mousePressed(int x, int y, int secondOfDoubleClick) {
    rt::g_input->mousePressed({x, y}, secondOfDoubleClick != 0);
}

EMSCRIPTEN_KEEPALIVE void melkora_mouseReleased(int x, int y) {
    rt::g_input->mouseReleased({x, y});
}

EMSCRIPTEN_KEEPALIVE void melkora_arranged(std::size_t arrangement) {
    rt::g_input->arranged(arrangement);
}

} // extern "C"
