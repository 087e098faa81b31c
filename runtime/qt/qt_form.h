#pragma once

// A window built from its description (runtime/form_description.h), with Qt Widgets.
//
// Text fields and buttons become child widgets; labels and rectangles are drawn on the window's
// own surface, from the last record to the first, so that the first record lies on top and the
// widgets above them all. Clicks on a label are hit-tested here in the same order. Enter or
// keypad Enter anywhere in the window presses the default button, as in a dialog.
//
// Controls are known by name; asking for a name the description does not hold is a programming
// error and stops the program with that name.

#include "runtime/form.h"

#include <QWidget>
#include <functional>
#include <vector>

class QLineEdit;
class QPushButton;

namespace rt {

class QtForm : public QWidget, public Form {
    Q_OBJECT

public:
    explicit QtForm(const FormDescription& description, QWidget* parent = nullptr);

    void onClick(std::u16string_view name, std::function<void()> handler) override;
    std::u16string fieldText(std::u16string_view name) const override;
    void setFieldText(std::u16string_view name, std::u16string_view text) override;
    // The X11 window id, or whatever the platform plugin's windows have.
    NativeHandle nativeHandle() override;

    QLineEdit* textField(std::u16string_view name) const;
    QPushButton* button(std::u16string_view name) const;

    // Where each control lies, in pixels; labels and rectangles included.
    QRect controlGeometry(std::u16string_view name) const;

    const FormDescription& description() const { return m_description; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct Control {
        const ControlRecord* record;
        QRect geometry;
        QWidget* widget; // nullptr for what is drawn on the surface
        std::function<void()> clickHandler;
    };

    const Control& control(std::u16string_view name) const;
    Control& control(std::u16string_view name);
    const Control* labelAt(const QPoint& position) const;

    FormDescription m_description;
    std::vector<Control> m_controls; // in description order: topmost first
    QPushButton* m_defaultButton = nullptr;
    const Control* m_pressedLabel = nullptr;
    bool m_swallowRelease = false;
};

// Shows the form centred on its screen with the focus in its first tab stop, and runs the event
// loop until the last window closes.
int run(QtForm& form);

} // namespace rt
