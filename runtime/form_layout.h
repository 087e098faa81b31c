#pragma once

// A description laid out at one DPI: everything a platform needs to put the window on its
// screen, computed once and in one place, so that no platform derives any of it again.
//
// - every control's box in pixels, through the one twips-to-pixels conversion;
// - the fonts as pixel sizes, each control and painted text naming one by its index;
// - what to paint on the window's own surface, back to front, with colours resolved: a colour
//   of the description's as it is, a standard colour by its name, for the platform to take
//   its own;
// - the native controls (text fields and buttons) in the order of the focus chain, with the
//   default button and each button's caption and accelerator.

#include "runtime/form_description.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

// A control by its position in the description.
using ControlId = std::size_t;
// A font by its position in FormLayout::fonts.
using FontId = std::size_t;

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct PixelFont {
    std::u16string_view family;
    int pixels; // the em height
    bool bold;
    bool underline;
    friend bool operator==(const PixelFont&, const PixelFont&) = default;
};

// The colours a platform has of its own; the description leaves them to it.
enum class StandardColour {
    None,       // not standard: the colour's rgb holds
    Window,     // the background of a window
    WindowText, // text and lines on it
};

struct PaintColour {
    Rgb rgb = kStandardColour;
    StandardColour standard = StandardColour::None;
    friend bool operator==(const PaintColour&, const PaintColour&) = default;
};

struct PaintItem {
    enum class Kind {
        Fill,  // the whole box
        Frame, // a one-pixel line just inside the box
        Text,  // one line from the box's top left, no '&' markup, cut off at the box
    };
    Kind kind;
    ControlId control; // the record it comes from
    Box box;
    PaintColour colour;
    std::u16string_view text = {};
    FontId font = 0;
};

// A button's caption: '&' marks the next character as the accelerator, and "&&" shows one '&'.
struct Caption {
    std::u16string shown;                          // as the user reads it
    std::size_t underlined = std::u16string::npos; // where the accelerator is in `shown`
    char32_t accelerator = 0; // its key: an ASCII letter, upper case, or digit; 0 for none

    // The same caption in the '&' markup that Qt's and Windows' buttons take.
    std::u16string markup() const;
};

Caption parseCaption(std::u16string_view text);

struct NativeControl {
    ControlId id;
    std::u16string_view name;
    ControlKind kind; // TextField or CommandButton
    Box box;
    FontId font;
    bool locked = false;                // a text field that refuses the user's edits
    bool isDefault = false;             // the button that Enter presses
    Caption caption;                    // a button's
    std::u16string_view accessibleName; // a text field's, for screen readers
};

// A client area and every control's box in it, by ControlId.
struct Arrangement {
    Size client;
    std::vector<Box> boxes;
};

// Which arrangement a window shows: 0 its own, n the layout's narrower[n - 1].
using ArrangementId = std::size_t;

struct FormLayout {
    double dotsPerInch = 0;
    Size client;
    PaintColour background;
    std::vector<PixelFont> fonts;        // [0] is the window font
    std::vector<Box> boxes;              // every control's, by ControlId
    std::vector<PaintItem> paint;        // back to front, in the window's own arrangement
    std::vector<NativeControl> controls; // in focus-chain order; create them in this order
    std::vector<Arrangement> narrower;   // the description's, each narrower than the one before

    // The boxes of an arrangement, the window's own for an id it does not have.
    const std::vector<Box>& boxesIn(ArrangementId arrangement) const;
};

FormLayout layOut(const FormDescription& description, double dotsPerInch);

// Where a window of `frame` size opens: centred in `workArea`, and on a screen too small for
// it, at the work area's top left, so that its caption stays on the screen.
Point placement(Size frame, const Box& workArea);

} // namespace rt
