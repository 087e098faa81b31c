#pragma once

// std::bit_cast where the standard library has it. libc++ 13, the browser build's, has not;
// its compiler has the builtin that std::bit_cast is made of.

#include <bit>

namespace rt {

template <typename To, typename From> constexpr To bitCast(const From& from) noexcept {
#if defined(__cpp_lib_bit_cast)
    return std::bit_cast<To>(from);
#else
    return __builtin_bit_cast(To, from);
#endif
}

} // namespace rt
