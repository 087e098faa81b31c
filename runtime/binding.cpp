#include "runtime/binding.h"

#include <QStandardPaths>

namespace rt {

std::optional<QString> findProgram(const QString& /*library*/, const QString& name) {
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

} // namespace rt
