#pragma once

#include <QString>

namespace calc {

// The nine vector fields, each known by a one-letter name: a, b, c hold the first vector,
// d, e, f the second, x, y, z the result. The window backs them with its text fields; tests
// back them with a plain map.
class VectorFields {
public:
    virtual ~VectorFields() = default;
    virtual QString text(QStringView name) const = 0;
    virtual void setText(QStringView name, const QString& text) = 0;
};

} // namespace calc
