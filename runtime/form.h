#pragma once

// A window built from its description (form_description.h), as the program's handlers see it on
// every platform: controls known by name, the text of the text fields, handlers for clicks, and
// the window's native handle. The FormEngine (form_engine.h) is the real one.
//
// Asking for a name the description does not hold is a programming error, and stops the
// program with that name rather than guessing.

#include "runtime/form_description.h"
#include "runtime/opener.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace rt {

class Form {
public:
    virtual ~Form() = default;

    // Runs `handler` through the dispatcher on each click of the button or label `name`.
    virtual void onClick(std::u16string_view name, std::function<void()> handler) = 0;

    virtual std::u16string fieldText(std::u16string_view name) const = 0;
    virtual void setFieldText(std::u16string_view name, std::u16string_view text) = 0;

    virtual NativeHandle nativeHandle() = 0;

    // Tells assistive technology `text` at once, with no change to the focus or to what the
    // window shows.
    virtual void announce(std::u16string_view text) = 0;
};

// The position of the control `name` in `description`; stops the program if there is none.
std::size_t controlIndex(const FormDescription& description, std::u16string_view name);

// Stops the program if a name occurs twice in `description`.
void checkControlNames(const FormDescription& description);

// A programming error: says so on standard error and to the user (platform.h), in the same words
// on every platform, and stops the program.
[[noreturn]] void fatal(std::string_view what, std::u16string_view name);

} // namespace rt
