#pragma once

// The window engine: a description (form_description.h) made into a window on whatever
// platform the program is built for, and every rule of that window, written once.
//
// It lays the description out (form_layout.h), has the platform's NativeWindow (platform.h)
// create and paint what the layout lists, and turns what the platform reports into handler
// runs, through the dispatcher:
// - a native button's click or Space runs that button's handler;
// - Enter, with no modifier, in any control of the window (a locked field too) runs the
//   default button's;
// - Alt and a button's accelerator letter run that button's, wherever the focus is;
// - a press and a release of the mouse on the same label is a click on it, and runs its
//   handler; the second press of a double-click is no second click; a label without a handler,
//   a rectangle or the bare window do nothing. A press is found where the arrangement the
//   platform shows puts the labels.
// None of these moves the focus.

#include "runtime/form.h"
#include "runtime/platform.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace rt {

class FormEngine final : public Form, public FormInput {
public:
    // Lays the window out for the main screen, centred in its work area, with the focus in the
    // first control of the focus chain. Stops the program if a name occurs twice.
    explicit FormEngine(const FormDescription& description);
    ~FormEngine() override;
    FormEngine(const FormEngine&) = delete;
    FormEngine& operator=(const FormEngine&) = delete;

    // Form: what the handlers see.
    void onClick(std::u16string_view name, std::function<void()> handler) override;
    std::u16string fieldText(std::u16string_view name) const override;
    void setFieldText(std::u16string_view name, std::u16string_view text) override;
    NativeHandle nativeHandle() override;
    void announce(std::u16string_view text) override;

    // FormInput: what the platform reports.
    void buttonPressed(ControlId button) override;
    bool keyPressed(char32_t key, unsigned modifiers) override;
    void mousePressed(Point at, bool secondOfDoubleClick) override;
    void mouseReleased(Point at) override;
    void dpiChanged(double dotsPerInch) override;
    void arranged(ArrangementId arrangement) override;

    // Shows the window and runs the event loop until it is closed; the exit code, or nullopt
    // where the window lives on after the call (NativeWindow::run).
    std::optional<int> run();

    ControlId id(std::u16string_view name) const { return controlIndex(m_description, name); }
    const FormLayout& layout() const { return m_layout; }
    NativeWindow& native() { return *m_native; }

private:
    ControlId field(std::u16string_view name) const;
    std::optional<ControlId> labelAt(Point at) const;
    void runHandler(ControlId control);

    FormDescription m_description;
    FormLayout m_layout;
    std::unique_ptr<NativeWindow> m_native;
    std::vector<std::function<void()>> m_handlers; // by ControlId; empty where none
    std::optional<ControlId> m_pressedLabel;
    ArrangementId m_arrangement = 0;
};

// The start of the program, the same on every platform: builds the window from `description`,
// lets `wire` give its controls their handlers, and runs it. Returns the exit code.
int start(const FormDescription& description, void (*wire)(Form& form));

} // namespace rt
