#pragma once

// A window made by the engine on the Qt layer, for the Qt layer's own tests: the engine, its
// window, and the widgets (named after their controls) and boxes of the controls by name.

#include "runtime/form_engine.h"

#include <QLineEdit>
#include <QPushButton>

class QtTestForm {
public:
    explicit QtTestForm(const rt::FormDescription& description)
        : engine(description)
        , window(dynamic_cast<QWidget&>(engine.native())) {}

    QLineEdit* textField(std::u16string_view name) const {
        return window.findChild<QLineEdit*>(name_(name));
    }
    QPushButton* button(std::u16string_view name) const {
        return window.findChild<QPushButton*>(name_(name));
    }
    // Where a control lies in the window, in pixels; labels and rectangles included.
    QRect controlGeometry(std::u16string_view name) const {
        const rt::Box& box = engine.layout().boxes[engine.id(name)];
        return {box.left, box.top, box.width, box.height};
    }

    rt::FormEngine engine;
    QWidget& window;

private:
    static QString name_(std::u16string_view name) {
        return QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size()));
    }
};
