#include "runtime/win32/win32_form.h"
#include "window/form1.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    rt::Win32Form form(window::form1Description());
    window::wireForm1(form);
    return form.run();
}
