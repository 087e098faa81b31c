// The window as data. Each row reads like a row of the layout: name, kind, text, left, top,
// width, height (twips), tab index, font, colours, flags, accessible name. The first row lies on
// top of all the others.
//
// The names are the window's own from the form it was first drawn in, kept so that every row
// can be checked against that layout: Form1 is the window; cmdCalculate the button; a to f the
// two vectors' fields and x, y, z the result's; Label26 the title on the bar Shape4; Shape2 and
// Shape1 the frames round the input and the result rows, Label15 the result frame's caption;
// Label1 to Label14 the brackets, commas, the "x" between the vectors and the "="; Label25 and
// Label16 the bottom line, Label16 the publisher link. The labels' tab indices only number them
// as that layout does: a label never takes the focus, and the engine reads the tab indices of
// the text fields and the button alone.

#include "window/form1.h"
#include "window/publisher.h"

#include <array>

namespace window {

namespace {

using rt::ControlKind;
using rt::kNoTabStop;

constexpr rt::Rgb kWhite = rt::rgb(0xFF, 0xFF, 0xFF);
constexpr rt::Rgb kLightBlue = rt::rgb(0x80, 0x80, 0xFF);
constexpr rt::Rgb kDarkRed = rt::rgb(0x40, 0x00, 0x00);
constexpr rt::Rgb kLinkBlue = rt::rgb(0x00, 0x00, 0xC0);

constexpr rt::FontStyle kWindowFont{u"Arial", 12};
constexpr rt::FontStyle kBold{u"Arial", 12, true};
constexpr rt::FontStyle kSmallBold{u"Arial", 9.75, true};
constexpr rt::FontStyle kLink{u"Arial", 12, false, true};

constexpr auto Button = ControlKind::CommandButton;
constexpr auto Text = ControlKind::TextField;
constexpr auto Label = ControlKind::Label;
constexpr auto Rect = ControlKind::Rectangle;

constexpr rt::Colours kStandardColours{};
constexpr rt::Colours kOnWhite{.back = kWhite};
constexpr rt::Colours kFrame{.border = kLightBlue};

// clang-format off
constexpr std::array<rt::ControlRecord, 31> kControls{{
    {u"cmdCalculate", Button, u"&Calculate",          6360, 2280, 2895,  615, 23, nullptr, kStandardColours, rt::kDefaultButton, {}},
    {u"z",            Text,   u"",                    6240, 3600,  855,  735, 17, nullptr, kStandardColours, rt::kLocked, u"Cross product, z component, result"},
    {u"y",            Text,   u"",                    4920, 3600,  975,  735, 16, nullptr, kStandardColours, rt::kLocked, u"Cross product, y component, result"},
    {u"x",            Text,   u"",                    3480, 3600,  975,  735, 15, nullptr, kStandardColours, rt::kLocked, u"Cross product, x component, result"},
    {u"f",            Text,   u"",                    8640, 1080,  855,  735,  9, nullptr, kStandardColours, rt::kNoFlags, u"Second vector, z component, input"},
    {u"e",            Text,   u"",                    7320, 1080,  975,  735,  8, nullptr, kStandardColours, rt::kNoFlags, u"Second vector, y component, input"},
    {u"d",            Text,   u"",                    5880, 1080,  975,  735,  7, nullptr, kStandardColours, rt::kNoFlags, u"Second vector, x component, input"},
    {u"c",            Text,   u"",                    3240, 1080,  855,  735,  2, nullptr, kStandardColours, rt::kNoFlags, u"First vector, z component, input"},
    {u"b",            Text,   u"",                    1920, 1080,  975,  735,  1, nullptr, kStandardColours, rt::kNoFlags, u"First vector, y component, input"},
    {u"a",            Text,   u"",                     480, 1080,  975,  735,  0, nullptr, kStandardColours, rt::kNoFlags, u"First vector, x component, input"},
    {u"Label15",      Label,  u"resultant vector!!",  3000, 3120, 2055,  255, 27, &kBold,      kOnWhite, rt::kNoFlags, {}},
    {u"Shape1",       Rect,   u"",                    1920, 3240, 7695, 1335, kNoTabStop, nullptr, kFrame, rt::kNoFlags, {}},
    {u"Shape2",       Rect,   u"",                     120,  960, 9855,  975, kNoTabStop, nullptr, kFrame, rt::kNoFlags, {}},
    {u"Label26",      Label,  u"Melkora",              360,  240, 3615,  375, 26, &kBold,      {.back = kLightBlue, .text = kWhite}, rt::kNoFlags, {}},
    {u"Label25",      Label,  u"Second Generation!",   360, 5040, 3015,  495, 25, &kSmallBold, {.back = kWhite, .text = kDarkRed}, rt::kNoFlags, {}},
    {u"Label16",      Label,  kCreditLine,            6960, 5040, 3135,  495, 24, &kLink,      {.back = kWhite, .text = kLinkBlue}, rt::kNoFlags, {}},
    {u"Label14",      Label,  u"=",                   2160, 3360,  375,  375, 22, nullptr, kOnWhite, rt::kNoFlags, {}},
    {u"Label13",      Label,  u"]",                   7200, 3600,  255,  735, 21, nullptr, kOnWhite, rt::kNoFlags, {}},
    {u"Label12",      Label,  u"[",                   3120, 3600,  255,  735, 20, nullptr, kOnWhite, rt::kNoFlags, {}},
    {u"Label11",      Label,  u",",                   6000, 3600,  255,  735, 19, nullptr, kOnWhite, rt::kNoFlags, {}},
    {u"Label10",      Label,  u",",                   4560, 3600,  255,  735, 18, nullptr, kOnWhite, rt::kNoFlags, {}},
    {u"Label9",       Label,  u"x",                   4800, 1200,  375,  375, 14, nullptr, kOnWhite, rt::kNoFlags, {}},
    {u"Label8",       Label,  u"]",                   9600, 1080,  255,  735, 13, nullptr, kOnWhite, rt::kNoFlags, {}},
    {u"Label7",       Label,  u"[",                   5520, 1080,  255,  735, 12, nullptr, kOnWhite, rt::kNoFlags, {}},
    {u"Label6",       Label,  u",",                   8400, 1080,  255,  735, 11, nullptr, kOnWhite, rt::kNoFlags, {}},
    {u"Label5",       Label,  u",",                   6960, 1080,  255,  735, 10, nullptr, kOnWhite, rt::kNoFlags, {}},
    {u"Label4",       Label,  u"]",                   4200, 1080,  255,  735,  6, nullptr, kOnWhite, rt::kNoFlags, {}},
    {u"Label3",       Label,  u"[",                    240, 1080,  255,  735,  5, nullptr, kOnWhite, rt::kNoFlags, {}},
    {u"Label2",       Label,  u",",                   3000, 1080,  255,  735,  4, nullptr, kOnWhite, rt::kNoFlags, {}},
    {u"Label1",       Label,  u",",                   1560, 1080,  255,  735,  3, nullptr, kOnWhite, rt::kNoFlags, {}},
    {u"Shape4",       Rect,   u"",                     240,  120, 9615,  615, kNoTabStop, nullptr, {.back = kLightBlue, .border = kLightBlue}, rt::kNoFlags, {}},
}};

// The window on a screen narrower than it, a phone's: the rows wrap, each vector on a line of its
// own with its brackets and commas, the button between the frames, "Second Generation!" above the
// credit line. The same rows' spacing as above, within a frame two fields narrower.
//                                    name            left  top width height
constexpr std::array<rt::ControlBox, 31> kNarrowBoxes{{
    {u"cmdCalculate", 1485, 3345, 2895,  660},
    {u"z",            3120, 4800,  855,  735},
    {u"y",            1800, 4800,  975,  735},
    {u"x",             360, 4800,  975,  735},
    {u"f",            3120, 2280,  855,  735},
    {u"e",            1800, 2280,  975,  735},
    {u"d",             360, 2280,  975,  735},
    {u"c",            3120, 1080,  855,  735},
    {u"b",            1800, 1080,  975,  735},
    {u"a",             360, 1080,  975,  735},
    {u"Label15",      1140, 4155, 2055,  255},
    {u"Shape1",         60, 4275, 4320, 1380},
    {u"Shape2",         60,  960, 4320, 2175},
    {u"Label26",       300,  240, 3615,  375},
    {u"Label25",       300, 5835, 3015,  495},
    {u"Label16",       300, 6330, 3135,  495},
    {u"Label14",       300, 4395,  375,  375},
    {u"Label13",      4080, 4800,  255,  735},
    {u"Label12",       120, 4800,  255,  735},
    {u"Label11",      2880, 4800,  255,  735},
    {u"Label10",      1440, 4800,  255,  735},
    {u"Label9",       2160, 1860,  375,  375},
    {u"Label8",       4080, 2280,  255,  735},
    {u"Label7",        120, 2280,  255,  735},
    {u"Label6",       2880, 2280,  255,  735},
    {u"Label5",       1440, 2280,  255,  735},
    {u"Label4",       4080, 1080,  255,  735},
    {u"Label3",        120, 1080,  255,  735},
    {u"Label2",       2880, 1080,  255,  735},
    {u"Label1",       1440, 1080,  255,  735},
    {u"Shape4",        180,  120, 4080,  615},
}};
// clang-format on

constexpr std::array<rt::ArrangementRecord, 1> kNarrower{{{4440, 6855, kNarrowBoxes}}};

constexpr rt::FormDescription kForm1{
    {u"Form1", u"Melkora", 10200, 5565, kWhite, kWindowFont},
    kControls,
    kNarrower,
};

} // namespace

const rt::FormDescription& form1Description() {
    return kForm1;
}

} // namespace window
