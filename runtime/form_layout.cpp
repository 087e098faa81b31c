#include "runtime/form_layout.h"

#include "runtime/form.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace rt {

namespace {

constexpr int kTwipsPerPoint = 20;

PaintColour colourOr(Rgb colour, StandardColour standard) {
    return colour == kStandardColour ? PaintColour{kStandardColour, standard}
                                     : PaintColour{colour, StandardColour::None};
}

PixelFont pixelFont(const FontStyle& style, double dotsPerInch) {
    // Points become pixels like every other size: a point is twenty twips.
    const int twips = static_cast<int>(std::lround(style.points * kTwipsPerPoint));
    return {style.family, twipsToPixels(twips, dotsPerInch), style.bold, style.underline};
}

} // namespace

std::u16string Caption::markup() const {
    std::u16string text;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (i == underlined) {
            text += u'&';
        }
        text += shown[i];
        if (shown[i] == u'&') {
            text += u'&';
        }
    }
    return text;
}

Caption parseCaption(std::u16string_view text) {
    Caption caption;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'&' || i + 1 == text.size()) {
            caption.shown += text[i];
            continue;
        }
        ++i; // the character after the '&' is shown either way
        if (text[i] != u'&' && caption.underlined == std::u16string::npos) {
            caption.underlined = caption.shown.size();
            // Only a letter or a digit is a key that every platform can name.
            const char16_t key = text[i];
            if ((key >= u'A' && key <= u'Z') || (key >= u'0' && key <= u'9')) {
                caption.accelerator = key;
            } else if (key >= u'a' && key <= u'z') {
                caption.accelerator = key - u'a' + u'A';
            }
        }
        caption.shown += text[i];
    }
    return caption;
}

FormLayout layOut(const FormDescription& description, double dotsPerInch) {
    FormLayout layout{
        .dotsPerInch = dotsPerInch,
        .client = {twipsToPixels(description.window.clientWidth, dotsPerInch),
                   twipsToPixels(description.window.clientHeight, dotsPerInch)},
        .background = colourOr(description.window.back, StandardColour::Window),
        .fonts = {pixelFont(description.window.font, dotsPerInch)},
        .boxes = {},
        .paint = {},
        .controls = {},
        .narrower = {},
    };
    // One font for each style the records name, shared by the records that name it.
    std::vector<const FontStyle*> styles{&description.window.font};
    const auto fontOf = [&](const FontStyle* style) -> FontId {
        if (style == nullptr) {
            return 0;
        }
        const auto found = std::find(styles.begin(), styles.end(), style);
        if (found != styles.end()) {
            return static_cast<FontId>(found - styles.begin());
        }
        styles.push_back(style);
        layout.fonts.push_back(pixelFont(*style, dotsPerInch));
        return layout.fonts.size() - 1;
    };

    const auto& records = description.controls;
    for (const ControlRecord& record : records) {
        layout.boxes.push_back(twipsToPixels(record.box(), dotsPerInch));
    }
    // The first record lies on top, so painting runs from the last to the first.
    for (ControlId id = records.size(); id-- > 0;) {
        const ControlRecord& record = records[id];
        const Box& box = layout.boxes[id];
        const Colours& colours = record.colours;
        if (record.kind == ControlKind::Label) {
            // A label's own background; without one, the window's.
            const PaintColour back =
                colours.back == kStandardColour ? layout.background : colourOr(colours.back, {});
            layout.paint.push_back({PaintItem::Kind::Fill, id, box, back});
            layout.paint.push_back({PaintItem::Kind::Text, id, box,
                                    colourOr(colours.text, StandardColour::WindowText), record.text,
                                    fontOf(record.font)});
        } else if (record.kind == ControlKind::Rectangle) {
            if (colours.back != kStandardColour) { // inside transparent unless filled
                layout.paint.push_back(
                    {PaintItem::Kind::Fill, id, box, colourOr(colours.back, {})});
            }
            layout.paint.push_back({PaintItem::Kind::Frame, id, box,
                                    colourOr(colours.border, StandardColour::WindowText)});
        }
    }
    // The other arrangements: a box for every control of the description, and for nothing else.
    for (const ArrangementRecord& record : description.narrower) {
        Arrangement& arrangement = layout.narrower.emplace_back(
            Arrangement{{twipsToPixels(record.clientWidth, dotsPerInch),
                         twipsToPixels(record.clientHeight, dotsPerInch)},
                        std::vector<Box>(records.size())});
        std::vector<bool> placed(records.size());
        for (const ControlBox& box : record.boxes) {
            const ControlId id = controlIndex(description, box.name);
            if (placed[id]) {
                fatal("this control has two boxes in one arrangement:", box.name);
            }
            placed[id] = true;
            arrangement.boxes[id] = twipsToPixels(box.box(), dotsPerInch);
        }
        for (ControlId id = 0; id < records.size(); ++id) {
            if (!placed[id]) {
                fatal("this control has no box in an arrangement:", records[id].name);
            }
        }
    }
    // The focus chain runs in ascending tab index, ties in description order; platforms move the
    // focus in creation order, which is this one.
    std::vector<ControlId> chain;
    for (ControlId id = 0; id < records.size(); ++id) {
        if (records[id].kind == ControlKind::TextField ||
            records[id].kind == ControlKind::CommandButton) {
            chain.push_back(id);
        }
    }
    std::sort(chain.begin(), chain.end(), [&](ControlId l, ControlId r) {
        return std::pair(records[l].tabIndex, l) < std::pair(records[r].tabIndex, r);
    });
    for (const ControlId id : chain) {
        const ControlRecord& record = records[id];
        layout.controls.push_back({
            .id = id,
            .name = record.name,
            .kind = record.kind,
            .box = layout.boxes[id],
            .font = fontOf(record.font),
            .locked = (record.flags & kLocked) != 0,
            .isDefault = (record.flags & kDefaultButton) != 0,
            .caption =
                record.kind == ControlKind::CommandButton ? parseCaption(record.text) : Caption{},
            .accessibleName = record.accessibleName,
        });
    }
    return layout;
}

const std::vector<Box>& FormLayout::boxesIn(ArrangementId arrangement) const {
    return arrangement == 0 || arrangement > narrower.size() ? boxes
                                                             : narrower[arrangement - 1].boxes;
}

Point placement(Size frame, const Box& workArea) {
    return {std::max(workArea.left, workArea.left + (workArea.width - frame.width) / 2),
            std::max(workArea.top, workArea.top + (workArea.height - frame.height) / 2)};
}

} // namespace rt
