#pragma once

// The program's name and version, set here and nowhere else. The build reads them from this
// file too, for the package and the desktop metadata.

namespace app {

inline constexpr char kApplicationName[] = "Melkora";
inline constexpr char kVersion[] = "1.00";
inline constexpr char kApplicationId[] = "org.melkora.Melkora";

} // namespace app
