#pragma once

// A window as data: one record for the window and one per control, in stacking order (the first
// record lies on top). Each platform's form turns a description into a window at start-up;
// nothing else creates, moves or sizes a control. Positions and sizes are in twips, 1/1440 of a
// logical inch, measured from the top left of the client area; font sizes are in points.

#include "runtime/twips.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace rt {

enum class ControlKind {
    CommandButton, // caption centred; '&' marks the accelerator letter
    TextField,     // single line, sunken border, text at the top left
    Label,         // opaque, text at the top left, cut off at its box, drawn on the window
    Rectangle,     // one-pixel border, drawn on the window; filled where it has a back colour
};

struct FontStyle {
    std::u16string_view family;
    double points;
    bool bold = false;
    bool underline = false;
};

// A colour as 0xAARRGGBB, opaque. kStandardColour, fully transparent, is no colour anyone sets: it
// leaves the colour to the platform's standard for the control's kind.
using Rgb = std::uint32_t;
inline constexpr Rgb kStandardColour = 0;

constexpr Rgb rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return 0xFF000000u | (Rgb{red} << 16) | (Rgb{green} << 8) | Rgb{blue};
}

struct Colours {
    Rgb back = kStandardColour;
    Rgb text = kStandardColour;
    Rgb border = kStandardColour;
};

enum ControlFlag : unsigned {
    kNoFlags = 0,
    kLocked = 1u << 0,        // a text field that refuses the user's edits
    kDefaultButton = 1u << 1, // the button that Enter presses
};

inline constexpr int kNoTabStop = -1;

struct ControlRecord {
    std::u16string_view name;
    ControlKind kind;
    std::u16string_view text;
    int left;
    int top;
    int width;
    int height;
    int tabIndex;          // the order of the focus chain; kNoTabStop for shapes
    const FontStyle* font; // nullptr: the window font
    Colours colours;
    unsigned flags;
    std::u16string_view accessibleName; // what a screen reader says for a text field

    Box box() const { return {left, top, width, height}; }
};

struct WindowRecord {
    std::u16string_view name;
    std::u16string_view caption;
    int clientWidth;
    int clientHeight;
    Rgb back;
    FontStyle font;
};

// A control's box in another arrangement of the window, in twips.
struct ControlBox {
    std::u16string_view name;
    int left;
    int top;
    int width;
    int height;

    Box box() const { return {left, top, width, height}; }
};

// The same controls standing elsewhere, for a screen too narrow for the window: a client area of
// its own and a box for every control. Everything else (texts, fonts, colours, stacking, focus
// order, behaviour) is the window's.
struct ArrangementRecord {
    int clientWidth;
    int clientHeight;
    std::span<const ControlBox> boxes;
};

struct FormDescription {
    WindowRecord window;
    std::span<const ControlRecord> controls;
    // Where a platform can show less than the window's width: the arrangements for it, each
    // narrower than the one before.
    std::span<const ArrangementRecord> narrower = {};
};

} // namespace rt
