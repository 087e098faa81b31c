#pragma once

// Binding a facility by name: looked up at its first use and reused after. A failed lookup
// raises function not found and binds nothing, so the next use looks again (the user may have
// installed the missing piece in between).

#include "runtime/error.h"

#include <QString>
#include <functional>
#include <optional>
#include <utility>

namespace rt {

template <typename T> class Binding {
public:
    using Lookup = std::function<std::optional<T>(const QString& library, const QString& name)>;

    Binding(QString library, QString name, Lookup lookup)
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
    QString m_library;
    QString m_name;
    Lookup m_lookup;
    std::optional<T> m_bound;
};

// A lookup for programs: the absolute path of the executable `name` on PATH. `library` names
// the package that provides it, for the report when it is missing.
std::optional<QString> findProgram(const QString& library, const QString& name);

} // namespace rt
