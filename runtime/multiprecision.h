#pragma once

// Boost.Multiprecision's integers (header-only), for every file that uses them.

#include <version>

// Boost includes <iostream> to print its numbers, which we never do. With a static libstdc++
// (the Windows program) the static initializer that <iostream> leaves in every file that
// includes it links in the whole locale machinery: about 800 KiB of the executable, against
// 80 for the arithmetic itself. Its include guard keeps it out; a use of std::cout here would
// then fail to compile, not quietly cost.
#if defined(__GLIBCXX__) && !defined(_GLIBCXX_IOSTREAM)
#define _GLIBCXX_IOSTREAM 1
#define MELKORA_KEPT_OUT_IOSTREAM 1
#endif
#include <boost/multiprecision/cpp_int.hpp>
#if defined(MELKORA_KEPT_OUT_IOSTREAM)
#undef _GLIBCXX_IOSTREAM
#undef MELKORA_KEPT_OUT_IOSTREAM
#endif
