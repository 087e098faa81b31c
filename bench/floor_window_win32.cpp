// The floor for the Windows start-up benchmark: the plainest Win32 window with what Melkora's
// holds (nine edit fields and a default button) and Melkora's manifest, at the size given as
// WIDTHxHEIGHT so that Wine paints as many pixels for it. Whatever Melkora costs beyond this is
// ours.

#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    int width = 0;
    int height = 0;
    if (std::swscanf(commandLine, L"%dx%d", &width, &height) != 2 || width < 100 || height < 50) {
        MessageBoxW(nullptr, L"usage: melkora_floor_window WIDTHxHEIGHT", L"Floor", MB_OK);
        return 2;
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"MelkoraFloor";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Floor", WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, width, height, nullptr, nullptr,
                                  instance, nullptr);
    constexpr int kFields = 9;
    const int step = (width - 16) / kFields;
    for (int i = 0; i < kFields; ++i) {
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                        8 + i * step, 8, step - 8, 24, window, nullptr, instance, nullptr);
    }
    CreateWindowExW(0, L"BUTTON", L"&Calculate",
                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 8, 40, 120, 28, window,
                    nullptr, instance, nullptr);
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
