#pragma once

// A window built from its description (runtime/form_description.h), with plain Win32.
//
// Text fields and the button are EDIT and BUTTON controls, created in tab-index order so that
// the dialog manager's Tab and Shift+Tab follow it; labels and rectangles are drawn in WM_PAINT
// from the last record to the first, so the first record lies on top and the controls above
// them all. Every size comes from the description through twipsToPixels at the window's DPI,
// and is laid out again when the window moves to a screen of another DPI.
//
// The message loop gives keys to the button's accelerator first (Alt+C clicks at once and
// leaves the focus where it is), then to the dialog manager (Tab, Enter for the default
// button, Space on the button). Handlers run through the dispatcher inside the window
// procedure, so an error never unwinds through user32's frames.

#include "runtime/form.h"

#include <functional>
#include <map>
#include <vector>
#include <windows.h>

namespace rt {

class Win32Form final : public Form {
public:
    explicit Win32Form(const FormDescription& description);
    ~Win32Form() override;
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;

    void onClick(std::u16string_view name, std::function<void()> handler) override;
    std::u16string fieldText(std::u16string_view name) const override;
    void setFieldText(std::u16string_view name, std::u16string_view text) override;
    NativeHandle nativeHandle() override;

    HWND window() const { return m_window; }

    // Shows the window, which opens centred on the main screen's work area with the focus in
    // the first tab stop, and runs the message loop until it is closed. Returns the exit code.
    int run();

private:
    struct Control {
        const ControlRecord* record;
        RECT box;    // in client pixels
        HWND handle; // nullptr for what is drawn on the window
        std::function<void()> clickHandler;
    };

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);

    void createControls();
    void nameFields(); // for screen readers
    void setDpi(UINT dpi); // and the fonts at it
    void deleteFonts();
    HFONT fontOf(const ControlRecord& record) const;
    RECT frameAt(UINT dpi) const; // the window's size with its frame, at origin 0, 0
    void layOut(UINT dpi);
    void paint(HDC dc);
    HWND control(std::u16string_view name, ControlKind kind) const;
    const Control* labelAt(POINT position) const;
    void click(int id);

    const FormDescription& m_description;
    HWND m_window = nullptr;
    UINT m_dpi = 96;
    HFONT m_windowFont = nullptr;
    std::map<const FontStyle*, HFONT> m_fonts; // one for each font of the records
    HBRUSH m_background = nullptr;
    HACCEL m_accelerators = nullptr;
    std::vector<Control> m_controls; // in description order: topmost first
    HWND m_focusOnDeactivation = nullptr;
    const Control* m_pressedLabel = nullptr;
    bool m_swallowRelease = false;
    bool m_acceleratorChord = false; // the keys pressed last were an accelerator's
};

} // namespace rt
