#pragma once

// Melkora's one window: its description and what its controls do.

#include "runtime/form.h"

namespace window {

const rt::FormDescription& form1Description();

// Gives the button its command. Every other action is the controls' own business.
void wireForm1(rt::Form& form);

} // namespace window
