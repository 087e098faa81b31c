#pragma once

// A window built from its description (form_description.h).
//
// Text fields and buttons become child widgets; labels and rectangles are drawn on the window's
// own surface, from the last record to the first, so that the first record lies on top and the
// widgets above them all. Clicks on a label are hit-tested here in the same order. Enter or
// keypad Enter anywhere in the window presses the default button, as in a dialog.
//
// Controls are known by name; asking for a name the description does not hold is a programming
// error and stops the program with that name.

#include "runtime/form_description.h"

#include <QHash>
#include <QWidget>
#include <functional>
#include <vector>

class QLineEdit;
class QPushButton;

namespace rt {

class Form : public QWidget {
    Q_OBJECT

public:
    explicit Form(const FormDescription& description, QWidget* parent = nullptr);

    // Runs `handler` through the dispatcher on each click of the button or label `name`.
    void onClick(QStringView name, std::function<void()> handler);

    QString fieldText(QStringView name) const;
    void setFieldText(QStringView name, const QString& text);

    QLineEdit* textField(QStringView name) const;
    QPushButton* button(QStringView name) const;

    // The native handle of the window (an X11 window id, for instance).
    WId nativeHandle();

    // Where each control lies, in pixels; labels and rectangles included.
    QRect controlGeometry(QStringView name) const;

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

    const Control& control(QStringView name) const;
    Control& control(QStringView name);
    const Control* labelAt(const QPoint& position) const;

    FormDescription m_description;
    std::vector<Control> m_controls; // in description order: topmost first
    QHash<QString, qsizetype> m_index;
    QPushButton* m_defaultButton = nullptr;
    const Control* m_pressedLabel = nullptr;
    bool m_swallowRelease = false;
};

// Shows the form centred on its screen with the focus in its first tab stop, and runs the event
// loop until the last window closes.
int run(Form& form);

} // namespace rt
