#include "runtime/form_engine.h"
#include "window/form1.h"

// Runs when the module has loaded; the page already shows the window, and the browser goes on
// running it after this returns.
int main() {
    return rt::start(window::form1Description(), window::wireForm1);
}
