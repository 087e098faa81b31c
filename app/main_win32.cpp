#include "runtime/form_engine.h"
#include "window/form1.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    return rt::start(window::form1Description(), window::wireForm1);
}
