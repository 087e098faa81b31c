#pragma once

// The platform that the core's tests run on (runtime/platform.h): no window system at all, and
// a record of everything the core asked of it. Its window keeps what it was told to create, the
// texts of its fields and where the focus is; a test plays the user by calling the engine's
// FormInput as a platform would. What a test does not set, it does not get: a message box
// without a presenter installed stops the test program with the text.

#include "runtime/platform.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace recording {

struct OpenCall {
    rt::NativeHandle window;
    std::u16string address;
};

class Window final : public rt::NativeWindow {
public:
    explicit Window(rt::FormInput& input)
        : input(input) {}

    rt::Size outerSize(rt::Size client, double dotsPerInch) const override;
    void open(const rt::FormLayout& layout, std::u16string_view caption,
              const rt::Box& outer) override;
    void layOutAgain() override { ++layOuts; }
    std::u16string text(rt::ControlId field) const override;
    void setText(rt::ControlId field, std::u16string_view text) override;
    void focus(rt::ControlId control) override { focused = control; }
    rt::NativeHandle handle() const override { return 0xF0F0; }
    void announce(std::u16string_view text) override { announcements.emplace_back(text); }
    std::optional<int> run() override { return 0; }

    rt::FormInput& input;
    const rt::FormLayout* layout = nullptr;
    std::u16string caption;
    rt::Box outer;
    std::vector<rt::ControlId> created; // in creation order
    std::map<rt::ControlId, std::u16string> texts;
    std::optional<rt::ControlId> focused;
    std::vector<std::u16string> announcements;
    int layOuts = 0;
};

struct State {
    rt::NumberSymbols symbols;                 // what userNumberSymbols() gives
    rt::Screen screen{{0, 0, 1280, 1024}, 96}; // what mainScreen() gives
    rt::Size frame{8, 30};                     // what a window's frame adds to it
    bool openerAvailable = true;               // whether the opener can be bound
    int openerLookups = 0;                     // how often it was looked up
    std::vector<OpenCall> openCalls;           // every request made through it
    Window* window = nullptr;                  // the window made last
};

// The one state, reset by reset().
State& state();
void reset();

} // namespace recording
