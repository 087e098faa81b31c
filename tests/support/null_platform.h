#pragma once

// The platform that the core's tests run on (runtime/platform.h): no window system at all.
// What a test needs of the platform it sets here; what it does not set, it does not get:
// a message box without a presenter installed stops the test program with the text.

#include "runtime/number_format.h"
#include "runtime/shell.h"

#include <string>
#include <vector>

namespace nullplatform {

struct ShellCall {
    rt::NativeHandle window;
    std::string operation;
    std::string file;
    int showCommand;
};

struct State {
    rt::NumberSymbols symbols;         // what userNumberSymbols() gives
    bool shellAvailable = true;        // whether the shell facility can be bound
    int shellLookups = 0;              // how often it was looked up
    std::vector<ShellCall> shellCalls; // every request made through it
};

// The one state, reset by reset().
State& state();
void reset();

} // namespace nullplatform
