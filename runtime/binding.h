#pragma once

// Binding a facility by name: looked up at its first use and reused after. A failed lookup
// raises function not found and binds nothing, so the next use looks again (the user may have
// installed the missing piece in between).

#include "runtime/error.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace rt {

template <typename T> class Binding {
public:
    using Lookup =
        std::function<std::optional<T>(std::u16string_view library, std::u16string_view name)>;

    Binding(std::u16string library, std::u16string name, Lookup lookup)
        : m_library(std::move(library))
        , m_name(std::move(name))
        , m_lookup(std::move(lookup)) {}

    const T& get() {
        if (!m_bound) {
            m_bound = m_lookup(m_library, m_name);
            if (!m_bound) {
                raiseFunctionNotFound(m_library, m_name);
            }
        }
        return *m_bound;
    }

    bool isBound() const { return m_bound.has_value(); }

private:
    std::u16string m_library;
    std::u16string m_name;
    Lookup m_lookup;
    std::optional<T> m_bound;
};

} // namespace rt
