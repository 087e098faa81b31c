// What the core needs of the platform (runtime/platform.h), on Windows.

#include "runtime/platform.h"
#include "runtime/win32/win32_function.h"
#include "runtime/win32/win32_text.h"

#include <array>
#include <string>
#include <windows.h>

namespace rt::platform {

namespace {

// One of the user's locale settings, or `fallback` where the system has none.
std::u16string localeText(LCTYPE item, std::u16string_view fallback) {
    std::array<wchar_t, LOCALE_NAME_MAX_LENGTH> buffer{};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buffer.data(),
                                       static_cast<int>(buffer.size()));
    if (length <= 1) {
        return std::u16string(fallback);
    }
    return fromWide(std::wstring_view(buffer.data(), static_cast<size_t>(length - 1)));
}

using ShellExecuteAFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

// `text` in the system's ANSI code page, which the shell's 8-bit call takes.
std::string ansiText(std::u16string_view text) {
    const std::wstring wide = toWide(text);
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(), size,
                        nullptr, nullptr);
    return narrow;
}

// shell32's ShellExecuteA, looked up by name. The library stays loaded once the function is
// bound; a failed lookup leaves nothing loaded.
std::optional<OpenAddress> bindShellExecute(std::u16string_view library, std::u16string_view name) {
    HMODULE module = LoadLibraryW(toWide(library).c_str());
    if (module == nullptr) {
        return std::nullopt;
    }
    const std::string function(name.begin(), name.end()); // the name is ASCII
    const auto shellExecute = libraryFunction<ShellExecuteAFunction>(module, function.c_str());
    if (shellExecute == nullptr) {
        FreeLibrary(module);
        return std::nullopt;
    }
    // The converted strings are the request's own, and go with it however it ends. No
    // parameters, no directory; show command 0 (hide) leaves it to the browser how its window
    // appears. The result says whether a handler was found; a request that fails once made is
    // silent.
    return [shellExecute](NativeHandle window, std::u16string_view address) {
        const std::string operation = ansiText(u"open");
        const std::string file = ansiText(address);
        shellExecute(reinterpret_cast<HWND>(window), operation.c_str(), file.c_str(), nullptr,
                     nullptr, 0);
    };
}

void showBox(std::u16string_view text, UINT icon) {
    // The active window is the program's own while one of its handlers runs, and its caption is
    // the program's name.
    HWND owner = GetActiveWindow();
    wchar_t title[256] = L"";
    GetWindowTextW(owner, title, 256);
    MessageBoxW(owner, toWide(text).c_str(), title, MB_OK | MB_APPLMODAL | icon);
}

} // namespace

void showMessageBox(std::u16string_view text) {
    showBox(text, 0);
}

void reportProgrammingError(std::u16string_view text) {
    showBox(text, MB_ICONERROR);
}

NumberSymbols userNumberSymbols() {
    const std::u16string digits = localeText(LOCALE_SNATIVEDIGITS, u"0123456789");
    return {
        .decimalSeparator = localeText(LOCALE_SDECIMAL, u"."),
        .negativeSign = localeText(LOCALE_SNEGATIVESIGN, u"-"),
        .positiveSign = localeText(LOCALE_SPOSITIVESIGN, u"+"),
        // Windows has no exponent marker of its own; E and e are read anyway.
        .exponent = std::u16string(1, u'E'),
        .zeroDigit = digits.front(),
        .groupSeparator = localeText(LOCALE_STHOUSAND, u","),
    };
}

AddressOpener addressOpener() {
    return {u"shell32.dll", u"ShellExecuteA", bindShellExecute};
}

} // namespace rt::platform
