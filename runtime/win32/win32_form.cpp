#include "runtime/win32/win32_form.h"

#include "runtime/dispatcher.h"
#include "runtime/twips.h"
#include "runtime/win32/win32_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

namespace rt {

namespace {

constexpr wchar_t kWindowClass[] = L"MelkoraForm";
constexpr int kFirstControlId = 100; // clear of IDOK and IDCANCEL, which the dialog manager sends
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

COLORREF colourRef(Rgb colour) {
    return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

COLORREF colourOr(Rgb colour, int standard) {
    return colour == kStandard ? GetSysColor(standard) : colourRef(colour);
}

RECT rectOf(const Box& box) {
    return {box.left, box.top, box.right(), box.bottom()};
}

HFONT createFont(const FontStyle& style, UINT dpi) {
    // Points are twentieths of twips, and become pixels like every other size.
    const int height = twipsToPixels(static_cast<int>(std::lround(style.points * 20)), dpi);
    return CreateFontW(-height, 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, FALSE,
                       style.underline ? TRUE : FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                       toWide(style.family).c_str());
}

// Functions of Windows 10 and later, bound where the system has them.
template <typename Function> Function userFunction(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// The DPI of the screen, for a window that is not made yet or a system without
// GetDpiForWindow.
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

} // namespace

Win32Form::Win32Form(const FormDescription& description)
    : m_description(description)
    , m_background(CreateSolidBrush(colourRef(description.window.back))) {
    checkControlNames(m_description);
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
    // Windows gives a new window the DPI of the screen it opens on, which for the main screen
    // is the system's; where it differs, the window is laid out again.
    const UINT dpi = systemDpi();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT frame = frameAt(dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // On a screen too small for it, the caption stays on the screen.
    const int left = std::max(work.left, work.left + (work.right - work.left - width) / 2);
    const int top = std::max(work.top, work.top + (work.bottom - work.top - height) / 2);
    m_window = CreateWindowExW(0, kWindowClass, toWide(m_description.window.caption).c_str(),
                               kWindowStyle, left, top, width, height, nullptr, nullptr, instance,
                               this);
    if (m_window == nullptr) {
        fatal("cannot create the window", m_description.window.name);
    }
    setDpi(dpi);
    createControls();
    if (const UINT actual = dpiOf(m_window); actual != dpi) {
        layOut(actual);
        const RECT resized = frameAt(actual);
        SetWindowPos(m_window, nullptr, 0, 0, resized.right - resized.left,
                     resized.bottom - resized.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

Win32Form::~Win32Form() {
    if (IsWindow(m_window)) {
        DestroyWindow(m_window);
    }
    deleteFonts();
    DeleteObject(m_background);
    if (m_accelerators != nullptr) {
        DestroyAcceleratorTable(m_accelerators);
    }
}

void Win32Form::createControls() {
    m_controls.reserve(m_description.controls.size());
    for (const ControlRecord& record : m_description.controls) {
        m_controls.push_back({&record, rectOf(twipsToPixels(record.box(), m_dpi)), nullptr, {}});
    }
    // The dialog manager moves the focus in creation order, so the controls are made in the
    // order of their tab indices.
    std::vector<size_t> order;
    for (size_t i = 0; i < m_controls.size(); ++i) {
        const ControlKind kind = m_controls[i].record->kind;
        if (kind == ControlKind::TextField || kind == ControlKind::CommandButton) {
            order.push_back(i);
        }
    }
    std::stable_sort(order.begin(), order.end(), [&](size_t l, size_t r) {
        return m_controls[l].record->tabIndex < m_controls[r].record->tabIndex;
    });
    std::vector<ACCEL> accelerators;
    for (const size_t i : order) {
        const ControlRecord& record = *m_controls[i].record;
        const auto id = static_cast<WORD>(kFirstControlId + i);
        DWORD style = WS_CHILD | WS_VISIBLE;
        if (record.tabIndex != kNoTabStop) {
            style |= WS_TABSTOP;
        }
        const wchar_t* windowClass = L"EDIT";
        DWORD exStyle = 0;
        if (record.kind == ControlKind::TextField) {
            style |= ES_LEFT | ES_AUTOHSCROLL | ((record.flags & kLocked) != 0 ? ES_READONLY : 0);
            exStyle = WS_EX_CLIENTEDGE;
        } else {
            windowClass = L"BUTTON";
            style |= (record.flags & kDefaultButton) != 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            const size_t amp = record.text.find(u'&');
            if (amp != std::u16string_view::npos && amp + 1 < record.text.size()) {
                const auto key = static_cast<WORD>(std::toupper(record.text[amp + 1] & 0x7F));
                accelerators.push_back({FVIRTKEY | FALT, key, id});
            }
        }
        const RECT& box = m_controls[i].box;
        m_controls[i].handle = CreateWindowExW(
            exStyle, windowClass, toWide(record.text).c_str(), style, box.left, box.top,
            box.right - box.left, box.bottom - box.top, m_window,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        SendMessageW(m_controls[i].handle, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(record)),
                     FALSE);
        if (record.kind == ControlKind::TextField) {
            SendMessageW(m_controls[i].handle, EM_SETLIMITTEXT, 0, 0); // no limit of ours
        }
    }
    if (!accelerators.empty()) {
        m_accelerators =
            CreateAcceleratorTableW(accelerators.data(), static_cast<int>(accelerators.size()));
    }
    m_focusOnDeactivation = order.empty() ? nullptr : m_controls[order.front()].handle;
}

void Win32Form::nameFields() {
    // Screen readers name a field after the label just before it in the z-order; these are
    // never shown, since the window's own labels are brackets and commas. They are made after
    // the first frame, which they have no part in, and before the message loop, so before a
    // screen reader can ask.
    for (const Control& control : m_controls) {
        if (control.handle == nullptr || control.record->accessibleName.empty()) {
            continue;
        }
        HWND name = CreateWindowExW(0, L"STATIC", toWide(control.record->accessibleName).c_str(),
                                    WS_CHILD, 0, 0, 0, 0, m_window, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
        HWND before = GetWindow(control.handle, GW_HWNDPREV);
        SetWindowPos(name, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
}

void Win32Form::setDpi(UINT dpi) {
    m_dpi = dpi;
    deleteFonts();
    m_windowFont = createFont(m_description.window.font, dpi);
    for (const ControlRecord& record : m_description.controls) {
        if (record.font != nullptr && !m_fonts.contains(record.font)) {
            m_fonts.emplace(record.font, createFont(*record.font, dpi));
        }
    }
}

void Win32Form::deleteFonts() {
    for (const auto& [style, font] : m_fonts) {
        DeleteObject(font);
    }
    m_fonts.clear();
    DeleteObject(m_windowFont);
    m_windowFont = nullptr;
}

HFONT Win32Form::fontOf(const ControlRecord& record) const {
    return record.font != nullptr ? m_fonts.at(record.font) : m_windowFont;
}

RECT Win32Form::frameAt(UINT dpi) const {
    RECT frame{0, 0, twipsToPixels(m_description.window.clientWidth, dpi),
               twipsToPixels(m_description.window.clientHeight, dpi)};
    using AdjustFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = userFunction<AdjustFunction>("AdjustWindowRectExForDpi");
    if (adjustForDpi != nullptr) {
        adjustForDpi(&frame, kWindowStyle, FALSE, 0, dpi);
    } else {
        AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    }
    return frame;
}

void Win32Form::layOut(UINT dpi) {
    setDpi(dpi);
    for (Control& control : m_controls) {
        control.box = rectOf(twipsToPixels(control.record->box(), dpi));
        if (control.handle != nullptr) {
            MoveWindow(control.handle, control.box.left, control.box.top,
                       control.box.right - control.box.left, control.box.bottom - control.box.top,
                       TRUE);
            SendMessageW(control.handle, WM_SETFONT,
                         reinterpret_cast<WPARAM>(fontOf(*control.record)), TRUE);
        }
    }
    InvalidateRect(m_window, nullptr, TRUE);
}

void Win32Form::paint(HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
        const ControlRecord& record = *it->record;
        RECT box = it->box;
        if (record.kind == ControlKind::Label) {
            HBRUSH back = CreateSolidBrush(colourOr(record.colours.back, COLOR_WINDOW));
            FillRect(dc, &box, back);
            DeleteObject(back);
            SelectObject(dc, fontOf(record));
            SetTextColor(dc, colourOr(record.colours.text, COLOR_WINDOWTEXT));
            const std::wstring text = toWide(record.text);
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                      DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        } else if (record.kind == ControlKind::Rectangle) {
            if (record.colours.back != kStandard) {
                HBRUSH fill = CreateSolidBrush(colourRef(record.colours.back));
                FillRect(dc, &box, fill);
                DeleteObject(fill);
            }
            HBRUSH border = CreateSolidBrush(colourOr(record.colours.border, COLOR_WINDOWTEXT));
            FrameRect(dc, &box, border); // one pixel just inside the box
            DeleteObject(border);
        }
    }
}

const Win32Form::Control* Win32Form::labelAt(POINT position) const {
    for (const Control& candidate : m_controls) {
        if (candidate.record->kind == ControlKind::Label && PtInRect(&candidate.box, position)) {
            return &candidate;
        }
    }
    return nullptr;
}

void Win32Form::click(int id) {
    const int index = id - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(m_controls.size())) {
        return;
    }
    const Control& control = m_controls[static_cast<size_t>(index)];
    if (control.record->kind == ControlKind::CommandButton && control.clickHandler) {
        dispatch(control.clickHandler);
    }
}

LRESULT CALLBACK Win32Form::windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
        auto* form = static_cast<Win32Form*>(create->lpCreateParams);
        form->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr) {
        return DefWindowProcW(window, message, w, l);
    }
    // The dispatcher reports the errors of handlers; anything else is a programming error, and
    // must not unwind through user32's frames, which cannot be unwound on 32-bit Windows.
    try {
        return form->handle(message, w, l);
    } catch (...) {
        fatal("an unexpected error in the window procedure of", form->m_description.window.name);
    }
}

LRESULT Win32Form::handle(UINT message, WPARAM w, LPARAM l) {
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
    case DM_GETDEFID:
        for (size_t i = 0; i < m_controls.size(); ++i) {
            if ((m_controls[i].record->flags & kDefaultButton) != 0) {
                return MAKELRESULT(kFirstControlId + i, DC_HASDEFID);
            }
        }
        return 0;
    case WM_COMMAND:
        // A click (BN_CLICKED, 0) or the accelerator (1); IDOK and IDCANCEL (Esc) do nothing.
        if (HIWORD(w) == BN_CLICKED || HIWORD(w) == 1) {
            click(LOWORD(w));
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
        m_pressedLabel = labelAt({static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))});
        return 0;
    case WM_LBUTTONDBLCLK:
        // The first half of a double-click was a click already; the second half is not another.
        m_pressedLabel = nullptr;
        m_swallowRelease = true;
        return 0;
    case WM_LBUTTONUP: {
        const Control* pressed = std::exchange(m_pressedLabel, nullptr);
        if (std::exchange(m_swallowRelease, false)) {
            return 0;
        }
        const POINT at{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
        if (pressed != nullptr && pressed == labelAt(at) && pressed->clickHandler) {
            dispatch(pressed->clickHandler);
        }
        return 0;
    }
    case WM_DPICHANGED: {
        layOut(HIWORD(w));
        const auto* suggested = reinterpret_cast<const RECT*>(l);
        SetWindowPos(m_window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_SYSCOMMAND:
        // The release of Alt after Alt+C would otherwise open the system menu's keyboard mode,
        // since the system never saw the C that the accelerator took.
        if ((w & 0xFFF0) == SC_KEYMENU && l == 0 && m_acceleratorChord) {
            return 0;
        }
        return DefWindowProcW(m_window, message, w, l);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(m_window, message, w, l);
    }
}

void Win32Form::onClick(std::u16string_view name, std::function<void()> handler) {
    Control& target = m_controls[controlIndex(m_description, name)];
    if (target.record->kind != ControlKind::CommandButton &&
        target.record->kind != ControlKind::Label) {
        fatal("this control takes no clicks:", name);
    }
    target.clickHandler = std::move(handler);
}

HWND Win32Form::control(std::u16string_view name, ControlKind kind) const {
    const Control& found = m_controls[controlIndex(m_description, name)];
    if (found.record->kind != kind) {
        fatal("this control is of another kind:", name);
    }
    return found.handle;
}

std::u16string Win32Form::fieldText(std::u16string_view name) const {
    HWND field = control(name, ControlKind::TextField);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    return fromWide(text);
}

void Win32Form::setFieldText(std::u16string_view name, std::u16string_view text) {
    SetWindowTextW(control(name, ControlKind::TextField), toWide(text).c_str());
}

NativeHandle Win32Form::nativeHandle() {
    return reinterpret_cast<NativeHandle>(m_window);
}

int Win32Form::run() {
    ShowWindow(m_window, SW_SHOWNORMAL);
    UpdateWindow(m_window);
    nameFields();

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
            m_acceleratorChord = false;
        }
        if (m_accelerators != nullptr &&
            TranslateAcceleratorW(m_window, m_accelerators, &message) != 0) {
            m_acceleratorChord = true;
            continue;
        }
        if (IsDialogMessageW(m_window, &message) != 0) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace rt
