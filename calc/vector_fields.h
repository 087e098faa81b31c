#pragma once

#include <string>
#include <string_view>

namespace calc {

// The nine vector fields, each known by a one-letter name: a, b, c hold the first vector,
// d, e, f the second, x, y, z the result. The window backs them with its text fields; tests
// back them with a plain map.
class VectorFields {
public:
    virtual ~VectorFields() = default;
    virtual std::u16string text(std::u16string_view name) const = 0;
    virtual void setText(std::u16string_view name, std::u16string_view text) = 0;
    // Tells a screen reader the outcome of a run, with the focus and the fields left as they are.
    virtual void announce(std::u16string_view text) = 0;
};

} // namespace calc
