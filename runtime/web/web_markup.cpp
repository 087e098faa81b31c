#include "runtime/web/web_markup.h"

#include "runtime/text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rt::web {

namespace {

std::string escaped(std::u16string_view text) {
    std::string out;
    for (const char c : toUtf8(text)) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

std::string px(int value) {
    return std::to_string(value) + "px";
}

std::string colour(const PaintColour& colour) {
    switch (colour.standard) {
    case StandardColour::None:
        break;
    case StandardColour::Window:
        return "Canvas";
    case StandardColour::WindowText:
        return "CanvasText";
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%06x", static_cast<unsigned>(colour.rgb & 0xFFFFFF));
    return hex;
}

std::string font(const PixelFont& font) {
    std::string out = "font:";
    out += font.bold ? "bold " : "";
    out += px(font.pixels) + " \"" + toUtf8(font.family) + "\"";
    if (font.family == u"Arial") {
        // Its metric-compatible stand-ins, so that every line keeps the width it was drawn for.
        out += ",\"Liberation Sans\",Arimo,Helvetica";
    }
    out += ",sans-serif;";
    if (font.underline) {
        out += "text-decoration:underline;";
    }
    return out;
}

std::string placed(const Box& box) {
    return "left:" + px(box.left) + ";top:" + px(box.top) + ";width:" + px(box.width) +
           ";height:" + px(box.height) + ";";
}

std::string paintClass(std::size_t index) {
    return "p" + std::to_string(index);
}

// The room round the window: its own arrangement's, and the narrower ones' on a phone.
constexpr int kMargin = 16;
constexpr int kNarrowMargin = 8;

// A desktop field shows its line at the top; an input centres its content box, so the box is
// cut to one line from the top.
std::string fieldPadding(const FormLayout& layout, const NativeControl& control, const Box& box) {
    if (control.kind != ControlKind::TextField) {
        return {};
    }
    const int line = static_cast<int>(std::ceil(layout.fonts[control.font].pixels * 1.15));
    return "padding-bottom:" + px(std::max(0, box.height - 3 - line)) + ";";
}

// The window's size in one arrangement. The arrangement's number goes into the page's styles,
// where the page's script reads which one the browser shows.
std::string windowBox(Size client, ArrangementId id) {
    return ".window{--arrangement:" + std::to_string(id) + ";width:" + px(client.width) +
           ";height:" + px(client.height) + ";margin:" + px(id == 0 ? kMargin : kNarrowMargin) +
           ";";
}

// Where everything stands in a narrower arrangement, the look left as it is: one rule for the
// paint items of each control, which share its box, and one for each native control.
std::string narrowerPlacements(const FormLayout& layout, const Arrangement& arrangement,
                               ArrangementId id) {
    std::string out = windowBox(arrangement.client, id) + "}\n";
    std::string selectors;
    for (std::size_t i = 0; i < layout.paint.size(); ++i) {
        const ControlId control = layout.paint[i].control;
        selectors += (selectors.empty() ? "." : ",.") + paintClass(i);
        if (i + 1 == layout.paint.size() || layout.paint[i + 1].control != control) {
            out += selectors + "{" + placed(arrangement.boxes[control]) + "}\n";
            selectors.clear();
        }
    }
    for (const NativeControl& control : layout.controls) {
        const Box& box = arrangement.boxes[control.id];
        out += "#" + toUtf8(control.name) + "{" + placed(box) + fieldPadding(layout, control, box) +
               "}\n";
    }
    return out;
}

} // namespace

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string windowMarkup(const FormLayout& layout) {
    std::string out = "<main id=\"window\" class=\"window\">\n";
    for (std::size_t i = 0; i < layout.paint.size(); ++i) {
        const PaintItem& item = layout.paint[i];
        out += "<div class=\"" + paintClass(i) + "\"";
        if (item.kind == PaintItem::Kind::Text) {
            out += ">" + escaped(item.text) + "</div>\n";
        } else {
            out += " aria-hidden=\"true\"></div>\n";
        }
    }
    for (const NativeControl& control : layout.controls) {
        const std::string id = " id=\"" + escaped(control.name) + "\" data-control=\"" +
                               std::to_string(control.id) + "\"";
        if (control.kind == ControlKind::TextField) {
            out += "<input type=\"text\"" + id + " aria-label=\"" +
                   escaped(control.accessibleName) +
                   "\" autocomplete=\"off\" autocapitalize=\"off\" spellcheck=\"false\"";
            // A phone's keyboard labels its Enter for what it does here: Calculate. It stays the
            // text keyboard: no decimal keypad has both a minus sign and an exponent on both
            // iOS and Android, and a number here may need either.
            out += " enterkeyhint=\"go\"";
            // No autofocus: the module gives the first focus when it attaches. WebKit runs an
            // autofocus up to a few hundred milliseconds after the first frame, even when the
            // user has moved the focus by then, and takes it back to the first field.
            out += control.locked ? " readonly>\n" : ">\n";
        } else {
            const Caption& caption = control.caption;
            out += "<button type=\"button\"" + id;
            out += control.isDefault ? " class=\"default\"" : "";
            if (caption.accelerator != 0) {
                out += " aria-keyshortcuts=\"Alt+" +
                       std::string(1, static_cast<char>(caption.accelerator)) + "\"";
            }
            out += ">";
            const std::u16string_view shown = caption.shown;
            if (caption.underlined < shown.size()) {
                out += escaped(shown.substr(0, caption.underlined)) + "<u>" +
                       escaped(shown.substr(caption.underlined, 1)) + "</u>" +
                       escaped(shown.substr(caption.underlined + 1));
            } else {
                out += escaped(shown);
            }
            out += "</button>\n";
        }
    }
    out += "</main>\n";
    return out;
}

std::string windowStyles(const FormLayout& layout) {
    std::string out = windowBox(layout.client, 0) + "background:" + colour(layout.background) +
                      ";" + font(layout.fonts[0]) + "}\n";
    for (std::size_t i = 0; i < layout.paint.size(); ++i) {
        const PaintItem& item = layout.paint[i];
        out += "." + paintClass(i) + "{" + placed(item.box);
        switch (item.kind) {
        case PaintItem::Kind::Fill:
            out += "background:" + colour(item.colour) + ";";
            break;
        case PaintItem::Kind::Frame:
            out += "border:1px solid " + colour(item.colour) + ";";
            break;
        case PaintItem::Kind::Text:
            out += "color:" + colour(item.colour) + ";" + font(layout.fonts[item.font]);
            break;
        }
        out += "}\n";
    }
    for (const NativeControl& control : layout.controls) {
        out += "#" + toUtf8(control.name) + "{" + placed(control.box) +
               font(layout.fonts[control.font]) + fieldPadding(layout, control, control.box) +
               "}\n";
    }
    // Each narrower arrangement where the viewport has less room than the one before needs.
    int room = layout.client.width + 2 * kMargin;
    for (ArrangementId id = 1; id <= layout.narrower.size(); ++id) {
        const Arrangement& arrangement = layout.narrower[id - 1];
        out += "@media (max-width:" + std::to_string(room - 1) + ".98px){\n" +
               narrowerPlacements(layout, arrangement, id) + "}\n";
        room = arrangement.client.width + 2 * kNarrowMargin;
    }
    return out;
}

} // namespace rt::web
