#include "tests/support/locales.h"

#include <cstdio>
#include <cstdlib>

namespace testlocales {

const rt::NumberSymbols& symbols(std::string_view name) {
    for (const NamedSymbols& locale : kLocales) {
        if (locale.name == name) {
            return locale.symbols;
        }
    }
    std::fprintf(stderr, "no test locale named %.*s\n", static_cast<int>(name.size()), name.data());
    std::abort();
}

} // namespace testlocales
