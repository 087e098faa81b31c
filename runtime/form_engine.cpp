#include "runtime/form_engine.h"

#include "runtime/dispatcher.h"

#include <utility>

namespace rt {

FormEngine::FormEngine(const FormDescription& description)
    : m_description(description)
    , m_handlers(description.controls.size()) {
    checkControlNames(m_description);
    const Screen screen = platform::mainScreen();
    m_layout = layOut(m_description, screen.dotsPerInch);
    m_native = platform::createWindow(*this);
    const Size outer = m_native->outerSize(m_layout.client, screen.dotsPerInch);
    const Point at = placement(outer, screen.workArea);
    m_native->open(m_layout, m_description.window.caption, {at.x, at.y, outer.width, outer.height});
    if (!m_layout.controls.empty()) {
        m_native->focus(m_layout.controls.front().id);
    }
}

FormEngine::~FormEngine() = default;

ControlId FormEngine::field(std::u16string_view name) const {
    const ControlId found = id(name);
    if (m_description.controls[found].kind != ControlKind::TextField) {
        fatal("this control is no text field:", name);
    }
    return found;
}

void FormEngine::onClick(std::u16string_view name, std::function<void()> handler) {
    const ControlId found = id(name);
    const ControlKind kind = m_description.controls[found].kind;
    if (kind != ControlKind::CommandButton && kind != ControlKind::Label) {
        fatal("this control takes no clicks:", name);
    }
    m_handlers[found] = std::move(handler);
}

std::u16string FormEngine::fieldText(std::u16string_view name) const {
    return m_native->text(field(name));
}

void FormEngine::setFieldText(std::u16string_view name, std::u16string_view text) {
    m_native->setText(field(name), text);
}

NativeHandle FormEngine::nativeHandle() {
    return m_native->handle();
}

void FormEngine::runHandler(ControlId control) {
    if (m_handlers[control]) {
        dispatch(m_handlers[control]);
    }
}

void FormEngine::buttonPressed(ControlId button) {
    if (button < m_description.controls.size() &&
        m_description.controls[button].kind == ControlKind::CommandButton) {
        runHandler(button);
    }
}

bool FormEngine::keyPressed(char32_t key, unsigned modifiers) {
    for (const NativeControl& control : m_layout.controls) {
        const bool enter = key == kEnterKey && modifiers == kNoModifier && control.isDefault;
        const bool accelerator = control.caption.accelerator != 0 &&
                                 key == control.caption.accelerator && modifiers == kAlt;
        if (enter || accelerator) {
            runHandler(control.id);
            return true;
        }
    }
    return false;
}

std::optional<ControlId> FormEngine::labelAt(Point at) const {
    // The topmost label there, which is the first in the description.
    const std::vector<Box>& boxes = m_layout.boxesIn(m_arrangement);
    for (ControlId id = 0; id < m_description.controls.size(); ++id) {
        if (m_description.controls[id].kind == ControlKind::Label &&
            boxes[id].contains(at.x, at.y)) {
            return id;
        }
    }
    return std::nullopt;
}

void FormEngine::mousePressed(Point at, bool secondOfDoubleClick) {
    // The first half of a double-click was a click already; the second is not another.
    m_pressedLabel = secondOfDoubleClick ? std::nullopt : labelAt(at);
}

void FormEngine::mouseReleased(Point at) {
    // A click is a press and a release on the same label, as with any button.
    const std::optional<ControlId> pressed = std::exchange(m_pressedLabel, std::nullopt);
    if (pressed && pressed == labelAt(at)) {
        runHandler(*pressed);
    }
}

void FormEngine::dpiChanged(double dotsPerInch) {
    if (dotsPerInch != m_layout.dotsPerInch) {
        m_layout = layOut(m_description, dotsPerInch);
        m_native->layOutAgain();
    }
}

void FormEngine::arranged(ArrangementId arrangement) {
    // A press begun in one arrangement is no click when released in another.
    if (arrangement <= m_layout.narrower.size() && arrangement != m_arrangement) {
        m_arrangement = arrangement;
        m_pressedLabel.reset();
    }
}

void FormEngine::announce(std::u16string_view text) {
    m_native->announce(text);
}

std::optional<int> FormEngine::run() {
    return m_native->run();
}

int start(const FormDescription& description, void (*wire)(Form& form)) {
    auto form = std::make_unique<FormEngine>(description);
    wire(*form);
    if (const std::optional<int> exitCode = form->run()) {
        return *exitCode;
    }
    // The browser goes on running the page after main has returned, and the window with it.
    static const std::unique_ptr<FormEngine> resident = std::move(form);
    return 0;
}

} // namespace rt
