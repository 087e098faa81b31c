// The window engine's NativeWindow (runtime/platform.h) with plain Win32: text fields and
// buttons are EDIT and BUTTON controls, made in the layout's order so that the dialog manager's
// Tab and Shift+Tab follow the focus chain; the paint list is drawn in WM_PAINT, below them.
//
// The message loop gives every key to the engine first, then to the dialog manager (Tab, Space
// on the button). The window follows the DPI of the screen it is on (WM_DPICHANGED).

#include "runtime/form.h"
#include "runtime/platform.h"
#include "runtime/win32/win32_function.h"
#include "runtime/win32/win32_live_region.h"
#include "runtime/win32/win32_text.h"

#include <vector>
#include <windows.h>

namespace rt {

namespace {

// The build names the class, so that the installer can find a running Melkora by it.
constexpr wchar_t kWindowClass[] = L"" MELKORA_WINDOW_CLASS;
constexpr int kFirstControlId = 100; // clear of IDOK and IDCANCEL, which the dialog manager sends
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

COLORREF colourRef(const PaintColour& colour) {
    switch (colour.standard) {
    case StandardColour::None:
        break;
    case StandardColour::Window:
        return GetSysColor(COLOR_WINDOW);
    case StandardColour::WindowText:
        return GetSysColor(COLOR_WINDOWTEXT);
    }
    return RGB((colour.rgb >> 16) & 0xFF, (colour.rgb >> 8) & 0xFF, colour.rgb & 0xFF);
}

RECT rectOf(const Box& box) {
    return {box.left, box.top, box.right(), box.bottom()};
}

// Functions of Windows 10 and later, bound where the system has them.
template <typename Function> Function userFunction(const char* name) {
    return libraryFunction<Function>(GetModuleHandleW(L"user32.dll"), name);
}

// The DPI of the main screen, which a new window opens on.
UINT systemDpi() {
    using GetDpiForSystemFunction = UINT(WINAPI*)();
    static const auto getDpiForSystem = userFunction<GetDpiForSystemFunction>("GetDpiForSystem");
    if (getDpiForSystem != nullptr) {
        return getDpiForSystem();
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

UINT dpiOf(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = userFunction<GetDpiForWindowFunction>("GetDpiForWindow");
    return getDpiForWindow != nullptr ? getDpiForWindow(window) : systemDpi();
}

unsigned modifiersNow() {
    const auto down = [](int key) {
        return (GetKeyState(key) & 0x8000) != 0;
    };
    return (down(VK_SHIFT) ? kShift : 0) | (down(VK_CONTROL) ? kControl : 0) |
           (down(VK_MENU) ? kAlt : 0) | (down(VK_LWIN) || down(VK_RWIN) ? kMeta : 0);
}

// Windows' virtual key for Enter is the engine's.
static_assert(VK_RETURN == kEnterKey);

Point pointOf(LPARAM l) {
    return {static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
}

} // namespace

class Win32Window final : public NativeWindow {
public:
    explicit Win32Window(FormInput& input);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    Size outerSize(Size client, double dotsPerInch) const override;
    void open(const FormLayout& layout, std::u16string_view caption, const Box& outer) override;
    void layOutAgain() override;
    std::u16string text(ControlId field) const override;
    void setText(ControlId field, std::u16string_view text) override;
    void focus(ControlId control) override;
    NativeHandle handle() const override;
    void announce(std::u16string_view text) override { m_liveRegion.announce(text); }
    std::optional<int> run() override;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void makeFonts();
    void deleteFonts();
    void paint(HDC dc);
    void nameFields(); // for screen readers
    bool keyForTheEngine(const MSG& message);

    FormInput& m_input;
    const FormLayout* m_layout = nullptr;
    HWND m_window = nullptr;
    HBRUSH m_background = nullptr;
    std::vector<HFONT> m_fonts;   // by FontId
    std::vector<HWND> m_controls; // by ControlId; nullptr for what is painted
    LiveRegion m_liveRegion;
    HWND m_focusOnDeactivation = nullptr;
    bool m_acceleratorChord = false; // the keys pressed last were an accelerator's
};

Win32Window::Win32Window(FormInput& input)
    : m_input(input) {
}

Win32Window::~Win32Window() {
    if (IsWindow(m_window)) {
        DestroyWindow(m_window);
    }
    deleteFonts();
    DeleteObject(m_background);
}

Size Win32Window::outerSize(Size client, double dotsPerInch) const {
    RECT frame{0, 0, client.width, client.height};
    using AdjustFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = userFunction<AdjustFunction>("AdjustWindowRectExForDpi");
    if (adjustForDpi != nullptr) {
        adjustForDpi(&frame, kWindowStyle, FALSE, 0, static_cast<UINT>(dotsPerInch));
    } else {
        AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    }
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void Win32Window::open(const FormLayout& layout, std::u16string_view caption, const Box& outer) {
    m_layout = &layout;
    m_background = CreateSolidBrush(colourRef(layout.background));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);

    // The window is made where and as large as it will be shown: each later move or resize of
    // a top-level window costs a round trip to the window system before the first frame.
    m_window =
        CreateWindowExW(0, kWindowClass, toWide(caption).c_str(), kWindowStyle, outer.left,
                        outer.top, outer.width, outer.height, nullptr, nullptr, instance, this);
    if (m_window == nullptr) {
        fatal("cannot create the window", caption);
    }
    makeFonts();
    // The dialog manager moves the focus in creation order, which is the layout's.
    m_controls.assign(layout.boxes.size(), nullptr);
    for (const NativeControl& control : layout.controls) {
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
        DWORD exStyle = 0;
        const wchar_t* windowClass = L"BUTTON";
        std::u16string text;
        if (control.kind == ControlKind::TextField) {
            windowClass = L"EDIT";
            style |= ES_LEFT | ES_AUTOHSCROLL | (control.locked ? ES_READONLY : 0);
            exStyle = WS_EX_CLIENTEDGE;
        } else {
            style |= control.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            text = control.caption.markup();
        }
        const RECT box = rectOf(control.box);
        const auto id = static_cast<UINT_PTR>(kFirstControlId + control.id);
        HWND handle = CreateWindowExW(exStyle, windowClass, toWide(text).c_str(), style, box.left,
                                      box.top, box.right - box.left, box.bottom - box.top, m_window,
                                      reinterpret_cast<HMENU>(id), instance, nullptr);
        SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(m_fonts[control.font]), FALSE);
        if (control.kind == ControlKind::TextField) {
            SendMessageW(handle, EM_SETLIMITTEXT, 0, 0); // no limit of ours
        }
        m_controls[control.id] = handle;
    }
    // Windows gives a new window the DPI of the screen it opens on, which for the main screen
    // is the system's; where it differs, the window is laid out again.
    if (const UINT actual = dpiOf(m_window); actual != layout.dotsPerInch) {
        m_input.dpiChanged(actual);
        const Size resized = outerSize(layout.client, actual);
        SetWindowPos(m_window, nullptr, 0, 0, resized.width, resized.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32Window::makeFonts() {
    deleteFonts();
    for (const PixelFont& font : m_layout->fonts) {
        m_fonts.push_back(CreateFontW(-font.pixels, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                                      font.underline ? TRUE : FALSE, FALSE, ANSI_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      DEFAULT_PITCH | FF_SWISS, toWide(font.family).c_str()));
    }
}

void Win32Window::deleteFonts() {
    for (HFONT font : m_fonts) {
        DeleteObject(font);
    }
    m_fonts.clear();
}

void Win32Window::layOutAgain() {
    makeFonts();
    for (const NativeControl& control : m_layout->controls) {
        const RECT box = rectOf(control.box);
        HWND handle = m_controls[control.id];
        MoveWindow(handle, box.left, box.top, box.right - box.left, box.bottom - box.top, TRUE);
        SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(m_fonts[control.font]), TRUE);
    }
    InvalidateRect(m_window, nullptr, TRUE);
}

void Win32Window::nameFields() {
    // Screen readers name a field after the label just before it in the z-order; these are
    // never shown, since the window's own labels are brackets and commas. They are made after
    // the first frame, which they have no part in, and before the message loop, so before a
    // screen reader can ask.
    for (const NativeControl& control : m_layout->controls) {
        if (control.accessibleName.empty()) {
            continue;
        }
        HWND name =
            CreateWindowExW(0, L"STATIC", toWide(control.accessibleName).c_str(), WS_CHILD, 0, 0, 0,
                            0, m_window, nullptr, GetModuleHandleW(nullptr), nullptr);
        HWND before = GetWindow(m_controls[control.id], GW_HWNDPREV);
        SetWindowPos(name, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
}

std::u16string Win32Window::text(ControlId field) const {
    HWND handle = m_controls.at(field);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(handle)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(handle, text.data(), static_cast<int>(text.size()))));
    return fromWide(text);
}

void Win32Window::setText(ControlId field, std::u16string_view text) {
    SetWindowTextW(m_controls.at(field), toWide(text).c_str());
}

void Win32Window::focus(ControlId control) {
    // Until the window is active, the focus is only remembered; WM_ACTIVATE gives it.
    m_focusOnDeactivation = m_controls.at(control);
    SetFocus(m_focusOnDeactivation);
}

NativeHandle Win32Window::handle() const {
    return reinterpret_cast<NativeHandle>(m_window);
}

void Win32Window::paint(HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    for (const PaintItem& item : m_layout->paint) {
        RECT box = rectOf(item.box);
        HBRUSH brush = nullptr;
        switch (item.kind) {
        case PaintItem::Kind::Fill:
            brush = CreateSolidBrush(colourRef(item.colour));
            FillRect(dc, &box, brush);
            break;
        case PaintItem::Kind::Frame:
            brush = CreateSolidBrush(colourRef(item.colour));
            FrameRect(dc, &box, brush); // one pixel just inside the box
            break;
        case PaintItem::Kind::Text: {
            SelectObject(dc, m_fonts[item.font]);
            SetTextColor(dc, colourRef(item.colour));
            const std::wstring text = toWide(item.text);
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                      DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
            break;
        }
        }
        if (brush != nullptr) {
            DeleteObject(brush);
        }
    }
}

bool Win32Window::keyForTheEngine(const MSG& message) {
    if ((message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) ||
        (message.hwnd != m_window && !IsChild(m_window, message.hwnd))) {
        return false;
    }
    m_acceleratorChord = m_input.keyPressed(static_cast<char32_t>(message.wParam), modifiersNow());
    return m_acceleratorChord;
}

std::optional<int> Win32Window::run() {
    ShowWindow(m_window, SW_SHOWNORMAL);
    UpdateWindow(m_window);
    nameFields();
    m_liveRegion.create(m_window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (keyForTheEngine(message) || IsDialogMessageW(m_window, &message) != 0) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

LRESULT CALLBACK Win32Window::windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
        auto* self = static_cast<Win32Window*>(create->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, w, l);
    }
    // The dispatcher reports the errors of handlers; anything else is a programming error, and
    // must not unwind through user32's frames, which cannot be unwound on 32-bit Windows.
    try {
        return self->handle(message, w, l);
    } catch (...) {
        fatal("an unexpected error left the window procedure of", u"the window");
    }
}

LRESULT Win32Window::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_window, &ps);
        paint(dc);
        EndPaint(m_window, &ps);
        return 0;
    }
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(m_window, &client);
        FillRect(reinterpret_cast<HDC>(w), &client, m_background);
        return 1;
    }
    case WM_CTLCOLORSTATIC: {
        // Read-only fields look exactly like the others: white, not the dialog grey.
        auto* dc = reinterpret_cast<HDC>(w);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_COMMAND:
        // A button's click; IDOK and IDCANCEL (Esc), from the dialog manager, do nothing.
        if (HIWORD(w) == BN_CLICKED && LOWORD(w) >= kFirstControlId) {
            m_input.buttonPressed(static_cast<ControlId>(LOWORD(w) - kFirstControlId));
        }
        return 0;
    case WM_ACTIVATE:
        // Windows gives the focus to the window itself when it comes back from a message box
        // or another program; give it back to the control that had it.
        if (LOWORD(w) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(m_window, focus)) {
                m_focusOnDeactivation = focus;
            }
        } else if (m_focusOnDeactivation != nullptr) {
            SetFocus(m_focusOnDeactivation);
        }
        return 0;
    case WM_LBUTTONDOWN:
        m_input.mousePressed(pointOf(l), false);
        return 0;
    case WM_LBUTTONDBLCLK:
        m_input.mousePressed(pointOf(l), true);
        return 0;
    case WM_LBUTTONUP:
        m_input.mouseReleased(pointOf(l));
        return 0;
    case WM_DPICHANGED: {
        m_input.dpiChanged(HIWORD(w));
        const auto* suggested = reinterpret_cast<const RECT*>(l);
        SetWindowPos(m_window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_SYSCOMMAND:
        // The release of Alt after Alt+C would otherwise open the system menu's keyboard mode,
        // since the system never saw the C that the engine took.
        if ((w & 0xFFF0) == SC_KEYMENU && l == 0 && m_acceleratorChord) {
            return 0;
        }
        return DefWindowProcW(m_window, message, w, l);
    case WM_DESTROY:
        m_liveRegion.release();
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(m_window, message, w, l);
    }
}

namespace platform {

std::unique_ptr<NativeWindow> createWindow(FormInput& input) {
    return std::make_unique<Win32Window>(input);
}

Screen mainScreen() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return {{work.left, work.top, work.right - work.left, work.bottom - work.top},
            static_cast<double>(systemDpi())};
}

} // namespace platform

} // namespace rt
