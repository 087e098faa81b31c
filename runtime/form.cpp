#include "runtime/form.h"

#include "runtime/platform.h"
#include "runtime/text.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace rt {

std::size_t controlIndex(const FormDescription& description, std::u16string_view name) {
    for (std::size_t i = 0; i < description.controls.size(); ++i) {
        if (description.controls[i].name == name) {
            return i;
        }
    }
    fatal("the window has no control named", name);
}

void checkControlNames(const FormDescription& description) {
    for (std::size_t i = 0; i < description.controls.size(); ++i) {
        const std::u16string_view name = description.controls[i].name;
        if (controlIndex(description, name) != i) {
            fatal("the window description holds this control name twice:", name);
        }
    }
}

void fatal(std::string_view what, std::u16string_view name) {
    const std::u16string text = u"Programming error: " + widen(what) + u" " + std::u16string(name) +
                                u". The program cannot go on.";
    // Names are ASCII; anything else is shown as '?' on standard error.
    std::string narrow;
    for (const char16_t c : text) {
        narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    std::fprintf(stderr, "melkora: %s\n", narrow.c_str());
    std::fflush(stderr);
    platform::reportProgrammingError(text);
    std::abort();
}

} // namespace rt
