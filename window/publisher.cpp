#include "window/publisher.h"

#include <QProcess>

namespace window {

PublisherLink::PublisherLink()
    : m_opener(QStringLiteral("xdg-utils"),
               QStringLiteral("xdg-") + QLatin1StringView(kHomePage.verb), rt::findProgram) {
}

void PublisherLink::open() {
    // xdg-open takes neither a window to parent to nor a show command, and QProcess passes the
    // address as one argument in the system's encoding, with no shell between: so neither the
    // window's handle nor an 8-bit copy of the address has a part to play here.
    //
    // startDetached forks twice, so the opener is never our child and leaves no zombie behind.
    // Whether it started, and whether the browser opens the page, is deliberately not asked.
    [[maybe_unused]] const bool started =
        QProcess::startDetached(m_opener.get(), {QString::fromLatin1(kHomePage.address)});
}

} // namespace window
