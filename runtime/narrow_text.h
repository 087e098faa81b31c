#pragma once

#include <QByteArray>
#include <QString>

namespace rt {

// A text as the 8-bit string that C interfaces of this system expect: the encoding of the
// user's locale (UTF-8 on any current desktop). The result owns its bytes.
inline QByteArray toNarrowText(QStringView text) {
    return text.toLocal8Bit();
}

} // namespace rt
