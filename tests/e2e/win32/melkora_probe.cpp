// Reads Melkora's window as the user sees it, from another process of the same Wine prefix,
// for the end-to-end test; the test's keys and clicks come from xdotool, never from here.
//
//   melkora_probe fields        the texts of the nine fields, one a line, in tab order
//   melkora_probe set <n> <t>   puts text t into the n-th field (0 is a), as a paste would
//   melkora_probe box           the title and text of the message box over the window, if any
//   melkora_probe focus         the tab position of the control with the focus (9: the button)
//   melkora_probe origin        where the client area's top left lies on the screen
//   melkora_probe size          the client area's width and height
//   melkora_probe name <n>      what a screen reader says for the n-th field
//   melkora_probe hear <ms>     for ms milliseconds, the text of each live region that tells of
//                               a change (after a first line, "listening")
//
// Exits 1 when Melkora's window is not there.

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <fcntl.h>
#include <io.h>
#include <oleacc.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

void print(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                        nullptr, nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
}

std::wstring textOf(HWND window) {
    const auto length = static_cast<size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::wcslen(text.c_str()));
    return text;
}

// The children that take the focus, in the order the dialog manager visits them.
std::vector<HWND> tabStops(HWND form) {
    std::vector<HWND> stops;
    for (HWND child = GetWindow(form, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) != 0) {
            stops.push_back(child);
        }
    }
    return stops;
}

void CALLBACK liveRegionChanged(HWINEVENTHOOK /*hook*/, DWORD /*event*/, HWND region,
                                LONG /*object*/, LONG /*child*/, DWORD /*thread*/, DWORD /*time*/) {
    print(textOf(region));
    std::fflush(stdout);
}

HWND messageBoxOver(HWND form) {
    HWND found = nullptr;
    for (HWND top = GetTopWindow(nullptr); top != nullptr; top = GetWindow(top, GW_HWNDNEXT)) {
        wchar_t className[16] = L"";
        GetClassNameW(top, className, 16);
        if (std::wcscmp(className, L"#32770") == 0 && GetWindow(top, GW_OWNER) == form &&
            IsWindowVisible(top)) {
            found = top;
        }
    }
    return found;
}

} // namespace

int wmain(int argc, wchar_t* argv[]) {
    HWND form = FindWindowW(L"MelkoraForm", nullptr);
    if (form == nullptr || argc < 2) {
        return 1;
    }
    _setmode(_fileno(stdout), _O_BINARY); // plain \n line ends for the shell that reads them
    const std::wstring command = argv[1];
    const std::vector<HWND> stops = tabStops(form);
    if (command == L"fields") {
        for (size_t i = 0; i < 9 && i < stops.size(); ++i) {
            print(textOf(stops[i]));
        }
    } else if (command == L"set" && argc == 4) {
        SendMessageW(stops.at(static_cast<size_t>(std::wcstol(argv[2], nullptr, 10))), WM_SETTEXT,
                     0, reinterpret_cast<LPARAM>(argv[3]));
    } else if (command == L"box") {
        if (HWND box = messageBoxOver(form)) {
            print(textOf(box));
            print(textOf(GetDlgItem(box, 0xFFFF))); // the box's text
        }
    } else if (command == L"focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info);
        for (size_t i = 0; i < stops.size(); ++i) {
            if (stops[i] == info.hwndFocus) {
                std::printf("%u\n", static_cast<unsigned>(i));
            }
        }
    } else if (command == L"origin") {
        POINT origin{0, 0};
        ClientToScreen(form, &origin);
        std::printf("%ld %ld\n", origin.x, origin.y);
    } else if (command == L"name" && argc == 3) {
        CoInitialize(nullptr);
        IAccessible* accessible = nullptr;
        HWND field = stops.at(static_cast<size_t>(std::wcstol(argv[2], nullptr, 10)));
        // Not IID_IAccessible: mingw-w64's x64 oleacc import library has that name for a
        // function thunk of oleacc.dll, whose code bytes would be passed as the interface's id.
        if (AccessibleObjectFromWindow(field, static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&accessible)) == S_OK) {
            VARIANT self;
            VariantInit(&self);
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            BSTR name = nullptr;
            if (accessible->get_accName(self, &name) == S_OK && name != nullptr) {
                print(name);
                SysFreeString(name);
            }
            accessible->Release();
        }
        CoUninitialize();
    } else if (command == L"hear" && argc == 3) {
        // Out of context, as a screen reader in its own process listens.
        HWINEVENTHOOK hook =
            SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
                            liveRegionChanged, 0, 0, WINEVENT_OUTOFCONTEXT);
        print(L"listening");
        std::fflush(stdout);
        SetTimer(nullptr, 0, static_cast<UINT>(std::wcstol(argv[2], nullptr, 10)), nullptr);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER) {
            DispatchMessageW(&message);
        }
        UnhookWinEvent(hook);
    } else if (command == L"size") {
        RECT client;
        GetClientRect(form, &client);
        std::printf("%ld %ld\n", client.right, client.bottom);
    } else {
        return 2;
    }
    return 0;
}
