// The window as data. Each row reads like a row of the layout: name, kind, text, left, top,
// width, height (twips), tab index, font, colours, flags, accessible name. The first row lies on
// top of all the others.

#include "window/form1.h"
#include "window/publisher.h"

#include <array>

namespace window {

namespace {

using rt::ControlKind;
using rt::kNoTabStop;

constexpr QRgb kWhite = qRgb(0xFF, 0xFF, 0xFF);
constexpr QRgb kLightBlue = qRgb(0x80, 0x80, 0xFF);
constexpr QRgb kDarkRed = qRgb(0x40, 0x00, 0x00);
constexpr QRgb kLinkBlue = qRgb(0x00, 0x00, 0xC0);

constexpr rt::FontSpec kWindowFont{"Arial", 12};
constexpr rt::FontSpec kBold{"Arial", 12, true};
constexpr rt::FontSpec kSmallBold{"Arial", 9.75, true};
constexpr rt::FontSpec kLink{"Arial", 12, false, true};

constexpr auto Button = ControlKind::CommandButton;
constexpr auto Text = ControlKind::TextField;
constexpr auto Label = ControlKind::Label;
constexpr auto Rect = ControlKind::Rectangle;

constexpr rt::Colours kStandard{};
constexpr rt::Colours kOnWhite{.back = kWhite};
constexpr rt::Colours kFrame{.border = kLightBlue};

// clang-format off
constexpr std::array<rt::ControlRecord, 31> kControls{{
    {"cmdCalculate", Button, "&Calculate",          6360, 2280, 2895,  615, 23, nullptr, kStandard, rt::kDefaultButton, nullptr},
    {"z",            Text,   "",                    6240, 3600,  855,  735, 17, nullptr, kStandard, rt::kLocked, "Cross product, z component, result"},
    {"y",            Text,   "",                    4920, 3600,  975,  735, 16, nullptr, kStandard, rt::kLocked, "Cross product, y component, result"},
    {"x",            Text,   "",                    3480, 3600,  975,  735, 15, nullptr, kStandard, rt::kLocked, "Cross product, x component, result"},
    {"f",            Text,   "",                    8640, 1080,  855,  735,  9, nullptr, kStandard, rt::kNoFlags, "Second vector, z component, input"},
    {"e",            Text,   "",                    7320, 1080,  975,  735,  8, nullptr, kStandard, rt::kNoFlags, "Second vector, y component, input"},
    {"d",            Text,   "",                    5880, 1080,  975,  735,  7, nullptr, kStandard, rt::kNoFlags, "Second vector, x component, input"},
    {"c",            Text,   "",                    3240, 1080,  855,  735,  2, nullptr, kStandard, rt::kNoFlags, "First vector, z component, input"},
    {"b",            Text,   "",                    1920, 1080,  975,  735,  1, nullptr, kStandard, rt::kNoFlags, "First vector, y component, input"},
    {"a",            Text,   "",                     480, 1080,  975,  735,  0, nullptr, kStandard, rt::kNoFlags, "First vector, x component, input"},
    {"Label15",      Label,  "resultant vector!!",  3000, 3120, 2055,  255, 27, &kBold,      kOnWhite, rt::kNoFlags, nullptr},
    {"Shape1",       Rect,   "",                    1920, 3240, 7695, 1335, kNoTabStop, nullptr, kFrame, rt::kNoFlags, nullptr},
    {"Shape2",       Rect,   "",                     120,  960, 9855,  975, kNoTabStop, nullptr, kFrame, rt::kNoFlags, nullptr},
    {"Label26",      Label,  "Melkora",              360,  240, 3615,  375, 26, &kBold,      {.back = kLightBlue, .text = kWhite}, rt::kNoFlags, nullptr},
    {"Label25",      Label,  "Second Generation!",   360, 5040, 3015,  495, 25, &kSmallBold, {.back = kWhite, .text = kDarkRed}, rt::kNoFlags, nullptr},
    {"Label16",      Label,  kCreditLine,           6960, 5040, 3135,  495, 24, &kLink,      {.back = kWhite, .text = kLinkBlue}, rt::kNoFlags, nullptr},
    {"Label14",      Label,  "=",                   2160, 3360,  375,  375, 22, nullptr, kOnWhite, rt::kNoFlags, nullptr},
    {"Label13",      Label,  "]",                   7200, 3600,  255,  735, 21, nullptr, kOnWhite, rt::kNoFlags, nullptr},
    {"Label12",      Label,  "[",                   3120, 3600,  255,  735, 20, nullptr, kOnWhite, rt::kNoFlags, nullptr},
    {"Label11",      Label,  ",",                   6000, 3600,  255,  735, 19, nullptr, kOnWhite, rt::kNoFlags, nullptr},
    {"Label10",      Label,  ",",                   4560, 3600,  255,  735, 18, nullptr, kOnWhite, rt::kNoFlags, nullptr},
    {"Label9",       Label,  "x",                   4800, 1200,  375,  375, 14, nullptr, kOnWhite, rt::kNoFlags, nullptr},
    {"Label8",       Label,  "]",                   9600, 1080,  255,  735, 13, nullptr, kOnWhite, rt::kNoFlags, nullptr},
    {"Label7",       Label,  "[",                   5520, 1080,  255,  735, 12, nullptr, kOnWhite, rt::kNoFlags, nullptr},
    {"Label6",       Label,  ",",                   8400, 1080,  255,  735, 11, nullptr, kOnWhite, rt::kNoFlags, nullptr},
    {"Label5",       Label,  ",",                   6960, 1080,  255,  735, 10, nullptr, kOnWhite, rt::kNoFlags, nullptr},
    {"Label4",       Label,  "]",                   4200, 1080,  255,  735,  6, nullptr, kOnWhite, rt::kNoFlags, nullptr},
    {"Label3",       Label,  "[",                    240, 1080,  255,  735,  5, nullptr, kOnWhite, rt::kNoFlags, nullptr},
    {"Label2",       Label,  ",",                   3000, 1080,  255,  735,  4, nullptr, kOnWhite, rt::kNoFlags, nullptr},
    {"Label1",       Label,  ",",                   1560, 1080,  255,  735,  3, nullptr, kOnWhite, rt::kNoFlags, nullptr},
    {"Shape4",       Rect,   "",                     240,  120, 9615,  615, kNoTabStop, nullptr, {.back = kLightBlue, .border = kLightBlue}, rt::kNoFlags, nullptr},
}};
// clang-format on

constexpr rt::FormDescription kForm1{
    {"Form1", "Melkora", 10200, 5565, kWhite, kWindowFont},
    kControls,
};

} // namespace

const rt::FormDescription& form1Description() {
    return kForm1;
}

} // namespace window
