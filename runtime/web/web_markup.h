#pragma once

// The window as a web page makes it: markup for the page's body and the stylesheet that places
// and paints it. The build writes both into the page, so that the browser shows the window
// before the module has loaded; the module then only attaches to what is there
// (web_window.cpp). Standard C++ only: the build runs it as a tool.
//
// The window is a <main> of the layout's client size. Its paint items come first, as elements
// back to front, each one line of text or one box; the native controls follow, <input> and
// <button>, in the focus chain's order, which is the order Tab walks. Every control carries its
// ControlId in data-control. Nothing is styled inline: the page's content policy forbids it.

#include "runtime/form_layout.h"

#include <string>
#include <string_view>

namespace rt::web {

std::string windowMarkup(const FormLayout& layout);
std::string windowStyles(const FormLayout& layout);

// UTF-16 as UTF-8, a lone surrogate as U+FFFD.
std::string toUtf8(std::u16string_view text);

} // namespace rt::web
