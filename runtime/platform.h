#pragma once

// What a platform supplies to the core, and all of it: runtime/qt/ defines it for Linux,
// runtime/win32/ for Windows, and tests/support/recording_platform.cpp for the core's own tests.
// A new platform implements this file and nothing more.
//
// The core's FormEngine (form_engine.h) holds every rule of the window. A platform's window only
// creates what the engine's layout lists, paints its paint list, moves the focus and reads and
// writes field text when asked, and reports what the user did, in the engine's terms, to the
// FormInput it was made with: the engine decides what that means.

#include "runtime/form_layout.h"
#include "runtime/number_format.h"
#include "runtime/opener.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace rt {

// Keys as the engine knows them: Enter (the main one or the keypad's) as kEnterKey, any other
// by the platform's own key code, which for the letters and digits must be their upper-case
// ASCII character, as Qt's key codes and Windows' virtual keys both are. The engine matches
// nothing else.
inline constexpr char32_t kEnterKey = U'\r';

// The modifiers held with a key, or'ed together.
inline constexpr unsigned kNoModifier = 0;
inline constexpr unsigned kShift = 1u << 0;
inline constexpr unsigned kControl = 1u << 1;
inline constexpr unsigned kAlt = 1u << 2;
inline constexpr unsigned kMeta = 1u << 3; // the Windows or Super key

// What a platform's window reports.
class FormInput {
public:
    // A native button was clicked, by the mouse or by Space while it has the focus.
    virtual void buttonPressed(ControlId button) = 0;
    // A key went down, before the focused control sees it. True: the engine took it, and the
    // control must not see it.
    virtual bool keyPressed(char32_t key, unsigned modifiers) = 0;
    // The primary mouse button went down or up on the window's own surface (not on a native
    // control), in client pixels. The second press of a double-click says so.
    virtual void mousePressed(Point at, bool secondOfDoubleClick) = 0;
    virtual void mouseReleased(Point at) = 0;
    // The window now shows at another DPI: the engine lays it out again
    // (NativeWindow::layOutAgain).
    virtual void dpiChanged(double dotsPerInch) = 0;
    // The window now shows another of the layout's arrangements, where the platform picks one by
    // the room it has (the page, by its viewport): the controls stand at its boxes.
    virtual void arranged(ArrangementId arrangement) = 0;

protected:
    ~FormInput() = default;
};

// One top-level window and its native controls.
class NativeWindow {
public:
    virtual ~NativeWindow() = default;

    // The window's outer size for a client area of `client` pixels, frame and caption included.
    virtual Size outerSize(Size client, double dotsPerInch) const = 0;
    // Makes the window, frame and caption in `outer` (as outerSize gave it), with `caption`, a
    // client area of layout.client, and layout.controls in their order. Keeps `layout` to
    // paint from; it lives as long as the window.
    virtual void open(const FormLayout& layout, std::u16string_view caption, const Box& outer) = 0;
    // The layout changed (a new DPI): controls to their new boxes and fonts, paint again.
    virtual void layOutAgain() = 0;

    virtual std::u16string text(ControlId field) const = 0;
    virtual void setText(ControlId field, std::u16string_view text) = 0;
    virtual void focus(ControlId control) = 0;
    virtual NativeHandle handle() const = 0;
    // Hands `text` to the platform's screen readers as a polite announcement, leaving the focus
    // and the window's pixels as they are.
    virtual void announce(std::u16string_view text) = 0;

    // Shows the window and runs the event loop until the window is closed; the exit code. Where
    // the event loop is not the program's to run (the browser's), shows the window and returns
    // nullopt at once: the window then lives on as long as the page.
    virtual std::optional<int> run() = 0;
};

struct Screen {
    Box workArea; // the screen less the desktop's panels, in pixels
    double dotsPerInch;
};

namespace platform {

std::unique_ptr<NativeWindow> createWindow(FormInput& input);

// The screen a new window opens on.
Screen mainScreen();

// The platform's modal box: `text`, an OK button, no icon, the application's name as title.
void showMessageBox(std::u16string_view text);

// A programming error, already written to standard error, shown to the user as well where the
// platform has a way to; the program stops right after.
void reportProgrammingError(std::u16string_view text);

// The number symbols of the user's regional settings, read afresh at each call.
NumberSymbols userNumberSymbols();

// The facility that hands an address to the user's browser.
AddressOpener addressOpener();

} // namespace platform

} // namespace rt
