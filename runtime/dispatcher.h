#pragma once

// Event dispatch: runs one handler for one user action, and is the only place that catches the
// errors that end a handler. The report names the kind in plain words and says which field and
// text caused it; afterwards the program goes on with the window as the handler left it.
//
// Each platform's window calls dispatch() from inside its own event handling, so an error never
// unwinds through the toolkit's or the system's frames.

#include "runtime/error.h"

#include <functional>
#include <string>

namespace rt {

void dispatch(const std::function<void()>& handler);

// The text of the report for `error`, as the user reads it.
std::u16string reportText(const Error& error);

} // namespace rt
