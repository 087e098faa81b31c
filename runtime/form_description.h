#pragma once

// A window as data: one record for the window and one per control, in stacking order (the first
// record lies on top). Form (form.h) turns a description into a window at start-up; nothing
// else creates, moves or sizes a control. Positions and sizes are in twips, 1/1440 of a logical
// inch, measured from the top left of the client area; font sizes are in points.

#include <QRgb>
#include <span>

namespace rt {

enum class ControlKind {
    CommandButton, // caption centred; '&' marks the accelerator letter
    TextField,     // single line, sunken border, text at the top left
    Label,         // opaque, text at the top left, cut off at its box, drawn on the window
    Rectangle,     // one-pixel border, drawn on the window; filled where it has a back colour
};

struct FontSpec {
    const char* family;
    double points;
    bool bold = false;
    bool underline = false;
};

// kStandard leaves a colour to the platform's standard for the control's kind.
inline constexpr QRgb kStandard = 0;

struct Colours {
    QRgb back = kStandard;
    QRgb text = kStandard;
    QRgb border = kStandard;
};

enum ControlFlag : unsigned {
    kNoFlags = 0,
    kLocked = 1u << 0,        // a text field that refuses the user's edits
    kDefaultButton = 1u << 1, // the button that Enter presses
};

inline constexpr int kNoTabStop = -1;

struct ControlRecord {
    const char* name;
    ControlKind kind;
    const char* text;
    int left;
    int top;
    int width;
    int height;
    int tabIndex;         // the order of the focus chain; kNoTabStop for shapes
    const FontSpec* font; // nullptr: the window font
    Colours colours;
    unsigned flags;
    const char* accessibleName; // what a screen reader says for a text field
};

struct WindowRecord {
    const char* name;
    const char* caption;
    int clientWidth;
    int clientHeight;
    QRgb back;
    FontSpec font;
};

struct FormDescription {
    WindowRecord window;
    std::span<const ControlRecord> controls;
};

} // namespace rt
