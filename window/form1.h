#pragma once

// Melkora's one window: its description and what its controls do.

#include "runtime/form.h"

namespace window {

const rt::FormDescription& form1Description();

// Gives the button its command and the credit label its link. Every other action (typing,
// moving the focus, clicking elsewhere) is the controls' own business.
void wireForm1(rt::Form& form);

} // namespace window
