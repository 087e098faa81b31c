#pragma once

// A function of a library looked up by name, as the type it is called through; nullptr where
// the library (a null module) or the function is missing. The one place that casts
// GetProcAddress's result.

#include <windows.h>

namespace rt {

template <typename Function> Function libraryFunction(HMODULE library, const char* name) {
    if (library == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

} // namespace rt
