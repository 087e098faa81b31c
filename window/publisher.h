#pragma once

// The publisher's credit and the home page its label opens.

namespace window {

inline constexpr char kCreditLine[] = "by Melkora Software";
inline constexpr char kHomePage[] = "http://www.melkora.org/";

} // namespace window
